#pragma once
// SerialPort on termios + poll(): works on USB adapters and on pseudo-terminals alike.
#include "SerialPort.h"

#include <QByteArray>
#include <sys/types.h>

namespace vextor {

// Which device a descriptor reaches, whatever path named it.
struct DeviceKey {
    dev_t device = 0;
    ino_t inode = 0;
    QByteArray network; // "tcp://HOST:PORT" for a line over the network, else empty
};

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
    // A descriptor of the device: a duplicate of the one this process already holds, or a fresh
    // open under an exclusive advisory lock (refused with EBUSY while another process holds it).
    static int acquire(const QByteArray& path, DeviceKey& key, int& err);
    // A connection to a line over the network, shared by both ports like a device.
    static int acquireNetwork(const QString& name, DeviceKey& key, int& err, QString& reason);
    uint32_t configure(const LineSettings& line);
    uint32_t fail(uint32_t bits, int err);

    int fd_ = -1;
    int users_ = 0;
    DeviceKey key_;
    QString name_;
    bool network_ = false;
    int networkLatencyMs_ = 0; // added to every wait for a reply over the network
};

} // namespace vextor
