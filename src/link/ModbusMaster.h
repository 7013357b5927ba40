#pragma once
// The master side of one Modbus RTU exchange on the Modbus port.
#include "FrameTap.h"
#include "SerialPort.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace vextor {

uint16_t ModbusCrc16(const uint8_t* data, size_t count);

class ModbusMaster {
public:
    explicit ModbusMaster(SerialPort* port = nullptr) : port_(port) {}
    void setPort(SerialPort* port) { port_ = port; }
    SerialPort* port() const { return port_; }
    // Every frame sent and received goes to the tap as well; nullptr (the default) for none.
    void setTap(FrameTap* tap) { tap_ = tap; }

    std::array<uint8_t, 256> TxBuffer{};
    uint32_t TxLength = 0;
    std::array<uint8_t, 256> RxBuffer{};
    uint32_t RxCount = 0;
    uint32_t LastError = 0;

    // Appends the CRC, sends, reads one reply, checks address and CRC. A reply of function 03, 06 or
    // an exception is complete once the length its first bytes give has arrived (fewer bytes are a
    // short reply); any other ends at the silence after it. reply (at least 127 bytes) receives the reply
    // without CRC and a 0; replyLength the bytes received including the CRC.
    bool ModbusExchange(const uint8_t* request, uint8_t requestLength, uint8_t* reply, uint8_t& replyLength);

private:
    SerialPort* port_;
    FrameTap* tap_ = nullptr;
    size_t readReply();
    FrameVerdict replyVerdict(uint8_t expectedAddress) const;
};

// The function codes the program uses.
inline constexpr uint8_t kModbusReadHolding = 0x03;
inline constexpr uint8_t kModbusWriteSingle = 0x06;

// The two requests the program builds (without CRC).
std::array<uint8_t, 6> modbusIdentifyRequest(uint8_t address);       // read 3 holding registers from 60001
std::array<uint8_t, 6> modbusSwitchToZarnetRequest(uint8_t address); // write 0x55AA to 60000

// What the reply to modbusIdentifyRequest tells: registers 60001 to 60003, each value in its low
// byte. The reply is address, function, byte count, the three registers high byte first, CRC.
struct ModbusIdentity {
    uint8_t deviceType = 0;
    uint8_t firmware = 0; // hundredths
    uint8_t panel = 0;    // hundredths; 0 when no display panel answers
};
inline constexpr int kIdentityTypeOffset = 4;
inline constexpr int kIdentityFirmwareOffset = 6;
inline constexpr int kIdentityPanelOffset = 8;
inline constexpr uint8_t kIdentityReplyLength = 11; // with the CRC, as ModbusExchange counts it
// nullopt unless the reply answers the read and is long enough for the three registers.
std::optional<ModbusIdentity> modbusIdentityFromReply(const uint8_t* reply, uint8_t replyLength);

// Line settings from a controller's Modbus parameter byte (MB_Params layout).
LineSettings modbusLineSettings(uint8_t mbParams);

} // namespace vextor
