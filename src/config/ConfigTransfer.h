#pragma once
// Moving the whole configuration image between the configurator and the controller the link
// addresses: the 13-step read and the 12-section write. Both run on the calling thread (the line
// thread in the desktop program), pace their requests through vextor::sleepMs and show their
// progress through a TransferProgress.
//
// Each step is tried up to four times (the attempt number ends its step line). After a step has
// failed four times the transfer is marked failed, and every later step still runs exactly one
// attempt and keeps what it gets. Nothing is rolled back: blocks read successfully stay in the
// image, sections written successfully stay in the controller.
//
// Both expect the link to be open on the controller's address, and the caller to have checked that
// the controller's CfgVersion is 200 before reading.
#include "ConfigImage.h"
#include "ConfigObserver.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

namespace vextor {

class ZarnetLink;
class TransferProgress;

inline constexpr int kStepAttempts = 4;
// Every request of the transfer stays within this many data bytes.
inline constexpr uint32_t kConditionChunk = 64;

struct MemoryRange {
    uint32_t address;
    uint32_t count;
};

struct ReadStep {
    const char* text;
    MemoryRange range; // the condition block is read in chunks of kConditionChunk
    ConfigViews views; // what to refresh once the step succeeded
};

enum class WriteSection {
    Sensors,
    AnalogInOut,
    DiscreteInOut,
    SupplyVentilation,
    Heating,
    HotWater,
    Process,
    Recuperation,
    DriveControl,
    General,
    Conditions,
    Calendar,
};
inline constexpr int kWriteSectionCount = 12;

struct WriteStep {
    WriteSection section;
    const char* text;
    std::vector<MemoryRange> ranges; // written in this order
    bool versionMark;                // then 200, 0 to CfgVersion
};

const std::vector<ReadStep>& configurationReadPlan();
const std::vector<WriteStep>& configurationWritePlan();

// Asked before every request of a transfer: true ends the transfer there (the program is closing or
// the operation was cancelled). What was transferred until then stays; the transfer counts as failed.
using TransferStop = std::function<bool()>;

// Runs the read plan into image. observer (may be null) is told after each successful step which
// views to refill, and after the last step to select the first rows. True when every step
// succeeded.
bool readConfiguration(ZarnetLink& link, ConfigImage& image, TransferProgress& progress,
                       ConfigObserver* observer, const TransferStop& stop = {});

// A set of write sections: bit i stands for WriteSection i.
using WriteSections = uint32_t;
inline constexpr WriteSections kAllWriteSections = (1u << kWriteSectionCount) - 1;
inline constexpr WriteSections sectionBit(WriteSection s) {
    return 1u << static_cast<int>(s);
}

// Runs the write plan from image. sections picks the sections to write (all of them by default, as
// the project's write task does); a section left out is skipped without a request, and the progress
// bar still passes over it. True when every chosen section succeeded.
bool writeConfiguration(ZarnetLink& link, const ConfigImage& image, TransferProgress& progress,
                        WriteSections sections = kAllWriteSections, const TransferStop& stop = {});

// The bytes the write plan sends that a configuration file does not carry (TimeWorkPump, the
// protocol selector), in address order: a file written to a controller keeps the controller's own
// values there.
std::vector<MemoryRange> writtenRangesNotInFile();

// One attempt of one write section, with its pauses and version mark: what the configuration
// window's BtnSend...Click operations do. True when every write of the section was acknowledged.
bool writeSectionOnce(ZarnetLink& link, const ConfigImage& image, WriteSection section);

} // namespace vextor
