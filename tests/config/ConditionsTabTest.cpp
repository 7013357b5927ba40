// "БУ и Ф" headless: what each kind stores, the grid texts, the layout per kind and the refusals of
// entries that do not fit their fields.
#include "config/ConditionsTab.h"
#include "link/UserDialogs.h"
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace vextor {
namespace {

std::array<uint8_t, 16> recordBytes(const ConfigImage& im, int n) {
    std::array<uint8_t, 16> b{};
    encodeRange(im, 620 + 16 * (n - 1), 16, b.data());
    return b;
}

class ConditionsTabTest : public ::testing::Test {
protected:
    ConditionsTabTest() : tab(image, f.controls(), dialogs) {
        loadDefaultConfiguration(image);
        setValidationDialogs(&dialogs);
        tab.setDefaults();
        tab.showConditionGrid();
    }
    ~ConditionsTabTest() override { setValidationDialogs(nullptr); }

    // Condition n of a kind, with an output of the given type and no dependency.
    void edit(int n, int kind, int output = kOutputNone) {
        tab.showCondition(n);
        f.kind.setCurrentIndex(kind);
        tab.kindChanged();
        f.outputType.setCurrentIndex(output);
        f.dependency.setText("");
    }

    ConfigImage image;
    ScriptedDialogs dialogs;
    PlainConditionControls f;
    ConditionsTab tab;
};

TEST_F(ConditionsTabTest, TimesOutputsAndValuesAsStoredAndShown) {
    edit(1, 9, kOutputDiscrete);
    f.time1.setText("01:30:15");
    f.time2.setText("00:00:02");
    f.outAddress.setText("0");
    f.outNumber.setText("5");
    f.ifValue.setText("1");
    f.elseValue.setText("0");
    f.ifPriority.setText("15");
    f.elsePriority.setText("3");
    tab.applyCondition();
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join('|').toStdString();
    const ConditionRecord& r = image.Conditions[0];
    EXPECT_EQ(r.AdrInput1, 0x0B);
    EXPECT_EQ(r.NumInput1, 0xC7);
    EXPECT_EQ(r.NumOutput, 133);
    EXPECT_EQ(r.Priority, 0xF3);
    EXPECT_EQ(tab.grid()[0][1], "задержка по Включению");
    EXPECT_EQ(tab.grid()[0][5], "self / D5");
    EXPECT_EQ(tab.grid()[0][6], "1 p15");
    EXPECT_EQ(tab.grid()[0][11], "01:30:14");
    EXPECT_EQ(tab.grid()[0][12], "00:00:02");
    tab.showCondition(1);
    EXPECT_EQ(f.time1.text(), "01:30:14");

    edit(2, 0, kOutputAnalog);
    f.adr1.setText("3");
    f.num1.setText("4");
    f.numberFlag.setChecked(true);
    f.notch.setText("-12,5");
    f.outAddress.setText("2");
    f.outNumber.setText("5");
    f.ifValue.setText("7,5");
    f.elseValue.setText("2,3");
    tab.applyCondition();
    EXPECT_EQ(image.Conditions[1].NumOutput, 5);
    EXPECT_EQ(image.Conditions[1].IfValueOutput, 75);
    EXPECT_EQ(image.Conditions[1].ElseValueOutput, 23);
    EXPECT_EQ(image.Conditions[1].Notch, -12.5f);
    const ConditionGridRow& row = tab.grid()[1];
    EXPECT_EQ(row[3], "3 / 4");
    EXPECT_EQ(row[4], "-12,5");
    EXPECT_EQ(row[5], "2 / A5");
    EXPECT_EQ(row[6], "7,5 p0");
    EXPECT_EQ(row[7], "2,3 p0");
    EXPECT_EQ(row[8], "нет");
    tab.showCondition(2);
    EXPECT_EQ(f.ifValue.text(), "7,5");
    EXPECT_TRUE(f.numberFlag.isChecked());
    EXPECT_TRUE(tab.panel().numberGroup);
    EXPECT_FALSE(tab.panel().adr2);
}

TEST_F(ConditionsTabTest, TwoSetPointsNeedADependency) {
    edit(4, 15, kOutputDiscrete);
    f.adr1.setText("0");
    f.num1.setText("2");
    f.set1.setText("20,5");
    f.set2.setText("25");
    f.outAddress.setText("0");
    f.outNumber.setText("1");
    f.ifValue.setText("1");
    f.elseValue.setText("0");
    const auto before = recordBytes(image, 4);
    tab.applyCondition();
    EXPECT_EQ(dialogs.shown, QStringList{"Должна быть зависимость!"});
    EXPECT_EQ(recordBytes(image, 4), before);

    dialogs.shown.clear();
    f.dependency.setText("3");
    tab.applyCondition();
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join('|').toStdString();
    const auto b = recordBytes(image, 4);
    EXPECT_EQ(b[0], 15);
    EXPECT_EQ(b[3], 255);
    EXPECT_EQ(b[4], 255);
    EXPECT_EQ((std::array<uint8_t, 4>{b[12], b[13], b[14], b[15]}),
              (std::array<uint8_t, 4>{0xCD, 0x00, 0xFA, 0x00}));
    EXPECT_EQ(b[9], 0x80 | 0x40 | 2);
    EXPECT_EQ(tab.grid()[3][4], "20,5 / 25,0");
    EXPECT_EQ(tab.grid()[3][8], "У/Ф N3");
    tab.showCondition(4);
    EXPECT_EQ(f.set1.text(), "20,5");
    EXPECT_EQ(f.dependency.text(), "3");
    EXPECT_TRUE(tab.panel().setPoints);

    // A set point whose words make a negative zero float reaches the controller as it is.
    f.set1.setText("0");
    f.set2.setText("3276,8");
    tab.applyCondition();
    EXPECT_EQ(recordBytes(image, 4)[15], 0x80);
    EXPECT_EQ(tab.grid()[3][4], "0,0 / 3276,8");
}

TEST_F(ConditionsTabTest, EntriesThatDoNotFitTheirFieldsAreRefused) {
    using Field = PlainEditField PlainConditionControls::*;
    const struct {
        int kind;
        int output;
        Field field;
        const char* text;
        const char* message;
        int (*stored)(const ConditionRecord&); // what must keep its value
    } cases[] = {
        {9, kOutputDiscrete, &PlainConditionControls::ifPriority, "16",
         "Значение 16 вне допустимого диапазона!", [](const ConditionRecord& r) { return r.Priority >> 4; }},
        {9, kOutputDiscrete, &PlainConditionControls::dependency, "33",
         "Значение 33 вне допустимого диапазона!", [](const ConditionRecord& r) { return r.Flags & 0x9F; }},
        {9, kOutputDiscrete, &PlainConditionControls::dependency, "0",
         "Значение 0 вне допустимого диапазона!", [](const ConditionRecord& r) { return r.Flags & 0x9F; }},
        {9, kOutputDiscrete, &PlainConditionControls::outNumber, "128",
         "Значение 128 вне допустимого диапазона!",
         [](const ConditionRecord& r) { return r.NumOutput & 0x7F; }},
        {0, kOutputAnalog, &PlainConditionControls::ifValue, "25,6",
         "Значение 25,6 вне допустимого диапазона!",
         [](const ConditionRecord& r) { return int(r.IfValueOutput); }},
        {0, kOutputAnalog, &PlainConditionControls::elseValue, "-0,1",
         "Значение -0,1 вне допустимого диапазона!",
         [](const ConditionRecord& r) { return int(r.ElseValueOutput); }},
        {15, kOutputNone, &PlainConditionControls::set2, "6553,6",
         "Значение 6553,6 вне допустимого диапазона!",
         [](const ConditionRecord& r) { return int(conditionSetPoints(r)[1]); }},
        {9, kOutputDiscrete, &PlainConditionControls::time1, "32:00:00",
         "Значение 32 вне допустимого диапазона!",
         [](const ConditionRecord& r) { return r.AdrInput1 << 8 | r.NumInput1; }},
    };
    for (const auto& c : cases) {
        loadDefaultConfiguration(image);
        edit(1, c.kind, c.output);
        for (PlainEditField* e : {&f.adr1, &f.num1, &f.adr2, &f.num2, &f.outAddress, &f.outNumber, &f.ifValue,
                                  &f.elseValue, &f.ifPriority, &f.elsePriority, &f.set1, &f.set2})
            e->setText("1");
        f.time1.setText("00:00:00");
        f.time2.setText("00:00:00");
        f.dependency.setText("2");
        (f.*c.field).setText(QString::fromUtf8(c.text));
        dialogs.shown.clear();
        const ConditionRecord before = image.Conditions[0];
        tab.applyCondition();
        EXPECT_EQ(dialogs.shown, QStringList{QString::fromUtf8(c.message)}) << c.text;
        EXPECT_EQ(c.stored(image.Conditions[0]), c.stored(before)) << c.text;
    }
}

TEST_F(ConditionsTabTest, ClearTableAndUnknownKinds) {
    EXPECT_EQ(tab.grid()[0][1], "Нет"); // the default Kind 255
    image.Conditions[2].Kind = 0x29;    // low five bits 9
    image.Conditions[3].Kind = 0x3F;
    tab.showConditionGrid();
    EXPECT_EQ(tab.grid()[2][1], "задержка по Включению");
    EXPECT_EQ(tab.grid()[3][1], "Нет");
    tab.showCondition(3);
    EXPECT_EQ(f.kind.currentIndex(), kNoConditionKind);
    EXPECT_EQ(image.Conditions[2].Kind, 0x29);

    image.Conditions[5].Flags = 0x40;
    image.Conditions[5].Memo = 0x5A;
    tab.showCondition(9);
    tab.clearConditions();
    EXPECT_EQ(tab.selected(), 1);
    EXPECT_EQ(f.number.text(), "1");
    for (int i = 0; i < kConditionCount; ++i) {
        EXPECT_EQ(tab.grid()[i][1], "Нет") << i;
        EXPECT_EQ(image.Conditions[i].Kind, 17);
        EXPECT_EQ(image.Conditions[i].AdrOutput, 255);
    }
    EXPECT_EQ(tab.grid()[0][5], "нет");
    EXPECT_EQ(image.Conditions[5].Memo, 0x5A); // other bytes unchanged
}

TEST_F(ConditionsTabTest, LayoutFollowsTheKind) {
    image.Conditions[4].Flags = kConditionNumberOperand;
    tab.showCondition(5);
    f.kind.setCurrentIndex(0);
    tab.kindChanged();
    EXPECT_TRUE(f.numberFlag.isChecked());
    EXPECT_TRUE(tab.panel().numberGroup);
    f.numberFlag.setChecked(false);
    tab.numberFlagChanged();
    EXPECT_TRUE(tab.panel().adr2);
    EXPECT_FALSE(tab.panel().numberGroup);

    const struct {
        int kind;
        const char* op1;
        const char* op2;
        bool analog;
        const char* ifCaption;
    } cases[] = {{3, "Операнд 1", "Операнд 2", true, "Значение IF"},
                 {8, "Операнд", "Задержка", false, "После Тзад"},
                 {10, "Номер условия", "Задержка", false, "После Тзад"},
                 {12, "Состояние  Вкл", "Состояние  Выкл", false, "Значение IF"},
                 {13, "Операнд 1", "Фронт    ", false, "Значение IF"},
                 {14, "Включено", "вЫключено", false, "Значение IF"}};
    for (const auto& c : cases) {
        tab.layoutForKind(c.kind);
        EXPECT_EQ(tab.panel().operand1Title, QString::fromUtf8(c.op1)) << c.kind;
        EXPECT_EQ(tab.panel().operand2Title, QString::fromUtf8(c.op2)) << c.kind;
        EXPECT_EQ(tab.panel().outputAnalog, c.analog) << c.kind;
        EXPECT_EQ(tab.panel().ifCaption, QString::fromUtf8(c.ifCaption)) << c.kind;
    }
    tab.layoutForKind(13);
    EXPECT_FALSE(tab.panel().values);
    EXPECT_EQ(tab.panel().num1Caption, "N входа");

    f.ifPriority.setText("5");
    f.outputType.setCurrentIndex(kOutputNone);
    tab.outputTypeChanged();
    EXPECT_EQ(f.ifPriority.text(), "0");
}

TEST_F(ConditionsTabTest, CountingTriggerAndLongPulses) {
    edit(7, 13);
    f.num1.setText("21");
    f.adr2.setText("1");
    f.outNumber.setText("6");
    tab.applyCondition();
    const ConditionRecord& t = image.Conditions[6];
    EXPECT_EQ(t.NumOutput, 134);
    EXPECT_EQ(t.AdrOutput, 0);
    EXPECT_EQ(t.Flags & kConditionHasOutput, kConditionHasOutput);
    EXPECT_EQ(tab.grid()[6][3], "Self / 21");
    EXPECT_EQ(tab.grid()[6][4], "Pop");

    edit(8, 14);
    f.num1.setText("168");
    f.num2.setText("12");
    f.outAddress.setText("1");
    f.outNumber.setText("4");
    f.ifValue.setText("1");
    f.elseValue.setText("0");
    tab.applyCondition();
    EXPECT_EQ(tab.grid()[7][9], "168 час");
    EXPECT_EQ(tab.grid()[7][10], "12 час");
    EXPECT_EQ(tab.grid()[7][5], "1 / D4");

    edit(9, 17);
    tab.applyCondition();
    EXPECT_EQ(image.Conditions[8].Kind, 17);
    EXPECT_EQ(image.Conditions[8].AdrInput1, 0);
}

} // namespace
} // namespace vextor
