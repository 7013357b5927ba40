#include "ConditionsTab.h"

#include "GeneralTexts.h"
#include "link/UserDialogs.h"

#include <bit>
#include <cmath>
#include <iterator>

namespace vextor {

namespace t = general_texts;

namespace {

// How a kind's first operand is entered and stored.
enum class Operand1 : uint8_t {
    AddressNumber, // an input or output: device address and channel number
    Number,        // a number alone (an input of the controller, a condition, hours on); the address is 0
    Time,          // a time packed into the two bytes
};

// How a kind's second operand is entered and stored.
enum class Operand2 : uint8_t {
    None,
    AddressNumberOrNumber, // an input or output, or a number in Notch when "-  число" is ticked
    AddressNumberNotch,    // an input or output, and the number in Notch as a third operand
    Time,                  // a time packed into the two bytes
    Edge,      // the address byte alone: 0 counts on the rising edge, anything else on the falling
    Number,    // the number byte alone (hours off); the address is 0
    SetPoints, // two set points in tenths in the four bytes of Notch
};

// What the output group offers and how "Применить" stores it.
enum class Output : uint8_t {
    None,     // no condition: the editor shows nothing
    Full,     // an analog or a discrete output, or none
    Discrete, // a discrete output or none; values are bytes
    Counter,  // always a discrete output of the controller itself: the number alone
    Hours,    // always a discrete output: address, number and the two values, no type choice
};

// What a grid cell of a condition shows.
enum class Cell : uint8_t {
    Dash,
    Operand1,          // "Self / n" or "a / n"
    Operand2OrDecimal, // operand 2, or the number in Notch with one decimal
    Operand2OrInteger, // operand 2, or the whole part of the number in Notch
    NotchDecimal,      // the third operand in Notch, one decimal
    Time1,
    Time2,
    ConditionNumber, // "№ усл = n"
    SelfInput1,      // "Self / n"
    Edge,            // "Push" or "Pop"
    Hours1,
    Hours2,
    SetPoints, // "20,5 / 25,0"
};

// The cells of the grid columns that depend on the kind.
struct KindCells {
    Cell operand1 = Cell::Dash; // "Операнд 1"
    Cell operand2 = Cell::Dash; // "Операнд 2"
    Cell onTime = Cell::Dash;   // "Твкл / Оп3"
    Cell offTime = Cell::Dash;  // "Твыкл"
    Cell delay = Cell::Dash;    // "Задержка"
    Cell duration = Cell::Dash; // "Длит-ть"
};

// Captions of the editor's entries; nullptr shows none.
struct EntryCaptions {
    const QString* num1 = &t::kInOutNumber;
    const QString* adr2 = &t::kAddress;
    const QString* num2 = &t::kInOutNumber;
    const QString* ifValue = &t::kIfValue;
    const QString* elseValue = &t::kElseValue;
};

// Everything that differs between the kinds of condition: one row per Kind value.
struct ConditionKind {
    int kind;
    const QString* caption; // in the kind list and the grid
    const QString* operand1Title;
    const QString* operand2Title;
    Operand1 operand1;
    Operand2 operand2;
    Output output;
    KindCells cells;
    EntryCaptions captions;
    // The delay is checked before the operand it delays.
    bool operand2First = false;
    // Compares against another condition's result: refused without a dependency.
    bool needsDependency = false;
};

constexpr KindCells kComparisonCells = {Cell::Operand1, Cell::Operand2OrInteger};
constexpr KindCells kNotchCells = {Cell::Operand1, Cell::Operand2OrInteger, Cell::NotchDecimal};
constexpr EntryCaptions kPlainCaptions = {};
// The values of the delays apply after and before the delay has run out.
constexpr EntryCaptions kDelayCaptions = {.ifValue = &t::kAfterDelay, .elseValue = &t::kBeforeDelay};

// clang-format off
constexpr ConditionKind kConditionKindTable[] = {
    {0, &t::kConditionKinds[0], &t::kOperand1, &t::kOperand2, Operand1::AddressNumber,
     Operand2::AddressNumberOrNumber, Output::Full, {Cell::Operand1, Cell::Operand2OrDecimal}, kPlainCaptions},
    {1, &t::kConditionKinds[1], &t::kOperand1, &t::kOperand2, Operand1::AddressNumber,
     Operand2::AddressNumberOrNumber, Output::Full, {Cell::Operand1, Cell::Operand2OrDecimal}, kPlainCaptions},
    {2, &t::kConditionKinds[2], &t::kOperand1, &t::kOperand2, Operand1::AddressNumber,
     Operand2::AddressNumberNotch, Output::Full, kNotchCells, kPlainCaptions},
    {3, &t::kConditionKinds[3], &t::kOperand1, &t::kOperand2, Operand1::AddressNumber,
     Operand2::AddressNumberNotch, Output::Full, kNotchCells, kPlainCaptions},
    {4, &t::kConditionKinds[4], &t::kOperand1, &t::kOperand2, Operand1::AddressNumber,
     Operand2::AddressNumberNotch, Output::Full, kNotchCells, kPlainCaptions},
    {5, &t::kConditionKinds[5], &t::kOperand1, &t::kOperand2, Operand1::AddressNumber,
     Operand2::AddressNumberNotch, Output::Full, kNotchCells, kPlainCaptions},
    {6, &t::kConditionKinds[6], &t::kOperand1, &t::kOperand2, Operand1::AddressNumber,
     Operand2::AddressNumberOrNumber, Output::Full, kComparisonCells, kPlainCaptions},
    {7, &t::kConditionKinds[7], &t::kOperand1, &t::kOperand2, Operand1::AddressNumber,
     Operand2::AddressNumberOrNumber, Output::Full, kComparisonCells, kPlainCaptions},
    {8, &t::kConditionKinds[8], &t::kOperand, &t::kDelay, Operand1::AddressNumber, Operand2::Time,
     Output::Discrete, {.operand1 = Cell::Operand1, .delay = Cell::Time2}, kDelayCaptions, true},
    {9, &t::kConditionKinds[9], &t::kDelay, &t::kDuration, Operand1::Time, Operand2::Time,
     Output::Discrete, {.delay = Cell::Time1, .duration = Cell::Time2}, kDelayCaptions},
    {10, &t::kConditionKinds[10], &t::kConditionNumber, &t::kDelay, Operand1::Number, Operand2::Time,
     Output::Discrete, {.operand1 = Cell::ConditionNumber, .delay = Cell::Time2},
     {.num1 = &t::kNumberSign, .ifValue = &t::kAfterDelay, .elseValue = &t::kBeforeDelay}, true},
    {11, &t::kConditionKinds[11], &t::kStateOn, &t::kStateOff, Operand1::Time, Operand2::Time,
     Output::Discrete, {.onTime = Cell::Time1, .offTime = Cell::Time2}, kPlainCaptions},
    {12, &t::kConditionKinds[12], &t::kStateOn, &t::kStateOff, Operand1::Time, Operand2::Time,
     Output::Discrete, {.onTime = Cell::Time1, .offTime = Cell::Time2}, kPlainCaptions},
    {13, &t::kConditionKinds[13], &t::kOperand1, &t::kEdge, Operand1::Number, Operand2::Edge,
     Output::Counter, {Cell::SelfInput1, Cell::Edge}, {.num1 = &t::kInputNumber, .adr2 = nullptr}},
    {14, &t::kConditionKinds[14], &t::kSwitchedOn, &t::kSwitchedOff, Operand1::Number, Operand2::Number,
     Output::Hours, {.onTime = Cell::Hours1, .offTime = Cell::Hours2}, {.num1 = &t::kHours, .num2 = &t::kHours}},
    {15, &t::kConditionKinds[15], &t::kOperand1, &t::kOperand2, Operand1::AddressNumber,
     Operand2::SetPoints, Output::Full, {Cell::Operand1, Cell::SetPoints}, kPlainCaptions, false, true},
    {16, &t::kConditionKinds[16], &t::kOperand1, &t::kOperand2, Operand1::AddressNumber,
     Operand2::SetPoints, Output::Full, {Cell::Operand1, Cell::SetPoints}, kPlainCaptions, false, true},
    // No condition: the editor shows no entries, the grid only dashes.
    {kNoConditionKind, &t::kConditionKinds[kNoConditionKind], nullptr, nullptr, Operand1::AddressNumber,
     Operand2::None, Output::None, {}, kPlainCaptions},
};
// clang-format on

static_assert(std::size(kConditionKindTable) == kNoConditionKind + 1);
static_assert([] {
    for (int k = 0; k <= kNoConditionKind; ++k)
        if (kConditionKindTable[k].kind != k)
            return false;
    return true;
}());

// The row of a Kind value; every value above the last kind is no condition.
const ConditionKind& conditionKind(int kind) {
    return kConditionKindTable[kind >= 0 && kind < kNoConditionKind ? kind : kNoConditionKind];
}

QString captionOf(const QString* caption) {
    return caption ? *caption : QString();
}

QString fixed(double x, int digits) {
    return formatFixed(x, 15, digits);
}

QString tenths(uint8_t v) {
    return fixed(v / 10.0, 1);
}

QString operandText(uint8_t adr, uint8_t num) {
    return (adr == 0 ? t::kGridSelfInput : QString::number(adr) + t::kGridSlash) + QString::number(num);
}

// An entry of tenths: the double-precision entry times ten, the last digit kept despite the binary
// fraction (7,3 is 72,9999... in binary).
long long toTenths(double x) {
    return static_cast<long long>(std::trunc(x * 10 + 1e-6));
}

// checkEditValue of an entry in tenths; current is the stored tenths.
long long checkTenths(EditField& field, const QString& maxText, long long current) {
    const double sentinel = -1;
    const double x = checkEditValue(field, ValueKind::Single, t::kTenthsMin, maxText, sentinel);
    return x == sentinel ? current : toTenths(x);
}

uint8_t checkByte(EditField& field, uint8_t current, const QString& maxText = t::kByteMax) {
    return static_cast<uint8_t>(checkInteger(field, t::kByteMin, maxText, current));
}

QString cellText(Cell cell, const ConditionRecord& r) {
    const bool number = r.Flags & kConditionNumberOperand;
    switch (cell) {
    case Cell::Dash:
        return t::kGridDash;
    case Cell::Operand1:
        return operandText(r.AdrInput1, r.NumInput1);
    case Cell::Operand2OrDecimal:
        return number ? fixed(r.Notch, 1) : operandText(r.AdrInput2, r.NumInput2);
    case Cell::Operand2OrInteger:
        return number ? QString::number(static_cast<long long>(std::trunc(r.Notch)))
                      : operandText(r.AdrInput2, r.NumInput2);
    case Cell::NotchDecimal:
        return fixed(r.Notch, 1);
    case Cell::Time1:
        return unpackTime(r.AdrInput1, r.NumInput1);
    case Cell::Time2:
        return unpackTime(r.AdrInput2, r.NumInput2);
    case Cell::ConditionNumber:
        return t::kGridConditionNo + QString::number(r.NumInput1);
    case Cell::SelfInput1:
        return t::kGridSelfInput + QString::number(r.NumInput1);
    case Cell::Edge:
        return r.AdrInput2 == 0 ? t::kGridPush : t::kGridPop;
    case Cell::Hours1:
        return QString::number(r.NumInput1) + t::kGridHours;
    case Cell::Hours2:
        return QString::number(r.NumInput2) + t::kGridHours;
    case Cell::SetPoints: {
        const auto sp = conditionSetPoints(r);
        return fixed(sp[0] / 10.0, 1) + t::kGridSlash + fixed(sp[1] / 10.0, 1);
    }
    }
    return t::kGridDash;
}

} // namespace

std::array<uint16_t, 2> conditionSetPoints(const ConditionRecord& r) {
    const auto bits = std::bit_cast<uint32_t>(r.Notch);
    return {static_cast<uint16_t>(bits & 0xFFFF), static_cast<uint16_t>(bits >> 16)};
}

void setConditionSetPoints(ConditionRecord& r, uint16_t first, uint16_t second) {
    // The four bytes are two words, not a float: taken bit for bit.
    r.Notch = std::bit_cast<float>(static_cast<uint32_t>(first) | static_cast<uint32_t>(second) << 16);
}

ConditionsTab::ConditionsTab(ConfigImage& image, ConditionControls controls, UserDialogs& dialogs)
    : image_(image), c_(controls), dialogs_(dialogs) {
    for (int i = 0; i < kConditionCount; ++i)
        grid_[i][0] = QString::number(i + 1);
}

void ConditionsTab::setDefaults() {
    selected_ = 1;
    c_.number.setText(QStringLiteral("1"));
    c_.kind.setCurrentIndex(kNoConditionKind);
    c_.time1.setText(t::kTimePreset);
    c_.time2.setText(t::kTimePreset);
    c_.outputType.setCurrentIndex(kOutputNone);
    for (EditField* e : {&c_.ifPriority, &c_.elsePriority})
        e->setText(QStringLiteral("0"));
    layoutForKind(kNoConditionKind);
}

void ConditionsTab::showConditionGrid() {
    for (int i = 0; i < kConditionCount; ++i) {
        const ConditionRecord& r = image_.Conditions[i];
        ConditionGridRow& row = grid_[i];
        row[0] = QString::number(i + 1);
        for (int c = 2; c < kConditionColumns; ++c)
            row[c] = t::kGridDash;
        const int kind = r.Kind & 0x1F;
        const ConditionKind& k = conditionKind(kind);
        row[1] = kind < kNoConditionKind ? *k.caption : t::kGridNoKind;
        if (r.Flags & kConditionHasOutput) {
            const bool discrete = r.NumOutput & kDiscreteOutput;
            row[5] = (r.AdrOutput == 0 ? t::kGridSelfOutput : QString::number(r.AdrOutput) + t::kGridSlash) +
                     (discrete ? QStringLiteral("D") : QStringLiteral("A")) +
                     QString::number(r.NumOutput & 0x7F);
            auto value = [&](uint8_t v) { return discrete ? QString::number(v) : tenths(v); };
            row[6] = value(r.IfValueOutput) + t::kGridPriority + QString::number(r.Priority >> 4);
            row[7] = value(r.ElseValueOutput) + t::kGridPriority + QString::number(r.Priority & 0x0F);
        } else {
            row[5] = t::kGridNone;
        }
        row[8] = (r.Flags & kConditionDepends)
                     ? t::kGridDependency + QString::number((r.Flags & kConditionDependencyMask) + 1)
                     : t::kGridNone;
        row[3] = cellText(k.cells.operand1, r);
        row[4] = cellText(k.cells.operand2, r);
        row[9] = cellText(k.cells.onTime, r);
        row[10] = cellText(k.cells.offTime, r);
        row[11] = cellText(k.cells.delay, r);
        row[12] = cellText(k.cells.duration, r);
    }
    if (gridChanged)
        gridChanged();
}

void ConditionsTab::layoutForKind(int kind) {
    ConditionPanel p;
    p.ifCaption = t::kIfValue;
    p.elseCaption = t::kElseValue;
    p.num1Caption = p.num2Caption = t::kInOutNumber;
    p.adr2Caption = t::kAddress;
    const ConditionKind& k = conditionKind(kind);
    if (kind < 0 || k.output == Output::None) {
        setPanel(p);
        return;
    }
    p.operand1Title = captionOf(k.operand1Title);
    p.operand2Title = captionOf(k.operand2Title);
    p.num1Caption = captionOf(k.captions.num1);
    p.adr2Caption = captionOf(k.captions.adr2);
    p.num2Caption = captionOf(k.captions.num2);
    p.ifCaption = captionOf(k.captions.ifValue);
    p.elseCaption = captionOf(k.captions.elseValue);
    switch (k.operand1) {
    case Operand1::AddressNumber:
        p.adr1 = p.num1 = true;
        break;
    case Operand1::Number:
        p.num1 = true;
        break;
    case Operand1::Time:
        p.time1 = true;
        break;
    }
    switch (k.operand2) {
    case Operand2::None:
        break;
    case Operand2::AddressNumberOrNumber: {
        // The edited condition's own bit says whether operand 2 is a number.
        const int n = selected_;
        const bool number =
            n >= 1 && n <= kConditionCount && (image_.Conditions[n - 1].Flags & kConditionNumberOperand);
        c_.numberFlag.setChecked(number);
        p.numberFlag = true;
        p.numberGroup = number;
        p.adr2 = p.num2 = !number;
        break;
    }
    case Operand2::AddressNumberNotch:
        p.adr2 = p.num2 = p.numberGroup = true;
        break;
    case Operand2::Time:
        p.time2 = true;
        break;
    case Operand2::Edge:
        p.adr2 = true;
        break;
    case Operand2::Number:
        p.num2 = true;
        break;
    case Operand2::SetPoints:
        p.setPoints = true;
        break;
    }
    p.outputGroup = true;
    switch (k.output) {
    case Output::None:
    case Output::Counter:
        break;
    case Output::Full:
        p.outputAnalog = p.outputDiscrete = p.outputNone = p.outAddress = p.values = true;
        break;
    case Output::Discrete:
        p.outputDiscrete = p.outputNone = p.outAddress = p.values = true;
        break;
    case Output::Hours:
        p.outAddress = p.values = true;
        break;
    }
    setPanel(p);
}

void ConditionsTab::kindChanged() {
    layoutForKind(c_.kind.currentIndex());
}

void ConditionsTab::numberFlagChanged() {
    ConditionPanel p = panel_;
    if (!p.numberFlag)
        return;
    const bool number = c_.numberFlag.isChecked();
    p.numberGroup = number;
    p.adr2 = p.num2 = !number;
    setPanel(p);
}

void ConditionsTab::outputTypeChanged() {
    if (c_.outputType.currentIndex() == kOutputNone) {
        c_.ifPriority.setText(QStringLiteral("0"));
        c_.elsePriority.setText(QStringLiteral("0"));
    }
}

void ConditionsTab::showCondition(int n) {
    if (n < 1 || n > kConditionCount)
        return;
    selected_ = n;
    const ConditionRecord& r = image_.Conditions[n - 1];
    c_.number.setText(QString::number(n));
    const int kind = r.Kind > 16 ? kNoConditionKind : r.Kind;
    const ConditionKind& k = conditionKind(kind);
    c_.kind.setCurrentIndex(kind);
    layoutForKind(kind);

    switch (k.operand1) {
    case Operand1::AddressNumber:
        c_.adr1.setText(QString::number(r.AdrInput1));
        c_.num1.setText(QString::number(r.NumInput1));
        break;
    case Operand1::Number:
        c_.num1.setText(QString::number(r.NumInput1));
        break;
    case Operand1::Time:
        c_.time1.setText(unpackTime(r.AdrInput1, r.NumInput1));
        break;
    }
    const auto showOperand2 = [&] {
        c_.adr2.setText(QString::number(r.AdrInput2));
        c_.num2.setText(QString::number(r.NumInput2));
    };
    switch (k.operand2) {
    case Operand2::None:
        break;
    case Operand2::AddressNumberOrNumber:
        if (r.Flags & kConditionNumberOperand)
            c_.notch.setText(fixed(r.Notch, 2));
        else
            showOperand2();
        break;
    case Operand2::AddressNumberNotch:
        showOperand2();
        c_.notch.setText(fixed(r.Notch, 2));
        break;
    case Operand2::Time:
        c_.time2.setText(unpackTime(r.AdrInput2, r.NumInput2));
        break;
    case Operand2::Edge:
        c_.adr2.setText(QString::number(r.AdrInput2));
        break;
    case Operand2::Number:
        c_.num2.setText(QString::number(r.NumInput2));
        break;
    case Operand2::SetPoints: {
        const auto sp = conditionSetPoints(r);
        c_.set1.setText(fixed(sp[0] / 10.0, 1));
        c_.set2.setText(fixed(sp[1] / 10.0, 1));
        break;
    }
    }
    // Output.
    const bool discrete = r.NumOutput & kDiscreteOutput;
    const auto value = [&](uint8_t v) { return discrete ? QString::number(v) : tenths(v); };
    c_.ifValue.setText(value(r.IfValueOutput));
    c_.elseValue.setText(value(r.ElseValueOutput));
    c_.ifPriority.setText(QString::number(r.Priority >> 4));
    c_.elsePriority.setText(QString::number(r.Priority & 0x0F));
    c_.outputType.setCurrentIndex(!(r.Flags & kConditionHasOutput) ? kOutputNone
                                  : discrete                       ? kOutputDiscrete
                                                                   : kOutputAnalog);
    // The counter drives an output of the controller itself, whatever the address byte holds.
    c_.outAddress.setText(QString::number(k.output == Output::Counter ? 0 : r.AdrOutput));
    c_.outNumber.setText(QString::number(r.NumOutput & 0x7F));
    c_.dependency.setText((r.Flags & kConditionDepends)
                              ? QString::number((r.Flags & kConditionDependencyMask) + 1)
                              : QString());
}

void ConditionsTab::applyOutput(ConditionRecord& r, int kind) {
    const Output output = conditionKind(kind).output;
    const auto number = [&] { return checkByte(c_.outNumber, r.NumOutput & 0x7F, t::kOutputNumberMax); };
    if (output == Output::Counter) {
        r.Flags = static_cast<uint8_t>(r.Flags | kConditionHasOutput);
        r.AdrOutput = 0;
        r.NumOutput = static_cast<uint8_t>(number() | kDiscreteOutput);
        return;
    }
    const int type = c_.outputType.currentIndex();
    if (output != Output::Hours && type != kOutputAnalog && type != kOutputDiscrete) {
        r.Flags = static_cast<uint8_t>(r.Flags & ~kConditionHasOutput);
        return;
    }
    r.Flags = static_cast<uint8_t>(r.Flags | kConditionHasOutput);
    r.AdrOutput = checkByte(c_.outAddress, r.AdrOutput);
    const uint8_t n = number();
    if (output != Output::Full || type == kOutputDiscrete) {
        r.NumOutput = static_cast<uint8_t>(n | kDiscreteOutput);
        r.IfValueOutput = checkByte(c_.ifValue, r.IfValueOutput);
        r.ElseValueOutput = checkByte(c_.elseValue, r.ElseValueOutput);
    } else {
        r.NumOutput = n;
        r.IfValueOutput = static_cast<uint8_t>(checkTenths(c_.ifValue, t::kAnalogMax, r.IfValueOutput));
        r.ElseValueOutput = static_cast<uint8_t>(checkTenths(c_.elseValue, t::kAnalogMax, r.ElseValueOutput));
    }
}

void ConditionsTab::applyDependency(ConditionRecord& r) {
    if (c_.dependency.text().trimmed().isEmpty()) {
        r.Flags = static_cast<uint8_t>(r.Flags & ~kConditionDepends);
        return;
    }
    const long long n = checkInteger(c_.dependency, t::kConditionMin, t::kConditionMax, 0);
    if (n >= 1)
        r.Flags = static_cast<uint8_t>((r.Flags & (kConditionHasOutput | kConditionNumberOperand)) |
                                       kConditionDepends | (n - 1));
}

void ConditionsTab::applyOperand1(ConditionRecord& r, int kind) {
    switch (conditionKind(kind).operand1) {
    case Operand1::AddressNumber:
        r.AdrInput1 = checkByte(c_.adr1, r.AdrInput1);
        r.NumInput1 = checkByte(c_.num1, r.NumInput1);
        break;
    case Operand1::Number:
        r.AdrInput1 = 0;
        r.NumInput1 = checkByte(c_.num1, r.NumInput1);
        break;
    case Operand1::Time: {
        const PackedTime p = packTime(c_.time1, {r.AdrInput1, r.NumInput1});
        r.AdrInput1 = p.high;
        r.NumInput1 = p.low;
        break;
    }
    }
}

void ConditionsTab::applyOperand2(ConditionRecord& r, int kind) {
    const auto addressNumber = [&] {
        r.AdrInput2 = checkByte(c_.adr2, r.AdrInput2);
        r.NumInput2 = checkByte(c_.num2, r.NumInput2);
    };
    const auto notch = [&] {
        r.Notch = static_cast<float>(
            checkEditValue(c_.notch, ValueKind::Single, t::kNotchMin, t::kNotchMax, r.Notch));
    };
    switch (conditionKind(kind).operand2) {
    case Operand2::None:
        break;
    case Operand2::AddressNumberOrNumber:
        if (c_.numberFlag.isChecked()) {
            r.Flags = static_cast<uint8_t>(r.Flags | kConditionNumberOperand);
            notch();
        } else {
            r.Flags = static_cast<uint8_t>(r.Flags & ~kConditionNumberOperand);
            addressNumber();
        }
        break;
    case Operand2::AddressNumberNotch:
        r.Flags = static_cast<uint8_t>(r.Flags & ~kConditionNumberOperand);
        addressNumber();
        notch();
        break;
    case Operand2::Time: {
        const PackedTime p = packTime(c_.time2, {r.AdrInput2, r.NumInput2});
        r.AdrInput2 = p.high;
        r.NumInput2 = p.low;
        break;
    }
    case Operand2::Edge:
        r.AdrInput2 = checkByte(c_.adr2, r.AdrInput2);
        r.NumInput2 = 0;
        break;
    case Operand2::Number:
        r.AdrInput2 = 0;
        r.NumInput2 = checkByte(c_.num2, r.NumInput2);
        break;
    case Operand2::SetPoints: {
        // The operand bytes are unused; the set points take the four bytes of Notch.
        r.AdrInput2 = 255;
        r.NumInput2 = 255;
        const auto sp = conditionSetPoints(r);
        const auto first = static_cast<uint16_t>(checkTenths(c_.set1, t::kSetPointMax, sp[0]));
        const auto second = static_cast<uint16_t>(checkTenths(c_.set2, t::kSetPointMax, sp[1]));
        setConditionSetPoints(r, first, second);
        break;
    }
    }
}

void ConditionsTab::applyCondition() {
    resetValueErrors();
    const long long n = checkInteger(c_.number, t::kConditionMin, t::kConditionMax, 0);
    if (n < 1)
        return;
    selected_ = static_cast<int>(n);
    ConditionRecord& r = image_.Conditions[n - 1];
    const int kind = c_.kind.currentIndex();
    if (kind < 0 || kind > kNoConditionKind)
        return;
    const ConditionKind& k = conditionKind(kind);
    if (k.output == Output::None) {
        r.Kind = kNoConditionKind;
        r.AdrInput1 = 0;
        r.AdrInput2 = 0;
        showConditionGrid();
        return;
    }
    // Two set points compare against another condition's result: without it the record would
    // describe nothing the controller can run, so it stays as it was.
    if (k.needsDependency && c_.dependency.text().trimmed().isEmpty()) {
        dialogs_.message(t::kNeedDependency);
        showConditionGrid();
        return;
    }
    r.Kind = static_cast<uint8_t>(kind);
    const uint8_t ifPriority = checkByte(c_.ifPriority, r.Priority >> 4, t::kPriorityMax);
    const uint8_t elsePriority = checkByte(c_.elsePriority, r.Priority & 0x0F, t::kPriorityMax);
    r.Priority = static_cast<uint8_t>(ifPriority << 4 | elsePriority);
    if (k.operand2First) {
        applyOperand2(r, kind);
        applyOperand1(r, kind);
    } else {
        applyOperand1(r, kind);
        applyOperand2(r, kind);
    }
    applyOutput(r, kind);
    applyDependency(r);
    showConditionGrid();
}

void ConditionsTab::clearConditions() {
    for (ConditionRecord& r : image_.Conditions) {
        r.Kind = kNoConditionKind;
        r.AdrInput1 = r.AdrInput2 = r.AdrOutput = 255;
    }
    showConditionGrid();
    showCondition(1);
    if (rowShown)
        rowShown(1);
}

void ConditionsTab::setPanel(const ConditionPanel& p) {
    panel_ = p;
    if (panelChanged)
        panelChanged();
}

} // namespace vextor
