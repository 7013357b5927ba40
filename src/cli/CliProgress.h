#pragma once
// Progress of a long transfer on stderr: the step line and the percent, one line per change.
#include "link/TransferProgress.h"

namespace vextor::cli {

class CliProgress : public TransferProgress {
public:
    explicit CliProgress(bool enabled) : enabled_(enabled) {}
    void begin(const QString& title, int maximum) override;
    void step(const QString& line) override;
    void setPosition(int position) override;
    void end() override;

private:
    void print();
    bool enabled_;
    int maximum_ = 100;
    int position_ = 0;
    int lastPercent_ = -1;
    QString step_;
};

} // namespace vextor::cli
