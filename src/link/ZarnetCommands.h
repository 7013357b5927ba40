#pragma once
// The Zarnet commands. Each is one blocking request and reply; true only for a valid reply
// (transport, address, CRC, reply code, echo bytes, and a reply long enough for every byte read).
// Output arguments are written only on success.
#include "ControllerMemory.h"
#include "ZarnetLink.h"

#include <array>
#include <cstdint>
#include <vector>

namespace vextor {

class UserDialogs;

enum class ChannelGroup : uint8_t {
    AnalogIn = 0x04,
    AnalogOut = 0x05,
    DiscreteIn = 0x02,
    DiscreteOut = 0x0C
};
uint8_t channelKind(ChannelGroup g);      // 03 for analog, 01 for discrete
size_t channelRecordSize(ChannelGroup g); // 7 for analog, 4 for discrete

// The version board 1 (the display panel) reports when no panel is fitted.
inline constexpr uint16_t kNoPanelVersion = 0xFFFF;
bool GetDeviceVersion(ZarnetLink& link, uint8_t board, uint8_t& type, uint16_t& version, uint8_t& build);
bool SendSessionKey(ZarnetLink& link, uint8_t key);
bool ChangeDeviceAddress(ZarnetLink& link, uint8_t newAddress);
bool ResetDevice(ZarnetLink& link);
bool GetDeviceStatus(ZarnetLink& link, uint8_t& status);
bool ReadReplyDelay(ZarnetLink& link, uint16_t& delay);
bool WriteReplyDelay(ZarnetLink& link, uint16_t delay);
// hour, minute, second, day, month, year - 2000
bool ReadDeviceClock(ZarnetLink& link, std::array<uint8_t, 6>& clock);
bool WriteDeviceClock(ZarnetLink& link, const std::array<uint8_t, 6>& clock);
bool ReadMemory(ZarnetLink& link, uint8_t* destination, uint32_t address, uint8_t count);
bool WriteMemory(ZarnetLink& link, const uint8_t* source, uint32_t address, uint8_t count);
// kind 1 or 2: an event (its data bytes copied, acknowledged at once); kind 0: the two bytes after
// the reply code. destination must hold kFrameBufferSize bytes; copied is the number written.
bool PollEvent(ZarnetLink& link, uint8_t* destination, uint8_t& kind, size_t* copied = nullptr);
bool AcknowledgeEvent(ZarnetLink& link);
// destination receives the byte at index 3 and then the channel records; copied is its length.
// destination must hold kFrameBufferSize bytes.
bool ReadChannels(ZarnetLink& link, ChannelGroup group, const std::vector<uint8_t>& channels,
                  uint8_t* destination, size_t* copied = nullptr);
bool SetOutputState(ZarnetLink& link, uint8_t output, uint8_t state);
bool SetOutputValue(ZarnetLink& link, uint8_t output, float value);
bool TransitSend(ZarnetLink& link, const std::vector<uint8_t>& inner);
bool TransitReadChannels(ZarnetLink& link, uint8_t slave, ChannelGroup group,
                         const std::vector<uint8_t>& channels);
bool TransitStatus(ZarnetLink& link, uint8_t& status);
inline constexpr uint8_t kTransitReady = 0x55;
// The slave's reply frame without CRC (inner address, length, code, one byte, data), bounded by the
// reply and by the destination (kFrameBufferSize bytes).
bool TransitFetch(ZarnetLink& link, uint8_t* destination, size_t* copied = nullptr);

// Composite operations over the transit commands (600 ms and 50 ms waits); their failures are
// reported through dialogs when given.
bool SlaveReadMemory(ZarnetLink& link, uint8_t slave, uint8_t* destination, uint32_t address, uint8_t count,
                     UserDialogs* dialogs);
bool SlaveWriteMemory(ZarnetLink& link, uint8_t slave, const uint8_t* source, uint32_t address, uint8_t count,
                      UserDialogs* dialogs);

} // namespace vextor
