#pragma once
// Pseudo-terminal pairs for end-to-end tests of the serial layer: the code under test opens the
// slave side by name, the test plays the device on the master side.
#include <QString>
#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

namespace vextor::testing {

class Pty {
public:
    Pty();
    ~Pty();
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    int master() const { return master_; }
    QString slavePath() const { return slavePath_; }

    // Reads what is available on the master within timeoutMs (stops after a 30 ms silence).
    std::vector<uint8_t> readRequest(int timeoutMs = 1000);
    void send(const std::vector<uint8_t>& bytes);

private:
    int master_ = -1;
    int slave_ = -1; // kept open so the master never sees a hang-up between the client's opens
    QString slavePath_;
};

// Copies bytes both ways between the masters of two pairs, like a null-modem cable, so that two
// programs that both open a device by name can talk.
class PtyBridge {
public:
    PtyBridge();
    ~PtyBridge();
    QString pathA() const { return a_.slavePath(); }
    QString pathB() const { return b_.slavePath(); }

private:
    Pty a_, b_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace vextor::testing
