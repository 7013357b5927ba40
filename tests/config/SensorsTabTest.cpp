// The "Датчики" tab's algorithm, headless: classes, the three-wire rule, refusals and the grid.
#include "config/SensorsTab.h"
#include "FieldTable.h"
#include "config/TabTexts.h"
#include "link/UserDialogs.h"
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace vextor {
namespace {

namespace t = tab_texts;

std::array<uint8_t, 14> sensorBytes(const ConfigImage& im, int channel) {
    std::array<uint8_t, 14> b{};
    encodeRange(im, 66 + 14 * channel, 14, b.data());
    return b;
}

class SensorsTabTest : public ::testing::Test {
protected:
    SensorsTabTest() : tab(image, fields.controls(), dialogs) {
        loadDefaultConfiguration(image);
        setValidationDialogs(&dialogs);
        tab.setDefaults();
        tab.showSensorTable();
    }
    ~SensorsTabTest() override { setValidationDialogs(nullptr); }

    // Selects channel row, chooses a kind and applies with the given entries.
    void applyResistance(int row, const QString& r0, int wiring, int material, const QString& lines = "2,2") {
        tab.selectSensor(row);
        fields.kind.setCurrentIndex(0);
        tab.kindChanged();
        fields.r0.setText(r0);
        fields.wiring.setCurrentIndex(wiring);
        fields.material.setCurrentIndex(material);
        fields.resistanceLines.setText(lines);
        tab.applySensor();
    }

    ConfigImage image;
    ScriptedDialogs dialogs;
    PlainSensorControls fields;
    SensorsTab tab;
};

TEST_F(SensorsTabTest, ResistanceClassFollowsR0) {
    const struct {
        const char* r0;
        uint8_t cls;
    } cases[] = {{"50", 0},  {"74,99", 0}, {"75", 1},   {"100", 1},  {"104,9", 1},
                 {"105", 2}, {"1000", 2},  {"1049", 2}, {"1050", 3}, {"5000", 3}};
    for (const auto& c : cases) {
        applyResistance(1, QString::fromUtf8(c.r0), 0, 0);
        EXPECT_EQ(image.ArrSensors[0].TypeClb, c.cls) << c.r0;
    }
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(SensorsTabTest, ThreeWireTakesTheNextChannelAndGivesItBack) {
    image.ArrSensors[3] = {2, 5, -10.0f, 50.0f, 0.0f, {}};
    applyResistance(3, "100", 1, 2);
    EXPECT_EQ(image.ArrSensors[2].KindSensor, 0);
    EXPECT_EQ(image.ArrSensors[2].Byte[0], 3);
    EXPECT_EQ(tab.grid()[2].type, "ТС  Pt 1.385   (I)");
    EXPECT_EQ(tab.grid()[2].execution, "R0 = 100,00  ; 3-х проводная; Rлинии = 2,20");
    EXPECT_EQ(tab.grid()[3].type, "ТС  Pt 1.385   (U)");
    EXPECT_EQ(tab.grid()[3].execution, "");
    EXPECT_EQ(image.ArrSensors[3].KindSensor, kNoSensor);

    applyResistance(3, "100", 0, 2);
    EXPECT_EQ(tab.grid()[2].type, "ТС  Pt 1.385");
    EXPECT_EQ(tab.grid()[3].type, "Нет датчика");
    EXPECT_EQ(image.ArrSensors[3].KindSensor, kNoSensor);
}

TEST_F(SensorsTabTest, ThreeWireOnTheSixthChannelIsRefused) {
    applyResistance(6, "1000", 1, 0);
    EXPECT_EQ(dialogs.shown, QStringList{t::kThreeWireOnLast});
    EXPECT_EQ(image.ArrSensors[5].KindSensor, kNoSensor);
    EXPECT_EQ(tab.grid()[5].type, "Нет датчика");
    EXPECT_EQ(fields.kind.currentIndex(), kNoSensorItem); // the editor shows the channel again
}

TEST_F(SensorsTabTest, NoSensorKeepsEveryOtherByte) {
    image.ArrSensors[1] = {0, 2, 1000.0f, 2.2f, 0.0f, {2, 4, 0xAB, 0xCD}};
    const auto before = sensorBytes(image, 1);
    tab.selectSensor(2);
    fields.kind.setCurrentIndex(kNoSensorItem);
    tab.kindChanged();
    tab.applySensor();
    const auto after = sensorBytes(image, 1);
    EXPECT_EQ(after[0], kNoSensor);
    EXPECT_TRUE(std::equal(before.begin() + 1, before.end(), after.begin() + 1));
    EXPECT_EQ(tab.grid()[1].type, "Нет датчика");
    EXPECT_EQ(tab.grid()[1].execution, "");
}

TEST_F(SensorsTabTest, GridTextsOfEveryKind) {
    image.ArrSensors = {SensorRecord{0, 2, 1000.0f, 2.2f, 0.0f, {2, 0, 0, 0}},
                        SensorRecord{1, 4, 2.732f, 1.5f, 0.0f, {}},
                        SensorRecord{2, 5, -30.0f, 70.0f, 0.0f, {}},
                        SensorRecord{5, 8, 0.0f, 100.0f, 200.0f, {}},
                        SensorRecord{7, 0, 0.0f, 0.0f, 0.0f, {}},
                        SensorRecord{0, 1, 100.0f, 0.0f, 0.0f, {7, 9, 0, 0}}};
    tab.showSensorTable();
    const SensorGridRow expected[] = {
        {"1", "ТС  Cu 1.426", "R0 = 1000,00  ; 2-х проводная; Rлинии = 2,20"},
        {"2", "LM235", "U нач = 2,7;  Rлинии =  1,5"},
        {"3", "Напряжение 0-10в", "Тмин = -30,0;  Тмакс = 70,0"},
        {"4", "Ток 0-5мА", "Rшунт = 200,0;  Тмин = 0,0;  Тмакс = 100,0"},
        {"5", "Нет датчика", ""},
        // Material and wiring bytes out of their lists name nothing.
        {"6", "ТС  ", "R0 = 100,00  ; 3-х проводная; Rлинии = 0,00"},
    };
    for (int i = 0; i < kSensorCount; ++i)
        EXPECT_EQ(tab.grid()[i], expected[i]) << "row " << i + 1;
}

TEST_F(SensorsTabTest, SelectingShowsTheKindsGroupAndSafeChoices) {
    image.ArrSensors[0] = {4, 7, -20.0f, 120.0f, 150.0f, {}};
    image.ArrSensors[1] = {0, 1, 100.0f, 0.0f, 0.0f, {7, 9, 0x11, 0x22}};
    tab.selectSensor(1);
    EXPECT_EQ(fields.number.text(), "1");
    EXPECT_EQ(fields.kind.currentIndex(), 4);
    EXPECT_EQ(fields.min.text(), "-20,00");
    EXPECT_EQ(fields.max.text(), "120,00");
    EXPECT_EQ(fields.shunt.text(), "150,00");
    EXPECT_EQ(tab.panel(), (SensorPanel{SensorGroup::Range, false, true, t::kRangeCurrentTitle, true}));

    // Raw bytes outside the lists select their first items and stay as they are.
    const auto before = sensorBytes(image, 1);
    tab.selectSensor(2);
    EXPECT_EQ(fields.wiring.currentIndex(), 0);
    EXPECT_EQ(fields.material.currentIndex(), 0);
    EXPECT_EQ(fields.r0.text(), "100,00");
    EXPECT_EQ(tab.panel().group, SensorGroup::Resistance);
    EXPECT_TRUE(tab.panel().materialVisible);
    EXPECT_EQ(sensorBytes(image, 1), before);

    // Another kind in the choice shows its group filled from the same record.
    fields.kind.setCurrentIndex(2);
    tab.kindChanged();
    EXPECT_EQ(tab.panel(), (SensorPanel{SensorGroup::Range, false, false, t::kRangeVoltageTitle, true}));
    EXPECT_EQ(fields.min.text(), "100,00");
}

TEST_F(SensorsTabTest, RangeRefusesWhatTheControllerCannotGiveBack) {
    const struct {
        const char* min;
        const char* max;
        const char* message; // empty: accepted
    } cases[] = {
        {"-131071,5", "131071", ""},
        {"0", "0,5", ""},
        {"131072", "abc", "Значение 131072 вне допустимого диапазона!"},
        {"-200000", "1", "Значение -2e+05 вне допустимого диапазона!"},
        {"0,00000001", "1", "Значение 1e-08 вне допустимого диапазона!"},
        {"1", "1e6", "Значение 1e+06 вне допустимого диапазона!"},
    };
    for (const auto& c : cases) {
        image.ArrSensors[0] = {2, 5, 7.0f, 8.0f, 0.0f, {}};
        dialogs.shown.clear();
        tab.selectSensor(1);
        fields.min.setText(QString::fromUtf8(c.min));
        fields.max.setText(QString::fromUtf8(c.max));
        tab.applySensor();
        if (*c.message == 0) {
            EXPECT_TRUE(dialogs.shown.isEmpty()) << c.min;
            double lo = 0, hi = 0;
            parseNumber(QString::fromUtf8(c.min), lo);
            parseNumber(QString::fromUtf8(c.max), hi);
            // What goes to the controller comes back the same.
            ConfigImage back;
            std::array<uint8_t, 14> bytes = sensorBytes(image, 0);
            decodeBlock(back, 66, 14, bytes.data());
            EXPECT_EQ(back.ArrSensors[0].Rbegin, static_cast<float>(lo));
            EXPECT_EQ(back.ArrSensors[0].Rline, static_cast<float>(hi));
        } else {
            EXPECT_EQ(dialogs.shown, QStringList{QString::fromUtf8(c.message)}) << c.min;
            EXPECT_EQ(image.ArrSensors[0].Rbegin, c.min == std::string("1") ? 1.0f : 7.0f);
            EXPECT_EQ(image.ArrSensors[0].Rline, 8.0f);
        }
    }
}

TEST_F(SensorsTabTest, KindsStoreTheirCalibrationType) {
    for (int kind = 1; kind <= 5; ++kind) {
        tab.selectSensor(2);
        fields.kind.setCurrentIndex(kind);
        tab.kindChanged();
        tab.applySensor();
        EXPECT_EQ(image.ArrSensors[1].KindSensor, kind);
        EXPECT_EQ(image.ArrSensors[1].TypeClb, kind + 3);
    }
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

// Each kind's entries against the fields of the selected channel, and of no other channel.
TEST_F(SensorsTabTest, EntriesAndTheirFields) {
    using field_table::entry;
    const auto choice = [](std::string name, PlainChoiceField& f, int index,
                           std::function<void(ConfigImage&)> put) {
        return field_table::EntryRow{std::move(name), QString::number(index), std::move(put),
                                     [&f] { return QString::number(f.currentIndex()); },
                                     [&f](const QString& t) { f.setCurrentIndex(t.toInt()); }};
    };
    constexpr int kRow = 3;
    SensorRecord& (*channel)(ConfigImage&) = [](ConfigImage& im) -> SensorRecord& {
        return im.ArrSensors[kRow - 1];
    };
    const struct {
        const char* kind;
        SensorRecord record;
        std::vector<field_table::EntryRow> rows;
    } kinds[] = {
        {"resistance",
         {0, 2, 1000.0f, 2.0f, 0.0f, {2, 1, 0, 0}},
         {entry("Rbegin", fields.r0, "1010,50", [=](ConfigImage& im) { channel(im).Rbegin = 1010.5f; }),
          entry("Rline", fields.resistanceLines, "3,25", [=](ConfigImage& im) { channel(im).Rline = 3.25f; }),
          choice("wiring Byte[0]", fields.wiring, 1, [=](ConfigImage& im) { channel(im).Byte[0] = 3; }),
          choice("material Byte[1]", fields.material, 4, [=](ConfigImage& im) { channel(im).Byte[1] = 4; })}},
        {"LM235",
         {1, 4, 2.5f, 1.0f, 0.0f, {}},
         {entry("Rbegin", fields.voltage, "2,7500", [=](ConfigImage& im) { channel(im).Rbegin = 2.75f; }),
          entry("Rline", fields.lm235Lines, "1,25", [=](ConfigImage& im) { channel(im).Rline = 1.25f; })}},
        {"current",
         {4, 7, 0.0f, 100.0f, 200.0f, {}},
         {entry("Rbegin", fields.min, "-12,25", [=](ConfigImage& im) { channel(im).Rbegin = -12.25f; }),
          entry("Rline", fields.max, "87,75", [=](ConfigImage& im) { channel(im).Rline = 87.75f; }),
          entry("FValue", fields.shunt, "150,50", [=](ConfigImage& im) { channel(im).FValue = 150.5f; })}},
    };
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.kind);
        field_table::Tab table{image, dialogs, [&] { tab.selectSensor(kRow); }, [&] { tab.applySensor(); }};
        table.prepare = [&](ConfigImage& im) { channel(im) = k.record; };
        table.checkEntries(k.rows);
    }
}

} // namespace
} // namespace vextor
