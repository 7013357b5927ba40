#pragma once
// One virtual Vextor controller: its byte memory (configuration image, running copy, black box),
// clock, reply delay, live channels, events, session key, slave line and protocol mode, and the
// pure request -> reply logic of the device protocol and of Modbus RTU. Nothing here touches a
// port or the real time: the caller hands in each request frame with the current milliseconds.
#include "SimChannels.h"
#include "SimClock.h"
#include "SimEvents.h"
#include "SimMemory.h"
#include "SimSlave.h"
#include "SimTypes.h"

#include "link/ZarnetCommands.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <span>
#include <vector>

namespace vextor::sim {

enum class Protocol { Zarnet, Modbus };

// A byte range of device memory: reads that touch it are never answered.
struct AddressRange {
    uint32_t first = 0;
    uint32_t count = 0;
    bool overlaps(uint32_t address, uint32_t n) const {
        return count > 0 && n > 0 && address < first + count && first < address + n;
    }
};

struct ControllerSettings {
    uint8_t address = 1;
    uint8_t deviceType = 0x20;
    uint16_t firmware = 201; // hundredths
    uint8_t build = 3;
    uint16_t panel = 105; // hundredths; 0xFFFF: no display panel answers
    uint16_t cfgVersion = kConfigLayoutVersion;
    std::optional<uint8_t> modbusAddress; // replaces MB_Address of the image
    uint16_t replyDelayMs = 2;
    int eventCount = 40; // black-box records filled at start, 0..682
    // Mean time between spontaneous events (each gap is drawn from half to one and a half of it);
    // 0: the unit logs nothing on its own, so the black box only changes through commands.
    int64_t eventIntervalMs = 30000;
    uint32_t seed = 1;
    std::vector<uint8_t> slaves{1, 2}; // devices on the controller's own slave line
    std::vector<AddressRange> silentRanges;
};

// Modbus registers of the controller.
inline constexpr uint16_t kRegControl = 60000;
inline constexpr uint16_t kRegType = 60001;
inline constexpr uint16_t kRegFirmware = 60002;
inline constexpr uint16_t kRegPanel = 60003;
inline constexpr uint16_t kControlToZarnet = 0x55AA;
inline constexpr uint16_t kControlRestart = 0xAA55;

// Baud rate and bits per character of a MB_Params byte.
uint32_t modbusBaud(uint8_t mbParams);
int modbusBitsPerByte(uint8_t mbParams);

class SimController {
public:
    // How long a slave on the controller's own line takes to answer a relayed request.
    static constexpr int64_t kTransitTurnaroundMs = 120;
    static constexpr size_t kMaxPendingEvents = 64;

    // image holds the bytes of device addresses 3..1193 (shorter is padded with 0); it is copied
    // into the memory, and CfgVersion and the Modbus address of the settings are put over it.
    SimController(const ControllerSettings& settings, std::span<const uint8_t> image,
                  const DeviceDateTime& clock, int64_t nowMs);

    // A whole device-protocol request frame; the reply frame, or nothing when the controller stays
    // silent (another address, a bad CRC, Modbus mode, a refused or unknown command, a send-only
    // command).
    std::optional<Bytes> handleZarnet(std::span<const uint8_t> request, int64_t nowMs);
    // A whole Modbus RTU request frame (CRC included); the reply frame with its CRC.
    std::optional<Bytes> handleModbus(std::span<const uint8_t> request, int64_t nowMs);

    // Lets the controller log what happened since the last call (new events, input changes).
    void advance(int64_t nowMs);

    uint8_t address() const { return address_; }
    Protocol protocol() const { return protocol_; }
    // As taken at the last restart: the port keeps them until the next one.
    uint8_t modbusAddress() const { return modbusAddress_; }
    uint8_t modbusParams() const { return modbusParams_; }
    uint16_t replyDelayMs() const { return replyDelayMs_; }
    std::optional<uint8_t> sessionKey() const { return sessionKey_; }
    int restarts() const { return restarts_; }
    const Bytes& memory() const { return memory_; }
    DeviceDateTime clockAt(int64_t nowMs) const { return clock_.at(nowMs); }
    const SimChannels& channels() const { return channels_; }
    SimSlave* slave(uint8_t address);
    size_t pendingEvents() const { return events_.size(); }

    // Asked before an address change: true when another device on the line already has it.
    void setAddressTaken(std::function<bool(uint8_t)> taken) { addressTaken_ = std::move(taken); }

private:
    struct PendingEvent {
        uint8_t replyCode; // 0C: a black-box record; 0E: an input change
        Bytes data;
        bool delivered = false;
    };
    enum class TransitState { Idle, Busy, Ready, NoAnswer };
    enum TransitStatusCode : uint8_t {
        TransitIdle = 0x00,
        TransitBusy = 0x01,
        TransitNoAnswer = 0x02,
        TransitReady = 0x55, // the slave's answer can be fetched
    };

    std::optional<Bytes> command(uint8_t code, std::span<const uint8_t> args, int64_t nowMs, uint8_t& from,
                                 bool& plainReply);
    std::optional<Bytes> readMemory(std::span<const uint8_t> args);
    Bytes writeMemory(std::span<const uint8_t> args);
    std::optional<Bytes> pollEvent();
    void acknowledgeEvent();
    std::optional<Bytes> readChannels(std::span<const uint8_t> args, int64_t nowMs);
    std::optional<Bytes> setOutput(std::span<const uint8_t> args);
    Bytes transitSend(std::span<const uint8_t> args, int64_t nowMs);
    uint8_t transitStatus(int64_t nowMs);
    Bytes transitFetch(int64_t nowMs);

    bool readRegister(uint16_t reg, uint16_t& value) const;
    void restart(uint8_t cause, int64_t nowMs);
    void takePortSettings();
    void recordEvent(const EventRecord& e);
    int64_t nextEventGap();
    void queueEvent(uint8_t replyCode, Bytes data);

    ControllerSettings settings_;
    uint8_t address_;
    Protocol protocol_ = Protocol::Zarnet;
    uint8_t modbusAddress_ = 0;
    uint8_t modbusParams_ = 0;
    uint16_t replyDelayMs_;
    std::optional<uint8_t> sessionKey_;
    uint8_t status_ = 0;
    int restarts_ = 0;
    Bytes memory_;
    SimClock clock_;
    SimChannels channels_;
    std::vector<std::unique_ptr<SimSlave>> slaves_;
    std::mt19937 rng_;
    uint32_t nextSlot_ = 0;
    std::deque<PendingEvent> events_;
    int64_t nextEventMs_ = 0;
    uint8_t lastInputs_ = 0;
    TransitState transit_ = TransitState::Idle;
    int64_t transitReadyMs_ = 0;
    Bytes transitReply_;
    std::function<bool(uint8_t)> addressTaken_;
};

// The reply frame of the device protocol: address, length, code and data, CRC. With a session key
// the address byte gets bit 7 and code and data are XORed with key ^ nonce (the CRC covers the
// bytes as sent).
Bytes zarnetReplyFrame(uint8_t from, const Bytes& body, std::optional<uint8_t> key, uint8_t nonce);
// Appends the Modbus CRC, low byte first.
void appendModbusCrc(Bytes& frame);

} // namespace vextor::sim
