// "ДУ приводов ", " Общие " with " Ведомые ", "БУ и Ф" and "Календарь" in the application against
// a virtual controller on a pseudo-terminal: read, edit every page, write, and read back.
#include "RoundSupport.h"
#include "app/MainWindow.h"
#include "config/CalendarTab.h"
#include "config/ConditionsTab.h"
#include "config/ui/ConfigWindow.h"
#include "config/ui/calendar/CalendarPage.h"
#include "config/ui/conditions/ConditionsPage.h"
#include "config/ui/general/DriveControlPage.h"
#include "config/ui/general/GeneralPage.h"
#include "config/ui/texts.h"
#include "line/TaskTexts.h"
#include "project/ui/ProjectTreeView.h"
#include "support/NoPauseClock.h"
#include "support/ScriptedDialogs.h"
#include "support/WaitFor.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace vextor {
namespace {

using testing::editorIn;
using testing::findItem;
using testing::saveShot;
using testing::VirtualController;

// A plant's drive, general, slave, calendar and condition settings, with Options bits of the
// tactic tabs that no page here may touch.
ConfigImage controllerImage() {
    ConfigImage im;
    loadDefaultConfiguration(im);
    im.DC1FullTime = 120;
    im.DC2LuftTime = 6;
    im.DCFlags = 0x05;
    im.SummerBegin = {6, 30, 0, 15, 4, 26};
    im.Options = 0x0C11;
    im.DAC1erProcent = 80;
    im.Slaves[0] = {1, 32, 1};
    im.Slaves[1] = {2, 32, 1};
    buildDefaultCalendar(im, QDate(2015, 3, 1));
    toggleCalendarDay(im, 2015, 3, 9);
    ConditionRecord& c = im.Conditions[0];
    c.Kind = 9;
    c.AdrInput1 = 0x0B;
    c.NumInput1 = 0xC7;
    c.Flags = kConditionHasOutput;
    c.AdrOutput = 0;
    c.NumOutput = 5 | kDiscreteOutput;
    c.IfValueOutput = 1;
    c.Memo = 0x77;
    return im;
}

void clickAt(QWidget* w, QPoint p) {
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(p), w->mapToGlobal(QPointF(p)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

TEST(GeneralRound, ReadEditWriteAndReadBackEveryPage) {
    // The controller keeps its own season years; the configurator only reads them.
    sim::Bytes held = VirtualController::memoryOf(controllerImage());
    held[323 - sim::kImageFirst] = controllerImage().SummerBegin.Year;
    VirtualController controller(held);
    std::string error;
    ASSERT_TRUE(controller.start(error)) << error;
    qputenv("VEXTOR_COM1", controller.path().toLocal8Bit());
    testing::NoPauseClock pacing;

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    MainWindow::Options o;
    o.programDir = dir.path();
    o.dialogs = &dialogs;
    o.taskTickMs = 40;
    MainWindow window(o);
    window.refreshTimer().stop();
    window.resize(1147, 765);
    window.show();
    window.refresh();

    ConfigWindow* cfg = window.configWindow();
    auto* drives = editorIn<DriveControlPage>(cfg->tab(cfg_texts::kDriveControl));
    auto* general = editorIn<GeneralPage>(cfg->tab(cfg_texts::kGeneral));
    auto* conditions = editorIn<ConditionsPage>(cfg->tab(cfg_texts::kConditions));
    auto* calendar = editorIn<CalendarPage>(cfg->tab(cfg_texts::kCalendar));
    ASSERT_TRUE(drives && general && conditions && calendar);
    // The project reset fills the pages, but draws no day red.
    EXPECT_EQ(calendar->caption(0)->text(), "Январь 2000");
    EXPECT_FALSE(calendar->month(0)->dayIsRed(2000, 1, 1));

    Project& p = window.project();
    p.model.ProjectPath = dir.filePath("Round.prj");
    dialogs.yesNo.push_back(true);
    p.addMaster();
    p.MarkCode = node_code::kMasterDevice;
    p.repaintTree();
    p.ApplyMarkedLink();
    window.tree()->sync();
    window.refresh();
    ASSERT_TRUE(testing::waitFor([&] { return p.LinkUp; })) << dialogs.shown.join('|').toStdString();
    // The line's answers arrive on this thread; each step waits until the operation has ended.
    const auto done = [&](const QString& message) {
        return testing::waitFor([&] { return dialogs.shown.contains(message) && !window.busy(); });
    };

    const int configNode = node_code::kMasterDevice + 2;
    const auto readConfig = [&] {
        dialogs.shown.clear();
        p.runMenuItem(*findItem(p.popupItems(p.tree.findCode(configNode)), "Считать из прибора"));
        return done(task_texts::kConfigRead);
    };
    ASSERT_TRUE(readConfig()) << dialogs.shown.join('|').toStdString();

    // What the controller holds is on every page.
    EXPECT_EQ(drives->timeEdit(0)->text(), "120");
    EXPECT_EQ(drives->timeEdit(5)->text(), "6");
    EXPECT_TRUE(drives->flagBox(2)->isChecked());
    EXPECT_EQ(general->summerDateEdit()->date(), QDate(2026, 4, 15));
    EXPECT_EQ(general->dac1PercentEdit()->text(), "80");
    EXPECT_TRUE(general->dac1RangeBox()->isChecked());
    EXPECT_EQ(general->slaveTypeList(1)->currentText(), "Vextor (32)");
    EXPECT_FALSE(general->addButton(5)->isEnabled()); // own make on the line: no other make
    EXPECT_EQ(conditions->cell(0, 1), "задержка по Включению");
    EXPECT_EQ(conditions->cell(0, 11), "01:30:14");
    EXPECT_EQ(conditions->numberEdit()->text(), "1");
    EXPECT_EQ(calendar->caption(0)->text(), "Март 2015");
    EXPECT_EQ(calendar->caption(11)->text(), "Февраль 2016");
    EXPECT_TRUE(calendar->month(0)->dayIsRed(2015, 3, 9));
    cfg->userTabs()->setCurrentWidget(cfg->tab(cfg_texts::kCalendar));
    saveShot(&window, "calendar.png");
    cfg->userTabs()->setCurrentWidget(cfg->tab(cfg_texts::kConditions));
    saveShot(&window, "conditions.png");

    // The engineer edits every page.
    dialogs.shown.clear();
    drives->timeEdit(0)->setText("200");
    drives->flagBox(3)->setChecked(true);
    drives->applyButton()->click();
    general->dac1PercentEdit()->setText("95");
    general->overload2Box()->setChecked(true);
    general->removeLastButton()->click();
    general->addButton(2)->click(); // Lintra into slot 2
    general->slaveAddressEdit(1)->setText("9");
    general->counterEdit(3)->setText("0,5");
    general->applyButton()->click();
    conditions->grid()->setCurrentCell(1, 0);
    conditions->kindList()->setCurrentIndex(15);
    conditions->adr1Edit()->setText("0");
    conditions->num1Edit()->setText("11");
    conditions->set1Edit()->setText("20,5");
    conditions->set2Edit()->setText("25");
    conditions->outputTypeButton(kOutputAnalog)->click();
    conditions->outAddressEdit()->setText("0");
    conditions->outNumberEdit()->setText("3");
    conditions->ifValueEdit()->setText("7,5");
    conditions->elseValueEdit()->setText("0");
    conditions->dependencyEdit()->setText("1");
    conditions->applyButton()->click();
    MonthGrid* may = calendar->month(2);
    ASSERT_EQ(may->month(), 5);
    clickAt(may, may->cellRect(4, 1).center()); // Friday 1 May 2015
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join('|').toStdString();

    dialogs.shown.clear();
    p.runMenuItem(*findItem(p.popupItems(p.tree.findCode(configNode)), "Записать в прибор"));
    ASSERT_TRUE(done(task_texts::kConfigWritten)) << dialogs.shown.join('|').toStdString();

    // Read back into a fresh image of the tabs.
    loadDefaultConfiguration(window.image);
    cfg->configurationChanged(kAllConfigViews);
    ASSERT_TRUE(readConfig()) << dialogs.shown.join('|').toStdString();
    EXPECT_EQ(drives->timeEdit(0)->text(), "200");
    EXPECT_TRUE(drives->flagBox(3)->isChecked());
    EXPECT_EQ(general->dac1PercentEdit()->text(), "95");
    EXPECT_TRUE(general->overload2Box()->isChecked());
    EXPECT_EQ(general->slaveTypeList(1)->currentText(), "Lintra (9)");
    EXPECT_EQ(general->slaveAddressEdit(1)->text(), "9");
    EXPECT_EQ(general->counterEdit(3)->text(), "0,5000");
    // The controller keeps its own year; the configurator sends none.
    EXPECT_EQ(general->summerDateEdit()->date(), QDate(2000, 4, 15));
    EXPECT_EQ(conditions->cell(1, 1), "если O1больше, 2 уст.");
    EXPECT_EQ(conditions->cell(1, 4), "20,5 / 25,0");
    EXPECT_EQ(conditions->cell(1, 5), "self / A3");
    EXPECT_EQ(conditions->cell(1, 6), "7,5 p0");
    EXPECT_EQ(conditions->cell(1, 8), "У/Ф N1");
    EXPECT_TRUE(calendar->month(2)->dayIsRed(2015, 5, 1));

    controller.stop();
    const sim::Bytes& memory = controller.memory();
    const struct { uint32_t address, count; } blocks[] = {{318, 28}, {432, 62}, {620, 512}, {1132, 60}};
    for (const auto& b : blocks) {
        std::vector<uint8_t> shown(b.count);
        encodeRange(window.image, b.address, b.count, shown.data());
        EXPECT_TRUE(std::equal(shown.begin(), shown.end(), memory.begin() + b.address)) << b.address;
    }
    EXPECT_EQ(memory[342] | memory[343] << 8, 0x0C31); // the tactic tabs' bits as they were
    EXPECT_EQ(memory[620 + 11], 0x77);                 // a condition's Memo travels untouched
    EXPECT_EQ(memory[444 + 3 + 1], 9);
}

} // namespace
} // namespace vextor
