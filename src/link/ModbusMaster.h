#pragma once
// The master side of one Modbus RTU exchange on the Modbus port.
#include "SerialPort.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace vextor {

uint16_t ModbusCrc16(const uint8_t* data, size_t count);

class ModbusMaster {
public:
    explicit ModbusMaster(SerialPort* port = nullptr) : port_(port) {}
    void setPort(SerialPort* port) { port_ = port; }
    SerialPort* port() const { return port_; }

    std::array<uint8_t, 256> TxBuffer{};
    uint32_t TxLength = 0;
    std::array<uint8_t, 256> RxBuffer{};
    uint32_t RxCount = 0;
    uint32_t LastError = 0;

    // Appends the CRC, sends, reads one reply (its end is the silence after it), checks address and
    // CRC. reply (at least 127 bytes) receives the reply without CRC and a 0; replyLength the bytes
    // received including the CRC.
    bool ModbusExchange(const uint8_t* request, uint8_t requestLength, uint8_t* reply, uint8_t& replyLength);

private:
    SerialPort* port_;
};

// The two requests the program builds (without CRC).
std::array<uint8_t, 6> modbusIdentifyRequest(uint8_t address);       // read 3 holding registers from 60001
std::array<uint8_t, 6> modbusSwitchToZarnetRequest(uint8_t address); // write 0x55AA to 60000

// Line settings from a controller's Modbus parameter byte (MB_Params layout).
LineSettings modbusLineSettings(uint8_t mbParams);

} // namespace vextor
