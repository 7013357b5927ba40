#pragma once
// What the fuzz targets share: a serial port that answers from the fuzzer's bytes, a clock that
// never sleeps, dialogs that answer nothing, a scratch file for the readers that take a path, and
// the check that stops the run when an invariant breaks.
#include "link/Hooks.h"
#include "link/SerialPort.h"
#include "link/UserDialogs.h"

#include <QByteArray>
#include <QString>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace vextor::fuzz {

using Bytes = std::vector<uint8_t>;

// Aborts with the failed condition, so libFuzzer keeps the input that broke it.
[[noreturn]] void failed(const char* condition, const char* file, int line);
#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition))                                                                                    \
            ::vextor::fuzz::failed(#condition, __FILE__, __LINE__);                                          \
    } while (0)

// The fuzzer's bytes read front to back; past the end every read gives 0 or nothing.
class ByteSource {
public:
    ByteSource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    // A chunk whose length is given by the byte before it: how a scripted reply is cut out.
    Bytes chunk() {
        const size_t n = std::min<size_t>(byte(), size_ - pos_);
        Bytes out(data_ + pos_, data_ + pos_ + n);
        pos_ += n;
        return out;
    }
    Bytes rest() {
        Bytes out(data_ + pos_, data_ + size_);
        pos_ = size_;
        return out;
    }
    bool empty() const { return pos_ >= size_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// A port that answers each request with the next reply of a script, as a device on the line would.
// A read hands out at most the bytes asked for; what the reply lacks is silence. Every reply handed
// out is kept, so a target can compare what the link accepted with what was really on the line.
class ScriptedPort : public SerialPort {
public:
    ScriptedPort(PortRole role, std::vector<Bytes> replies)
        : SerialPort(role), replies_(std::move(replies)) {}

    uint32_t open(const QString& name, const LineSettings&) override {
        name_ = name;
        open_ = true;
        return PortOk;
    }
    bool close() override {
        const bool was = open_;
        open_ = false;
        return was;
    }
    bool isOpen() const override { return open_; }
    QString deviceName() const override { return name_; }
    void purge() override { pending_.clear(); }
    bool write(const uint8_t* data, size_t count) override;
    size_t read(uint8_t* data, size_t count) override;

    std::vector<Bytes> writes;  // every request
    std::vector<Bytes> answers; // the reply each request got, as scripted
    std::vector<Bytes> taken;   // the bytes of each reply the link really read

private:
    std::vector<Bytes> replies_;
    size_t next_ = 0;
    Bytes pending_;
    QString name_;
    bool open_ = false;
};

// The transfers' and the transit service's pauses cost nothing here.
class NoSleepClock : public Clock {
public:
    void sleepMs(int ms) override { now_ += ms; }
    int64_t nowMs() override { return now_; }

private:
    int64_t now_ = 0;
};
// Installs a NoSleepClock for the rest of the process.
void installNoSleepClock();

// No user: every question gets No / Cancel, messages are counted.
class SilentDialogs : public UserDialogs {
public:
    int messages = 0;
    void message(const QString&) override { ++messages; }
    bool askYesNo(const QString&, const QString& = {}) override { return false; }
    Answer askYesNoCancel(const QString&, const QString& = {}) override { return Answer::Cancel; }
    std::optional<QString> inputText(const QString&, const QString&, const QString&) override { return {}; }
    QString openFile(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFile(const QString&, const QString&, const QString&, const QString&, bool = true) override {
        return {};
    }
};

// A file of the given bytes in a folder of the process's own (removed at exit); the same path
// each time, so the readers that take a path read the fuzzer's bytes from the disk.
QString scratchFile(const char* name, const uint8_t* data, size_t size);
QString scratchFolder();

} // namespace vextor::fuzz
