#pragma once
// A serial device server in raw TCP mode, for tests: it listens on 127.0.0.1 and relays the bytes
// of each connection to and from a pseudo-terminal (the virtual controller's line).
#include <QString>

#include <atomic>
#include <thread>

namespace vextor::testing {

class TcpBridge {
public:
    // With cutAfterReplyBytes >= 0 the bridge closes the connection once that many bytes of the
    // line's replies have gone to the client: a peer that goes away in the middle of a reply.
    explicit TcpBridge(const QString& ptyPath, int cutAfterReplyBytes = -1);
    ~TcpBridge();
    TcpBridge(const TcpBridge&) = delete;
    TcpBridge& operator=(const TcpBridge&) = delete;

    bool listening() const { return port_ != 0; }
    QString url() const { return QStringLiteral("tcp://127.0.0.1:%1").arg(port_); }
    int connections() const { return connections_.load(); }

private:
    void run();
    void relay(int client);

    QString ptyPath_;
    int cutAfter_;
    int listenFd_ = -1;
    int wake_[2] = {-1, -1};
    unsigned short port_ = 0;
    std::atomic<int> connections_{0};
    std::thread thread_;
};

} // namespace vextor::testing
