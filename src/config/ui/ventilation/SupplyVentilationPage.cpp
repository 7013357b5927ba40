#include "SupplyVentilationPage.h"

#include "config/TacticTexts.h"
#include "config/ui/tactics/CaptionForm.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <tuple>

namespace vextor {

namespace t = tactic_texts;

namespace {
QCheckBox* check(const QString& text) {
    return new QCheckBox(text);
}
} // namespace

SupplyVentilationPage::SupplyVentilationPage(ConfigImage& image, QWidget* parent)
    : TacticPage(parent), delayOnVent1_(numberEdit()), delayOnVent2_(numberEdit()),
      timeHeatDoor_(numberEdit()), spvOn_(check(t::kSpvOn)), warmingByOutdoor_(check(t::kWarmingByOutdoor)),
      weekendOff_(check(t::kSpvWeekendOff)), cascade_(check(t::kSpvCascade)),
      fallingPreset_(check(t::kFallingUse)), nightCurve_(check(t::kNightApply)), presetTempAir_(numberEdit()),
      warmingGroup_(new QButtonGroup(this)), warmingMode_(warmingGroup_),
      warmingCaption_(captionLabel(t::kWarmingTempShown)), warming_(numberEdit()), cascadeKoef_(numberEdit()),
      histeresis_(numberEdit()), tempOffPumpH_(numberEdit()), tempOffPumpC_(numberEdit()),
      timeTempOffPumpH_(numberEdit()), timeTempOffPumpC_(numberEdit()), minTempBackWater_(numberEdit()),
      presetTempBWNight_(numberEdit()), tempDownNotch_(numberEdit()), timeDownNotch_(numberEdit()),
      botBorderHeating_(numberEdit()), botBorderCooling_(numberEdit()),
      night_(new CurvePanel(t::kNightGroup, t::kOutdoorColumn, t::kNightWaterColumn)), speedIn_(numberEdit()),
      speedOut_(numberEdit()), maxQuantityHeat_(numberEdit()), koefOutVent_(numberEdit()),
      pidTabs_(new QTabWidget), pid_{new PidPanel, new PidPanel, new PidPanel}, pidPage_(pidTabs_) {
    buildPage();
    editor_ = std::make_unique<SupplyVentilationTab>(
        image, SupplyVentilationControls{
                   delayOnVent1_,     delayOnVent2_,
                   timeHeatDoor_,     spvOn_,
                   warmingByOutdoor_, weekendOff_,
                   cascade_,          fallingPreset_,
                   nightCurve_,       presetTempAir_,
                   warmingMode_,      warming_,
                   cascadeKoef_,      histeresis_,
                   tempOffPumpH_,     tempOffPumpC_,
                   timeTempOffPumpH_, timeTempOffPumpC_,
                   minTempBackWater_, presetTempBWNight_,
                   tempDownNotch_,    timeDownNotch_,
                   botBorderHeating_, botBorderCooling_,
                   night_->entries(), speedIn_,
                   speedOut_,         maxQuantityHeat_,
                   koefOutVent_,      {pid_[0]->controls(), pid_[1]->controls(), pid_[2]->controls()},
                   pidPage_});
    editor_->captionChanged = [this] { warmingCaption_->setText(editor_->warmingCaption()); };
    night_->onPanelClick = [this] { editor_->setDefaultNightCurve(); };
    connect(warmingGroup_, &QButtonGroup::idClicked, this, [this](int) { editor_->warmingModeChanged(); });
    connect(applyButton(), &QPushButton::clicked, this, [this] { editor_->applySupplyVentilation(); });
    editor_->showSupplyVentilation();
}

SupplyVentilationPage::~SupplyVentilationPage() = default;

void SupplyVentilationPage::buildPage() {
    auto* page = new QWidget;

    // Left column: the tactic, its delays and set points, the warm-up, the cascade and the falling
    // set point.
    auto* left = new QVBoxLayout;
    left->addWidget(spvOn_.widget());
    auto* main = new QGroupBox;
    auto* mainForm = captionForm(main);
    addCaptioned(mainForm, t::kDelayOnVent1, delayOnVent1_.widget());
    addCaptioned(mainForm, t::kDelayOnVent2, delayOnVent2_.widget());
    addCaptioned(mainForm, t::kTimeHeatDoor, timeHeatDoor_.widget());
    addCaptioned(mainForm, t::kPresetTempAir, presetTempAir_.widget());
    addCaptioned(mainForm, t::kHisteresis, histeresis_.widget());
    addCaptioned(mainForm, t::kMinTempBackWater, minTempBackWater_.widget());
    addCaptioned(mainForm, t::kPresetTempBWNight, presetTempBWNight_.widget());
    addCaptioned(mainForm, t::kBotBorderHeating, botBorderHeating_.widget());
    addCaptioned(mainForm, t::kBotBorderCooling, botBorderCooling_.widget());
    addCaptioned(mainForm, t::kMaxQuantityHeat, maxQuantityHeat_.widget());
    mainForm->addRow(warmingByOutdoor_.widget());
    mainForm->addRow(weekendOff_.widget());
    left->addWidget(main);

    auto* warmingBox = new QGroupBox(t::kWarmingGroup);
    auto* warmingLayout = new QVBoxLayout(warmingBox);
    auto* modes = new QHBoxLayout;
    for (int i = 0; i < static_cast<int>(t::kWarmingModes.size()); ++i) {
        auto* b = new QRadioButton(t::kWarmingModes[static_cast<size_t>(i)], warmingBox);
        warmingGroup_->addButton(b, i);
        modes->addWidget(b);
    }
    modes->addStretch(1);
    warmingLayout->addLayout(modes);
    auto* warmingForm = captionForm();
    warmingCaption_->setBuddy(warming_.widget());
    warmingForm->addRow(warmingCaption_, warming_.widget());
    warmingLayout->addLayout(warmingForm);
    left->addWidget(warmingBox);

    auto* cascadeBox = new QGroupBox;
    auto* cascadeForm = captionForm(cascadeBox);
    cascadeForm->addRow(cascade_.widget());
    addCaptioned(cascadeForm, t::kCoefficient, cascadeKoef_.widget());
    left->addWidget(cascadeBox);

    auto* fallingBox = new QGroupBox(t::kFallingGroup);
    auto* fallingForm = captionForm(fallingBox);
    fallingForm->addRow(fallingPreset_.widget());
    addCaptioned(fallingForm, t::kFallingStart, tempDownNotch_.widget());
    addCaptioned(fallingForm, t::kFallingTime, timeDownNotch_.widget());
    left->addWidget(fallingBox);
    left->addStretch(1);

    // Right column: pumps, fans, the night curve and the PID pages.
    auto* right = new QVBoxLayout;
    for (auto [title, temp, time] : {std::tuple{t::kPumpHeaterGroup, &tempOffPumpH_, &timeTempOffPumpH_},
                                     std::tuple{t::kPumpCoolerGroup, &tempOffPumpC_, &timeTempOffPumpC_}}) {
        auto* box = new QGroupBox(title);
        auto* form = captionForm(box);
        addCaptioned(form, t::kPumpTemp, temp->widget());
        addCaptioned(form, t::kPumpTime, time->widget());
        right->addWidget(box);
    }
    auto* noSetter = new QGroupBox(t::kNoSpeedSetter);
    auto* noSetterForm = captionForm(noSetter);
    addCaptioned(noSetterForm, t::kSpeedIn, speedIn_.widget());
    addCaptioned(noSetterForm, t::kSpeedOut, speedOut_.widget());
    right->addWidget(noSetter);
    auto* setter = new QGroupBox(t::kSpeedSetter);
    auto* setterLayout = new QVBoxLayout(setter);
    auto* drives = new QGroupBox(t::kFrequencyDrives);
    addCaptioned(captionForm(drives), t::kCoefficient, koefOutVent_.widget());
    setterLayout->addWidget(drives);
    right->addWidget(setter);

    auto* nightLayout = static_cast<QGridLayout*>(night_->layout());
    nightLayout->addWidget(nightCurve_.widget(), 5, 0, 1, 4);
    right->addWidget(night_);

    for (size_t i = 0; i < pid_.size(); ++i)
        pidTabs_->addTab(pid_[i], t::kSpvPIDPages[i]);
    right->addStretch(1);

    // The PID pages under both columns: their three page captions need the whole width.
    auto* pidBox = new QGroupBox(t::kPIDGroup);
    auto* pidLayout = new QVBoxLayout(pidBox);
    pidLayout->addWidget(pidTabs_);

    auto* grid = new QGridLayout(page);
    grid->addLayout(left, 0, 0);
    grid->addLayout(right, 0, 1);
    grid->addWidget(pidBox, 1, 0, 1, 2);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    grid->setRowStretch(2, 1);
    setPage(page);
}

void SupplyVentilationPage::configurationChanged(ConfigViews views) {
    if (views & ViewSupplyVentilation)
        editor_->showSupplyVentilation();
}

} // namespace vextor
