#include "TacticFields.h"

#include "SensorsTab.h"
#include "TacticTexts.h"

#include <cmath>

namespace vextor {

namespace t = tactic_texts;

namespace {

// The entry's value when it is taken; false when it is refused now or was skipped after an earlier
// refusal, so that the caller leaves its field alone.
bool takeInteger(EditField& f, const QString& minText, const QString& maxText, long long& value) {
    if (valueErrorShown())
        return false;
    const long long x = checkInteger(f, minText, maxText, 0);
    if (valueErrorShown())
        return false;
    value = x;
    return true;
}

} // namespace

void showPID(const PIDRecord& pid, const PIDControls& c) {
    c.kProp.setText(pidText(pid.KProp));
    c.kInt.setText(pidText(pid.KInt));
    c.kDif.setText(pidText(pid.KDif));
    c.startIntError.setText(pidText(pid.StartIntError));
    c.periodDif.setText(QString::number(pid.PeriodDif));
}

void applyPID(PIDRecord& pid, const PIDControls& c) {
    storeFloat(c.kProp, pid.KProp, t::kCoefMin, t::kCoefMax);
    storeFloat(c.kInt, pid.KInt, t::kCoefMin, t::kCoefMax);
    storeFloat(c.kDif, pid.KDif, t::kCoefMin, t::kCoefMax);
    storeFloat(c.startIntError, pid.StartIntError, t::kCoefMin, t::kCoefMax);
    storeU8(c.periodDif, pid.PeriodDif, t::kPeriodMin, t::kPeriodMax);
}

void showCurve(const std::array<CurvePoint, 4>& curve, const CurveEntries& e) {
    for (size_t i = 0; i < curve.size(); ++i) {
        e[2 * i]->setText(QString::number(curve[i].Arg));
        e[2 * i + 1]->setText(QString::number(curve[i].Value));
    }
}

void applyCurve(std::array<CurvePoint, 4>& curve, const CurveEntries& e) {
    for (size_t i = 0; i < curve.size(); ++i) {
        storeI8(*e[2 * i], curve[i].Arg);
        storeI8(*e[2 * i + 1], curve[i].Value);
    }
}

void fillCurve(const std::array<CurvePoint, 4>& reference, const CurveEntries& e) {
    showCurve(reference, e);
}

void storeU8(EditField& f, uint8_t& field, const QString& minText, const QString& maxText) {
    long long x = 0;
    if (takeInteger(f, minText.isEmpty() ? t::kByteMin : minText, maxText.isEmpty() ? t::kByteMax : maxText,
                    x))
        field = static_cast<uint8_t>(x);
}

void storeI8(EditField& f, int8_t& field) {
    long long x = 0;
    if (takeInteger(f, t::kSignedMin, t::kSignedMax, x))
        field = static_cast<int8_t>(x);
}

void storeU16(EditField& f, uint16_t& field) {
    long long x = 0;
    if (takeInteger(f, t::kByteMin, t::kWordMax, x))
        field = static_cast<uint16_t>(x);
}

void storeFloat(EditField& f, float& field, const QString& minText, const QString& maxText) {
    if (valueErrorShown())
        return;
    // A value the controller's plausibility rule would not give back is refused like one out of range.
    const float x = checkImageSingle(f, minText, maxText, field);
    if (!valueErrorShown())
        field = x;
}

void storeTenths(EditField& f, uint8_t& field) {
    if (valueErrorShown())
        return;
    const double volts = checkEditValue(f, ValueKind::Single, t::kZero, t::kVoltageMax, 0);
    if (valueErrorShown())
        return;
    field = static_cast<uint8_t>(std::trunc(volts * 10 + 1e-6));
}

QString tenthsText(uint8_t tenths) {
    return formatFixed(tenths / 10.0, 4, 1);
}

QString oneDecimal(float x) {
    return formatFixed(x, 4, 1);
}

QString pidText(float x) {
    return formatFixed(x, 6, 2);
}

} // namespace vextor
