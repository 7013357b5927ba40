#include "SimClock.h"

#include <chrono>

namespace vextor::sim {

using namespace std::chrono;

namespace {
constexpr int64_t kSecondsPerDay = 86400;

int64_t floorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}
} // namespace

bool isValidDateTime(const DeviceDateTime& t) {
    if (t.year < 2000 || t.year > 2099 || t.month < 1 || t.month > 12 || t.day < 1)
        return false;
    const year_month_day ymd{year{t.year}, month{static_cast<unsigned>(t.month)},
                             day{static_cast<unsigned>(t.day)}};
    return ymd.ok() && t.hour >= 0 && t.hour < 24 && t.minute >= 0 && t.minute < 60 && t.second >= 0 &&
           t.second < 60;
}

SimClock::SimClock(const DeviceDateTime& start, int64_t nowMs)
    : baseSeconds_(toSeconds(start)), baseMs_(nowMs) {}

DeviceDateTime SimClock::at(int64_t nowMs) const {
    return fromSeconds(baseSeconds_ + floorDiv(nowMs - baseMs_, 1000));
}

bool SimClock::set(const DeviceDateTime& t, int64_t nowMs) {
    if (!isValidDateTime(t))
        return false;
    baseSeconds_ = toSeconds(t);
    baseMs_ = nowMs;
    return true;
}

int64_t SimClock::toSeconds(const DeviceDateTime& t) {
    const sys_days d =
        year{t.year} / month{static_cast<unsigned>(t.month)} / day{static_cast<unsigned>(t.day)};
    return static_cast<int64_t>(d.time_since_epoch().count()) * kSecondsPerDay + t.hour * 3600 +
           t.minute * 60 + t.second;
}

DeviceDateTime SimClock::fromSeconds(int64_t seconds) {
    const int64_t days = floorDiv(seconds, kSecondsPerDay);
    const int64_t rest = seconds - days * kSecondsPerDay;
    const year_month_day ymd{sys_days{std::chrono::days{days}}};
    DeviceDateTime t;
    t.year = static_cast<int>(ymd.year());
    t.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    t.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
    t.hour = static_cast<int>(rest / 3600);
    t.minute = static_cast<int>(rest / 60 % 60);
    t.second = static_cast<int>(rest % 60);
    return t;
}

} // namespace vextor::sim
