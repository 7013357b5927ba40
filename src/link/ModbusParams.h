#pragma once
// The Modbus parameter byte of a controller's port (MB_Params in the configuration image, MbParams
// of a project device): bits 0-1 the baud rate index, bits 4-5 the frame format index, bit 7 the
// float word order; bits 2, 3 and 6 are 0.
#include <array>
#include <cstddef>
#include <cstdint>

namespace vextor {

inline constexpr std::array<int, 4> kModbusBaudRates = {4800, 9600, 19200, 38400};

constexpr int mbBaudIndex(uint8_t mbParams) {
    return mbParams & 0x03;
}
// 0 "10 бит/1 стоп", 1 "11 бит/2 стоп", 2 "11 бит/нечет/1 стоп", 3 "11 бит/чет/1 стоп"
constexpr int mbFrameIndex(uint8_t mbParams) {
    return (mbParams >> 4) & 0x03;
}
// 0 mantissa word first ("mant_ord"), 1 exponent word first ("ord_mant")
constexpr int mbFloatOrderIndex(uint8_t mbParams) {
    return (mbParams >> 7) & 0x01;
}
constexpr int mbBaudRate(uint8_t mbParams) {
    return kModbusBaudRates[static_cast<size_t>(mbBaudIndex(mbParams))];
}
// The byte with new indexes; the reserved bits 2 and 3 of the old byte are kept as they were.
constexpr uint8_t composeMbParams(uint8_t old, int baudIndex, int frameIndex, int floatOrderIndex) {
    return static_cast<uint8_t>((old & 0x0C) | (baudIndex & 0x03) | ((frameIndex & 0x03) << 4) |
                                (floatOrderIndex == 1 ? 0x80 : 0));
}

} // namespace vextor
