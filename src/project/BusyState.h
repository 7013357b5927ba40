#pragma once
// The one "an operation runs on the line" state of the windows (their thread only). The main window
// holds it from the moment the user queues a transfer, an event read or a service command until the
// line has finished it; a routine identification tick never holds it. Meanwhile the windows disable
// or refuse whatever would replace the project or the configuration image under that operation.
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

} // namespace vextor
