// The assignment tables' algorithm, headless: names, validation order, clearing, the two rows of
// the analog outputs that never leave the program.
#include "config/AssignmentTab.h"
#include "FieldTable.h"
#include "config/TabTexts.h"
#include "link/UserDialogs.h"
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace vextor {
namespace {

class AssignmentTabTest : public ::testing::Test {
protected:
    AssignmentTabTest() {
        loadDefaultConfiguration(image);
        setValidationDialogs(&dialogs);
    }
    ~AssignmentTabTest() override { setValidationDialogs(nullptr); }

    AssignmentTab make(AssignmentTable table) { return AssignmentTab(image, table, row, address, number); }
    void enter(const QString& r, const QString& a, const QString& n) {
        row.setText(r);
        address.setText(a);
        number.setText(n);
    }

    ConfigImage image;
    ScriptedDialogs dialogs;
    PlainEditField row, address, number;
};

TEST_F(AssignmentTabTest, TablesHaveTheirRowsNamesAndCaptions) {
    const struct {
        AssignmentTable table;
        int rows;
        int lastNamed;
        const char* header;
        const char* caption;
    } cases[] = {
        {AssignmentTable::AnalogIn, 14, 14, "№ вх", "Номер строки"},
        {AssignmentTable::AnalogOut, 8, 6, " № вых", "Номер строки"},
        {AssignmentTable::DiscreteIn, 32, 32, "№ вх", "N строки"},
        {AssignmentTable::DiscreteOut, 32, 32, " № вых", "N строки"},
    };
    for (const auto& c : cases) {
        AssignmentTab tab = make(c.table);
        ASSERT_EQ(tab.rowCount(), c.rows);
        EXPECT_EQ(assignmentChannelHeader(c.table), QString::fromUtf8(c.header));
        EXPECT_EQ(assignmentRowCaption(c.table), QString::fromUtf8(c.caption));
        for (int i = 0; i < c.rows; ++i) {
            EXPECT_EQ(tab.grid()[i].number, QString::number(i + 1));
            EXPECT_EQ(tab.grid()[i].name.isEmpty(), i >= c.lastNamed) << i;
        }
    }
    AssignmentTab din = make(AssignmentTable::DiscreteIn);
    // The С of "NС" is Cyrillic; the NO rows keep the Latin O.
    EXPECT_EQ(din.grid()[7].name, QString::fromUtf8(" СПВ  Д. протока калорифера N\u0421"));
    EXPECT_EQ(din.grid()[6].name, " СПВ  Д. протока калорифера NO");
    AssignmentTab dout = make(AssignmentTable::DiscreteOut);
    EXPECT_EQ(dout.grid()[17].name, "   Выход \"Авария\"");
    EXPECT_EQ(dout.grid()[31].name, " Выход на Исп. Устройство 9");
    EXPECT_EQ(make(AssignmentTable::AnalogIn).grid()[11].name, " V вентиляторов, [%]");
}

TEST_F(AssignmentTabTest, ApplyChecksRowThenAddressThenNumber) {
    AssignmentTab tab = make(AssignmentTable::AnalogIn);
    const struct {
        const char* row;
        const char* address;
        const char* number;
        const char* message; // empty: stored
        AdrNum stored;       // pair 2 afterwards
    } cases[] = {
        {"3", "7", "12", "", {7, 12}},
        {"3", "300", "abc", "Значение 300 вне допустимого диапазона!", {255, 0}},
        {"3", "8", "256", "Значение 256 вне допустимого диапазона!", {8, 0}},
        {"3", "x", "1", "Ошибка формата данных!", {255, 0}},
        {"15", "1", "1", "Значение 15 вне допустимого диапазона!", {255, 0}},
        {"0", "1", "1", "Значение 0 вне допустимого диапазона!", {255, 0}},
        {"", "1", "1", "Ошибка формата данных!", {255, 0}},
    };
    for (const auto& c : cases) {
        loadDefaultConfiguration(image);
        const ConfigImage before = image;
        dialogs.shown.clear();
        enter(QString::fromUtf8(c.row), QString::fromUtf8(c.address), QString::fromUtf8(c.number));
        const bool ok = tab.applyAssignment();
        EXPECT_EQ(ok, *c.message == 0) << c.row << " " << c.address;
        EXPECT_EQ(dialogs.shown, *c.message ? QStringList{QString::fromUtf8(c.message)} : QStringList{});
        EXPECT_EQ(image.AdrNumAIn[2], c.stored) << c.row << " " << c.address;
        ConfigImage rest = image;
        rest.AdrNumAIn[2] = before.AdrNumAIn[2];
        EXPECT_EQ(rest, before) << "only pair 2 may change";
    }
    EXPECT_EQ(tab.grid()[2].address, "255");
    EXPECT_EQ(tab.grid()[2].channel, "0");
}

TEST_F(AssignmentTabTest, AnalogOutputRowsSevenAndEightStayInTheProgram) {
    AssignmentTab tab = make(AssignmentTable::AnalogOut);
    for (int i = 0; i < kAnalogOutRows; ++i)
        image.AdrNumAOut[i] = {static_cast<uint8_t>(i + 1), static_cast<uint8_t>(i + 10)};
    tab.showAssignments();
    EXPECT_EQ(tab.grid()[5].address, "6");
    EXPECT_EQ(tab.grid()[6].address, "");
    EXPECT_EQ(tab.grid()[7].channel, "");

    tab.selectAssignment(8);
    EXPECT_EQ(row.text(), "8");
    EXPECT_EQ(address.text(), "8");
    EXPECT_EQ(number.text(), "17");

    enter("7", "40", "41");
    EXPECT_TRUE(tab.applyAssignment());
    EXPECT_EQ(image.AdrNumAOut[6], (AdrNum{40, 41}));
    EXPECT_EQ(tab.grid()[6].address, "");

    tab.clearAssignments();
    for (const AdrNum& p : image.AdrNumAOut)
        EXPECT_EQ(p, kUnassigned);
    uint8_t bytes[12];
    encodeRange(image, 178, 12, bytes);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(bytes[2 * i], 255);
        EXPECT_EQ(bytes[2 * i + 1], 0);
    }
    EXPECT_EQ(tab.grid()[0].address, "255");
    EXPECT_EQ(tab.grid()[0].channel, "0");
}

TEST_F(AssignmentTabTest, ClearTouchesOnlyItsOwnTable) {
    image.AdrNumDIn[4] = {1, 2};
    image.AdrNumDut[4] = {3, 4};
    make(AssignmentTable::DiscreteOut).clearAssignments();
    EXPECT_EQ(image.AdrNumDut[4], kUnassigned);
    EXPECT_EQ(image.AdrNumDIn[4], (AdrNum{1, 2}));
}

// Each table's entries against the pair of the row typed, and no other pair: the first and the last
// row of every table, each with its own address and number.
TEST_F(AssignmentTabTest, EntriesLandInThePairOfTheirRowAndTable) {
    const struct {
        AssignmentTable table;
        AdrNum* (*pair)(ConfigImage&, int row);
        int lastRow;
    } tables[] = {
        {AssignmentTable::AnalogIn, [](ConfigImage& im, int r) { return &im.AdrNumAIn[r - 1]; },
         kAnalogInCount},
        {AssignmentTable::AnalogOut, [](ConfigImage& im, int r) { return &im.AdrNumAOut[r - 1]; },
         kAnalogOutCount},
        {AssignmentTable::DiscreteIn, [](ConfigImage& im, int r) { return &im.AdrNumDIn[r - 1]; },
         kDiscreteInCount},
        {AssignmentTable::DiscreteOut, [](ConfigImage& im, int r) { return &im.AdrNumDut[r - 1]; },
         kDiscreteOutCount},
    };
    uint8_t value = 10;
    for (const auto& t : tables) {
        AssignmentTab tab = make(t.table);
        for (const int r : {1, t.lastRow}) {
            const AdrNum shown{value, static_cast<uint8_t>(value + 1)};
            const AdrNum typed{static_cast<uint8_t>(value + 2), static_cast<uint8_t>(value + 3)};
            value = static_cast<uint8_t>(value + 4);
            loadDefaultConfiguration(image);
            *t.pair(image, r) = shown;
            tab.selectAssignment(r);
            EXPECT_EQ(address.text(), QString::number(shown.Adr)) << int(t.table) << " row " << r;
            EXPECT_EQ(number.text(), QString::number(shown.Num)) << int(t.table) << " row " << r;

            const ConfigImage before = image;
            enter(QString::number(r), QString::number(typed.Adr), QString::number(typed.Num));
            EXPECT_TRUE(tab.applyAssignment());
            ConfigImage expected = before;
            *t.pair(expected, r) = typed;
            EXPECT_TRUE(image == expected)
                << int(t.table) << " row " << r << field_table::differences(image, expected);
        }
    }
}

} // namespace
} // namespace vextor
