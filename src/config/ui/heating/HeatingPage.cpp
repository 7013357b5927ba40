#include "HeatingPage.h"

#include "config/TacticTexts.h"
#include "config/ui/tactics/CaptionForm.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vextor {

namespace t = tactic_texts;

namespace {
QCheckBox* check(const QString& text) {
    return new QCheckBox(text);
}

// An entry with its "Да" beside it.
QWidget* withSwitch(QLineEdit* edit, QCheckBox* box) {
    auto* w = new QWidget;
    auto* row = new QHBoxLayout(w);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(edit);
    row->addWidget(box);
    return w;
}
} // namespace

HeatingPage::HeatingPage(ConfigImage& image, QWidget* parent)
    : TacticPage(parent), heatingOn_(check(t::kHeatingOn)), overheatControl_(check(t::kOverheatControl)),
      overcoolControl_(check(t::kOvercoolControl)), cascade_(check(t::kSpvCascade)),
      weekendShift_(check(t::kYes)), nightShift_(check(t::kYes)), alternatePumps_(check(t::kAlternateYes)),
      deltaTNightDay_(numberEdit()), deltaTWeekend_(numberEdit()), corrTHeat_(numberEdit()),
      cascadeKoef_(numberEdit()), minTempBackWater_(numberEdit()), timeWorkPump_(numberEdit()),
      heatingCurve_(new CurvePanel(t::kHeatingCurve, t::kOutdoorColumn, t::kHeatingWaterColumn)),
      overheatCurve_(new CurvePanel(t::kOverheatCurve, t::kReturnWaterColumn, t::kDeltaTColumn)),
      pid_(new PidPanel) {
    buildPage();
    editor_ = std::make_unique<HeatingTab>(
        image, HeatingControls{heatingOn_, overheatControl_, overcoolControl_, cascade_, weekendShift_,
                               nightShift_, alternatePumps_, deltaTNightDay_, deltaTWeekend_, corrTHeat_,
                               cascadeKoef_, minTempBackWater_, timeWorkPump_, heatingCurve_->entries(),
                               overheatCurve_->entries(), pid_->controls()});
    heatingCurve_->onPanelClick = [this] { editor_->setDefaultHeatingCurve(); };
    overheatCurve_->onPanelClick = [this] { editor_->setDefaultOverheatCurve(); };
    connect(applyButton(), &QPushButton::clicked, this, [this] { editor_->applyHeating(); });
    editor_->showHeating();
}

HeatingPage::~HeatingPage() = default;

void HeatingPage::buildPage() {
    auto* page = new QWidget;

    auto* left = new QVBoxLayout;
    left->addWidget(heatingOn_.widget());
    auto* main = new QGroupBox;
    auto* form = captionForm(main);
    form->addRow(overheatControl_.widget());
    form->addRow(overcoolControl_.widget());
    addCaptioned(form, t::kDeltaTNightDay, withSwitch(deltaTNightDay_.widget(), nightShift_.widget()));
    addCaptioned(form, t::kDeltaTWeekend, withSwitch(deltaTWeekend_.widget(), weekendShift_.widget()));
    addCaptioned(form, t::kCorrTHeat, corrTHeat_.widget());
    left->addWidget(main);

    auto* cascadeBox = new QGroupBox;
    auto* cascadeForm = captionForm(cascadeBox);
    cascadeForm->addRow(cascade_.widget());
    addCaptioned(cascadeForm, t::kCoefficient, cascadeKoef_.widget());
    left->addWidget(cascadeBox);

    auto* duplicate = new QGroupBox(t::kDuplicatesSpv);
    // The group's only caption: a form lays its entry over a caption too wide to sit beside it, so
    // this one asks for two lines' width and wraps beside its entry in a narrow column as well.
    addCaptioned(captionForm(duplicate), t::kMinTempBackWater, minTempBackWater_.widget())
        ->setMaximumWidth(200);
    left->addWidget(duplicate);

    auto* pumps = new QGroupBox(t::kAlternatePumps);
    auto* pumpsForm = captionForm(pumps);
    pumpsForm->addRow(alternatePumps_.widget());
    addCaptioned(pumpsForm, t::kTimeWorkPump, timeWorkPump_.widget());
    left->addWidget(pumps);
    left->addStretch(1);

    auto* right = new QVBoxLayout;
    right->addWidget(heatingCurve_);
    right->addWidget(overheatCurve_);
    auto* pidBox = new QGroupBox(t::kPIDGroup);
    auto* pidLayout = new QVBoxLayout(pidBox);
    pidLayout->setContentsMargins(0, 0, 0, 0); // the panel's own form keeps the box's margins
    pidLayout->addWidget(pid_);
    right->addWidget(pidBox);
    right->addStretch(1);

    auto* columns = new QHBoxLayout(page);
    // Narrow side margins: the two columns just fit a small screen's working area side by side.
    columns->setContentsMargins(4, 9, 4, 9);
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    setPage(page);
}

void HeatingPage::configurationChanged(ConfigViews views) {
    if (views & ViewHeating)
        editor_->showHeating();
}

} // namespace vextor
