// "БУ и Ф" headless: the editor's entries against the fields of the condition being edited, for a
// kind of each shape of operands and output, both ways.
#include "FieldTable.h"
#include "config/ConditionsTab.h"
#include "link/UserDialogs.h"
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace vextor {
namespace {

using field_table::entry;
using field_table::EntryRow;

constexpr int kEdited = 5;

ConditionRecord& edited(ConfigImage& im) {
    return im.Conditions[kEdited - 1];
}

// The two bytes a time entry is stored as.
PackedTime packed(const QString& text) {
    PlainEditField f;
    f.setText(text);
    return packTime(f, {});
}

class ConditionFieldsTest : public ::testing::Test {
protected:
    ConditionFieldsTest() : tab(image, f.controls(), dialogs) {
        loadDefaultConfiguration(image);
        setValidationDialogs(&dialogs);
        tab.setDefaults();
    }
    ~ConditionFieldsTest() override { setValidationDialogs(nullptr); }

    void check(const ConditionRecord& start, const std::vector<EntryRow>& rows) {
        field_table::Tab table{image, dialogs, [&] { tab.showCondition(kEdited); },
                               [&] { tab.applyCondition(); }};
        table.prepare = [&](ConfigImage& im) { edited(im) = start; };
        table.checkEntries(rows);
    }

    ConfigImage image;
    ScriptedDialogs dialogs;
    PlainConditionControls f;
    ConditionsTab tab;
};

// A difference against a third operand, with an analog output, priorities and a dependency.
TEST_F(ConditionFieldsTest, OperandsNotchAndAnalogOutput) {
    const ConditionRecord start{2, 1, 2, 3, 4, 5, 6, 7, 8, 0x80 | 0x40 | 2, 0x12, 0, 9.5f};
    check(
        start,
        {
            entry("AdrInput1", f.adr1, "21", [](ConfigImage& im) { edited(im).AdrInput1 = 21; }),
            entry("NumInput1", f.num1, "22", [](ConfigImage& im) { edited(im).NumInput1 = 22; }),
            entry("AdrInput2", f.adr2, "23", [](ConfigImage& im) { edited(im).AdrInput2 = 23; }),
            entry("NumInput2", f.num2, "24", [](ConfigImage& im) { edited(im).NumInput2 = 24; }),
            entry("Notch", f.notch, "25,50", [](ConfigImage& im) { edited(im).Notch = 25.5f; }),
            entry("AdrOutput", f.outAddress, "26", [](ConfigImage& im) { edited(im).AdrOutput = 26; }),
            entry("NumOutput", f.outNumber, "27", [](ConfigImage& im) { edited(im).NumOutput = 27; }),
            entry("IfValueOutput", f.ifValue, "2,8", [](ConfigImage& im) { edited(im).IfValueOutput = 28; }),
            entry("ElseValueOutput", f.elseValue, "2,9",
                  [](ConfigImage& im) { edited(im).ElseValueOutput = 29; }),
            entry("Priority IF", f.ifPriority, "10",
                  [](ConfigImage& im) { edited(im).Priority = (edited(im).Priority & 0x0F) | 0xA0; }),
            entry("Priority ELSE", f.elsePriority, "11",
                  [](ConfigImage& im) { edited(im).Priority = (edited(im).Priority & 0xF0) | 0x0B; }),
            entry("Flags dependency", f.dependency, "12",
                  [](ConfigImage& im) { edited(im).Flags = 0x80 | 0x40 | 11; }),
        });
}

// Two times, with a discrete output whose values are bytes.
TEST_F(ConditionFieldsTest, TimesAndDiscreteOutput) {
    const PackedTime t1 = packed("01:02:04"), t2 = packed("03:04:06");
    const ConditionRecord start{9, 0, 0, 0, 0, 5, 0x80 | 6, 1, 0, 0x40, 0x00, 0, 0.0f};
    check(
        start,
        {
            entry("time 1", f.time1, "01:02:04",
                  [=](ConfigImage& im) { edited(im).AdrInput1 = t1.high, edited(im).NumInput1 = t1.low; }),
            entry("time 2", f.time2, "03:04:06",
                  [=](ConfigImage& im) { edited(im).AdrInput2 = t2.high, edited(im).NumInput2 = t2.low; }),
            entry("AdrOutput", f.outAddress, "26", [](ConfigImage& im) { edited(im).AdrOutput = 26; }),
            entry("NumOutput", f.outNumber, "27", [](ConfigImage& im) { edited(im).NumOutput = 0x80 | 27; }),
            entry("IfValueOutput", f.ifValue, "31", [](ConfigImage& im) { edited(im).IfValueOutput = 31; }),
            entry("ElseValueOutput", f.elseValue, "32",
                  [](ConfigImage& im) { edited(im).ElseValueOutput = 32; }),
        });
}

// Two set points in Notch, and the hours of long pulses.
TEST_F(ConditionFieldsTest, SetPointsAndHours) {
    ConditionRecord setPoints{15, 1, 2, 255, 255, 0, 0, 0, 0, 0x80 | 2, 0x00, 0, 0.0f};
    setConditionSetPoints(setPoints, 100, 200);
    const auto withSetPoints = [](uint16_t first, uint16_t second) {
        return [=](ConfigImage& im) {
            const auto sp = conditionSetPoints(edited(im));
            setConditionSetPoints(edited(im), first ? first : sp[0], second ? second : sp[1]);
        };
    };
    check(setPoints, {
                         entry("set point 1", f.set1, "20,5", withSetPoints(205, 0)),
                         entry("set point 2", f.set2, "31,5", withSetPoints(0, 315)),
                     });

    const ConditionRecord hours{14, 0, 100, 0, 10, 1, 0x80 | 4, 1, 0, 0x40, 0x00, 0, 0.0f};
    check(hours, {
                     entry("hours on", f.num1, "168", [](ConfigImage& im) { edited(im).NumInput1 = 168; }),
                     entry("hours off", f.num2, "12", [](ConfigImage& im) { edited(im).NumInput2 = 12; }),
                 });
}

} // namespace
} // namespace vextor
