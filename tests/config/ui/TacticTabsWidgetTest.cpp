// The tactic tabs as the engineer uses them: they show the image, take edits into it through
// "Применить", follow their own refreshes only, and switch "Применить" off while a transfer runs;
// and the configuration window as built, every tab in its place.
#include "config/ui/ConfigWindow.h"
#include "config/ui/ConfigWindowFactory.h"
#include "config/ui/assignment/AssignmentPage.h"
#include "config/ui/calendar/CalendarPage.h"
#include "config/ui/conditions/ConditionsPage.h"
#include "config/ui/general/DriveControlPage.h"
#include "config/ui/general/GeneralPage.h"
#include "config/ui/heating/HeatingPage.h"
#include "config/ui/hotwater/HotWaterPage.h"
#include "config/ui/process/ProcessPage.h"
#include "config/ui/recuperation/RecuperationPage.h"
#include "config/ui/sensors/SensorsPage.h"
#include "config/ui/texts.h"
#include "config/ui/ventilation/SupplyVentilationPage.h"
#include "link/UserDialogs.h"
#include "support/ScriptedDialogs.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>
#include <memory>

namespace vextor {
namespace {

template <class T> T* editorIn(QWidget* page) {
    for (QWidget* w : page->findChildren<QWidget*>())
        if (auto* t = dynamic_cast<T*>(w))
            return t;
    return nullptr;
}

// A left click on a panel at a point none of its children covers.
void clickPanel(QWidget* panel) {
    QPoint free(panel->width() - 3, panel->height() - 3);
    ASSERT_EQ(panel->childAt(free), nullptr);
    QMouseEvent press(QEvent::MouseButtonPress, free, panel->mapToGlobal(free), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(panel, &press);
}

class TacticTabsWidgetTest : public ::testing::Test {
protected:
    TacticTabsWidgetTest() {
        loadDefaultConfiguration(image);
        setValidationDialogs(&dialogs);
    }
    ~TacticTabsWidgetTest() override { setValidationDialogs(nullptr); }

    ConfigImage image;
    ScriptedDialogs dialogs;
};

TEST_F(TacticTabsWidgetTest, SupplyVentilationShowsAndApplies) {
    SupplyVentilationPage tab(image);
    tab.resize(900, 600);
    tab.show();
    EXPECT_EQ(tab.presetTempAirEdit()->text(), "24,0");
    EXPECT_EQ(tab.warmingCaption()->text(), "Время, сек");
    EXPECT_EQ(tab.warmingEdit()->text(), "35");

    // A read brings the controller's values; only the tab's own view refills it.
    image.PresetTempAir = 19.5f;
    image.Options = 0x8004;
    image.PresetTempWarming = 42.0f;
    image.KindSystems = 0x01;
    tab.configurationChanged(ViewHeating);
    EXPECT_EQ(tab.presetTempAirEdit()->text(), "24,0");
    tab.pidPages()->setCurrentIndex(2);
    tab.configurationChanged(ViewSupplyVentilation);
    EXPECT_EQ(tab.presetTempAirEdit()->text(), "19,5");
    EXPECT_TRUE(tab.spvOn()->isChecked());
    EXPECT_TRUE(tab.nightCurveOn()->isChecked());
    EXPECT_EQ(tab.warmingModes()->checkedId(), 0);
    EXPECT_EQ(tab.warmingCaption()->text(), "Температура,  °C ");
    EXPECT_EQ(tab.warmingEdit()->text(), "42,0");
    EXPECT_EQ(tab.pidPages()->currentIndex(), 0);
    EXPECT_EQ(tab.pidPages()->tabText(1), "Калорифер/ночь");

    // The engineer picks warm-up by time, clicks the night table's panel and edits a PID page.
    tab.warmingModes()->button(1)->click();
    EXPECT_EQ(tab.warmingCaption()->text(), "Время, сек");
    tab.warmingEdit()->setText("120");
    clickPanel(tab.nightCurve());
    EXPECT_EQ(tab.nightCurve()->entry(0)->text(), "-100");
    EXPECT_EQ(tab.nightCurve()->entry(1)->text(), "55");
    tab.pid(1)->periodDif()->setText("31");
    tab.timeTempOffPumpHEdit()->setText("65535");
    tab.applyButton()->click();
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join('|').toStdString();
    EXPECT_EQ(image.PresetTimeWarming, 120);
    EXPECT_EQ(image.PresetTempWarming, 50.0f);
    EXPECT_EQ(image.Options, 0x0004);
    EXPECT_EQ(image.TempStTempBW[3], (CurvePoint{100, 25}));
    EXPECT_EQ(image.SPVPIDKoef[1].PeriodDif, 31);
    EXPECT_EQ(image.TimeTempOffPumpH, 65535);

    tab.tempDownNotchEdit()->setText("-129");
    tab.applyButton()->click();
    EXPECT_EQ(dialogs.shown, QStringList{"Значение -129 вне допустимого диапазона!"});
    EXPECT_EQ(image.TempDownNotch, 20);
}

TEST_F(TacticTabsWidgetTest, RecuperationShowsTheEntriesOfItsKind) {
    image.KindSystems = 0x10;
    RecuperationPage tab(image);
    tab.show();
    EXPECT_EQ(tab.kinds()->checkedId(), 0);
    EXPECT_FALSE(tab.winterGroup()->isHidden());
    EXPECT_TRUE(tab.pidGroup()->isHidden());
    EXPECT_EQ(tab.caption(kEntrySummerUmax)->text(), "Umax");
    EXPECT_EQ(tab.entry(kEntryWinterUmax)->text(), "10,0");

    tab.kinds()->button(kRecupRotary)->click();
    EXPECT_TRUE(tab.winterGroup()->isHidden());
    EXPECT_FALSE(tab.summerGroup()->isHidden());
    EXPECT_FALSE(tab.pidGroup()->isHidden());
    EXPECT_TRUE(tab.entry(kEntrySummerDeltaTmin)->isHidden());
    EXPECT_EQ(tab.caption(kEntrySummerUmin)->text(), "Тх для выключения");
    tab.entry(kEntrySummerUmin)->setText("2,3");
    tab.pid()->kProp()->setText("4,5");
    tab.applyButton()->click();
    EXPECT_EQ(image.KindSystems, 0x20);
    EXPECT_EQ(image.RecupSummerUmin, 23);
    EXPECT_EQ(image.PIDKoef[3].KProp, 4.5f);

    tab.kinds()->button(kRecupNone)->click();
    EXPECT_TRUE(tab.parametersGroup()->isHidden());
    EXPECT_TRUE(tab.pidGroup()->isHidden());
    tab.applyButton()->click();
    EXPECT_EQ(image.KindSystems, 0x00);
}

TEST_F(TacticTabsWidgetTest, TheWindowRefreshesItsTacticTabsAndStopsThemDuringATransfer) {
    const std::unique_ptr<ConfigWindow> built(makeConfigWindow(image, dialogs));
    ConfigWindow& window = *built;
    auto* ventilation = editorIn<SupplyVentilationPage>(window.tab(cfg_texts::kSupplyVentilation));
    auto* heating = editorIn<HeatingPage>(window.tab(cfg_texts::kHeating));
    auto* hotWater = editorIn<HotWaterPage>(window.tab(cfg_texts::kHotWater));
    auto* process = editorIn<ProcessPage>(window.tab(cfg_texts::kProcess));
    auto* recuperation = editorIn<RecuperationPage>(window.tab(cfg_texts::kRecuperation));
    ASSERT_TRUE(ventilation && heating && hotWater && process && recuperation);

    image.MinTempBackWater = 9;
    image.PresetTempWaterHWP = 60.0f;
    image.PresetAnyParam = -12.5f;
    image.DeltaTNightDay = -4.0f;
    window.configurationChanged(kAllConfigViews);
    EXPECT_EQ(heating->minTempBackWaterEdit()->text(), "9");
    EXPECT_EQ(heating->deltaTNightDayEdit()->text(), "-4,0");
    EXPECT_EQ(hotWater->presetEdit()->text(), "60,0");
    EXPECT_EQ(process->presetEdit()->text(), "-12,5");

    // Only " СПВ " is refreshed: the heating tab's copy of the shared field follows all the same.
    image.MinTempBackWater = 11;
    window.configurationChanged(ViewSupplyVentilation);
    EXPECT_EQ(heating->minTempBackWaterEdit()->text(), "11");
    EXPECT_EQ(heating->deltaTNightDayEdit()->text(), "-4,0");

    // The hot-water tab applies into the image.
    hotWater->presetEdit()->setText("100,1");
    hotWater->applyButton()->click();
    EXPECT_EQ(dialogs.shown, QStringList{"Значение 100,1 вне допустимого диапазона!"});
    hotWater->presetEdit()->setText("100");
    hotWater->onBox()->setChecked(true);
    hotWater->applyButton()->click();
    EXPECT_EQ(image.PresetTempWaterHWP, 100.0f);
    EXPECT_EQ(image.KindSystems, 0x04);

    const std::vector<TacticPage*> tabs = {ventilation, heating, hotWater, process, recuperation};
    window.setTransferRunning(true);
    for (TacticPage* t : tabs)
        EXPECT_FALSE(t->applyButton()->isEnabled());
    window.setTransferRunning(false);
    for (TacticPage* t : tabs)
        EXPECT_TRUE(t->applyButton()->isEnabled());
}

// Each caption's page holds the tab made for it, and only that one; "Ведомые" stays empty and
// hidden (its entries are on " Общие "), and the service pages are left to the caller.
TEST_F(TacticTabsWidgetTest, TheWindowHoldsEveryTabInItsPlace) {
    const std::unique_ptr<ConfigWindow> window(makeConfigWindow(image, dialogs));
    const struct {
        const QString& caption;
        bool (*holdsItsTab)(QWidget*);
    } tabs[] = {
        {cfg_texts::kSensors, [](QWidget* w) { return editorIn<SensorsPage>(w) != nullptr; }},
        {cfg_texts::kAnalogInOut,
         [](QWidget* w) {
             auto* page = editorIn<AssignmentPage>(w);
             return page && page->inputs()->editor().table() == AssignmentTable::AnalogIn;
         }},
        {cfg_texts::kDiscreteInOut,
         [](QWidget* w) {
             auto* page = editorIn<AssignmentPage>(w);
             return page && page->inputs()->editor().table() == AssignmentTable::DiscreteIn;
         }},
        {cfg_texts::kSupplyVentilation,
         [](QWidget* w) { return editorIn<SupplyVentilationPage>(w) != nullptr; }},
        {cfg_texts::kHeating, [](QWidget* w) { return editorIn<HeatingPage>(w) != nullptr; }},
        {cfg_texts::kHotWater, [](QWidget* w) { return editorIn<HotWaterPage>(w) != nullptr; }},
        {cfg_texts::kProcess, [](QWidget* w) { return editorIn<ProcessPage>(w) != nullptr; }},
        {cfg_texts::kRecuperation, [](QWidget* w) { return editorIn<RecuperationPage>(w) != nullptr; }},
        {cfg_texts::kDriveControl, [](QWidget* w) { return editorIn<DriveControlPage>(w) != nullptr; }},
        {cfg_texts::kGeneral, [](QWidget* w) { return editorIn<GeneralPage>(w) != nullptr; }},
        {cfg_texts::kConditions, [](QWidget* w) { return editorIn<ConditionsPage>(w) != nullptr; }},
        {cfg_texts::kCalendar, [](QWidget* w) { return editorIn<CalendarPage>(w) != nullptr; }},
    };
    for (const auto& t : tabs) {
        QWidget* page = window->tab(t.caption);
        ASSERT_NE(page, nullptr) << t.caption.toStdString();
        EXPECT_TRUE(t.holdsItsTab(page)) << t.caption.toStdString();
        // One tab per page: a second one would be a tab put under the wrong caption.
        EXPECT_EQ(page->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).size(), 1)
            << t.caption.toStdString();
    }
    for (const QString& empty : {cfg_texts::kSlaves, cfg_texts::kZarnetTab, cfg_texts::kModbusTab})
        EXPECT_TRUE(window->tab(empty)->findChildren<QWidget*>().isEmpty()) << empty.toStdString();
    EXPECT_FALSE(
        window->userTabs()->isTabVisible(window->userTabs()->indexOf(window->tab(cfg_texts::kSlaves))));
}

} // namespace
} // namespace vextor
