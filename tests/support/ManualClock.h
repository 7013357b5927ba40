#pragma once
// A clock for unit tests: sleeps only advance a counter and are recorded, so paced transfers run
// at once and their pauses can be asserted.
#include "link/Hooks.h"

#include <vector>

namespace vextor::testing {

class ManualClock : public Clock {
public:
    ManualClock() { setClock(this); }
    ~ManualClock() override { setClock(nullptr); }
    void sleepMs(int ms) override {
        sleeps.push_back(ms);
        now += ms;
    }
    int64_t nowMs() override { return now; }
    std::vector<int> sleeps;
    int64_t now = 0;
};

} // namespace vextor::testing
