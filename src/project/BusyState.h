#pragma once
// The one "the line is in use" state of the program. A task tick, a configuration transfer, an event
// read and a device-window command hold it while they run; because they let pending window events
// run, the windows check it and refuse or disable whatever would start a second user of the line or
// replace the project or the configuration image under the running operation.
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
