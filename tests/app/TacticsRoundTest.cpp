// The tactic tabs in the application against a virtual controller on a pseudo-terminal: a read shows
// the controller's values, edits applied on every tab survive a file save and load, and a write
// followed by a fresh read brings them back from the controller.
#include "RoundSupport.h"
#include "app/MainWindow.h"
#include "config/ConfigFile.h"
#include "config/ui/ConfigWindow.h"
#include "config/ui/heating/HeatingPage.h"
#include "config/ui/hotwater/HotWaterPage.h"
#include "config/ui/process/ProcessPage.h"
#include "config/ui/recuperation/RecuperationPage.h"
#include "config/ui/texts.h"
#include "config/ui/ventilation/SupplyVentilationPage.h"
#include "line/TaskTexts.h"
#include "project/ui/ProjectTreeView.h"
#include "support/NoPauseClock.h"
#include "support/ScriptedDialogs.h"
#include "support/WaitFor.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace vextor {
namespace {

using testing::editorIn;
using testing::findItem;
using testing::saveShot;
using testing::VirtualController;

// The controller's tactics: supply ventilation by time, heating, the process and a tubular
// recuperator; bit 0 of Options belongs to another tab and must survive everything.
ConfigImage controllerImage() {
    ConfigImage im;
    loadDefaultConfiguration(im);
    im.KindSystems = 0x4B;
    im.Options = 0x1005;
    im.PresetTempAir = 21.5f;
    im.PresetTimeWarming = 75;
    im.TimeTempOffPumpH = 1200;
    im.TempDownNotch = -5;
    im.SPVPIDKoef[2] = {3.25f, 0.5f, 0.0f, 1.0f, 7};
    im.DeltaTNightDay = -3.5f;
    im.TempStTempH = {{{-28, 90}, {-10, 70}, {5, 50}, {12, 35}}};
    im.PresetTempWaterHWP = 58.0f;
    im.PresetAnyParam = 320.0f;
    im.RecupWinterUmin = 35;
    im.PIDKoef[3] = {2.5f, 0.25f, 0.0f, 0.0f, 4};
    return im;
}

// Addresses 318..619: every field of the tactic tabs, with the shared words around them.
std::vector<uint8_t> tacticBytes(const ConfigImage& image) {
    std::vector<uint8_t> b(620 - 318);
    encodeRange(image, 318, static_cast<uint32_t>(b.size()), b.data());
    return b;
}

void clickPanel(QWidget* panel) {
    const QPoint free(panel->width() - 3, panel->height() - 3);
    QMouseEvent press(QEvent::MouseButtonPress, free, panel->mapToGlobal(free), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(panel, &press);
}

class TacticsRound : public ::testing::Test {
protected:
    TacticsRound() : controller(controllerImage()) {}

    void SetUp() override {
        std::string error;
        ASSERT_TRUE(controller.start(error)) << error;
        qputenv("VEXTOR_COM1", controller.path().toLocal8Bit());
        MainWindow::Options o;
        o.programDir = dir.path();
        o.dialogs = &dialogs;
        o.taskTickMs = 40;
        window = std::make_unique<MainWindow>(o);
        window->refreshTimer().stop();
        window->resize(1147, 765);
        window->show();
        window->refresh();

        Project& p = window->project();
        p.model.ProjectPath = dir.filePath("Round.prj");
        dialogs.yesNo.push_back(true);
        p.addMaster();
        p.MarkCode = node_code::kMasterDevice;
        p.repaintTree();
        p.ApplyMarkedLink();
        window->tree()->sync();
        window->refresh();
        ASSERT_TRUE(testing::waitFor([&] { return p.LinkUp; })) << dialogs.shown.join('|').toStdString();

        ConfigWindow* cfg = window->configWindow();
        spv = editorIn<SupplyVentilationPage>(cfg->tab(cfg_texts::kSupplyVentilation));
        heating = editorIn<HeatingPage>(cfg->tab(cfg_texts::kHeating));
        hotWater = editorIn<HotWaterPage>(cfg->tab(cfg_texts::kHotWater));
        process = editorIn<ProcessPage>(cfg->tab(cfg_texts::kProcess));
        recup = editorIn<RecuperationPage>(cfg->tab(cfg_texts::kRecuperation));
        ASSERT_TRUE(spv && heating && hotWater && process && recup);
    }

    // A popup command on the master's configuration file node; the line thread runs it and its answer
    // arrives here.
    void runOnConfigNode(const QString& caption, const QString& expected) {
        Project& p = window->project();
        const std::vector<MenuItem> items = p.popupItems(p.tree.findCode(kConfigNode));
        const MenuItem* item = findItem(items, caption);
        ASSERT_NE(item, nullptr) << caption.toStdString();
        dialogs.shown.clear();
        p.runMenuItem(*item);
        ASSERT_TRUE(testing::waitFor([&] { return dialogs.shown.contains(expected) && !window->busy(); }))
            << dialogs.shown.join('|').toStdString();
        dialogs.shown.clear();
    }

    static constexpr int kConfigNode = node_code::kMasterDevice + 2;
    VirtualController controller;
    testing::NoPauseClock pacing; // the pauses between requests pass at once; the line is real
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> window;
    SupplyVentilationPage* spv = nullptr;
    HeatingPage* heating = nullptr;
    HotWaterPage* hotWater = nullptr;
    ProcessPage* process = nullptr;
    RecuperationPage* recup = nullptr;
};

TEST_F(TacticsRound, ReadShowsTheControllersTacticsAndEditsSurviveFileAndWrite) {
    runOnConfigNode("Считать из прибора", task_texts::kConfigRead);
    EXPECT_EQ(spv->presetTempAirEdit()->text(), "21,5");
    EXPECT_EQ(spv->warmingCaption()->text(), "Время, сек");
    EXPECT_EQ(spv->warmingEdit()->text(), "75");
    EXPECT_EQ(spv->timeTempOffPumpHEdit()->text(), "1200");
    EXPECT_EQ(spv->tempDownNotchEdit()->text(), "-5");
    EXPECT_EQ(spv->pid(2)->kProp()->text(), "3,25");
    EXPECT_EQ(spv->pid(2)->periodDif()->text(), "7");
    EXPECT_TRUE(spv->spvOn()->isChecked());
    EXPECT_TRUE(spv->nightCurveOn()->isChecked());
    EXPECT_TRUE(heating->heatingOn()->isChecked());
    EXPECT_TRUE(heating->nightShift()->isChecked());
    EXPECT_EQ(heating->deltaTNightDayEdit()->text(), "-3,5");
    EXPECT_EQ(heating->heatingCurve()->entry(0)->text(), "-28");
    EXPECT_EQ(heating->heatingCurve()->entry(7)->text(), "35");
    EXPECT_FALSE(hotWater->onBox()->isChecked());
    EXPECT_EQ(hotWater->presetEdit()->text(), "58,0");
    EXPECT_TRUE(process->onBox()->isChecked());
    EXPECT_EQ(process->presetEdit()->text(), "320,0");
    EXPECT_EQ(recup->kinds()->checkedId(), kRecupTubular);
    EXPECT_EQ(recup->entry(kEntryWinterUmin)->text(), "35");
    EXPECT_EQ(recup->caption(kEntryWinterUmin)->text(), "% открытия при обмерзании");
    EXPECT_EQ(recup->pid()->kInt()->text(), "0,25");
    ConfigWindow* cfg = window->configWindow();
    for (const QString& name : {cfg_texts::kSupplyVentilation, cfg_texts::kHeating, cfg_texts::kHotWater,
                                cfg_texts::kProcess, cfg_texts::kRecuperation}) {
        cfg->userTabs()->setCurrentWidget(cfg->tab(name));
        saveShot(window.get(), QStringLiteral("tactic%1.png").arg(cfg->userTabs()->currentIndex()));
    }

    // The engineer edits every tab and applies it.
    spv->presetTempAirEdit()->setText("18,5");
    spv->warmingModes()->button(0)->click();
    spv->warmingEdit()->setText("40,5");
    spv->pid(1)->periodDif()->setText("31");
    spv->applyButton()->click();
    clickPanel(heating->heatingCurve());
    heating->nightShift()->setChecked(false);
    heating->timeWorkPumpEdit()->setText("200");
    heating->applyButton()->click();
    hotWater->onBox()->setChecked(true);
    hotWater->presetEdit()->setText("65");
    hotWater->applyButton()->click();
    process->presetEdit()->setText("-5,5");
    process->pid()->kDif()->setText("0,75");
    process->applyButton()->click();
    recup->kinds()->button(kRecupGlycol)->click();
    recup->entry(kEntryTminGlick)->setText("-3");
    recup->applyButton()->click();
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join('|').toStdString();
    const ConfigImage edited = window->image;
    EXPECT_EQ(edited.KindSystems, 0x8F);
    EXPECT_EQ(edited.Options, 0x8005);

    // Apply -> file -> load.
    const QString file = dir.filePath("Тактики.bin");
    dialogs.saveFiles.push_back(file);
    window->project().runMenuItem(*findItem(
        window->project().popupItems(window->project().tree.findCode(kConfigNode)), "Сохранить файл как..."));
    loadDefaultConfiguration(window->image);
    window->image.TimeWorkPump = edited.TimeWorkPump; // a configuration file does not hold it
    window->configWindow()->configurationChanged(kAllConfigViews);
    EXPECT_EQ(hotWater->presetEdit()->text(), "40,0");
    dialogs.openFiles.push_back(file);
    window->project().runMenuItem(*findItem(
        window->project().popupItems(window->project().tree.findCode(kConfigNode)), "Открыть файл"));
    EXPECT_EQ(tacticBytes(window->image), tacticBytes(edited));
    EXPECT_EQ(spv->warmingEdit()->text(), "40,5");
    EXPECT_EQ(heating->heatingCurve()->entry(1)->text(), "95");
    EXPECT_EQ(recup->kinds()->checkedId(), kRecupGlycol);

    // Apply -> write -> read.
    runOnConfigNode("Записать в прибор", task_texts::kConfigWritten);
    loadDefaultConfiguration(window->image);
    window->configWindow()->configurationChanged(kAllConfigViews);
    runOnConfigNode("Считать из прибора", task_texts::kConfigRead);
    EXPECT_EQ(window->image.KindSystems, edited.KindSystems);
    EXPECT_EQ(window->image.Options, edited.Options);
    EXPECT_EQ(spv->presetTempAirEdit()->text(), "18,5");
    EXPECT_EQ(spv->warmingCaption()->text(), "Температура,  °C ");
    EXPECT_EQ(spv->warmingEdit()->text(), "40,5");
    EXPECT_EQ(spv->pid(1)->periodDif()->text(), "31");
    EXPECT_FALSE(heating->nightShift()->isChecked());
    EXPECT_EQ(heating->timeWorkPumpEdit()->text(), "200");
    EXPECT_EQ(heating->heatingCurve()->entry(6)->text(), "100");
    EXPECT_TRUE(hotWater->onBox()->isChecked());
    EXPECT_EQ(hotWater->presetEdit()->text(), "65,0");
    EXPECT_EQ(process->presetEdit()->text(), "-5,5");
    EXPECT_EQ(process->pid()->kDif()->text(), "0,75");
    EXPECT_EQ(recup->kinds()->checkedId(), kRecupGlycol);
    EXPECT_EQ(recup->entry(kEntryTminGlick)->text(), "-3");

    controller.stop();
    ConfigImage held;
    loadDefaultConfiguration(held);
    const sim::Bytes& memory = controller.memory();
    decodeBlock(held, 318, 28, memory.data() + 318);
    decodeBlock(held, 346, 86, memory.data() + 346);
    decodeBlock(held, 432, 62, memory.data() + 432);
    decodeBlock(held, 494, 126, memory.data() + 494);
    EXPECT_EQ(held.PresetTempWarming, 40.5f);
    EXPECT_EQ(held.PresetTimeWarming, 60);
    EXPECT_EQ(held.TimeWorkPump, 200);
    EXPECT_EQ(held.TminGlick, -3);
    EXPECT_EQ(held.PIDKoef[2].KDif, 0.75f);
    EXPECT_EQ(held.SPVPIDKoef[1].PeriodDif, 31);
}

} // namespace
} // namespace vextor
