#pragma once
// The line on its own thread. The line worker owns the serial ports, the link, the Modbus master and
// the task loop, and runs the task timer, all on a QThread of its own; reads block in poll() there
// while the windows stay live.
//
// The windows talk to it only through queued calls that carry values: the marked controller's link
// settings whenever they change, a task with its inputs (a transfer takes a copy of the image as it
// is when queued), a service operation, stop. It answers through the listener, whose functions
// always run on the thread of the receiver object given at construction (the window's thread), with
// values only: link state and identity texts, log lines, progress, a new image after a read, the
// event file path, busy state. What the task loop must ask mid-operation goes to the window's
// dialogs as a blocking call; the worker waits, the window stays live, and stop() wakes a pending
// question with its default answer so that closing the program never hangs.
#include "config/ConfigImage.h"
#include "config/ConfigObserver.h"
#include "link/TransferProgress.h"
#include "link/UserDialogs.h"

#include <QObject>
#include <QString>
#include <QThread>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class QTimer;

namespace vextor {

class DeviceTasks;
class ModbusMaster;
class Project;
class SerialPort;
class ZarnetLink;

// The marked controller as the line needs it; the window sends it whenever it changes.
struct LineTarget {
    int markCode = 0; // 0: nothing marked
    int portNumber = 1;
    uint8_t protocol = 0;
    uint8_t zarnetAddress = 0;
    uint8_t modbusAddress = 0;
    uint8_t mbParams = 0;
    QString eventsFile; // the marked controller's event file, where an event read writes
    bool operator==(const LineTarget&) const = default;
};

// The target of a window's project: its mark, port, active protocol and active link.
LineTarget lineTargetOf(const Project& project);

// What the status bar and the link statistics show of the line.
struct LineStatus {
    int markCode = 0; // the mark this state belongs to
    bool linkUp = false;
    QString versionPanel; // status panel 3: empty without a link
    uint32_t identFailures = 0;
    bool operator==(const LineStatus&) const = default;
};

enum class LineTask { ReadConfig, WriteConfig, ReadEvents, Reset, SwitchToModbus, SwitchToZarnet };

// The service operations of the device window, each with its turn in the tick.
enum class ServiceSlot {
    ReadClock,
    WriteClock,
    ReadReplyDelay,
    WriteReplyDelay,
    WriteZarnetAddress,
    ReadModbusParams,
    WriteModbusParams,
    Sound,
};

// What a service operation works with on the line thread: the link and the Modbus master, the port
// open on the marked controller, which has just answered its identification.
struct LineAccess {
    ZarnetLink& link;
    ModbusMaster& modbus;
};

// The answers of the line; every function runs on the receiver's thread. Any may be left empty.
struct LineListener {
    std::function<void(const LineStatus&)> status; // only when it changed
    // The line dropped the mark (port not opened, not a Vextor, old firmware): its message is shown.
    std::function<void(int markCode)> markCleared;
    // A protocol switch succeeded: the marked controller now speaks this protocol.
    std::function<void(int markCode, uint8_t protocol)> protocolChanged;
    std::function<void(const QString& line)> logLine;
    // A configuration read ended: the image as read (blocks that failed keep the queued copy's values)
    // and the views whose blocks were read.
    std::function<void(const ConfigImage& image, ConfigViews views, bool ok)> configurationRead;
    std::function<void(const QString& path)> eventsRead;
    // A configuration transfer starts (true) or has ended.
    std::function<void(bool running)> transferRunning;
    // A user-visible operation is queued or runs (true) or all have ended. seq is the number of the
    // last task the worker had accepted: a window that queued more since keeps its busy state.
    std::function<void(bool busy, uint64_t seq)> busy;
    // The configuration update writes the program's image: asked of the window as a blocking call.
    std::function<ConfigImage()> currentImage;
};

class LineWorker : public QObject {
public:
    struct Options {
        int tickMs = 1000;
        // Port number -> device path; the port map unless given.
        std::function<QString(int portNumber)> portPath;
    };

    // dialogs and progress belong to the receiver's thread and are only used there.
    LineWorker(QObject* receiver, UserDialogs& dialogs, TransferProgress& progress, LineListener listener,
               Options options);
    LineWorker(QObject* receiver, UserDialogs& dialogs, TransferProgress& progress, LineListener listener)
        : LineWorker(receiver, dialogs, progress, std::move(listener), Options{}) {}
    ~LineWorker() override;
    LineWorker(const LineWorker&) = delete;
    LineWorker& operator=(const LineWorker&) = delete;

    // From the receiver's thread. Every call below is queued to the line thread and returns at once.
    void setTarget(const LineTarget& target);
    // Returns the task's number (see LineListener::busy). A transfer sends or reads into this image.
    uint64_t queueTask(LineTask task, const ConfigImage& image = {});
    // Drops every queued task (a new project).
    void clearTasks();

    // Runs op in its slot's turn of the next tick that reaches the controller; done gets the result on
    // the receiver's thread, or nullopt when the operation was dropped (the mark went, the link did not
    // come up) or failed (it threw).
    template <class R>
    uint64_t runService(ServiceSlot slot, std::function<R(LineAccess&)> op,
                        std::function<void(std::optional<R>)> done) {
        auto result = std::make_shared<std::optional<R>>();
        return queueService(
            slot, [op = std::move(op), result](LineAccess& access) { *result = op(access); },
            [this, done = std::move(done), result] {
                post([done, value = *result] {
                    if (done)
                        done(value);
                });
            });
    }

    // Thread-safe. Asks the current exchange to finish, wakes a pending question with its default
    // answer, ends the line thread and joins it; the ports are closed. Idempotent.
    void stop();
    bool stopping() const { return stopping_.load(); }

    // The number of the last task or service queued (receiver's thread), as LineListener::busy tells.
    uint64_t lastQueued() const { return queuedSeq_; }

    // Ticks completed since start, for tests and diagnostics; thread-safe.
    uint64_t ticks() const { return ticks_.load(); }

protected:
    bool event(QEvent* event) override;

private:
    struct Line; // everything that lives on the line thread
    class Mailbox;
    class WindowDialogs;
    class WindowProgress;
    class WindowLog;

    QObject* receiver_;
    LineListener listener_;
    QThread thread_;
    // Calls for the line thread, run by event(); see Mailbox for why not Qt's queued functors.
    std::mutex lineMutex_;
    std::deque<std::function<void()>> lineCalls_;
    bool lineEnded_ = false; // line thread: the last call has run
    bool draining_ = false;
    std::mutex stopMutex_;
    std::condition_variable stopEnded_;
    bool stopDone_ = false;
    std::unique_ptr<Mailbox> window_; // calls for the receiver's thread
    std::unique_ptr<WindowDialogs> dialogs_;
    std::unique_ptr<WindowProgress> progress_;
    std::unique_ptr<WindowLog> log_;
    std::unique_ptr<Line> line_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> stopped_{false};
    std::atomic<uint64_t> ticks_{0};
    uint64_t queuedSeq_ = 0; // receiver's thread

    void post(std::function<void()> f) const;
    void onLine(std::function<void()> f);
    uint64_t queueService(ServiceSlot slot, std::function<void(LineAccess&)> run,
                          std::function<void()> finish);

    // Line thread.
    void applyTarget(const LineTarget& target);
    void tick();
    void afterTick();
    void updateBusy();
    void finishServices();
};

} // namespace vextor
