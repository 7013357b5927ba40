#include "DriveControlPage.h"

#include "PageLayout.h"
#include "config/GeneralTexts.h"
#include "config/ui/fields/WidgetFields.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vextor {

namespace t = general_texts;

DriveControlPage::DriveControlPage(ConfigImage& image, QWidget* parent)
    : QWidget(parent), apply_(new QPushButton(t::kApply)) {
    QVBoxLayout* layout = scrolledPage(this, apply_);
    auto* drives = new QHBoxLayout;
    const QString titles[2] = {t::kDriveTitle1, t::kDriveTitle2};
    const int openOutput[2] = {1, 2};
    const int closeOutput[2] = {5, 6};
    const QString captions[3] = {t::kFullTime, t::kMinTime, t::kLuftTime};
    for (int d = 0; d < 2; ++d) {
        auto* box = new QGroupBox(titles[d]);
        auto* form = new QFormLayout(box);
        form->addRow(new QLabel(t::kOpenOwnOutput + QLatin1Char(' ') + QString::number(openOutput[d])));
        form->addRow(new QLabel(t::kCloseOwnOutput + QLatin1Char(' ') + QString::number(closeOutput[d])));
        for (int i = 0; i < 3; ++i) {
            QLineEdit* e = shortNumberEdit();
            times_[d * 3 + i] = e;
            form->addRow(captions[i], e);
        }
        drives->addWidget(box);
    }
    drives->addStretch(1);
    layout->addLayout(drives);

    auto* flagsBox = new QGroupBox(t::kDiscreteUse);
    auto* flagsLayout = new QVBoxLayout(flagsBox);
    for (int i = 0; i < 5; ++i) {
        flags_[i] = new QCheckBox(t::kDCFlagCaptions[i]);
        flagsLayout->addWidget(flags_[i]);
    }
    auto* flagsRow = new QHBoxLayout;
    flagsRow->addWidget(flagsBox);
    flagsRow->addStretch(1);
    layout->addLayout(flagsRow);

    layout->addStretch(1);

    DriveControlControls c{};
    for (int i = 0; i < 6; ++i) {
        timeFields_.push_back(std::make_unique<LineEditField>(times_[i]));
        c.times[i] = timeFields_.back().get();
    }
    for (int i = 0; i < 5; ++i) {
        flagFields_.push_back(std::make_unique<CheckBoxField>(flags_[i]));
        c.flags[i] = flagFields_.back().get();
    }
    editor_ = std::make_unique<DriveControlTab>(image, c);
    editor_->showDriveControl();
    connect(apply_, &QPushButton::clicked, this, [this] { editor_->applyDriveControl(); });
}

DriveControlPage::~DriveControlPage() = default;

void DriveControlPage::configurationChanged(ConfigViews views) {
    if (views & ViewDriveControl)
        editor_->showDriveControl();
}

void DriveControlPage::setTransferRunning(bool running) {
    apply_->setEnabled(!running);
}

} // namespace vextor
