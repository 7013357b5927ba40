#pragma once
// The bits of ConfigImage's Options word. Several tabs share the word: each sets and clears only its
// own bits, so a tab's "Применить" never changes another tab's setting.
#include <cstdint>

namespace vextor {

// " Общие ": the output ranges and overload checks of the two analog outputs.
inline constexpr uint16_t kOptDac1Range = 0x0001;
inline constexpr uint16_t kOptDac2Range = 0x0002;
inline constexpr uint16_t kOptDac1Overload = 0x0010;
inline constexpr uint16_t kOptDac2Overload = 0x0020;
// " СПВ ".
inline constexpr uint16_t kOptNightCurve = 0x0004;
inline constexpr uint16_t kOptFallingPreset = 0x0100;
inline constexpr uint16_t kOptSpvCascade = 0x0200;
inline constexpr uint16_t kOptSpvWeekendOff = 0x2000;
inline constexpr uint16_t kOptWarmingByOutdoor = 0x4000;
inline constexpr uint16_t kOptWarmingByWater = 0x8000; // clear: warm-up by time
// " СОт ".
inline constexpr uint16_t kOptAlternatePumps = 0x0008;
inline constexpr uint16_t kOptOverheatControl = 0x0040;
inline constexpr uint16_t kOptOvercoolControl = 0x0080;
inline constexpr uint16_t kOptHeatingCascade = 0x0400;
inline constexpr uint16_t kOptWeekendShift = 0x0800;
inline constexpr uint16_t kOptNightShift = 0x1000;

// Sets or clears the mask's bits of a word and leaves the others as they are.
template <class T> void setBits(T& word, T mask, bool on) {
    word = on ? static_cast<T>(word | mask) : static_cast<T>(word & ~mask);
}

} // namespace vextor
