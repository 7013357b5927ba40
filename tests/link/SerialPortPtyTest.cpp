// The serial layer on real pseudo-terminals: time-outs, partial frames, and a Modbus peer that
// nobody here wrote.
#include "link/Hooks.h"
#include "link/ModbusMaster.h"
#include "link/PosixSerialPort.h"
#include "link/ZarnetCommands.h"
#include "support/FakeSerialPort.h"
#include "support/Pty.h"

#include <gtest/gtest.h>
#include <modbus.h>

#include <QDir>
#include <QFileInfo>
#include <atomic>
#include <fcntl.h>
#include <set>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace vextor;
using namespace vextor::testing;

namespace {
int64_t elapsedMs(const std::function<void()>& f) {
    const int64_t t0 = systemClock().nowMs();
    f();
    return systemClock().nowMs() - t0;
}
} // namespace

TEST(PosixSerialPort, OpenCloseAndNames) {
    EXPECT_EQ(ComPortName(9), "COM9");
    EXPECT_EQ(ComPortName(10), "\\\\.\\COM10");

    PosixSerialPort zarnet(PortRole::Zarnet), modbus(PortRole::Modbus);
    EXPECT_EQ(zarnet.open("/dev/does-not-exist", {}), 1u);
    EXPECT_EQ(zarnet.openFailure(), OpenFailure::NotFound);
    EXPECT_FALSE(zarnet.isOpen());
    EXPECT_EQ(modbus.open("/dev/does-not-exist", {}), 128u);
    EXPECT_EQ(zarnet.open("/dev/null", {}), 1u); // not a terminal: the settings cannot be read
    EXPECT_EQ(zarnet.openFailure(), OpenFailure::NotSerial);
    EXPECT_FALSE(zarnet.isOpen()); // the failed open released the device

    Pty pty;
    EXPECT_EQ(zarnet.lowLatency(), LowLatency::Unknown);
    // A driver without the low-latency mode (a pseudo-terminal) opens all the same and says so.
    ASSERT_EQ(zarnet.open(pty.slavePath(), {}), 0u);
    EXPECT_EQ(zarnet.lowLatency(), LowLatency::Unsupported);
    EXPECT_EQ(zarnet.open(pty.slavePath(), {}), 0u); // a second user joins the open handle
    Pty other;
    EXPECT_EQ(zarnet.open(other.slavePath(), {}), 1u); // never overwrites a live handle
    EXPECT_TRUE(zarnet.isOpen());
    EXPECT_TRUE(zarnet.close());
    EXPECT_TRUE(zarnet.isOpen());
    EXPECT_TRUE(zarnet.close());
    EXPECT_FALSE(zarnet.isOpen());
    EXPECT_FALSE(zarnet.close());
}

// A pseudo-terminal carries bytes, not bits: its driver refuses parity from the second setting on.
// A Modbus line with parity must still open on it every tick, and carry the bytes.
TEST(PosixSerialPort, ParityOnAPseudoTerminalOpensEveryTime) {
    Pty pty;
    for (uint8_t parity : {uint8_t(2), uint8_t(1), uint8_t(2)}) {
        for (int tick = 0; tick < 3; ++tick) {
            PosixSerialPort port(PortRole::Modbus);
            ASSERT_EQ(port.open(pty.slavePath(), LineSettings{9600, parity, 0}), PortOk)
                << "parity " << int(parity) << " tick " << tick << ": "
                << port.openFailureText().toStdString();
            const uint8_t byte = 0x5A;
            ASSERT_TRUE(port.write(&byte, 1));
            EXPECT_EQ(pty.readRequest(300), std::vector<uint8_t>{0x5A});
            port.close();
        }
    }
}

TEST(PosixSerialPort, PermissionDeniedIsToldApart) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root opens everything";
    Pty pty;
    ASSERT_EQ(::chmod(pty.slavePath().toLocal8Bit().constData(), 0), 0);
    PosixSerialPort port(PortRole::Zarnet);
    EXPECT_EQ(port.open(pty.slavePath(), {}), 1u);
    EXPECT_EQ(port.openFailure(), OpenFailure::PermissionDenied);
    EXPECT_TRUE(describeOpenFailure(port, pty.slavePath()).contains("dialout"));
}

TEST(PosixSerialPort, ReadTimeoutModel) {
    Pty pty;
    PosixSerialPort port(PortRole::Zarnet);
    ASSERT_EQ(port.open(pty.slavePath(), {}), 0u);
    ZarnetLink link(&port);

    // A silent controller costs about constant + multiplier x 2.
    uint8_t status = 0;
    const int64_t silent = elapsedMs([&] { EXPECT_FALSE(GetDeviceStatus(link, status)); });
    EXPECT_EQ(link.LastError, 512u);
    EXPECT_GE(silent, 690);
    EXPECT_LT(silent, 1500);

    // A reply that stops mid-frame fails once the interval has passed, well before the total.
    std::jthread peer([&] {
        pty.readRequest();
        Bytes frame = zarnetReply(1, 0x1A, {0x00});
        frame.pop_back();
        pty.send(frame);
    });
    const int64_t partial = elapsedMs([&] { EXPECT_FALSE(GetDeviceStatus(link, status)); });
    peer.join();
    EXPECT_EQ(link.LastError, 512u);
    EXPECT_LT(partial, 690);

    // A whole reply arrives at once.
    std::jthread good([&] {
        pty.readRequest();
        pty.send(zarnetReply(1, 0x1A, {0x42}));
    });
    EXPECT_TRUE(GetDeviceStatus(link, status));
    good.join();
    EXPECT_EQ(status, 0x42);
}

TEST(PosixSerialPort, ModbusReplyIsTakenWholeAfterThePause) {
    Pty pty;
    PosixSerialPort port(PortRole::Modbus);
    ASSERT_EQ(port.open(pty.slavePath(), modbusLineSettings(0x01)), 0u);
    ModbusMaster master(&port);
    Bytes reply{0x01, 0x03, 0x06, 0x00, 0x20, 0x00, 0xC9, 0x00, 0x00};
    const uint16_t crc = ModbusCrc16(reply.data(), reply.size());
    reply.push_back(crc & 0xFF);
    reply.push_back(crc >> 8);
    std::jthread peer([&] {
        pty.readRequest();
        // in two pieces with a gap shorter than the 20 ms interval
        pty.send(Bytes(reply.begin(), reply.begin() + 4));
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        pty.send(Bytes(reply.begin() + 4, reply.end()));
    });
    uint8_t out[256];
    uint8_t length = 0;
    const auto req = modbusIdentifyRequest(1);
    EXPECT_TRUE(master.ModbusExchange(req.data(), 6, out, length));
    peer.join();
    EXPECT_EQ(length, reply.size());
    EXPECT_EQ(out[4], 0x20);
}

// A Modbus RTU server from an independent library, on the far end of a null-modem pty pair.
TEST(ModbusMaster, AgainstAnIndependentRtuServer) {
    PtyBridge cable;
    std::atomic<int> lastWrite{-1};
    // Declared after everything it uses, so that it is stopped and joined first on every way out
    // of the test, a failed assertion included.
    std::jthread server([&](std::stop_token stop) {
        modbus_t* ctx = modbus_new_rtu(cable.pathA().toLocal8Bit().constData(), 9600, 'N', 8, 1);
        ASSERT_NE(ctx, nullptr);
        modbus_set_slave(ctx, 1);
        ASSERT_EQ(modbus_connect(ctx), 0);
        modbus_mapping_t* map = modbus_mapping_new_start_address(0, 0, 0, 0, 60000, 4, 0, 0);
        map->tab_registers[1] = 0x0020; // type
        map->tab_registers[2] = 201;    // firmware
        map->tab_registers[3] = 105;    // panel
        modbus_set_response_timeout(ctx, 0, 100000);
        uint8_t query[MODBUS_RTU_MAX_ADU_LENGTH];
        while (!stop.stop_requested()) {
            struct timeval tv {
                0, 100000
            };
            modbus_set_indication_timeout(ctx, tv.tv_sec, tv.tv_usec);
            const int rc = modbus_receive(ctx, query);
            if (rc > 0) {
                modbus_reply(ctx, query, rc, map);
                lastWrite = map->tab_registers[0];
            }
        }
        modbus_mapping_free(map);
        modbus_close(ctx);
        modbus_free(ctx);
    });

    PosixSerialPort port(PortRole::Modbus);
    ASSERT_EQ(port.open(cable.pathB(), modbusLineSettings(0x01)), 0u);
    port.setTimeouts({20, 300, 1});
    ModbusMaster master(&port);
    uint8_t reply[256];
    uint8_t length = 0;

    const auto id = modbusIdentifyRequest(1);
    ASSERT_TRUE(master.ModbusExchange(id.data(), 6, reply, length));
    EXPECT_EQ(reply[1], 0x03);
    EXPECT_EQ(reply[4], 0x20);
    EXPECT_EQ(reply[6], 201);
    EXPECT_EQ(reply[8], 105);

    const auto sw = modbusSwitchToZarnetRequest(1);
    ASSERT_TRUE(master.ModbusExchange(sw.data(), 6, reply, length));
    EXPECT_EQ(reply[1], 0x06);
    EXPECT_EQ(lastWrite.load(), 0x55AA);

    // A register outside the map gives an exception reply: it passes the exchange and fails the
    // caller's function-code check.
    const uint8_t outside[6] = {0x01, 0x03, 0x00, 0x10, 0x00, 0x01};
    ASSERT_TRUE(master.ModbusExchange(outside, 6, reply, length));
    EXPECT_NE(reply[1], outside[1]);
    EXPECT_EQ(reply[1], 0x83);
}

namespace {

// Whether a process other than this one could take the advisory lock on the device now.
bool lockableByAnotherProcess(const QString& path) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        _exit(fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

int exclusiveMode(int fd) {
    int on = -1;
    return ::ioctl(fd, TIOCGEXCL, &on) == 0 ? on : -1;
}

} // namespace

// The program's two ports may hold one device at once (they share its descriptor and lock); while
// either holds it, another process cannot lock it.
TEST(PosixSerialPort, BothPortsShareADeviceThatOthersCannotLock) {
    Pty pty;
    PosixSerialPort zarnet(PortRole::Zarnet), modbus(PortRole::Modbus);
    EXPECT_TRUE(lockableByAnotherProcess(pty.slavePath()));
    ASSERT_EQ(zarnet.open(pty.slavePath(), {}), 0u);
    ASSERT_EQ(modbus.open(pty.slavePath(), {9600, 0, 0}), 0u);
    EXPECT_FALSE(lockableByAnotherProcess(pty.slavePath()));
    const uint8_t a[] = {1, 2}, b[] = {3};
    ASSERT_TRUE(zarnet.write(a, 2));
    ASSERT_TRUE(modbus.write(b, 1));
    EXPECT_EQ(pty.readRequest(), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_TRUE(zarnet.close());
    EXPECT_FALSE(lockableByAnotherProcess(pty.slavePath()));
    pty.send({7});
    uint8_t got = 0;
    EXPECT_EQ(modbus.read(&got, 1), 1u);
    EXPECT_EQ(got, 7);
    EXPECT_TRUE(modbus.close());
    EXPECT_TRUE(lockableByAnotherProcess(pty.slavePath()));
}

// Exclusive mode is cleared on close only when this program set it.
TEST(PosixSerialPort, ExclusiveModeOfOthersIsLeftOn) {
    Pty pty;
    const int other = ::open(pty.slavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(other, 0);
    if (exclusiveMode(other) < 0) {
        ::close(other);
        GTEST_SKIP() << "the driver cannot tell its exclusive mode";
    }
    PosixSerialPort port(PortRole::Zarnet);
    ASSERT_EQ(port.open(pty.slavePath(), {}), 0u);
    EXPECT_EQ(exclusiveMode(other), 1);
    EXPECT_TRUE(port.close());
    EXPECT_EQ(exclusiveMode(other), 0); // ours: cleared

    ASSERT_EQ(::ioctl(other, TIOCEXCL), 0);
    if (::geteuid() != 0) {
        EXPECT_NE(port.open(pty.slavePath(), {}), 0u); // the other program's mode keeps us out
    } else {
        ASSERT_EQ(port.open(pty.slavePath(), {}), 0u);
        EXPECT_TRUE(port.close());
    }
    EXPECT_EQ(exclusiveMode(other), 1); // theirs: left on
    ::ioctl(other, TIOCNXCL);
    ::close(other);
}

// A close that the system reports as failed still forgets the descriptor: the port is closed and
// opens again.
TEST(PosixSerialPort, FailedCloseForgetsTheDescriptor) {
    Pty pty;
    auto descriptorsOf = [&] {
        std::set<int> fds;
        for (const QFileInfo& fd : QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::System))
            if (fd.symLinkTarget() == pty.slavePath())
                fds.insert(fd.fileName().toInt());
        return fds;
    };
    const std::set<int> before = descriptorsOf();
    PosixSerialPort port(PortRole::Zarnet);
    ASSERT_EQ(port.open(pty.slavePath(), {}), 0u);
    std::set<int> ours;
    for (int fd : descriptorsOf())
        if (!before.count(fd))
            ours.insert(fd);
    ASSERT_FALSE(ours.empty());
    ::close(*ours.begin()); // the port's own descriptor, closed behind its back
    EXPECT_FALSE(port.close());
    EXPECT_FALSE(port.isOpen());
    ASSERT_EQ(port.open(pty.slavePath(), {}), 0u);
    const uint8_t b[] = {0x42};
    EXPECT_TRUE(port.write(b, 1));
    EXPECT_EQ(pty.readRequest(), (std::vector<uint8_t>{0x42}));
    EXPECT_TRUE(port.close());
}
