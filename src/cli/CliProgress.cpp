#include "CliProgress.h"

#include <cstdio>

namespace vextor::cli {

void CliProgress::begin(const QString& title, int maximum) {
    maximum_ = maximum > 0 ? maximum : 1;
    position_ = 0;
    lastPercent_ = -1;
    if (enabled_)
        std::fprintf(stderr, "%s\n", title.trimmed().toUtf8().constData());
}

void CliProgress::step(const QString& line) {
    if (line == step_)
        return;
    step_ = line;
    lastPercent_ = -1;
    print();
}

void CliProgress::setPosition(int position) {
    position_ = position;
    print();
}

void CliProgress::print() {
    if (!enabled_)
        return;
    const int percent = position_ * 100 / maximum_;
    if (percent == lastPercent_)
        return;
    lastPercent_ = percent;
    std::fprintf(stderr, "%3d%%  %s\n", percent, step_.trimmed().toUtf8().constData());
}

void CliProgress::end() {
    if (enabled_)
        std::fflush(stderr);
}

} // namespace vextor::cli
