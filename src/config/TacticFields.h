#pragma once
// What the tactic tabs share: the PID entries, the four-point characteristic
// entries, and the stores that take one entry into one image field. A store keeps the field as it
// was when its entry is refused, or when an earlier entry of the same "Применить" was refused.
#include "ConfigImage.h"
#include "OptionBits.h"
#include "link/EditField.h"
#include "link/NumericConversions.h"

#include <QString>
#include <array>

namespace vextor {

// KindSystems bits of the tactics; bits 4-7 hold the recuperation kind.
inline constexpr uint8_t kKindSupplyVentilation = 0x01;
inline constexpr uint8_t kKindHeating = 0x02;
inline constexpr uint8_t kKindHotWater = 0x04;
inline constexpr uint8_t kKindProcess = 0x08;
inline constexpr uint8_t kKindRecuperationMask = 0xF0;

// The five entries of a PID set.
struct PIDControls {
    EditField& kProp;
    EditField& kInt;
    EditField& kDif;
    EditField& startIntError;
    EditField& periodDif;
};

struct PlainPIDControls {
    PlainEditField kProp, kInt, kDif, startIntError, periodDif;
    PIDControls controls() { return {kProp, kInt, kDif, startIntError, periodDif}; }
};

// Coefficients with two decimals, the period in plain decimal.
void showPID(const PIDRecord& pid, const PIDControls& c);
// The four coefficients "single" -10000,0..10000,0, then the period "integer" 1..31.
void applyPID(PIDRecord& pid, const PIDControls& c);

// Four points, argument then value, from the top row.
using CurveEntries = std::array<EditField*, 8>;

struct PlainCurveEntries {
    std::array<PlainEditField, 8> fields;
    CurveEntries entries() {
        CurveEntries e{};
        for (size_t i = 0; i < e.size(); ++i)
            e[i] = &fields[i];
        return e;
    }
};

void showCurve(const std::array<CurvePoint, 4>& curve, const CurveEntries& e);
// Point by point, argument before value, each "integer" -128..127.
void applyCurve(std::array<CurvePoint, 4>& curve, const CurveEntries& e);
// Puts a reference curve into the entries only; the image follows on the next "Применить".
void fillCurve(const std::array<CurvePoint, 4>& reference, const CurveEntries& e);

// One entry into one field.
void storeU8(EditField& f, uint8_t& field, const QString& minText = {}, const QString& maxText = {});
void storeI8(EditField& f, int8_t& field);
void storeU16(EditField& f, uint16_t& field);
void storeFloat(EditField& f, float& field, const QString& minText, const QString& maxText);
// Tenths of a volt in one byte: "single" 0,0..25,5 volts, stored as trunc(volts * 10) taken from the
// entry's double value (a float would put 2,3 at 22).
void storeTenths(EditField& f, uint8_t& field);
QString tenthsText(uint8_t tenths);

// Text forms of the tabs.
QString oneDecimal(float x); // 24,0
QString pidText(float x);    // 0,00

} // namespace vextor
