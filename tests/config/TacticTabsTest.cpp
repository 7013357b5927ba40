// The tactic tabs' algorithms, headless: what each "Применить" stores, what it refuses and keeps,
// which shared bits it leaves alone, and what each refresh shows.
#include "FieldTable.h"
#include "config/ConfigTransfer.h"
#include "config/HeatingTab.h"
#include "config/HotWaterTab.h"
#include "config/ProcessTab.h"
#include "config/RecuperationTab.h"
#include "config/SupplyVentilationTab.h"
#include "link/UserDialogs.h"
#include "support/ScriptedDialogs.h"

#include <functional>
#include <gtest/gtest.h>

namespace vextor {
namespace {

using field_table::entry;
using field_table::EntryRow;
using field_table::FlagRow;

// The five entries of a PID set, each with its own value from base on.
void addPid(std::vector<EntryRow>& rows, const std::string& name, PlainPIDControls& f,
            std::function<PIDRecord&(ConfigImage&)> pid, int base) {
    const float k = static_cast<float>(base);
    rows.push_back(entry(name + " KProp", f.kProp, pidText(k + 0.25f),
                         [=](ConfigImage& im) { pid(im).KProp = k + 0.25f; }));
    rows.push_back(
        entry(name + " KInt", f.kInt, pidText(k + 1.5f), [=](ConfigImage& im) { pid(im).KInt = k + 1.5f; }));
    rows.push_back(entry(name + " KDif", f.kDif, pidText(k + 2.75f),
                         [=](ConfigImage& im) { pid(im).KDif = k + 2.75f; }));
    rows.push_back(entry(name + " StartIntError", f.startIntError, pidText(-k - 3.5f),
                         [=](ConfigImage& im) { pid(im).StartIntError = -k - 3.5f; }));
    const auto period = static_cast<uint8_t>(base % 31 + 1);
    rows.push_back(entry(name + " PeriodDif", f.periodDif, QString::number(period),
                         [=](ConfigImage& im) { pid(im).PeriodDif = period; }));
}

// A check box over bits of a word of the image.
template <class T> FlagRow bitRow(std::string name, PlainFlagField& f, T ConfigImage::*word, T mask) {
    return {std::move(name), &f, [=](ConfigImage& im, bool on) { setBits(im.*word, mask, on); }};
}

class TacticTabsTest : public ::testing::Test {
protected:
    TacticTabsTest()
        : spv(image, spvFields.controls()), heating(image, heatingFields.controls()),
          hotWater(image, hotWaterFields.controls()), process(image, processFields.controls()),
          recup(image, recupFields.controls()) {
        loadDefaultConfiguration(image);
        setValidationDialogs(&dialogs);
        showAll();
    }
    ~TacticTabsTest() override { setValidationDialogs(nullptr); }

    void showAll() {
        spv.showSupplyVentilation();
        heating.showHeating();
        hotWater.showHotWater();
        process.showProcess();
        recup.showRecuperation();
    }
    std::vector<uint8_t> bytes(uint32_t address, uint32_t count) const {
        std::vector<uint8_t> b(count);
        encodeRange(image, address, count, b.data());
        return b;
    }
    PlainEditField& recupEntry(RecupEntry e) { return recupFields.entries[e]; }
    field_table::Tab table(std::function<void()> show, std::function<void()> apply) {
        return {image, dialogs, std::move(show), std::move(apply)};
    }

    ConfigImage image;
    ScriptedDialogs dialogs;
    PlainSupplyVentilationControls spvFields;
    PlainHeatingControls heatingFields;
    PlainSetPointControls hotWaterFields, processFields;
    PlainRecuperationControls recupFields;
    SupplyVentilationTab spv;
    HeatingTab heating;
    HotWaterTab hotWater;
    ProcessTab process;
    RecuperationTab recup;
};

TEST_F(TacticTabsTest, WarmUpModeKeepsTheFixedValueOfTheOtherMode) {
    spvFields.warmingMode.setCurrentIndex(kWarmingByTimeItem);
    spv.warmingModeChanged();
    EXPECT_EQ(spv.warmingCaption(), "Время, сек");
    spvFields.warming.setText("90");
    spv.applySupplyVentilation();
    EXPECT_EQ(image.PresetTimeWarming, 90);
    EXPECT_EQ(image.PresetTempWarming, 50.0f);
    EXPECT_FALSE(image.Options & 0x8000);
    spv.showSupplyVentilation();
    EXPECT_EQ(spvFields.warmingMode.currentIndex(), kWarmingByTimeItem);
    EXPECT_EQ(spvFields.warming.text(), "90");

    spvFields.warmingMode.setCurrentIndex(kWarmingByWaterItem);
    spv.warmingModeChanged();
    EXPECT_EQ(spv.warmingCaption(), "Температура");
    spvFields.warming.setText("35,5");
    spv.applySupplyVentilation();
    EXPECT_EQ(image.PresetTempWarming, 35.5f);
    EXPECT_EQ(image.PresetTimeWarming, 60);
    EXPECT_TRUE(image.Options & 0x8000);
    spv.showSupplyVentilation();
    EXPECT_EQ(spvFields.warmingMode.currentIndex(), kWarmingByWaterItem);
    EXPECT_EQ(spv.warmingCaption(), "Температура,  °C ");
    EXPECT_EQ(spvFields.warming.text(), "35,5");
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join('|').toStdString();
}

TEST_F(TacticTabsTest, SupplyVentilationLimits) {
    struct Case {
        PlainEditField* field;
        const char* text;
        const char* message; // nullptr: accepted
        uint32_t address;
        std::vector<uint8_t> stored; // image bytes at address afterwards
    };
    const Case cases[] = {
        {&spvFields.tempDownNotch, "-128", nullptr, 395, {0x80}},
        {&spvFields.tempDownNotch, "127", nullptr, 395, {0x7F}},
        {&spvFields.tempDownNotch, "-129", "Значение -129 вне допустимого диапазона!", 395, {20}},
        {&spvFields.timeTempOffPumpH, "65535", nullptr, 388, {0xFF, 0xFF}},
        {&spvFields.timeTempOffPumpH, "65536", "Значение 65536 вне допустимого диапазона!", 388, {60, 0}},
        {&spvFields.presetTempAir, "-100", nullptr, 346, {0x00, 0x00, 0xC8, 0xC2}},
        {&spvFields.presetTempAir,
         "100,1",
         "Значение 100,1 вне допустимого диапазона!",
         346,
         {0, 0, 0xC0, 0x41}},
        {&spvFields.delayOnVent1, "2x", "Ошибка формата данных!", 333, {3}},
    };
    for (const Case& c : cases) {
        loadDefaultConfiguration(image);
        spv.showSupplyVentilation();
        dialogs.shown.clear();
        c.field->setText(QString::fromUtf8(c.text));
        spv.applySupplyVentilation();
        EXPECT_EQ(bytes(c.address, static_cast<uint32_t>(c.stored.size())), c.stored) << c.text;
        EXPECT_EQ(dialogs.shown, c.message ? QStringList{QString::fromUtf8(c.message)} : QStringList{})
            << c.text;
        EXPECT_EQ(c.field->focusCount, c.message ? 1 : 0) << c.text;
        c.field->focusCount = 0;
    }
}

TEST_F(TacticTabsTest, ARefusalKeepsTheLaterEntriesButStoresTheFlags) {
    spvFields.delayOnVent2.setText("256");
    spvFields.histeresis.setText("3,5");
    spvFields.pid[2].kProp.setText("7");
    spvFields.spvOn.setChecked(true);
    spvFields.nightCurve.setChecked(true);
    spvFields.warmingMode.setCurrentIndex(kWarmingByTimeItem);
    spvFields.warming.setText("1000"); // a second fault: no second message
    spv.applySupplyVentilation();
    EXPECT_EQ(dialogs.shown, QStringList{"Значение 256 вне допустимого диапазона!"});
    EXPECT_EQ(image.DelayOnVent2, 3);
    EXPECT_EQ(image.Histeresis, 2.0f);
    EXPECT_EQ(image.SPVPIDKoef[2].KProp, 0.0f);
    EXPECT_EQ(image.KindSystems & 0x01, 0x01);
    EXPECT_EQ(image.Options & 0x0004, 0x0004);
    // The fixed value of the mode not chosen is stored all the same; the refused time is not.
    EXPECT_EQ(image.PresetTempWarming, 50.0f);
    EXPECT_EQ(image.PresetTimeWarming, 35);
}

// Every PID page: the period 1..31; the coefficients -10000..10000.
TEST_F(TacticTabsTest, PIDPeriodOnEveryPage) {
    recupFields.kind.setCurrentIndex(kRecupRotary); // a kind with a PID set
    struct Page {
        const char* name;
        PlainPIDControls* fields;
        std::function<void()> apply;
        std::function<PIDRecord&()> record;
    };
    const Page pages[] = {
        {"Калорифер/день", &spvFields.pid[0], [&] { spv.applySupplyVentilation(); },
         [&]() -> PIDRecord& { return image.SPVPIDKoef[0]; }},
        {"Калорифер/ночь", &spvFields.pid[1], [&] { spv.applySupplyVentilation(); },
         [&]() -> PIDRecord& { return image.SPVPIDKoef[1]; }},
        {"Кондиционер/день", &spvFields.pid[2], [&] { spv.applySupplyVentilation(); },
         [&]() -> PIDRecord& { return image.SPVPIDKoef[2]; }},
        {"СОт", &heatingFields.pid, [&] { heating.applyHeating(); },
         [&]() -> PIDRecord& { return image.PIDKoef[0]; }},
        {"СГВС", &hotWaterFields.pid, [&] { hotWater.applyHotWater(); },
         [&]() -> PIDRecord& { return image.PIDKoef[1]; }},
        {"ТП", &processFields.pid, [&] { process.applyProcess(); },
         [&]() -> PIDRecord& { return image.PIDKoef[2]; }},
        {"Рекуперация", &recupFields.pid, [&] { recup.applyRecuperation(); },
         [&]() -> PIDRecord& { return image.PIDKoef[3]; }},
    };
    const struct {
        const char* period;
        uint8_t stored;
        bool refused;
    } periods[] = {{"0", 9, true}, {"1", 1, false}, {"31", 31, false}, {"32", 9, true}};
    for (const Page& page : pages) {
        for (const auto& p : periods) {
            page.record().PeriodDif = 9;
            dialogs.shown.clear();
            page.fields->periodDif.setText(QString::fromUtf8(p.period));
            page.fields->kDif.setText("-10000");
            page.apply();
            EXPECT_EQ(page.record().PeriodDif, p.stored) << page.name << " " << p.period;
            EXPECT_EQ(page.record().KDif, -10000.0f) << page.name;
            EXPECT_EQ(dialogs.shown.size(), p.refused ? 1 : 0) << page.name << " " << p.period;
        }
        page.fields->periodDif.setText("1");
        page.fields->startIntError.setText("10000,01");
        dialogs.shown.clear();
        page.apply();
        EXPECT_EQ(dialogs.shown, QStringList{"Значение 10000,01 вне допустимого диапазона!"}) << page.name;
        page.fields->startIntError.setText("0,5");
        page.apply();
        EXPECT_EQ(page.record().StartIntError, 0.5f) << page.name;
    }
}

TEST_F(TacticTabsTest, ReferenceCurvesGoToTheEntriesThenToTheImage) {
    struct Curve {
        const char* name;
        std::function<void()> click, apply;
        std::array<CurvePoint, 4>* field;
        std::array<CurvePoint, 4> reference;
    };
    const Curve curves[] = {
        {"night",
         [&] { spv.setDefaultNightCurve(); },
         [&] { spv.applySupplyVentilation(); },
         &image.TempStTempBW,
         {{{-100, 55}, {-25, 45}, {-5, 35}, {100, 25}}}},
        {"heating",
         [&] { heating.setDefaultHeatingCurve(); },
         [&] { heating.applyHeating(); },
         &image.TempStTempH,
         {{{-100, 95}, {-25, 95}, {8, 42}, {100, 42}}}},
        {"overheat",
         [&] { heating.setDefaultOverheatCurve(); },
         [&] { heating.applyHeating(); },
         &image.TempBWDeltaT,
         {{{-100, 25}, {-25, 25}, {-14, 60}, {8, 30}}}},
    };
    for (const Curve& c : curves) {
        loadDefaultConfiguration(image);
        showAll();
        const std::array<CurvePoint, 4> before = *c.field;
        spvFields.histeresis.setText("1,5");
        heatingFields.corrTHeat.setText("-1,5");
        c.click();
        EXPECT_EQ(*c.field, before) << c.name; // the image waits for "Применить"
        c.apply();
        EXPECT_EQ(*c.field, c.reference) << c.name;
    }
    EXPECT_EQ(image.CorrTHeat, -1.5f); // the other entries as entered
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join('|').toStdString();

    // Curve entries are signed bytes, taken point by point, argument before value.
    heatingFields.heatingCurve.fields[0].setText("-128");
    heatingFields.heatingCurve.fields[1].setText("127");
    heatingFields.heatingCurve.fields[2].setText("128");
    heatingFields.heatingCurve.fields[3].setText("-129");
    heating.applyHeating();
    EXPECT_EQ(image.TempStTempH[0], (CurvePoint{-128, 127}));
    EXPECT_EQ(image.TempStTempH[1], (CurvePoint{-30, 70})); // refused: the image keeps its point
    EXPECT_EQ(dialogs.shown, QStringList{"Значение 128 вне допустимого диапазона!"});
}

// Each tab sets and clears only its own bits of the shared KindSystems and Options.
TEST_F(TacticTabsTest, SharedBitsOfOtherTabsStay) {
    struct Tab {
        const char* name;
        std::vector<PlainFlagField*> flags;
        std::function<void()> apply;
        uint8_t kindBits;
        uint16_t optionBits;
    };
    const Tab tabs[] = {
        {"СПВ",
         {&spvFields.spvOn, &spvFields.warmingByOutdoor, &spvFields.weekendOff, &spvFields.cascade,
          &spvFields.fallingPreset, &spvFields.nightCurve},
         [&] { spv.applySupplyVentilation(); },
         0x01,
         0x6304},
        {"СОт",
         {&heatingFields.heatingOn, &heatingFields.overheatControl, &heatingFields.overcoolControl,
          &heatingFields.cascade, &heatingFields.weekendShift, &heatingFields.nightShift,
          &heatingFields.alternatePumps},
         [&] { heating.applyHeating(); },
         0x02,
         0x1CC8},
        {"СГВС", {&hotWaterFields.on}, [&] { hotWater.applyHotWater(); }, 0x04, 0},
        {"ТП", {&processFields.on}, [&] { process.applyProcess(); }, 0x08, 0},
    };
    for (const Tab& tab : tabs) {
        for (const uint8_t kindStart : {uint8_t{0x00}, uint8_t{0xFF}}) {
            for (const uint16_t optStart : {uint16_t{0x0000}, uint16_t{0x7FFF}, uint16_t{0xFFFF}}) {
                for (const bool on : {false, true}) {
                    image.KindSystems = kindStart;
                    image.Options = optStart;
                    spv.showSupplyVentilation(); // keeps the warm-up mode of the start value
                    for (PlainFlagField* f : tab.flags)
                        f->setChecked(on);
                    tab.apply();
                    const auto trace = ::testing::Message()
                                       << tab.name << " " << int(kindStart) << " " << optStart << " " << on;
                    EXPECT_EQ(image.KindSystems,
                              on ? (kindStart | tab.kindBits) : (kindStart & ~tab.kindBits))
                        << trace;
                    EXPECT_EQ(image.Options, on ? (optStart | tab.optionBits) : (optStart & ~tab.optionBits))
                        << trace;
                }
            }
        }
    }
    // The recuperation kind keeps bits 0-3.
    image.KindSystems = 0x0B;
    recupFields.kind.setCurrentIndex(kRecupTubular);
    recup.applyRecuperation();
    EXPECT_EQ(image.KindSystems, 0x4B);
    recupFields.kind.setCurrentIndex(kRecupNone);
    recup.applyRecuperation();
    EXPECT_EQ(image.KindSystems, 0x0B);
}

TEST_F(TacticTabsTest, RecuperationKindFromTheImage) {
    const struct {
        uint8_t kind, item, after;
    } cases[] = {{0x10, kRecupDamper, 0x10}, {0x25, kRecupRotary, 0x25}, {0x4F, kRecupTubular, 0x4F},
                 {0x80, kRecupGlycol, 0x80}, {0x35, kRecupNone, 0x05},   {0xF0, kRecupNone, 0x00},
                 {0x0A, kRecupNone, 0x0A}};
    for (const auto& c : cases) {
        image.KindSystems = c.kind;
        recup.showRecuperation();
        EXPECT_EQ(recupFields.kind.currentIndex(), c.item) << int(c.kind);
        EXPECT_EQ(image.KindSystems, c.after) << int(c.kind);
    }
}

TEST_F(TacticTabsTest, RecuperationKindShowsItsEntries) {
    using E = RecupEntryView;
    const E hidden{};
    struct Case {
        int item;
        bool params, winter, summer, glycol, note, pid;
        std::array<E, kRecupEntryCount> entries;
    };
    const Case cases[] = {
        {kRecupDamper,
         true,
         true,
         true,
         false,
         false,
         false,
         {E{true, "(Ткан-Тнар)min, C"}, E{true, "Umin"}, E{true, "(Ткан-Тнар)max, C"}, E{true, "Umax, В"},
          E{true, "(Тнар-Ткан)min, C"}, E{true, "Umin"}, E{true, "(Тнар-Ткан)max, C"}, E{true, "Umax"},
          hidden}},
        {kRecupRotary,
         true,
         false,
         true,
         false,
         false,
         true,
         {hidden, hidden, hidden, hidden, hidden, E{true, "Тх для выключения"}, hidden,
          E{true, "Тх для включения"}, hidden}},
        {kRecupTubular,
         true,
         true,
         false,
         false,
         true,
         true,
         {hidden, E{true, "% открытия при обмерзании"}, hidden, hidden, hidden, hidden, hidden, hidden,
          hidden}},
        {kRecupGlycol,
         true,
         false,
         false,
         true,
         false,
         true,
         {hidden, hidden, hidden, hidden, hidden, hidden, hidden, hidden,
          E{true, "T min для гликолевого рекуператора, С"}}},
        {kRecupNone, false, false, false, false, false, false, {}},
    };
    for (const Case& c : cases) {
        recupFields.kind.setCurrentIndex(c.item);
        recup.showRecuperationKind();
        const RecuperationPanel& p = recup.panel();
        EXPECT_EQ(p.parametersVisible, c.params) << c.item;
        EXPECT_EQ(p.winterVisible, c.winter) << c.item;
        EXPECT_EQ(p.summerVisible, c.summer) << c.item;
        EXPECT_EQ(p.glycolVisible, c.glycol) << c.item;
        EXPECT_EQ(p.tubularNoteVisible, c.note) << c.item;
        EXPECT_EQ(p.pidVisible, c.pid) << c.item;
        for (int e = 0; e < kRecupEntryCount; ++e)
            EXPECT_EQ(p.entries[e], c.entries[e]) << c.item << " entry " << e;
    }
}

TEST_F(TacticTabsTest, RecuperationKindChangeAndApply) {
    image.KindSystems = 0x21; // rotary, with supply ventilation on
    recup.showRecuperation();
    recupFields.kind.setCurrentIndex(kRecupGlycol);
    recup.showRecuperationKind();
    recupEntry(kEntryTminGlick).setText("-5");
    recup.applyRecuperation();
    EXPECT_EQ(image.KindSystems, 0x81);
    EXPECT_EQ(image.TminGlick, -5);

    // The damper has no PID set: a faulty PID entry is neither checked nor stored.
    recupFields.kind.setCurrentIndex(kRecupDamper);
    recupFields.pid.kProp.setText("abc");
    recupFields.pid.periodDif.setText("3");
    recupEntry(kEntryWinterDeltaTmax).setText("-128");
    recup.applyRecuperation();
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join('|').toStdString();
    EXPECT_EQ(image.KindSystems, 0x11);
    EXPECT_EQ(image.RecupWinterDeltaTmax, -128);
    EXPECT_EQ(image.PIDKoef[3].PeriodDif, 1);

    // The tubular recuperator's winter entry is a percentage 0..100 and is shown as one.
    image.RecupWinterUmin = 20;
    recupFields.kind.setCurrentIndex(kRecupTubular);
    recup.showRecuperationKind();
    EXPECT_EQ(recupEntry(kEntryWinterUmin).text(), "20");
    recupEntry(kEntryWinterUmin).setText("100");
    recupFields.pid.kProp.setText("1,5");
    recup.applyRecuperation();
    EXPECT_EQ(image.RecupWinterUmin, 100);
    EXPECT_EQ(image.PIDKoef[3].KProp, 1.5f);
    EXPECT_EQ(image.PIDKoef[3].PeriodDif, 3);
    recupEntry(kEntryWinterUmin).setText("101");
    recup.applyRecuperation();
    EXPECT_EQ(image.RecupWinterUmin, 100);
    EXPECT_EQ(dialogs.shown, QStringList{"Значение 101 вне допустимого диапазона!"});
    recupFields.kind.setCurrentIndex(kRecupDamper);
    recup.showRecuperationKind();
    EXPECT_EQ(recupEntry(kEntryWinterUmin).text(), "10,0"); // back to volts

    // "Нет" clears the kind and takes nothing else.
    recupFields.kind.setCurrentIndex(kRecupNone);
    recupEntry(kEntryTminGlick).setText("x");
    dialogs.shown.clear();
    recup.applyRecuperation();
    EXPECT_EQ(image.KindSystems, 0x01);
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(TacticTabsTest, VoltagesInTenths) {
    recupFields.kind.setCurrentIndex(kRecupRotary);
    const struct {
        const char* text;
        uint8_t stored;
        const char* message;
    } cases[] = {{"25,5", 255, nullptr},
                 {"25,6", 77, "Значение 25,6 вне допустимого диапазона!"},
                 {"2,05", 20, nullptr},
                 {"2,3", 23, nullptr},
                 {"0,7", 7, nullptr},
                 {"4,4", 44, nullptr},
                 {"0", 0, nullptr},
                 {"-0,1", 77, "Значение -0,1 вне допустимого диапазона!"},
                 {"1,x", 77, "Ошибка формата данных!"}};
    for (const auto& c : cases) {
        image.RecupSummerUmin = 77;
        dialogs.shown.clear();
        recupEntry(kEntrySummerUmin).setText(QString::fromUtf8(c.text));
        recup.applyRecuperation();
        EXPECT_EQ(image.RecupSummerUmin, c.stored) << c.text;
        EXPECT_EQ(dialogs.shown, c.message ? QStringList{QString::fromUtf8(c.message)} : QStringList{})
            << c.text;
    }
    // Every byte shows as a text that is stored as the same byte again.
    for (int b = 0; b < 256; ++b) {
        image.RecupSummerUmax = static_cast<uint8_t>(b);
        recup.showRecuperation();
        image.RecupSummerUmax = 0;
        recup.applyRecuperation();
        EXPECT_EQ(image.RecupSummerUmax, b) << recupEntry(kEntrySummerUmax).text().toStdString();
    }
}

TEST_F(TacticTabsTest, SetPointLimits) {
    const struct {
        PlainEditField* field;
        std::function<void()> apply;
        float* stored;
        const char* text;
        float expected;
        bool refused;
    } cases[] = {
        {&hotWaterFields.preset, [&] { hotWater.applyHotWater(); }, &image.PresetTempWaterHWP, "100", 100.0f,
         false},
        {&hotWaterFields.preset, [&] { hotWater.applyHotWater(); }, &image.PresetTempWaterHWP, "100,1", 40.0f,
         true},
        {&hotWaterFields.preset, [&] { hotWater.applyHotWater(); }, &image.PresetTempWaterHWP, "-0,1", 40.0f,
         true},
        {&processFields.preset, [&] { process.applyProcess(); }, &image.PresetAnyParam, "-10000", -10000.0f,
         false},
        {&processFields.preset, [&] { process.applyProcess(); }, &image.PresetAnyParam, "10000,1", 0.0f,
         true},
        // The controller would give a value this small back as an impossible temperature.
        {&processFields.preset, [&] { process.applyProcess(); }, &image.PresetAnyParam, "0,00000001", 0.0f,
         true},
    };
    for (const auto& c : cases) {
        loadDefaultConfiguration(image);
        dialogs.shown.clear();
        c.field->setText(QString::fromUtf8(c.text));
        c.apply();
        EXPECT_EQ(*c.stored, c.expected) << c.text;
        EXPECT_EQ(dialogs.shown.size(), c.refused ? 1 : 0) << c.text;
    }
}

TEST_F(TacticTabsTest, TextFormsOfTheRefresh) {
    image.PresetTempAir = 21.25f;
    image.SPVCascadeKoef = 1.5f;
    image.KoefOutVent = 0.85f;
    image.SPVPIDKoef[1] = {12.5f, 0.05f, 0.0f, -3.0f, 4};
    image.MinTempBackWater = 12;
    const uint8_t notch = 0xFF; // a controller byte 0xFF stands for 30
    decodeBlock(image, 395, 1, &notch);
    PlainEditField duplicate;
    spv.minTempBackWaterDuplicate = &duplicate;
    spvFields.pidPage.setCurrentIndex(2);
    spv.showSupplyVentilation();
    EXPECT_EQ(spvFields.presetTempAir.text(), "21,3");
    EXPECT_EQ(spvFields.histeresis.text(), "2,0");
    EXPECT_EQ(spvFields.cascadeKoef.text(), "1,500");
    EXPECT_EQ(spvFields.koefOutVent.text(), "0,8500");
    EXPECT_EQ(spvFields.pid[1].kProp.text(), "12,50");
    EXPECT_EQ(spvFields.pid[1].kInt.text(), "0,05");
    EXPECT_EQ(spvFields.pid[1].startIntError.text(), "-3,00");
    EXPECT_EQ(spvFields.pid[1].periodDif.text(), "4");
    EXPECT_EQ(spvFields.tempDownNotch.text(), "30");
    EXPECT_EQ(spvFields.night.fields[0].text(), "-100");
    EXPECT_EQ(spvFields.night.fields[7].text(), "26");
    EXPECT_EQ(spvFields.pidPage.currentIndex(), 0);
    EXPECT_EQ(duplicate.text(), "12");
    EXPECT_EQ(spv.warmingCaption(), "Время, сек");
    EXPECT_EQ(spvFields.warming.text(), "35");

    image.DeltaTNightDay = -2.0f;
    image.SHCascadeKoef = 0.75f;
    image.TimeWorkPump = 24;
    heating.showHeating();
    EXPECT_EQ(heatingFields.deltaTNightDay.text(), "-2,0");
    EXPECT_EQ(heatingFields.cascadeKoef.text(), "0,750");
    EXPECT_EQ(heatingFields.minTempBackWater.text(), "12");
    EXPECT_EQ(heatingFields.timeWorkPump.text(), "24");
    EXPECT_EQ(heatingFields.heatingCurve.fields[1].text(), "90");
    hotWater.showHotWater();
    EXPECT_EQ(hotWaterFields.preset.text(), "40,0");

    image.KindSystems = 0x40;
    image.RecupWinterUmin = 35;
    image.RecupSummerUmin = 7;
    recup.showRecuperation();
    EXPECT_EQ(recupEntry(kEntryWinterUmin).text(), "35");
    EXPECT_EQ(recupEntry(kEntrySummerUmin).text(), "0,7");
    EXPECT_EQ(recupEntry(kEntryWinterUmax).text(), "10,0");
    EXPECT_EQ(recupEntry(kEntryTminGlick).text(), "24");
}

// Every entry and check box of " СОт " against its own image field.
TEST_F(TacticTabsTest, HeatingEntriesAndTheirFields) {
    PlainHeatingControls& f = heatingFields;
    std::vector<EntryRow> rows = {
        entry("DeltaTNightDay", f.deltaTNightDay, "-11,5",
              [](ConfigImage& im) { im.DeltaTNightDay = -11.5f; }),
        entry("DeltaTWeekend", f.deltaTWeekend, "12,5", [](ConfigImage& im) { im.DeltaTWeekend = 12.5f; }),
        entry("CorrTHeat", f.corrTHeat, "-13,5", [](ConfigImage& im) { im.CorrTHeat = -13.5f; }),
        entry("SHCascadeKoef", f.cascadeKoef, "1,125", [](ConfigImage& im) { im.SHCascadeKoef = 1.125f; }),
        entry("MinTempBackWater", f.minTempBackWater, "21",
              [](ConfigImage& im) { im.MinTempBackWater = 21; }),
        entry("TimeWorkPump", f.timeWorkPump, "22", [](ConfigImage& im) { im.TimeWorkPump = 22; }),
    };
    field_table::addCurve(rows, "TempStTempH", f.heatingCurve.fields, &ConfigImage::TempStTempH, -40);
    field_table::addCurve(rows, "TempBWDeltaT", f.overheatCurve.fields, &ConfigImage::TempBWDeltaT, 50);
    addPid(
        rows, "PIDKoef[0]", f.pid, [](ConfigImage& im) -> PIDRecord& { return im.PIDKoef[0]; }, 30);
    auto tab = table([&] { heating.showHeating(); }, [&] { heating.applyHeating(); });
    tab.checkEntries(rows);
    tab.checkFlags({
        bitRow("heating on", f.heatingOn, &ConfigImage::KindSystems, kKindHeating),
        bitRow("overheat", f.overheatControl, &ConfigImage::Options, kOptOverheatControl),
        bitRow("overcool", f.overcoolControl, &ConfigImage::Options, kOptOvercoolControl),
        bitRow("cascade", f.cascade, &ConfigImage::Options, kOptHeatingCascade),
        bitRow("weekend shift", f.weekendShift, &ConfigImage::Options, kOptWeekendShift),
        bitRow("night shift", f.nightShift, &ConfigImage::Options, kOptNightShift),
        bitRow("alternate pumps", f.alternatePumps, &ConfigImage::Options, kOptAlternatePumps),
    });
}

// Every entry and check box of " СПВ " against its own image field; the warm-up entry in the mode
// the default configuration holds (by time).
TEST_F(TacticTabsTest, SupplyVentilationEntriesAndTheirFields) {
    PlainSupplyVentilationControls& f = spvFields;
    std::vector<EntryRow> rows = {
        entry("DelayOnVent1", f.delayOnVent1, "11", [](ConfigImage& im) { im.DelayOnVent1 = 11; }),
        entry("DelayOnVent2", f.delayOnVent2, "12", [](ConfigImage& im) { im.DelayOnVent2 = 12; }),
        entry("TimeHeatDoor", f.timeHeatDoor, "13", [](ConfigImage& im) { im.TimeHeatDoor = 13; }),
        entry("PresetTempAir", f.presetTempAir, "-14,5", [](ConfigImage& im) { im.PresetTempAir = -14.5f; }),
        entry("PresetTimeWarming", f.warming, "15", [](ConfigImage& im) { im.PresetTimeWarming = 15; }),
        entry("SPVCascadeKoef", f.cascadeKoef, "1,625", [](ConfigImage& im) { im.SPVCascadeKoef = 1.625f; }),
        entry("Histeresis", f.histeresis, "16,5", [](ConfigImage& im) { im.Histeresis = 16.5f; }),
        entry("TempOffPumpH", f.tempOffPumpH, "17", [](ConfigImage& im) { im.TempOffPumpH = 17; }),
        entry("TempOffPumpC", f.tempOffPumpC, "18", [](ConfigImage& im) { im.TempOffPumpC = 18; }),
        entry("TimeTempOffPumpH", f.timeTempOffPumpH, "1900",
              [](ConfigImage& im) { im.TimeTempOffPumpH = 1900; }),
        entry("TimeTempOffPumpC", f.timeTempOffPumpC, "2000",
              [](ConfigImage& im) { im.TimeTempOffPumpC = 2000; }),
        entry("MinTempBackWater", f.minTempBackWater, "21",
              [](ConfigImage& im) { im.MinTempBackWater = 21; }),
        entry("PresetTempBWNight", f.presetTempBWNight, "22",
              [](ConfigImage& im) { im.PresetTempBWNight = 22; }),
        entry("TempDownNotch", f.tempDownNotch, "-23", [](ConfigImage& im) { im.TempDownNotch = -23; }),
        entry("TimeDownNotch", f.timeDownNotch, "2400", [](ConfigImage& im) { im.TimeDownNotch = 2400; }),
        entry("BotBorderForHeating", f.botBorderHeating, "25",
              [](ConfigImage& im) { im.BotBorderForHeating = 25; }),
        entry("BotBorderForCooling", f.botBorderCooling, "26",
              [](ConfigImage& im) { im.BotBorderForCooling = 26; }),
        entry("DefaultSpeedInVent", f.speedIn, "27", [](ConfigImage& im) { im.DefaultSpeedInVent = 27; }),
        entry("DefaultSpeedOutVent", f.speedOut, "28", [](ConfigImage& im) { im.DefaultSpeedOutVent = 28; }),
        entry("MaxQuantityHeat", f.maxQuantityHeat, "29", [](ConfigImage& im) { im.MaxQuantityHeat = 29; }),
        entry("KoefOutVent", f.koefOutVent, "0,3125", [](ConfigImage& im) { im.KoefOutVent = 0.3125f; }),
    };
    field_table::addCurve(rows, "TempStTempBW", f.night.fields, &ConfigImage::TempStTempBW, -60);
    for (int i = 0; i < kSPVPIDCount; ++i)
        addPid(
            rows, "SPVPIDKoef[" + std::to_string(i) + "]", f.pid[static_cast<size_t>(i)],
            [i](ConfigImage& im) -> PIDRecord& { return im.SPVPIDKoef[static_cast<size_t>(i)]; },
            10 * i + 40);
    auto tab = table([&] { spv.showSupplyVentilation(); }, [&] { spv.applySupplyVentilation(); });
    tab.checkEntries(rows);
    tab.checkFlags({
        bitRow("SPV on", f.spvOn, &ConfigImage::KindSystems, kKindSupplyVentilation),
        bitRow("warming by outdoor", f.warmingByOutdoor, &ConfigImage::Options, kOptWarmingByOutdoor),
        bitRow("weekend off", f.weekendOff, &ConfigImage::Options, kOptSpvWeekendOff),
        bitRow("cascade", f.cascade, &ConfigImage::Options, kOptSpvCascade),
        bitRow("falling preset", f.fallingPreset, &ConfigImage::Options, kOptFallingPreset),
        bitRow("night curve", f.nightCurve, &ConfigImage::Options, kOptNightCurve),
    });

    // The warm-up entry by water temperature.
    auto byWater = table([&] { spv.showSupplyVentilation(); }, [&] { spv.applySupplyVentilation(); });
    byWater.prepare = [](ConfigImage& im) { im.Options |= kOptWarmingByWater; };
    byWater.checkEntries({entry("PresetTempWarming", f.warming, "31,5",
                                [](ConfigImage& im) { im.PresetTempWarming = 31.5f; })});
}

// " СГВС " and " Технол. Процесс": the switch, the set point and the PID set of each, in its own fields.
TEST_F(TacticTabsTest, SetPointTabsEntriesAndTheirFields) {
    std::vector<EntryRow> hot = {entry("PresetTempWaterHWP", hotWaterFields.preset, "55,5",
                                       [](ConfigImage& im) { im.PresetTempWaterHWP = 55.5f; })};
    addPid(
        hot, "PIDKoef[1]", hotWaterFields.pid, [](ConfigImage& im) -> PIDRecord& { return im.PIDKoef[1]; },
        60);
    auto hotTab = table([&] { hotWater.showHotWater(); }, [&] { hotWater.applyHotWater(); });
    hotTab.checkEntries(hot);
    hotTab.checkFlags({bitRow("hot water on", hotWaterFields.on, &ConfigImage::KindSystems, kKindHotWater)});

    std::vector<EntryRow> proc = {entry("PresetAnyParam", processFields.preset, "-66,5",
                                        [](ConfigImage& im) { im.PresetAnyParam = -66.5f; })};
    addPid(
        proc, "PIDKoef[2]", processFields.pid, [](ConfigImage& im) -> PIDRecord& { return im.PIDKoef[2]; },
        70);
    auto procTab = table([&] { process.showProcess(); }, [&] { process.applyProcess(); });
    procTab.checkEntries(proc);
    procTab.checkFlags({bitRow("process on", processFields.on, &ConfigImage::KindSystems, kKindProcess)});
}

// " Рекуперация ": each kind's entries in their own fields.
TEST_F(TacticTabsTest, RecuperationEntriesAndTheirFields) {
    const auto entries = [&](RecupEntry e) -> PlainEditField& { return recupEntry(e); };
    const struct {
        const char* kind;
        uint8_t bits;
        std::vector<EntryRow> rows;
        bool pid;
    } kinds[] = {
        {"damper",
         0x10,
         {entry("RecupWinterDeltaTmin", entries(kEntryWinterDeltaTmin), "-11",
                [](ConfigImage& im) { im.RecupWinterDeltaTmin = -11; }),
          entry("RecupWinterUmin", entries(kEntryWinterUmin), "1,2",
                [](ConfigImage& im) { im.RecupWinterUmin = 12; }),
          entry("RecupWinterDeltaTmax", entries(kEntryWinterDeltaTmax), "13",
                [](ConfigImage& im) { im.RecupWinterDeltaTmax = 13; }),
          entry("RecupWinterUmax", entries(kEntryWinterUmax), "1,4",
                [](ConfigImage& im) { im.RecupWinterUmax = 14; }),
          entry("RecupSummerDeltaTmin", entries(kEntrySummerDeltaTmin), "-15",
                [](ConfigImage& im) { im.RecupSummerDeltaTmin = -15; }),
          entry("RecupSummerUmin", entries(kEntrySummerUmin), "1,6",
                [](ConfigImage& im) { im.RecupSummerUmin = 16; }),
          entry("RecupSummerDeltaTmax", entries(kEntrySummerDeltaTmax), "17",
                [](ConfigImage& im) { im.RecupSummerDeltaTmax = 17; }),
          entry("RecupSummerUmax", entries(kEntrySummerUmax), "1,8",
                [](ConfigImage& im) { im.RecupSummerUmax = 18; })},
         false},
        {"rotary",
         0x20,
         {entry("RecupSummerUmin", entries(kEntrySummerUmin), "2,1",
                [](ConfigImage& im) { im.RecupSummerUmin = 21; }),
          entry("RecupSummerUmax", entries(kEntrySummerUmax), "2,2",
                [](ConfigImage& im) { im.RecupSummerUmax = 22; })},
         true},
        {"tubular",
         0x40,
         {entry("RecupWinterUmin", entries(kEntryWinterUmin), "33",
                [](ConfigImage& im) { im.RecupWinterUmin = 33; })},
         true},
        {"glycol",
         0x80,
         {entry("TminGlick", entries(kEntryTminGlick), "-4", [](ConfigImage& im) { im.TminGlick = -4; })},
         true},
    };
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.kind);
        std::vector<EntryRow> rows = k.rows;
        if (k.pid)
            addPid(
                rows, "PIDKoef[3]", recupFields.pid,
                [](ConfigImage& im) -> PIDRecord& { return im.PIDKoef[3]; }, 80);
        auto tab = table([&] { recup.showRecuperation(); }, [&] { recup.applyRecuperation(); });
        tab.prepare = [bits = k.bits](ConfigImage& im) {
            im.KindSystems = static_cast<uint8_t>((im.KindSystems & 0x0F) | bits);
        };
        tab.checkEntries(rows);
    }
}

// A read refreshes each tactic tab after every block that holds one of its fields.
TEST(TacticTransfer, ReadStepsRefreshTheTabsOfTheirFields) {
    const struct {
        const char* tab;
        ConfigView view;
        std::vector<uint32_t> addresses;
    } tabs[] = {
        {"СПВ",
         ViewSupplyVentilation,
         {333, 337, 338, 341, 342, 346, 350, 374, 382, 388, 395, 408, 468, 470, 474, 494}},
        {"СОт", ViewHeating, {341, 342, 362, 378, 392, 416, 424, 471, 548}},
        {"СГВС", ViewHotWater, {341, 354, 566}},
        {"ТП", ViewProcess, {341, 358, 584}},
        {"Рекуперация", ViewRecuperation, {340, 341, 400, 407, 602}},
    };
    for (const auto& t : tabs) {
        for (uint32_t a : t.addresses) {
            const ReadStep* holder = nullptr;
            for (const ReadStep& step : configurationReadPlan())
                if (a >= step.range.address && a < step.range.address + step.range.count)
                    holder = &step;
            ASSERT_NE(holder, nullptr) << a;
            EXPECT_TRUE(holder->views & t.view) << t.tab << " " << a;
        }
    }
}

} // namespace
} // namespace vextor
