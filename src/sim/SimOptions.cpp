#include "SimOptions.h"

#include <charconv>
#include <cmath>
#include <string>

namespace vextor::sim {

std::optional<int64_t> parseInteger(std::string_view text, int64_t min, int64_t max) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    if (text.empty())
        return std::nullopt;
    int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size() || value < min || value > max)
        return std::nullopt;
    return value;
}

std::optional<uint16_t> parseVersion(std::string_view text) {
    const size_t sep = text.find_first_of(".,");
    if (sep == std::string_view::npos) {
        const auto v = parseInteger(text, 0, 0xFFFF);
        return v ? std::optional<uint16_t>(static_cast<uint16_t>(*v)) : std::nullopt;
    }
    const std::string_view whole = text.substr(0, sep);
    const std::string_view frac = text.substr(sep + 1);
    if (whole.empty() || frac.empty() || frac.size() > 2 ||
        whole.find_first_not_of("0123456789") != whole.npos ||
        frac.find_first_not_of("0123456789") != frac.npos)
        return std::nullopt;
    const auto w = parseInteger(whole, 0, 655);
    const auto f = parseInteger(frac, 0, 99);
    if (!w || !f)
        return std::nullopt;
    const int64_t hundredths = *w * 100 + (frac.size() == 1 ? *f * 10 : *f);
    if (hundredths > 0xFFFF)
        return std::nullopt;
    return static_cast<uint16_t>(hundredths);
}

std::optional<uint16_t> parseVersionOrNone(std::string_view text) {
    if (text == "none")
        return uint16_t{0xFFFF};
    return parseVersion(text);
}

std::optional<double> parseRate(std::string_view text) {
    std::string s(text);
    if (s.empty())
        return std::nullopt;
    size_t used = 0;
    double value = 0;
    try {
        value = std::stod(s, &used);
    } catch (...) {
        return std::nullopt;
    }
    if (used != s.size() || !(value >= 0.0 && value <= 1.0))
        return std::nullopt;
    return value;
}

std::optional<AddressRange> parseRange(std::string_view text) {
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    const auto first = parseInteger(text.substr(0, colon), 0, 0xFFFFFF);
    const auto count = parseInteger(text.substr(colon + 1), 1, 0x1000000);
    if (!first || !count)
        return std::nullopt;
    return AddressRange{static_cast<uint32_t>(*first), static_cast<uint32_t>(*count)};
}

} // namespace vextor::sim
