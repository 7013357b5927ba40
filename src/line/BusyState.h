#pragma once
// The one "an operation runs on the line" state of the windows (their thread only). The main window
// holds it from the moment the user queues a transfer, an event read or a service command until the
// line has finished it; a routine identification tick never holds it. Meanwhile the windows disable
// or refuse whatever would replace the project or the configuration image under that operation.
#include "LineTypes.h"

#include <functional>

namespace vextor {

class BusyState {
public:
    static bool busy();
    // Told on every change between idle and busy (true: busy now).
    static void setListener(std::function<void(bool)> listener);
};

// Holds the busy state for its lifetime; guards nest.
class BusyGuard {
public:
    BusyGuard();
    ~BusyGuard();
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;
};

// The window's side of the line's busy state: busy from the moment the window submits a user's job
// until the line says it is idle after it had taken in every job the window submitted. The line's
// word travels behind the window's newer submissions, so an idle told before the line took the newest
// job is stale and changes nothing.
class LineBusyFollower {
public:
    void submitted(JobTicket ticket);
    // The line's word; true when the window's busy state changed.
    bool lineSaid(bool busy, JobTicket upTo);
    bool busy() const { return busy_; }

private:
    JobTicket newest_ = 0;
    bool busy_ = false;
};

} // namespace vextor
