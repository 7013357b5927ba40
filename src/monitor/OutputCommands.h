#pragma once
// The commands of the monitor's service menus on the link, synchronous: outputs of the controller
// and of the devices on its slave line, and single parameters of the running copy of the
// configuration.
#include <cstdint>
#include <optional>
#include <vector>

namespace vextor {
class ZarnetLink;
}

namespace vextor::monitor {

// The running copy of the configuration: image address a is device address kRunningCopyBase + a, and
// a write there takes effect at once.
inline constexpr uint32_t kRunningCopyBase = 65536;
inline constexpr uint32_t kHotWaterTemperatureAddress = kRunningCopyBase + 354; // PresetTempWaterHWP
inline constexpr uint32_t kHotWaterKPropAddress = kRunningCopyBase + 566;       // KProp of PID set 1
inline constexpr uint32_t kRunningSoundAddress = kRunningCopyBase + 443;        // SoundOn
inline constexpr int kConditionCount = 32;
// The set point (Notch) of condition n, 1..32: at 12 in the 16-byte record n - 1 from image address 620.
inline constexpr uint32_t conditionSetPointAddress(int n) {
    return kRunningCopyBase + 620 + 16u * static_cast<uint32_t>(n - 1) + 12;
}

// The slave command bytes of the two output panels: the slave's address, the set-output command, the
// output's number, then the state, or 128 and the voltage as a little-endian single.
inline constexpr uint8_t kSlaveSetOutput = 21;
inline constexpr uint8_t kSlaveValueFlag = 128;
std::vector<uint8_t> slaveOutputStateCommand(uint8_t slave, uint8_t output, bool on);
std::vector<uint8_t> slaveOutputValueCommand(uint8_t slave, uint8_t output, float volts);

// How a slave command went.
enum class SlaveCommandResult {
    Failed,   // the controller did not take it, or the slave's answer never came: an error to count
    Answered, // the answer came; accepted tells whether it echoed the output and its state
};
struct SlaveCommandOutcome {
    SlaveCommandResult result = SlaveCommandResult::Failed;
    bool accepted = false;
};
inline constexpr int kSlaveCommandWaitMs = 300;
inline constexpr int kSlaveCommandFetchMs = 20;
// Hands the command to the controller, waits 300 ms, asks whether the answer is there, waits 20 ms
// and fetches it.
SlaveCommandOutcome runSlaveCommand(ZarnetLink& link, const std::vector<uint8_t>& command);

// The parameters of the running copy, as singles.
bool writeRunningSingle(ZarnetLink& link, uint32_t address, float value);
std::optional<float> readRunningSingle(ZarnetLink& link, uint32_t address);
bool writeRunningSound(ZarnetLink& link, uint8_t soundOn);

} // namespace vextor::monitor
