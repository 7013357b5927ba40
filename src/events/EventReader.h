#pragma once
// Reads the controller's event log, one 9-byte record per memory read, into an event file. The
// file is a byte-exact copy of the device's event region, slot 0 first; nothing is interpreted
// while reading. The link must already be up: the reader never opens or closes the port.
#include <QString>
#include <functional>

namespace vextor {
class ZarnetLink;
class TransferProgress;
} // namespace vextor

namespace vextor::events {

// A slot is requested at most this many times (one request and five repeats).
inline constexpr int kRequestsPerSlot = 6;

// The fast read asks for this many records at once: 243 bytes, within the 251 a memory read may
// carry in one frame.
inline constexpr int kFastRecordsPerRequest = 27;
// A range of the fast read is requested at most this many times before its records are read one by
// one, each with the per-slot rule above.
inline constexpr int kFastRequestsPerRange = 2;

enum class EventReadMode {
    PerRecord, // one record per request
    Fast,      // ranges of up to 27 records per request; the file comes out the same
};

enum class EventReadPacing {
    DeviceWindow, // a 10 ms pause after each slot read; the bar runs 1..682
    ProjectTask,  // a 20 ms pause before every request; the gauge shows k
};

enum class EventReadStatus {
    Complete,  // all 682 records are in the file
    GaveUp,    // a slot did not answer to six requests; the records before it are in the file
    FileError, // the file could not be created, written or replaced; errorText says why
};

struct EventReadResult {
    EventReadStatus status = EventReadStatus::Complete;
    int recordsRead = 0;       // records received from the device
    int failedSlot = -1;       // the slot that never answered (GaveUp)
    bool fileReplaced = false; // the target file now holds exactly the records read: show it
    bool stopped = false;      // ended early on request (GaveUp); the records before are kept
    bool abandoned = false;    // ended early on abandonRequested (GaveUp); nothing was kept
    QString errorText;         // the file layer's reason (FileError)

    bool ok() const { return status == EventReadStatus::Complete; }
};

// What the two progress windows show besides the bar: the device window's record counter (set to
// the slot just stored) and the information window's repeat count of the slot being requested.
struct EventReadListener {
    std::function<void(int slot)> recordCounter;
    std::function<void(int repeats)> repeatCount;
    // Asked before every request: true ends the read there, as if the slot had not answered, so the
    // records read so far still replace the file (the program is being closed).
    std::function<bool()> stopRequested;
    // Asked before every request too: true ends the read there and keeps nothing, the file stays as
    // it was (the read was for a controller the engineer no longer works with).
    std::function<bool()> abandonRequested;
};

// The title of the progress for each pacing.
QString eventReadTitle(EventReadPacing pacing);

// Reads all 682 slots into path. The records go to a temporary file beside the target, which
// replaces the target only at the end: after a complete read, or after giving up with at least one
// record. A read that got nothing, an abandoned read and any file error leave an existing file as it
// was. The progress gets the title, the bar and, as its step line, the counter (device window) or
// "Количество перезапросов  " + repeats (project task).
//
// The fast mode asks for whole ranges of records. A range that does not answer to two requests is
// read record by record as above, so a slot that never answers ends the read at the same record and
// the file holds the same bytes either way. The pauses go with each request (task pacing) or after
// each range read (device pacing).
EventReadResult readEventLog(ZarnetLink& link, const QString& path, EventReadPacing pacing,
                             TransferProgress& progress, const EventReadListener& listener = {},
                             EventReadMode mode = EventReadMode::PerRecord);

// What the caller tells the engineer afterwards; empty when nothing is to be said. The device window
// shows "5 безуспешных попыток прочитать..." on giving up and says nothing after a complete read;
// the project task reports either way. A file error is told with the file layer's own reason.
QString eventReadMessage(const EventReadResult& result, EventReadPacing pacing);

} // namespace vextor::events
