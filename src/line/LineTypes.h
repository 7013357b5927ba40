#pragma once
// The values the windows and the line exchange, without the thread machinery: what a window, the
// device logic or the live monitor includes to hand work to the line and to read its answers.
//
// Work goes to the line as jobs. A job runs on the line thread with the link and the Modbus master
// (LineAccess) and ends with a value; there are three kinds:
//   - a job in a tick's turn runs on the marked controller, after its identification, in the turn
//     its TaskTurn gives (the task loop's own tasks and the service page's operations);
//   - a direct job runs between ticks on a port and an address of its own (the device window);
//   - a periodic job runs in its turn of every tick until it is cancelled, and its samples reach the
//     window in batches (the live monitor).
// Every submit returns a ticket that cancels the job. Jobs never replace each other: two jobs of
// one turn both run, in the order they were submitted.
#include "link/SerialPort.h"
#include "project/DeviceRecord.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

namespace vextor {

class ModbusMaster;
class ZarnetLink;

// The marked controller as the line needs it; the window sends it whenever it changes.
struct LineTarget {
    int markCode = 0; // 0: nothing marked
    int portNumber = 1;
    uint8_t protocol = 0;
    uint8_t zarnetAddress = 0;
    uint8_t modbusAddress = 0;
    uint8_t mbParams = 0;
    QString eventsFile; // the marked controller's event file, where an event read writes
    bool operator==(const LineTarget&) const = default;
};

// What the status bar and the link statistics show of the line.
struct LineStatus {
    int markCode = 0; // the mark this state belongs to
    bool linkUp = false;
    QString versionPanel; // status panel 3: empty without a link
    uint32_t identFailures = 0;
    // What the ports' drivers gave of their low-latency mode at the last open.
    LowLatency zarnetLatency = LowLatency::Unknown;
    LowLatency modbusLatency = LowLatency::Unknown;
    bool operator==(const LineStatus&) const = default;
};

// The turns of a tick, in the order a tick runs them.
enum class TaskTurn : uint8_t {
    SwitchToZarnet,
    Reset,
    ReadClock,
    WriteClock,
    ReadReplyDelay,
    WriteReplyDelay,
    WriteZarnetAddress,
    ReadModbusParams,
    WriteModbusParams,
    Sound,
    ReadConfig,
    WriteConfig,
    ReadEvents,
    Visual,
    SwitchToModbus,
};

// The task loop's own tasks, each in the turn of the same name (the fast event read in the event
// read's turn).
enum class LineTask {
    ReadConfig,
    WriteConfig,
    ReadEvents,
    ReadEventsFast,
    Reset,
    SwitchToModbus,
    SwitchToZarnet
};
TaskTurn turnOf(LineTask task);

// A job's number, unique in the run; 0 is no job. Tickets grow in the order of submission.
using JobTicket = uint64_t;
JobTicket newJobTicket(); // thread-safe

enum class JobOutcome {
    Ran,       // the job ran to its end
    Failed,    // it threw; the error says what
    Dropped,   // it never ran: the queue was cleared, the program closed, the mark went
    Cancelled, // its ticket was cancelled before it ran, or while it ran (a periodic job)
    NoPort,    // a direct job whose port could not be opened; the error says why
};

// What a job says when its function returns: done, or again in the next tick's turn.
enum class JobStep { Done, Again };

// What a job works with on the line thread: the link and the Modbus master on the open port.
struct LineAccess {
    ZarnetLink& link;
    ModbusMaster& modbus;
    // True once the job's ticket was cancelled or the program is closing: a long job ends at its next
    // step.
    std::function<bool()> stopRequested;
    bool stopping() const { return stopRequested && stopRequested(); }
};

// A controller's link settings as a device record keeps them.
struct DeviceLink {
    uint8_t zarnetAddress = 1;
    uint8_t modbusAddress = 1;
    uint8_t mbParams = 0;
    bool operator==(const DeviceLink&) const = default;
};

// Where a direct job works: a port and a controller of its own rather than the marked one.
struct DirectTarget {
    int portNumber = 1;
    uint8_t protocol = kProtocolZarnet;
    uint8_t zarnetAddress = 1;
    uint8_t modbusAddress = 1;
    uint8_t mbParams = 0;
};

// How a job ended, with its value when it ran.
template <class R> struct JobResult {
    JobOutcome outcome = JobOutcome::Dropped;
    std::optional<R> value;
    QString error;
    bool ran() const { return outcome == JobOutcome::Ran && value.has_value(); }
};

} // namespace vextor
