#pragma once
// What a long transfer (configuration read/write, event read) tells the person watching it: the
// progress window in the application, a line on stderr in the command-line tool.
#include <QString>

namespace vextor {

class TransferProgress {
public:
    virtual ~TransferProgress() = default;
    virtual void begin(const QString& title, int maximum) = 0;
    virtual void step(const QString& line) = 0;
    virtual void setPosition(int position) = 0;
    virtual void end() = 0;
};

class NullProgress final : public TransferProgress {
public:
    void begin(const QString&, int) override {}
    void step(const QString&) override {}
    void setPosition(int) override {}
    void end() override {}
};

} // namespace vextor
