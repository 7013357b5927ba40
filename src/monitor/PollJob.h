#pragma once
// The live monitor on the line. The window keeps one PollerSession for the program's run (the
// cycle's place, the sample counter and the values survive a "Стоп"), and at every "Старт" hands the
// line a periodic job made by pollJob():
//
//     session->setSettings(settings);            // the ticks and the trace scales, any time
//     ticket = worker.submitPeriodic<MonitorRecord>(TaskTurn::Visual, pollJob(session),
//                                                   [&](std::vector<MonitorRecord> records) {...},
//                                                   [&](JobOutcome) {...});
//     worker.cancel(ticket);                     // "Стоп"
//
// In its turn of every tick the job runs what is left of the cycle and hands over one MonitorRecord;
// the window gets them in order, in batches. The line runs the job only while the marked controller
// answers; a cancelled job ends after its current step.
#include "MonitorRecord.h"
#include "PollSettings.h"
#include "Poller.h"
#include "line/LineTypes.h"

#include <functional>
#include <memory>
#include <mutex>

namespace vextor::monitor {

// The poller shared by the window and the line thread.
class PollerSession {
public:
    explicit PollerSession(PollSettings settings = {}) : settings_(settings), poller_(settings) {}

    // Any thread: the next turn polls what the settings say.
    void setSettings(const PollSettings& settings);
    PollSettings settings() const;

    // Line thread: the monitor's turn of a tick. fresh: the first turn after a "Старт".
    MonitorRecord runTick(ZarnetLink& link, const std::function<bool()>& keepGoing, bool fresh);

private:
    mutable std::mutex settingsMutex_;
    PollSettings settings_;
    // Held while a turn runs: the job of a "Старт" that follows a "Стоп" at once waits for the turn
    // of the cancelled job to end.
    std::mutex pollerMutex_;
    Poller poller_;
};

using PollJobStep = std::function<JobStep(LineAccess&, const std::function<void(MonitorRecord)>&)>;

// The periodic job of one run of the monitor, from "Старт" until its ticket is cancelled.
PollJobStep pollJob(std::shared_ptr<PollerSession> session);

} // namespace vextor::monitor
