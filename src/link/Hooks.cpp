#include "Hooks.h"

#include <chrono>
#include <thread>

namespace vextor {
namespace {

class SystemClock final : public Clock {
public:
    void sleepMs(int ms) override {
        if (ms > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
    int64_t nowMs() override {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
};

Clock* g_clock = nullptr;

} // namespace

Clock& systemClock() {
    static SystemClock c;
    return c;
}

Clock& clock() {
    return g_clock ? *g_clock : systemClock();
}
void setClock(Clock* c) {
    g_clock = c;
}

} // namespace vextor
