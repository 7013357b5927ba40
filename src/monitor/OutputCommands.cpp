#include "OutputCommands.h"

#include "link/Hooks.h"
#include "link/NumericConversions.h"
#include "link/ZarnetCommands.h"
#include "link/ZarnetLink.h"

#include <array>
#include <cstring>

namespace vextor::monitor {

std::vector<uint8_t> slaveOutputStateCommand(uint8_t slave, uint8_t output, bool on) {
    return {slave, kSlaveSetOutput, output, static_cast<uint8_t>(on ? 1 : 0)};
}

std::vector<uint8_t> slaveOutputValueCommand(uint8_t slave, uint8_t output, float volts) {
    uint8_t v[4];
    std::memcpy(v, &volts, 4); // the controller's byte order is the little-endian of this machine
    return {slave, kSlaveSetOutput, output, kSlaveValueFlag, v[0], v[1], v[2], v[3]};
}

SlaveCommandOutcome runSlaveCommand(ZarnetLink& link, const std::vector<uint8_t>& command) {
    SlaveCommandOutcome outcome;
    if (command.size() < 4 || !TransitSend(link, command))
        return outcome;
    sleepMs(kSlaveCommandWaitMs);
    uint8_t status = 0;
    if (!TransitStatus(link, status) || status != kTransitReady)
        return outcome;
    sleepMs(kSlaveCommandFetchMs);
    std::array<uint8_t, kFrameBufferSize> answer{};
    size_t length = 0;
    if (!TransitFetch(link, answer.data(), &length))
        return outcome;
    outcome.result = SlaveCommandResult::Answered;
    // The slave's frame: its address, the length, the reply code, then the output and its state (or
    // 128) as they were sent.
    outcome.accepted =
        length >= 5 && answer[0] == command[0] && answer[3] == command[2] && answer[4] == command[3];
    return outcome;
}

bool writeRunningSingle(ZarnetLink& link, uint32_t address, float value) {
    uint8_t bytes[4];
    floatToImage(value, bytes);
    return WriteMemory(link, bytes, address, 4);
}

std::optional<float> readRunningSingle(ZarnetLink& link, uint32_t address) {
    uint8_t bytes[4];
    if (!ReadMemory(link, bytes, address, 4))
        return std::nullopt;
    return floatFromImage(true, bytes);
}

bool writeRunningSound(ZarnetLink& link, uint8_t soundOn) {
    return WriteMemory(link, &soundOn, kRunningSoundAddress, 1);
}

} // namespace vextor::monitor
