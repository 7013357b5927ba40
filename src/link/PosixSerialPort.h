#pragma once
// SerialPort on termios + poll(): works on USB adapters and on pseudo-terminals alike.
#include "SerialPort.h"

namespace vextor {

class PosixSerialPort : public SerialPort {
public:
    explicit PosixSerialPort(PortRole role) : SerialPort(role) {}
    ~PosixSerialPort() override;

    uint32_t open(const QString& deviceName, const LineSettings& line) override;
    bool close() override;
    bool isOpen() const override { return fd_ >= 0; }
    QString deviceName() const override { return name_; }
    void purge() override;
    bool write(const uint8_t* data, size_t count) override;
    size_t read(uint8_t* data, size_t count) override;

    int users() const { return users_; }

private:
    uint32_t configure(const LineSettings& line);
    uint32_t fail(uint32_t bits, int err);

    int fd_ = -1;
    int users_ = 0;
    QString name_;
};

} // namespace vextor
