#pragma once
// A scripted serial port: records every write, answers reads from queued replies. A reply is
// handed out when the next write happens (as a device answers a request); reads take bytes from
// the pending reply and never block.
#include "link/SerialPort.h"

#include <deque>
#include <functional>
#include <vector>

namespace vextor::testing {

using Bytes = std::vector<uint8_t>;

class FakeSerialPort : public SerialPort {
public:
    explicit FakeSerialPort(PortRole role = PortRole::Zarnet) : SerialPort(role) {}

    // Replies, one per request, in order. An empty reply means silence.
    std::deque<Bytes> replies;
    // Alternatively a responder computes the reply from the request.
    std::function<Bytes(const Bytes& request)> responder;

    std::vector<Bytes> writes; // every request as written
    int purges = 0;
    bool openResult = true;

    uint32_t open(const QString& name, const LineSettings& line) override;
    bool close() override;
    bool isOpen() const override { return open_; }
    QString deviceName() const override { return name_; }
    void purge() override;
    bool write(const uint8_t* data, size_t count) override;
    size_t read(uint8_t* data, size_t count) override;

    LineSettings line;

private:
    bool open_ = false;
    QString name_;
    Bytes pending_;
};

// Appends the Zarnet CRC to a frame.
Bytes withZarnetCrc(Bytes frame);
// A reply frame: address, length, code, data..., CRC.
Bytes zarnetReply(uint8_t address, uint8_t code, const Bytes& data = {});

} // namespace vextor::testing
