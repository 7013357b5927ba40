#include "GeneralPage.h"

#include "PageLayout.h"
#include "config/GeneralTexts.h"
#include "link/ModbusParams.h"
#include "link/texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace vextor {

namespace t = general_texts;

namespace {

// The season and day entries span 2000..2255: the controller keeps the year in one byte.
const QDate kFirstDate(2000, 1, 1);
const QDate kLastDate(2255, 12, 31);

} // namespace

GeneralPage::GeneralPage(ConfigImage& image, QWidget* parent)
    : QWidget(parent), summerDate_(new QDateEdit), summerTime_(new QTimeEdit), winterDate_(new QDateEdit),
      winterTime_(new QTimeEdit), dayTime_(new QTimeEdit), nightTime_(new QTimeEdit),
      delayFlowCtrl_(shortNumberEdit()), quantityAttemptLink_(shortNumberEdit()),
      timeNoAsking_(shortNumberEdit()), dac1Range_(new QCheckBox(t::kDac1Range)),
      dac2Range_(new QCheckBox(t::kDac2Range)), overload1_(new QCheckBox(t::kOverload1Check)),
      overload2_(new QCheckBox(t::kOverload2Check)), dac1Percent_(shortNumberEdit()),
      dac1Time_(shortNumberEdit()), dac2Percent_(shortNumberEdit()), dac2Time_(shortNumberEdit()),
      removeLast_(new QPushButton(t::kRemoveLast)), apply_(new QPushButton(t::kApply)),
      summerDateField_(summerDate_, kFirstDate, kLastDate),
      winterDateField_(winterDate_, kFirstDate, kLastDate), summerTimeField_(summerTime_),
      winterTimeField_(winterTime_), dayTimeField_(dayTime_), nightTimeField_(nightTime_),
      delayFlowCtrlField_(delayFlowCtrl_), quantityAttemptLinkField_(quantityAttemptLink_),
      timeNoAskingField_(timeNoAsking_), dac1PercentField_(dac1Percent_), dac1TimeField_(dac1Time_),
      dac2PercentField_(dac2Percent_), dac2TimeField_(dac2Time_), dac1RangeField_(dac1Range_),
      dac2RangeField_(dac2Range_), overload1Field_(overload1_), overload2Field_(overload2_) {
    QVBoxLayout* layout = scrolledPage(this, apply_);
    columns_ = new QBoxLayout(QBoxLayout::LeftToRight);
    layout->addLayout(columns_);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    leftColumn_ = left;
    rightColumn_ = right;
    columns_->addLayout(left);
    columns_->addLayout(right);
    columns_->addStretch(1);

    // Seasons and day/night.
    auto* timesBox = new QGroupBox;
    auto* times = new QGridLayout(timesBox);
    times->addWidget(new QLabel(t::kDateCaption), 0, 1);
    times->addWidget(new QLabel(t::kTimeCaption), 0, 2);
    times->addWidget(new QLabel(t::kSummerBegin), 1, 0);
    times->addWidget(summerDate_, 1, 1);
    times->addWidget(summerTime_, 1, 2);
    times->addWidget(new QLabel(t::kWinterBegin), 2, 0);
    times->addWidget(winterDate_, 2, 1);
    times->addWidget(winterTime_, 2, 2);
    times->addWidget(new QLabel(t::kDayBegin), 3, 0);
    times->addWidget(dayTime_, 3, 2);
    times->addWidget(new QLabel(t::kNightBegin), 4, 0);
    times->addWidget(nightTime_, 4, 2);
    times->setColumnStretch(3, 1); // the entries stay next to their captions on a wide page
    for (QDateEdit* d : {summerDate_, winterDate_}) {
        d->setCalendarPopup(true);
        d->setMinimumWidth(d->fontMetrics().horizontalAdvance(QStringLiteral("00.00.00000")) + 40);
        d->setMaximumWidth(d->minimumWidth() + 20);
    }
    for (QTimeEdit* e : {summerTime_, winterTime_, dayTime_, nightTime_}) {
        e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00:00:000")) + 30);
        e->setMaximumWidth(e->minimumWidth() + 20);
    }
    left->addWidget(timesBox);

    auto* delayRow = new QFormLayout;
    delayRow->addRow(t::kDelayFlowCtrl, delayFlowCtrl_);
    left->addLayout(delayRow);

    // The two analog outputs.
    auto* dacBox = new QGroupBox;
    auto* dac = new QVBoxLayout(dacBox);
    dac->addWidget(dac1Range_);
    dac->addWidget(dac2Range_);
    // One above the other: side by side they would push the slave list out of a maximised window.
    auto* overloads = new QVBoxLayout;
    const QString titles[2] = {t::kDac1Overload, t::kDac2Overload};
    QCheckBox* boxes[2] = {overload1_, overload2_};
    QLineEdit* percents[2] = {dac1Percent_, dac2Percent_};
    QLineEdit* seconds[2] = {dac1Time_, dac2Time_};
    for (int i = 0; i < 2; ++i) {
        auto* g = new QGroupBox(titles[i]);
        auto* form = new QFormLayout(g);
        form->addRow(boxes[i]);
        form->addRow(t::kMaxPercent, percents[i]);
        form->addRow(t::kMaxTime, seconds[i]);
        overloads->addWidget(g);
    }
    dac->addLayout(overloads);
    left->addWidget(dacBox);

    // Pulse counters.
    auto* countersBox = new QGroupBox(t::kCountersTitle);
    auto* counters = new QFormLayout(countersBox);
    counters->addRow(new QLabel(t::kCountersNote));
    for (int i = 0; i < 4; ++i) {
        counters_[i] = shortNumberEdit(120);
        counters->addRow(t::kCounterCaptions[i], counters_[i]);
    }
    left->addWidget(countersBox);
    left->addStretch(1);

    // The slave line.
    auto* slavesBox = new QGroupBox(t::kSlavesTitle);
    auto* slaves = new QVBoxLayout(slavesBox);
    slaves->addWidget(new QLabel(t::kSlavesNote));
    auto* rows = new QGridLayout;
    rows->addWidget(new QLabel(t::kSlavesHeader[0]), 0, 0);
    rows->addWidget(new QLabel(t::kSlavesHeader[1]), 0, 1);
    rows->addWidget(new QLabel(t::kSlavesHeader[2]), 0, 2, 1, 2);
    for (int r = 0; r < kSlaveCount; ++r) {
        slaveAddress_[r] = shortNumberEdit(60);
        slaveType_[r] = new QComboBox;
        slaveFrame_[r] = new QComboBox;
        slaveBaud_[r] = new QComboBox;
        for (const QString& s : t::kSlaveTypeItems)
            slaveType_[r]->addItem(s);
        for (const char* s : link_texts::kModbusFrames)
            slaveFrame_[r]->addItem(QString::fromUtf8(s));
        for (const int baud : kModbusBaudRates)
            slaveBaud_[r]->addItem(QString::number(baud));
        rows->addWidget(slaveAddress_[r], r + 1, 0);
        rows->addWidget(slaveType_[r], r + 1, 1);
        rows->addWidget(slaveFrame_[r], r + 1, 2);
        rows->addWidget(slaveBaud_[r], r + 1, 3);
    }
    slaves->addLayout(rows);
    auto* link = new QFormLayout;
    link->addRow(t::kQuantityAttemptLink, quantityAttemptLink_);
    link->addRow(t::kTimeNoAsking, timeNoAsking_);
    slaves->addLayout(link);
    auto* addBox = new QGroupBox(t::kAddDevice);
    auto* add = new QGridLayout(addBox);
    for (int i = 0; i < kSlaveButtonCount; ++i) {
        addButtons_[i] = new QPushButton(t::kSlaveButtons[i]);
        add->addWidget(addButtons_[i], i / 3, i % 3);
    }
    slaves->addWidget(addBox);
    auto* removeRow = new QHBoxLayout;
    removeRow->addWidget(removeLast_);
    removeRow->addStretch(1);
    slaves->addLayout(removeRow);
    right->addWidget(slavesBox);
    right->addStretch(1);

    layout->addStretch(1);

    std::array<SlaveRowControls, kSlaveCount> rowControls{};
    for (int r = 0; r < kSlaveCount; ++r) {
        slaveAddressFields_.push_back(std::make_unique<LineEditField>(slaveAddress_[r]));
        for (QComboBox* c : {slaveType_[r], slaveFrame_[r], slaveBaud_[r]})
            slaveChoiceFields_.push_back(std::make_unique<ComboChoiceField>(c));
        const size_t k = slaveChoiceFields_.size();
        rowControls[r] = {slaveAddressFields_.back().get(), slaveChoiceFields_[k - 3].get(),
                          slaveChoiceFields_[k - 2].get(), slaveChoiceFields_[k - 1].get()};
    }
    slaves_ = std::make_unique<SlavesEditor>(image, rowControls);
    slaves_->stateChanged = [this] { drawSlaves(); };
    for (int i = 0; i < 4; ++i)
        counterFields_.push_back(std::make_unique<LineEditField>(counters_[i]));
    editor_ =
        std::make_unique<GeneralTab>(image,
                                     GeneralControls{summerDateField_,
                                                     summerTimeField_,
                                                     winterDateField_,
                                                     winterTimeField_,
                                                     dayTimeField_,
                                                     nightTimeField_,
                                                     delayFlowCtrlField_,
                                                     quantityAttemptLinkField_,
                                                     timeNoAskingField_,
                                                     dac1RangeField_,
                                                     dac2RangeField_,
                                                     overload1Field_,
                                                     overload2Field_,
                                                     dac1PercentField_,
                                                     dac1TimeField_,
                                                     dac2PercentField_,
                                                     dac2TimeField_,
                                                     {counterFields_[0].get(), counterFields_[1].get(),
                                                      counterFields_[2].get(), counterFields_[3].get()}},
                                     *slaves_);
    editor_->showGeneral();

    for (int r = 0; r < kSlaveCount; ++r) {
        connect(slaveFrame_[r], &QComboBox::currentIndexChanged, this,
                [this, r](int) { slaves_->frameChanged(r); });
        connect(slaveBaud_[r], &QComboBox::currentIndexChanged, this,
                [this, r](int) { slaves_->baudChanged(r); });
    }
    for (int i = 0; i < kSlaveButtonCount; ++i)
        connect(addButtons_[i], &QPushButton::clicked, this, [this, i] { slaves_->addSlaveDevice(i); });
    connect(removeLast_, &QPushButton::clicked, this, [this] { slaves_->removeLastSlave(); });
    connect(apply_, &QPushButton::clicked, this, [this] { editor_->applyGeneral(); });
}

GeneralPage::~GeneralPage() = default;

void GeneralPage::configurationChanged(ConfigViews views) {
    if (views & ViewGeneral) {
        editor_->showGeneral(); // the slave rows too
    } else if (views & ViewSlaves) {
        slaves_->showSlaves();
    }
    // The add buttons follow what the line now holds.
    if (views & ViewSlaves)
        slaves_->updateAddButtons();
}

void GeneralPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The slave list goes under the other groups when the two columns would not fit side by side.
    const int needed = leftColumn_->sizeHint().width() + rightColumn_->sizeHint().width() + 40;
    const auto direction = width() >= needed ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom;
    if (columns_->direction() != direction)
        columns_->setDirection(direction);
}

void GeneralPage::setTransferRunning(bool running) {
    transferRunning_ = running;
    apply_->setEnabled(!running);
}

void GeneralPage::drawSlaves() {
    const auto& rows = slaves_->rows();
    for (int r = 0; r < kSlaveCount; ++r) {
        slaveAddress_[r]->setEnabled(rows[r].addressEnabled);
        slaveType_[r]->setEnabled(rows[r].typeEnabled);
        slaveFrame_[r]->setEnabled(rows[r].settingsEnabled);
        slaveBaud_[r]->setEnabled(rows[r].settingsEnabled);
    }
    for (int i = 0; i < kSlaveButtonCount; ++i)
        addButtons_[i]->setEnabled(slaves_->addButtons()[i]);
}

} // namespace vextor
