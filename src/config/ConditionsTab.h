#pragma once
// The "БУ и Ф" tab without its widgets: the grid of the 32 conditions and functions of
// ConfigImage, the editor of one condition whose captions and entries follow its kind, "Применить"
// and "Очистить таблицу".
#include "ConfigImage.h"
#include "GeneralFields.h"
#include "link/EditField.h"
#include "link/NumericConversions.h"

#include <QString>
#include <array>
#include <functional>

namespace vextor {

class UserDialogs;

inline constexpr int kNoConditionKind = 17;
inline constexpr int kConditionColumns = 13;

// Bits of a condition's Flags.
inline constexpr uint8_t kConditionDepends = 0x80;
inline constexpr uint8_t kConditionHasOutput = 0x40;
inline constexpr uint8_t kConditionNumberOperand = 0x20;
inline constexpr uint8_t kConditionDependencyMask = 0x1F;
inline constexpr uint8_t kDiscreteOutput = 0x80;

// Positions of the output type choice.
enum ConditionOutputType { kOutputAnalog = 0, kOutputDiscrete = 1, kOutputNone = 2 };

// Kinds 15 and 16 keep two 16-bit set points in tenths in the four bytes of Notch.
std::array<uint16_t, 2> conditionSetPoints(const ConditionRecord& r);
void setConditionSetPoints(ConditionRecord& r, uint16_t first, uint16_t second);

struct ConditionControls {
    EditField& number; // "Номер строки", filled by the tab
    ChoiceField& kind;
    ChoiceField& outputType;
    EditField& outAddress;
    EditField& outNumber;
    EditField& ifValue;
    EditField& elseValue;
    EditField& ifPriority;
    EditField& elsePriority;
    EditField& dependency;
    // Operand 1: address and number, or a number alone (condition, input, hours on), or a time.
    EditField& adr1;
    EditField& num1;
    EditField& time1;
    // Operand 2: address and number (the address entry alone is the edge of kind 13, the number entry
    // alone the hours off of kind 14), a time, the number in Notch, or two set points.
    EditField& adr2;
    EditField& num2;
    EditField& time2;
    FlagField& numberFlag;
    EditField& notch;
    EditField& set1;
    EditField& set2;
};

struct PlainConditionControls {
    PlainEditField number, outAddress, outNumber, ifValue, elseValue, ifPriority, elsePriority, dependency,
        adr1, num1, time1, adr2, num2, time2, notch, set1, set2;
    PlainChoiceField kind, outputType;
    PlainFlagField numberFlag;
    ConditionControls controls() {
        return {number,     kind,         outputType, outAddress, outNumber, ifValue, elseValue,
                ifPriority, elsePriority, dependency, adr1,       num1,      time1,   adr2,
                num2,       time2,        numberFlag, notch,      set1,      set2};
    }
};

// Which entries the editor shows for a kind, and their captions.
struct ConditionPanel {
    QString operand1Title, operand2Title;
    bool adr1 = false, num1 = false, time1 = false;
    QString num1Caption;
    bool adr2 = false, num2 = false, time2 = false;
    QString adr2Caption, num2Caption;
    bool numberFlag = false;  // "-  число"
    bool numberGroup = false; // "Число"
    bool setPoints = false;
    bool outputGroup = false;
    bool outputAnalog = false, outputDiscrete = false, outputNone = false; // the type choice
    bool outAddress = false;
    bool values = false; // IF and ELSE values with their priorities
    QString ifCaption, elseCaption;
    bool operator==(const ConditionPanel&) const = default;
};

using ConditionGridRow = std::array<QString, kConditionColumns>;

class ConditionsTab {
public:
    ConditionsTab(ConfigImage& image, ConditionControls controls, UserDialogs& dialogs);

    // The entries a freshly created tab shows: condition 1, no condition, time entries at 00:00:00.
    void setDefaults();
    void showConditionGrid();
    // Condition 1..32; anything else is ignored.
    void showCondition(int n);
    void layoutForKind(int kind);
    // The kind list changed: the layout follows, the entries keep their texts.
    void kindChanged();
    // "-  число" ticked or unticked.
    void numberFlagChanged();
    // The output type changed; "НЕТ" sets both priorities to 0.
    void outputTypeChanged();
    void applyCondition();
    void clearConditions();

    int selected() const { return selected_; }
    const std::array<ConditionGridRow, kConditionCount>& grid() const { return grid_; }
    const ConditionPanel& panel() const { return panel_; }

    std::function<void()> gridChanged;
    std::function<void()> panelChanged;
    // After "Очистить таблицу" the first row is the one shown.
    std::function<void(int)> rowShown;

private:
    ConfigImage& image_;
    ConditionControls c_;
    UserDialogs& dialogs_;
    int selected_ = 1;
    std::array<ConditionGridRow, kConditionCount> grid_;
    ConditionPanel panel_;

    void setPanel(const ConditionPanel& p);
    void applyOperand1(ConditionRecord& r, int kind);
    void applyOperand2(ConditionRecord& r, int kind);
    void applyOutput(ConditionRecord& r, int kind);
    void applyDependency(ConditionRecord& r);
};

} // namespace vextor
