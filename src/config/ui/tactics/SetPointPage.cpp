#include "SetPointPage.h"

#include "CaptionForm.h"
#include "config/TacticTexts.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace vextor {

SetPointPage::SetPointPage(const QString& onCaption, const QString& presetCaption, QWidget* parent)
    : TacticPage(parent), on_(new QCheckBox(onCaption)), preset_(numberEdit()), pid_(new PidPanel) {
    auto* page = new QWidget;
    auto* column = new QVBoxLayout;
    column->addWidget(on_.widget());
    auto* main = new QGroupBox;
    addCaptioned(captionForm(main), presetCaption, preset_.widget());
    column->addWidget(main);
    auto* pidBox = new QGroupBox(tactic_texts::kPIDGroup);
    auto* pidLayout = new QVBoxLayout(pidBox);
    pidLayout->setContentsMargins(0, 0, 0, 0); // the panel's own form keeps the box's margins
    pidLayout->addWidget(pid_);
    column->addWidget(pidBox);
    column->addStretch(1);
    auto* row = new QHBoxLayout(page);
    row->addLayout(column);
    row->addStretch(1);
    setPage(page);
}

} // namespace vextor
