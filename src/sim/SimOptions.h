#pragma once
// Parsing of the command-line values of vextor-sim, kept apart from main() so that the rules are
// testable: versions in hundredths, addresses, rates, memory ranges.
#include "SimController.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace vextor::sim {

// A whole number in decimal or with a 0x prefix in hexadecimal, within min..max.
std::optional<int64_t> parseInteger(std::string_view text, int64_t min, int64_t max);
// "2.01" or "2,01" (a decimal version), or "201" (hundredths); at most 655.35.
std::optional<uint16_t> parseVersion(std::string_view text);
// As parseVersion, and "none" for 0xFFFF (no panel, no configuration).
std::optional<uint16_t> parseVersionOrNone(std::string_view text);
// A probability 0..1.
std::optional<double> parseRate(std::string_view text);
// "ADDR:COUNT", each a whole number as parseInteger reads it; COUNT at least 1.
std::optional<AddressRange> parseRange(std::string_view text);

} // namespace vextor::sim
