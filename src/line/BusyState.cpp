#include "BusyState.h"

#include <algorithm>
#include <utility>

namespace vextor {
namespace {

int g_depth = 0;

std::function<void(bool)>& listener() {
    static std::function<void(bool)> l;
    return l;
}

void notify(bool busy) {
    if (listener())
        listener()(busy);
}

} // namespace

bool BusyState::busy() {
    return g_depth > 0;
}

void BusyState::setListener(std::function<void(bool)> l) {
    listener() = std::move(l);
}

BusyGuard::BusyGuard() {
    if (g_depth++ == 0)
        notify(true);
}

BusyGuard::~BusyGuard() {
    if (--g_depth == 0)
        notify(false);
}

void LineBusyFollower::submitted(JobTicket ticket) {
    newest_ = std::max(newest_, ticket);
    busy_ = true;
}

bool LineBusyFollower::lineSaid(bool busy, JobTicket upTo) {
    if (!busy && upTo < newest_)
        return false;
    return std::exchange(busy_, busy) != busy;
}

} // namespace vextor
