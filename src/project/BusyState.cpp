#include "BusyState.h"

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

} // namespace vextor
