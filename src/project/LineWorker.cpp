#include "LineWorker.h"

#include "DeviceTasks.h"
#include "Project.h"
#include "ProjectLog.h"
#include "link/ModbusMaster.h"
#include "link/PosixSerialPort.h"
#include "link/ZarnetLink.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <condition_variable>
#include <map>
#include <mutex>
#include <utility>

namespace vextor {

LineTarget lineTargetOf(const Project& project) {
    LineTarget t;
    t.markCode = project.MarkCode;
    t.portNumber = project.model.PortNumber;
    t.protocol = project.model.ActiveProtocol;
    t.zarnetAddress = project.activeZarnetAddress();
    t.modbusAddress = project.activeModbusAddress();
    t.mbParams = project.activeMbParams();
    if (const auto d = project.markedDevice())
        t.eventsFile = project.model.record(*d).EventsFile;
    return t;
}

namespace {

bool& flagOf(TaskFlags& f, ServiceSlot slot) {
    switch (slot) {
    case ServiceSlot::ReadClock:
        return f.TaskReadClock;
    case ServiceSlot::WriteClock:
        return f.TaskWriteClock;
    case ServiceSlot::ReadReplyDelay:
        return f.TaskReadReplyDelay;
    case ServiceSlot::WriteReplyDelay:
        return f.TaskWriteReplyDelay;
    case ServiceSlot::WriteZarnetAddress:
        return f.TaskWriteZarnetAddress;
    case ServiceSlot::ReadModbusParams:
        return f.TaskReadModbusParams;
    case ServiceSlot::WriteModbusParams:
        return f.TaskWriteModbusParams;
    case ServiceSlot::Sound:
        break;
    }
    return f.TaskSound;
}

// The tasks the user started and waits for; the live monitor's cycle is no such task.
bool userTasksPending(const TaskFlags& f) {
    TaskFlags others = f;
    others.TaskVisual = false;
    return others.any();
}

// The event that tells a thread's mailbox that calls wait for it.
const QEvent::Type kCallsWaiting = static_cast<QEvent::Type>(QEvent::User + 0x4C57);

} // namespace

// ---------------------------------------------------------------- calls to the window's thread

// Calls for the thread an object lives on. The functions wait in a queue under a std::mutex and a
// bare event wakes the thread to run them: the hand-over is ordered by a lock that every thread
// checker sees, also in a build where Qt's own locks are not instrumented.
class LineWorker::Mailbox : public QObject {
public:
    void post(std::function<void()> f) {
        {
            std::lock_guard lock(mutex_);
            calls_.push_back(std::move(f));
        }
        QCoreApplication::postEvent(this, new QEvent(kCallsWaiting));
    }

protected:
    // Every event counts as a wake-up. The event itself is not looked at: it was allocated on the
    // posting thread and handed over under Qt's locks, which a thread checker may not see.
    bool event(QEvent* e) override {
        runAll(mutex_, calls_);
        return QObject::event(e);
    }

public:
    // Runs the waiting calls in order; once *ended is set by one of them, the queue is left alone.
    static void runAll(std::mutex& mutex, std::deque<std::function<void()>>& calls,
                       const bool* ended = nullptr) {
        for (;;) {
            if (ended && *ended)
                return;
            std::function<void()> f;
            {
                std::lock_guard lock(mutex);
                if (calls.empty())
                    return;
                f = std::move(calls.front());
                calls.pop_front();
            }
            f();
        }
    }

private:
    std::mutex mutex_;
    std::deque<std::function<void()>> calls_;
};

// The window's dialogs for the line thread: each question is handed to the receiver's thread and the
// line thread waits for its answer, or for stop(), which answers every pending and later question
// with its default so that the program can close while a question is up.
class LineWorker::WindowDialogs : public UserDialogs {
public:
    WindowDialogs(QObject* receiver, UserDialogs& dialogs, std::function<void(std::function<void()>)> post)
        : receiver_(receiver), dialogs_(dialogs), post_(std::move(post)) {}

    template <class T> T call(std::function<T()> f, T fallback) {
        if (QThread::currentThread() == receiver_->thread())
            return f();
        struct Request {
            bool done = false;
            T value;
        };
        auto request = std::make_shared<Request>(Request{false, fallback});
        auto state = state_;
        {
            std::lock_guard lock(state->mutex);
            if (state->cancelled)
                return fallback;
        }
        post_([state, request, f = std::move(f)] {
            {
                std::lock_guard lock(state->mutex);
                if (state->cancelled)
                    return;
            }
            T value = f();
            std::lock_guard lock(state->mutex);
            request->value = std::move(value);
            request->done = true;
            state->answered.notify_all();
        });
        std::unique_lock lock(state->mutex);
        state->answered.wait(lock, [&] { return request->done || state->cancelled; });
        return request->done ? request->value : fallback;
    }

    void cancel() {
        std::lock_guard lock(state_->mutex);
        state_->cancelled = true;
        state_->answered.notify_all();
    }

    void message(const QString& text) override {
        call<bool>(
            [this, text] {
                dialogs_.message(text);
                return true;
            },
            false);
    }
    bool askYesNo(const QString& text, const QString& caption) override {
        return call<bool>([this, text, caption] { return dialogs_.askYesNo(text, caption); }, false);
    }
    Answer askYesNoCancel(const QString& text, const QString& caption) override {
        return call<Answer>([this, text, caption] { return dialogs_.askYesNoCancel(text, caption); },
                            Answer::Cancel);
    }
    std::optional<QString> inputText(const QString& caption, const QString& prompt,
                                     const QString& initial) override {
        return call<std::optional<QString>>(
            [this, caption, prompt, initial] { return dialogs_.inputText(caption, prompt, initial); },
            std::nullopt);
    }
    QString openFile(const QString& caption, const QString& filter, const QString& dir) override {
        return call<QString>([this, caption, filter, dir] { return dialogs_.openFile(caption, filter, dir); },
                             QString());
    }
    QString saveFile(const QString& caption, const QString& filter, const QString& dir,
                     const QString& defaultSuffix, bool confirmOverwrite) override {
        return call<QString>(
            [=, this] { return dialogs_.saveFile(caption, filter, dir, defaultSuffix, confirmOverwrite); },
            QString());
    }

private:
    struct State {
        std::mutex mutex;
        std::condition_variable answered;
        bool cancelled = false;
    };
    QObject* receiver_;
    UserDialogs& dialogs_;
    std::function<void(std::function<void()>)> post_;
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

// The window's progress, told from the line thread; the window never waits for it.
class LineWorker::WindowProgress : public TransferProgress {
public:
    WindowProgress(const LineWorker& worker, TransferProgress& progress)
        : worker_(worker), progress_(progress) {}
    void begin(const QString& title, int maximum) override {
        worker_.post([p = &progress_, title, maximum] { p->begin(title, maximum); });
    }
    void step(const QString& line) override {
        worker_.post([p = &progress_, line] { p->step(line); });
    }
    void setPosition(int position) override {
        worker_.post([p = &progress_, position] { p->setPosition(position); });
    }
    void end() override {
        worker_.post([p = &progress_] { p->end(); });
    }

private:
    const LineWorker& worker_;
    TransferProgress& progress_;
};

class LineWorker::WindowLog : public ProjectLog {
public:
    explicit WindowLog(const LineWorker& worker) : worker_(worker) {}
    void addLine(const QString& line) override {
        worker_.post([f = worker_.listener_.logLine, line] {
            if (f)
                f(line);
        });
    }

private:
    const LineWorker& worker_;
};

// ---------------------------------------------------------------- the line thread's objects

// Gathers what a read refreshed, so the window refills exactly those views when the image arrives
// (the calendar turns red only after its block was really read).
struct ReadViews : ConfigObserver {
    ConfigViews views = 0;
    void configurationChanged(ConfigViews v) override { views |= v; }
    void selectFirstRows() override {}
    void showFirstPage() override {}
};

struct LineWorker::Line {
    Line(UserDialogs& dialogs, TransferProgress& progress, ProjectLog& log)
        : project(dialogs, &log), tasks(project, link, modbus, image, dialogs, progress, &log) {
        project.activeLink = &binding;
        tasks.observer = &readViews;
        loadDefaultConfiguration(image);
    }

    PosixSerialPort zarnetPort{PortRole::Zarnet};
    PosixSerialPort modbusPort{PortRole::Modbus};
    ZarnetLink link{&zarnetPort};
    ModbusMaster modbus{&modbusPort};
    ConfigImage image;
    LinkImageBinding binding{link, image};
    Project project;
    DeviceTasks tasks;
    ReadViews readViews;
    std::unique_ptr<QTimer> timer;

    LineTarget target;
    std::optional<LineStatus> shownStatus;
    bool busy = false;
    uint64_t acceptedSeq = 0;
    uint64_t busySeqSent = 0;

    struct Service {
        std::function<void(LineAccess&)> run;
        std::function<void()> finish;
    };
    std::map<ServiceSlot, Service> services;
};

LineWorker::LineWorker(QObject* receiver, UserDialogs& dialogs, TransferProgress& progress,
                       LineListener listener, Options options)
    : receiver_(receiver), listener_(std::move(listener)), window_(std::make_unique<Mailbox>()),
      dialogs_(std::make_unique<WindowDialogs>(receiver, dialogs,
                                               [this](std::function<void()> f) { post(std::move(f)); })),
      progress_(std::make_unique<WindowProgress>(*this, progress)), log_(std::make_unique<WindowLog>(*this)),
      line_(std::make_unique<Line>(*dialogs_, *progress_, *log_)) {
    thread_.setObjectName(QStringLiteral("line"));
    DeviceTaskHooks& h = line_->tasks.hooks;
    h.portPath = options.portPath;
    h.eventsRead = [this](const QString& path) {
        post([f = listener_.eventsRead, path] {
            if (f)
                f(path);
        });
    };
    h.configurationRead = [this](bool ok) {
        const ConfigViews views = std::exchange(line_->readViews.views, 0);
        post([f = listener_.configurationRead, image = line_->image, views, ok] {
            if (f)
                f(image, views, ok);
        });
    };
    h.transferRunning = [this](bool running) {
        post([f = listener_.transferRunning, running] {
            if (f)
                f(running);
        });
    };
    h.updateAccepted = [this] {
        // The update writes the program's image as it is now.
        if (listener_.currentImage) {
            line_->image = dialogs_->call<ConfigImage>(listener_.currentImage, line_->image);
            line_->project.setActiveLink(line_->target.zarnetAddress, line_->target.modbusAddress,
                                         line_->target.mbParams);
        }
        updateBusy();
    };
    h.stopRequested = [this] { return stopping_.load(); };
    auto runSlot = [this](ServiceSlot slot) {
        return [this, slot] {
            const auto it = line_->services.find(slot);
            if (it == line_->services.end())
                return;
            LineAccess access{line_->link, line_->modbus};
            try {
                it->second.run(access);
            } catch (const std::exception&) {
                // No result: the window is told the operation failed.
            }
            it->second.finish();
            line_->services.erase(it);
        };
    };
    DeviceTaskOperations& o = line_->tasks.operations;
    o.readClock = runSlot(ServiceSlot::ReadClock);
    o.writeClock = runSlot(ServiceSlot::WriteClock);
    o.readReplyDelay = runSlot(ServiceSlot::ReadReplyDelay);
    o.writeReplyDelay = runSlot(ServiceSlot::WriteReplyDelay);
    o.writeZarnetAddress = runSlot(ServiceSlot::WriteZarnetAddress);
    o.readModbusParams = runSlot(ServiceSlot::ReadModbusParams);
    o.writeModbusParams = runSlot(ServiceSlot::WriteModbusParams);
    o.sound = runSlot(ServiceSlot::Sound);

    moveToThread(&thread_);
    thread_.start();
    const int tickMs = options.tickMs;
    onLine([this, tickMs] {
        line_->timer = std::make_unique<QTimer>();
        line_->timer->setInterval(tickMs);
        connect(line_->timer.get(), &QTimer::timeout, this, [this] { tick(); });
        line_->tasks.hooks.setTimerEnabled = [this](bool on) {
            if (on)
                line_->timer->start();
            else
                line_->timer->stop();
        };
    });
}

LineWorker::~LineWorker() {
    stop();
}

void LineWorker::post(std::function<void()> f) const {
    window_->post(std::move(f));
}

void LineWorker::onLine(std::function<void()> f) {
    if (stopped_.load())
        return;
    {
        std::lock_guard lock(lineMutex_);
        lineCalls_.push_back(std::move(f));
    }
    QCoreApplication::postEvent(this, new QEvent(kCallsWaiting));
}

bool LineWorker::event(QEvent* e) {
    // As in Mailbox: every event is a wake-up. moveToThread() sends one from inside a call.
    if (draining_)
        return QObject::event(e);
    draining_ = true;
    Mailbox::runAll(lineMutex_, lineCalls_, &lineEnded_);
    draining_ = false;
    if (lineEnded_) {
        // The line thread's last use of this object's members: stop() goes on from here, and only
        // Qt's own bookkeeping of this event is left before the thread ends.
        std::lock_guard lock(stopMutex_);
        stopDone_ = true;
        stopEnded_.notify_all();
    }
    return QObject::event(e);
}

void LineWorker::stop() {
    if (stopped_.exchange(true))
        return;
    stopping_.store(true);
    dialogs_->cancel();
    if (!thread_.isRunning())
        return;
    QThread* home = receiver_->thread();
    // After the current tick: its exchange ends, a running event read ends before its next request,
    // and no further task starts. The line's objects then belong to this thread again.
    {
        std::lock_guard lock(lineMutex_);
        lineCalls_.push_back([this, home] {
            line_->timer.reset();
            if (line_->zarnetPort.isOpen())
                line_->zarnetPort.close();
            if (line_->modbusPort.isOpen())
                line_->modbusPort.close();
            moveToThread(home);
            lineEnded_ = true;
        });
    }
    QCoreApplication::postEvent(this, new QEvent(kCallsWaiting));
    {
        std::unique_lock lock(stopMutex_);
        stopEnded_.wait(lock, [&] { return stopDone_; });
    }
    thread_.quit();
    thread_.wait();
}

// ---------------------------------------------------------------- calls from the window

void LineWorker::setTarget(const LineTarget& target) {
    onLine([this, target] {
        applyTarget(target);
        updateBusy();
    });
}

uint64_t LineWorker::queueTask(LineTask task, const ConfigImage& image) {
    const uint64_t seq = ++queuedSeq_;
    const bool transfer = task == LineTask::ReadConfig || task == LineTask::WriteConfig;
    std::optional<ConfigImage> copy;
    if (transfer)
        copy = image;
    onLine([this, task, copy = std::move(copy), seq] {
        Line& l = *line_;
        if (copy) {
            l.image = *copy;
            // The image carries the Modbus half of the active link.
            l.project.setActiveLink(l.target.zarnetAddress, l.target.modbusAddress, l.target.mbParams);
        }
        TaskFlags& f = l.tasks.flags;
        switch (task) {
        case LineTask::ReadConfig:
            f.TaskReadConfig = true;
            break;
        case LineTask::WriteConfig:
            f.TaskWriteConfig = true;
            break;
        case LineTask::ReadEvents:
            f.TaskReadEvents = true;
            break;
        case LineTask::Reset:
            f.TaskReset = true;
            break;
        case LineTask::SwitchToModbus:
            f.TaskSwitchToModbus = true;
            break;
        case LineTask::SwitchToZarnet:
            f.TaskSwitchToZarnet = true;
            break;
        }
        l.acceptedSeq = seq;
        updateBusy();
    });
    return seq;
}

void LineWorker::clearTasks() {
    onLine([this] {
        line_->tasks.ClearAllTasks();
        finishServices();
        updateBusy();
    });
}

uint64_t LineWorker::queueService(ServiceSlot slot, std::function<void(LineAccess&)> run,
                                  std::function<void()> finish) {
    const uint64_t seq = ++queuedSeq_;
    onLine([this, slot, run = std::move(run), finish = std::move(finish), seq] {
        Line& l = *line_;
        // A second request for the same slot replaces the first, which is told it was dropped.
        if (const auto it = l.services.find(slot); it != l.services.end()) {
            it->second.finish();
            l.services.erase(it);
        }
        l.services[slot] = Line::Service{run, finish};
        flagOf(l.tasks.flags, slot) = true;
        l.acceptedSeq = seq;
        updateBusy();
    });
    return seq;
}

// ---------------------------------------------------------------- the line thread

void LineWorker::applyTarget(const LineTarget& t) {
    Line& l = *line_;
    Project& p = l.project;
    const bool markChanged = t.markCode != l.target.markCode;
    l.target = t;
    p.MarkCode = t.markCode;
    p.model.PortNumber = t.portNumber;
    p.model.ActiveProtocol = t.protocol;
    if (const auto d = p.markedDevice()) {
        DeviceRecord& r = p.model.record(*d);
        r.ZarnetAddress = t.zarnetAddress;
        r.ModbusAddress = t.modbusAddress;
        r.MbParams = t.mbParams;
        r.EventsFile = t.eventsFile;
        p.model.setProtocolOf(*d, t.protocol);
    }
    p.setActiveLink(t.zarnetAddress, t.modbusAddress, t.mbParams);
    if (markChanged) {
        // The window forgot the link of its old mark: the next state is told whatever it is.
        p.LinkUp = false;
        l.shownStatus.reset();
    }
    l.tasks.startCondition();
}

void LineWorker::tick() {
    line_->tasks.TimerTasksTimer();
    afterTick();
    ticks_.fetch_add(1);
}

void LineWorker::afterTick() {
    Line& l = *line_;
    Project& p = l.project;
    if (l.target.markCode != 0 && p.MarkCode == 0) {
        post([f = listener_.markCleared, code = l.target.markCode] {
            if (f)
                f(code);
        });
        l.target.markCode = 0;
    }
    if (const auto d = p.markedDevice()) {
        const uint8_t protocol = p.model.protocolOf(*d);
        if (protocol != l.target.protocol) {
            post([f = listener_.protocolChanged, code = p.MarkCode, protocol] {
                if (f)
                    f(code, protocol);
            });
            l.target.protocol = protocol;
        }
    }
    const LineStatus status{p.MarkCode, p.LinkUp, l.tasks.versionPanelText(),
                            l.tasks.IdentAttempts - l.tasks.IdentSuccesses};
    if (status != l.shownStatus) {
        l.shownStatus = status;
        post([f = listener_.status, status] {
            if (f)
                f(status);
        });
    }
    finishServices();
    updateBusy();
}

void LineWorker::finishServices() {
    // Operations whose turn was dropped (no mark, no link) are told so; run ones finished already.
    Line& l = *line_;
    for (auto it = l.services.begin(); it != l.services.end();) {
        if (flagOf(l.tasks.flags, it->first)) {
            ++it;
            continue;
        }
        it->second.finish();
        it = l.services.erase(it);
    }
}

void LineWorker::updateBusy() {
    Line& l = *line_;
    const bool busy = userTasksPending(l.tasks.flags) || !l.services.empty();
    if (busy == l.busy && (busy || l.busySeqSent == l.acceptedSeq))
        return;
    l.busy = busy;
    l.busySeqSent = l.acceptedSeq;
    post([f = listener_.busy, busy, seq = l.acceptedSeq] {
        if (f)
            f(busy, seq);
    });
}

} // namespace vextor
