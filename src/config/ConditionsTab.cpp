#include "ConditionsTab.h"

#include "GeneralTexts.h"
#include "link/UserDialogs.h"

#include <bit>
#include <cmath>

namespace vextor {

namespace t = general_texts;

namespace {

bool isComparison(int kind) {
    return kind >= 0 && kind <= 7;
}
bool usesNotchOperand(int kind) {
    return kind >= 2 && kind <= 5;
}
bool hasTwoSetPoints(int kind) {
    return kind == 15 || kind == 16;
}
// Kinds 8 to 12 drive a discrete output only.
bool discreteOnly(int kind) {
    return kind >= 8 && kind <= 12;
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
        row[1] = kind < kNoConditionKind ? t::kConditionKinds[kind] : t::kGridNoKind;
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
        const QString op1 = operandText(r.AdrInput1, r.NumInput1);
        const QString op2 = operandText(r.AdrInput2, r.NumInput2);
        const QString time1 = unpackTime(r.AdrInput1, r.NumInput1);
        const QString time2 = unpackTime(r.AdrInput2, r.NumInput2);
        switch (kind) {
        case 0:
        case 1:
        case 2:
        case 3:
        case 4:
        case 5:
        case 6:
        case 7:
            row[3] = op1;
            if (r.Flags & kConditionNumberOperand)
                row[4] = kind <= 1 ? fixed(r.Notch, 1)
                                   : QString::number(static_cast<long long>(std::trunc(r.Notch)));
            else
                row[4] = op2;
            if (usesNotchOperand(kind))
                row[9] = fixed(r.Notch, 1);
            break;
        case 8:
            row[3] = op1;
            row[11] = time2;
            break;
        case 9:
            row[11] = time1;
            row[12] = time2;
            break;
        case 10:
            row[3] = t::kGridConditionNo + QString::number(r.NumInput1);
            row[11] = time2;
            break;
        case 11:
        case 12:
            row[9] = time1;
            row[10] = time2;
            break;
        case 13:
            row[3] = t::kGridSelfInput + QString::number(r.NumInput1);
            row[4] = r.AdrInput2 == 0 ? t::kGridPush : t::kGridPop;
            break;
        case 14:
            row[9] = QString::number(r.NumInput1) + t::kGridHours;
            row[10] = QString::number(r.NumInput2) + t::kGridHours;
            break;
        case 15:
        case 16: {
            const auto sp = conditionSetPoints(r);
            row[3] = op1;
            row[4] = fixed(sp[0] / 10.0, 1) + t::kGridSlash + fixed(sp[1] / 10.0, 1);
            break;
        }
        default:
            break;
        }
    }
    if (gridChanged)
        gridChanged();
}

void ConditionsTab::layoutForKind(int kind) {
    ConditionPanel p;
    const auto fullOutput = [&p] {
        p.outputGroup = p.outputAnalog = p.outputDiscrete = p.outputNone = p.outAddress = p.values = true;
    };
    const auto discreteOutput = [&p] {
        p.outputGroup = p.outputDiscrete = p.outputNone = p.outAddress = p.values = true;
    };
    p.ifCaption = t::kIfValue;
    p.elseCaption = t::kElseValue;
    p.num1Caption = p.num2Caption = t::kInOutNumber;
    p.adr2Caption = t::kAddress;
    switch (kind) {
    case 0:
    case 1:
    case 6:
    case 7:
    case 2:
    case 3:
    case 4:
    case 5: {
        p.operand1Title = t::kOperand1;
        p.operand2Title = t::kOperand2;
        p.adr1 = p.num1 = true;
        if (usesNotchOperand(kind)) {
            p.adr2 = p.num2 = p.numberGroup = true;
        } else {
            // The edited condition's own bit says whether operand 2 is a number.
            const int n = selected_;
            const bool number =
                n >= 1 && n <= kConditionCount && (image_.Conditions[n - 1].Flags & kConditionNumberOperand);
            c_.numberFlag.setChecked(number);
            p.numberFlag = true;
            p.numberGroup = number;
            p.adr2 = p.num2 = !number;
        }
        fullOutput();
        break;
    }
    case 8:
        p.operand1Title = t::kOperand;
        p.operand2Title = t::kDelay;
        p.adr1 = p.num1 = p.time2 = true;
        discreteOutput();
        p.ifCaption = t::kAfterDelay;
        p.elseCaption = t::kBeforeDelay;
        break;
    case 9:
        p.operand1Title = t::kDelay;
        p.operand2Title = t::kDuration;
        p.time1 = p.time2 = true;
        discreteOutput();
        p.ifCaption = t::kAfterDelay;
        p.elseCaption = t::kBeforeDelay;
        break;
    case 10:
        p.operand1Title = t::kConditionNumber;
        p.operand2Title = t::kDelay;
        p.num1 = p.time2 = true;
        p.num1Caption = t::kNumberSign;
        discreteOutput();
        p.ifCaption = t::kAfterDelay;
        p.elseCaption = t::kBeforeDelay;
        break;
    case 11:
    case 12:
        p.operand1Title = t::kStateOn;
        p.operand2Title = t::kStateOff;
        p.time1 = p.time2 = true;
        discreteOutput();
        break;
    case 13:
        p.operand1Title = t::kOperand1;
        p.operand2Title = t::kEdge;
        p.num1 = p.adr2 = true;
        p.num1Caption = t::kInputNumber;
        p.adr2Caption.clear();
        p.outputGroup = true;
        break;
    case 14:
        p.operand1Title = t::kSwitchedOn;
        p.operand2Title = t::kSwitchedOff;
        p.num1 = p.num2 = true;
        p.num1Caption = p.num2Caption = t::kHours;
        p.outputGroup = p.outAddress = p.values = true;
        break;
    case 15:
    case 16:
        p.operand1Title = t::kOperand1;
        p.operand2Title = t::kOperand2;
        p.adr1 = p.num1 = p.setPoints = true;
        fullOutput();
        break;
    default:
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
    c_.kind.setCurrentIndex(kind);
    layoutForKind(kind);

    // Operand 1.
    switch (kind) {
    case 9:
    case 11:
    case 12:
        c_.time1.setText(unpackTime(r.AdrInput1, r.NumInput1));
        break;
    case 10:
    case 13:
    case 14:
        c_.num1.setText(QString::number(r.NumInput1));
        break;
    default:
        c_.adr1.setText(QString::number(r.AdrInput1));
        c_.num1.setText(QString::number(r.NumInput1));
        break;
    }
    // Operand 2.
    if (usesNotchOperand(kind)) {
        c_.adr2.setText(QString::number(r.AdrInput2));
        c_.num2.setText(QString::number(r.NumInput2));
        c_.notch.setText(fixed(r.Notch, 2));
    } else if (kind >= 8 && kind <= 12) {
        c_.time2.setText(unpackTime(r.AdrInput2, r.NumInput2));
    } else if (kind == 13) {
        c_.adr2.setText(QString::number(r.AdrInput2));
    } else if (kind == 14) {
        c_.num2.setText(QString::number(r.NumInput2));
    } else if (hasTwoSetPoints(kind)) {
        const auto sp = conditionSetPoints(r);
        c_.set1.setText(fixed(sp[0] / 10.0, 1));
        c_.set2.setText(fixed(sp[1] / 10.0, 1));
    } else if (isComparison(kind)) {
        if (r.Flags & kConditionNumberOperand) {
            c_.notch.setText(fixed(r.Notch, 2));
        } else {
            c_.adr2.setText(QString::number(r.AdrInput2));
            c_.num2.setText(QString::number(r.NumInput2));
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
    c_.outAddress.setText(QString::number(kind == 13 ? 0 : r.AdrOutput));
    c_.outNumber.setText(QString::number(r.NumOutput & 0x7F));
    c_.dependency.setText((r.Flags & kConditionDepends)
                              ? QString::number((r.Flags & kConditionDependencyMask) + 1)
                              : QString());
}

void ConditionsTab::applyOutput(ConditionRecord& r, int kind) {
    const int type = c_.outputType.currentIndex();
    if (type != kOutputAnalog && type != kOutputDiscrete) {
        r.Flags = static_cast<uint8_t>(r.Flags & ~kConditionHasOutput);
        return;
    }
    r.Flags = static_cast<uint8_t>(r.Flags | kConditionHasOutput);
    r.AdrOutput = checkByte(c_.outAddress, r.AdrOutput);
    const uint8_t number = checkByte(c_.outNumber, r.NumOutput & 0x7F, t::kOutputNumberMax);
    if (type == kOutputDiscrete || discreteOnly(kind)) {
        r.NumOutput = static_cast<uint8_t>(number | kDiscreteOutput);
        r.IfValueOutput = checkByte(c_.ifValue, r.IfValueOutput);
        r.ElseValueOutput = checkByte(c_.elseValue, r.ElseValueOutput);
    } else {
        r.NumOutput = number;
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
    if (kind == kNoConditionKind) {
        r.Kind = kNoConditionKind;
        r.AdrInput1 = 0;
        r.AdrInput2 = 0;
        showConditionGrid();
        return;
    }
    // Two set points compare against another condition's result: without it the record would
    // describe nothing the controller can run, so it stays as it was.
    if (hasTwoSetPoints(kind) && c_.dependency.text().trimmed().isEmpty()) {
        dialogs_.message(t::kNeedDependency);
        showConditionGrid();
        return;
    }
    r.Kind = static_cast<uint8_t>(kind);
    const uint8_t ifPriority = checkByte(c_.ifPriority, r.Priority >> 4, t::kPriorityMax);
    const uint8_t elsePriority = checkByte(c_.elsePriority, r.Priority & 0x0F, t::kPriorityMax);
    r.Priority = static_cast<uint8_t>(ifPriority << 4 | elsePriority);

    const auto operand1 = [&] {
        r.AdrInput1 = checkByte(c_.adr1, r.AdrInput1);
        r.NumInput1 = checkByte(c_.num1, r.NumInput1);
    };
    const auto operand2 = [&] {
        r.AdrInput2 = checkByte(c_.adr2, r.AdrInput2);
        r.NumInput2 = checkByte(c_.num2, r.NumInput2);
    };
    const auto notch = [&] {
        r.Notch = static_cast<float>(
            checkEditValue(c_.notch, ValueKind::Single, t::kNotchMin, t::kNotchMax, r.Notch));
    };
    const auto time = [&](EditField& field, uint8_t& high, uint8_t& low) {
        const PackedTime p = packTime(field, {high, low});
        high = p.high;
        low = p.low;
    };
    bool outputDone = false;
    switch (kind) {
    case 0:
    case 1:
    case 6:
    case 7:
        operand1();
        if (c_.numberFlag.isChecked()) {
            r.Flags = static_cast<uint8_t>(r.Flags | kConditionNumberOperand);
            notch();
        } else {
            r.Flags = static_cast<uint8_t>(r.Flags & ~kConditionNumberOperand);
            operand2();
        }
        break;
    case 2:
    case 3:
    case 4:
    case 5:
        operand1();
        r.Flags = static_cast<uint8_t>(r.Flags & ~kConditionNumberOperand);
        operand2();
        notch();
        break;
    case 8:
        time(c_.time2, r.AdrInput2, r.NumInput2);
        operand1();
        break;
    case 9:
    case 11:
    case 12:
        time(c_.time1, r.AdrInput1, r.NumInput1);
        time(c_.time2, r.AdrInput2, r.NumInput2);
        break;
    case 10:
        time(c_.time2, r.AdrInput2, r.NumInput2);
        r.AdrInput1 = 0;
        r.NumInput1 = checkByte(c_.num1, r.NumInput1);
        break;
    case 13:
        r.AdrInput1 = 0;
        r.NumInput1 = checkByte(c_.num1, r.NumInput1);
        r.AdrInput2 = checkByte(c_.adr2, r.AdrInput2);
        r.NumInput2 = 0;
        r.Flags = static_cast<uint8_t>(r.Flags | kConditionHasOutput);
        r.AdrOutput = 0;
        r.NumOutput = static_cast<uint8_t>(checkByte(c_.outNumber, r.NumOutput & 0x7F, t::kOutputNumberMax) |
                                           kDiscreteOutput);
        outputDone = true;
        break;
    case 14:
        r.AdrInput1 = 0;
        r.NumInput1 = checkByte(c_.num1, r.NumInput1);
        r.AdrInput2 = 0;
        r.NumInput2 = checkByte(c_.num2, r.NumInput2);
        r.Flags = static_cast<uint8_t>(r.Flags | kConditionHasOutput);
        r.AdrOutput = checkByte(c_.outAddress, r.AdrOutput);
        r.NumOutput = static_cast<uint8_t>(checkByte(c_.outNumber, r.NumOutput & 0x7F, t::kOutputNumberMax) |
                                           kDiscreteOutput);
        r.IfValueOutput = checkByte(c_.ifValue, r.IfValueOutput);
        r.ElseValueOutput = checkByte(c_.elseValue, r.ElseValueOutput);
        outputDone = true;
        break;
    case 15:
    case 16: {
        r.AdrInput2 = 255;
        r.NumInput2 = 255;
        operand1();
        const auto sp = conditionSetPoints(r);
        const auto first = static_cast<uint16_t>(checkTenths(c_.set1, t::kSetPointMax, sp[0]));
        const auto second = static_cast<uint16_t>(checkTenths(c_.set2, t::kSetPointMax, sp[1]));
        setConditionSetPoints(r, first, second);
        break;
    }
    default:
        break;
    }
    if (!outputDone)
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
