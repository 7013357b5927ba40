// vextorctl on a line behind a serial device server in raw TCP mode ("tcp://HOST:PORT"): the same
// frames over a socket, and clear failures when the network does not cooperate.
#include "support/SimProcess.h"
#include "support/TcpBridge.h"

#include "link/NetworkPort.h"
#include "support/FileBytes.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace vextor;
using namespace vextor::testing;

namespace {

using vextor::testing::readAll;

// A local port nobody listens on.
int closedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd);
    return ntohs(addr.sin_port);
}

} // namespace

TEST(NetworkPort, NamesAreParsedStrictly) {
    struct Case {
        const char* name;
        const char* host; // nullptr: refused
        const char* service;
    };
    const Case cases[] = {
        {"tcp://10.0.0.5:4001", "10.0.0.5", "4001"}, {"tcp://converter.plant:23", "converter.plant", "23"},
        {"tcp://[fe80::1]:4001", "fe80::1", "4001"}, {"tcp://10.0.0.5", nullptr, nullptr},
        {"tcp://10.0.0.5:0", nullptr, nullptr},      {"tcp://10.0.0.5:65536", nullptr, nullptr},
        {"tcp://10.0.0.5:40x", nullptr, nullptr},    {"tcp://:4001", nullptr, nullptr},
        {"tcp://fe80::1:4001", nullptr, nullptr},    {"/dev/ttyUSB0", nullptr, nullptr},
    };
    for (const Case& c : cases) {
        const auto address = parseNetworkPort(QString::fromUtf8(c.name));
        ASSERT_EQ(address.has_value(), c.host != nullptr) << c.name;
        if (address) {
            EXPECT_EQ(address->host, QByteArray(c.host)) << c.name;
            EXPECT_EQ(address->service, QByteArray(c.service)) << c.name;
        }
    }
}

// Identification, a configuration read and an event read over the bridge give what the same
// commands give on the line itself, byte for byte; the port map reaches the bridge too.
TEST(CliNetwork, ABridgedLineAnswersAsTheLineItself) {
    QTemporaryDir dir;
    SimProcess sim({"--event-interval", "0", "--events", "60"});
    ASSERT_TRUE(sim.started());
    TcpBridge bridge(sim.port());
    ASSERT_TRUE(bridge.listening());

    CtlResult r = runCtl({"--port", bridge.url(), "identify"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("type=32")) << r.out.toStdString();

    const QString direct = dir.filePath("direct.bin"), bridged = dir.filePath("bridged.bin");
    ASSERT_EQ(runCtl({"--port", sim.port(), "read-config", direct}).exitCode, 0);
    r = runCtl({"--port", bridge.url(), "read-config", bridged});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(readAll(bridged), readAll(direct));
    EXPECT_EQ(readAll(bridged).size(), 1153);

    const QString directEvents = dir.filePath("direct.blb"), bridgedEvents = dir.filePath("bridged.blb");
    ASSERT_EQ(runCtl({"--port", sim.port(), "read-events", "--pacing", "device", directEvents}).exitCode, 0);
    qputenv("VEXTOR_COM3", bridge.url().toUtf8());
    r = runCtl({"--com", "3", "read-events", "--pacing", "device", bridgedEvents});
    qunsetenv("VEXTOR_COM3");
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_FALSE(readAll(bridgedEvents).isEmpty());
    EXPECT_EQ(readAll(bridgedEvents), readAll(directEvents));
    EXPECT_GE(bridge.connections(), 3);
}

// A refused connection and an unknown host are port failures (exit 3) that name host and port; a
// peer that closes in the middle of a reply is a controller that did not answer (exit 1), soon.
TEST(CliNetwork, RefusedUnknownAndClosedMidReply) {
    const int port = closedPort();
    CtlResult r = runCtl({"--port", QStringLiteral("tcp://127.0.0.1:%1").arg(port), "identify"});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_TRUE(r.err.contains(QStringLiteral("host 127.0.0.1, port %1").arg(port))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("refused")) << r.err.toStdString();

    r = runCtl({"--port", "tcp://no-such-host.invalid:4001", "identify"});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_TRUE(r.err.contains("host no-such-host.invalid, port 4001")) << r.err.toStdString();

    r = runCtl({"--port", "tcp://127.0.0.1", "identify"});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_TRUE(r.err.contains("tcp://HOST:PORT")) << r.err.toStdString();

    SimProcess sim;
    ASSERT_TRUE(sim.started());
    TcpBridge cut(sim.port(), 4); // the identity reply is longer than four bytes
    QElapsedTimer timer;
    timer.start();
    r = runCtl({"--port", cut.url(), "--retries", "0", "identify"});
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    EXPECT_LT(timer.elapsed(), 5000);
}
