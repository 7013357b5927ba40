#include "LineWorker.h"

#include "DeviceTasks.h"
#include "ImageLinkBinding.h"
#include "TaskTexts.h"
#include "config/ConfigTransfer.h"
#include "link/ModbusMaster.h"
#include "link/PosixSerialPort.h"
#include "link/ZarnetLink.h"
#include "project/Project.h"
#include "project/ProjectLog.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QScopeGuard>
#include <QTimer>
#include <algorithm>
#include <condition_variable>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

namespace vextor {

namespace {

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
        // A question comes after the messages told before it.
        flushHeld();
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

    // A message is no question: it is posted and the line goes on. The window shows the messages one
    // after another in the order they were told, also when a new one arrives while a box is open.
    void message(const QString& text) override {
        if (QThread::currentThread() == receiver_->thread()) {
            dialogs_.message(text);
            return;
        }
        {
            std::lock_guard lock(state_->mutex);
            if (state_->cancelled)
                return;
        }
        if (holding_) {
            held_.push_back(text);
            return;
        }
        postInformation(text);
    }

    // Line thread. While a tick runs, its messages wait: the window first hears the state the tick
    // left (a link lost, a mark cleared), then sees the boxes, so no box stands over a stale state.
    void hold() { holding_ = true; }
    void release() {
        holding_ = false;
        flushHeld();
    }

    void postInformation(const QString& text) {
        post_([info = info_, text] {
            info->pending.push_back(text);
            if (info->showing)
                return;
            info->showing = true;
            while (!info->pending.empty()) {
                const QString next = info->pending.front();
                info->pending.pop_front();
                info->dialogs.message(next);
            }
            info->showing = false;
        });
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
    // The receiver's thread only. Shared with the posted calls, so that a box still open when the
    // worker goes never shows from freed memory.
    struct Information {
        explicit Information(UserDialogs& d) : dialogs(d) {}
        UserDialogs& dialogs;
        std::deque<QString> pending;
        bool showing = false;
    };
    QObject* receiver_;
    UserDialogs& dialogs_;
    std::function<void(std::function<void()>)> post_;
    std::shared_ptr<State> state_ = std::make_shared<State>();
    std::shared_ptr<Information> info_ = std::make_shared<Information>(dialogs_);
    // Line thread.
    bool holding_ = false;
    std::vector<QString> held_;

    void flushHeld() {
        for (const QString& text : std::exchange(held_, {}))
            postInformation(text);
    }
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
    void addLine(const QString& line) override { worker_.announce(&LineListener::logLine, line); }

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
    ImageLinkBinding binding{image, link.DeviceAddress};
    Project project;
    DeviceTasks tasks;
    ReadViews readViews;
    std::unique_ptr<QTimer> timer;
    // The task timer keeps a fixed rate: each tick is due a whole period after the previous one was
    // due, so the time a tick takes (an identification, a monitor cycle) does not add to the period.
    QElapsedTimer clock;
    int64_t nextDueMs = -1;
    std::function<QString(int)> portPath;

    LineTarget target;
    std::optional<LineStatus> shownStatus;
    bool busy = false;
    JobTicket acceptedUpTo = 0; // the newest user's job taken in
    JobTicket busyToldUpTo = 0;
    std::deque<DirectJob> direct; // waiting for the line between ticks
    bool directRunning = false;
    std::shared_ptr<FrameTap> tap; // while a window watches the frames
};

LineWorker::LineWorker(QObject* receiver, UserDialogs& dialogs, TransferProgress& progress, Options options)
    : receiver_(receiver), maxPendingSamples_(std::max<std::size_t>(options.maxPendingSamples, 1)),
      window_(std::make_unique<Mailbox>()),
      dialogs_(std::make_unique<WindowDialogs>(receiver, dialogs,
                                               [this](std::function<void()> f) { post(std::move(f)); })),
      progress_(std::make_unique<WindowProgress>(*this, progress)), log_(std::make_unique<WindowLog>(*this)),
      line_(std::make_unique<Line>(*dialogs_, *progress_, *log_)) {
    thread_.setObjectName(QStringLiteral("line"));
    line_->portPath = options.portPath ? options.portPath : [](int n) { return resolvePortPath(n); };
    DeviceTaskHooks& h = line_->tasks.hooks;
    h.portPath = line_->portPath;
    h.eventsRead = [this](const QString& path) { announce(&LineListener::eventsRead, path); };
    h.configurationRead = [this](bool ok) {
        const ConfigViews views = std::exchange(line_->readViews.views, 0);
        announce(&LineListener::configurationRead, line_->image, views, ok);
    };
    h.transferRunning = [this](bool running) { announce(&LineListener::transferRunning, running); };
    h.updateAccepted = [this, currentImage = options.currentImage] {
        // The update writes the program's image as it is now.
        if (currentImage) {
            line_->image = dialogs_->call<ConfigImage>(currentImage, line_->image);
            line_->project.setActiveLink(line_->target.zarnetAddress, line_->target.modbusAddress,
                                         line_->target.mbParams);
        }
        updateBusy();
    };
    h.stopRequested = [this] { return stopping_.load(); };
    h.cancelled = [this](JobTicket ticket) { return isCancelled(ticket); };
    // The line's target changes only between ticks, on this thread; the window's wish at once.
    h.markMoved = [this] { return requestedMark_.load() != line_->target.markCode; };
    h.writeRunning = [this](bool running) { announce(&LineListener::configurationWriting, running); };
    h.modbusKept = [this](uint8_t address, uint8_t params) {
        line_->target.modbusAddress = address;
        line_->target.mbParams = params;
        announce(&LineListener::modbusKept, line_->target.markCode, address, params);
    };

    moveToThread(&thread_);
    thread_.start();
    const int tickMs = options.tickMs;
    onLine([this, tickMs] {
        Line& l = *line_;
        l.timer = std::make_unique<QTimer>();
        l.timer->setTimerType(Qt::PreciseTimer);
        l.timer->setSingleShot(true);
        l.clock.start();
        connect(l.timer.get(), &QTimer::timeout, this, [this, tickMs] {
            Line& line = *line_;
            const int64_t now = line.clock.elapsed();
            line.nextDueMs = line.nextDueMs < 0 ? now + tickMs : line.nextDueMs + tickMs;
            // A tick that started more than a period late (a long transfer) starts the rate anew
            // instead of running the missed ticks back to back.
            if (line.nextDueMs < now)
                line.nextDueMs = now + tickMs;
            tick();
        });
        l.tasks.hooks.setTimerEnabled = [this, tickMs](bool on) {
            Line& line = *line_;
            if (!on) {
                line.timer->stop();
                return;
            }
            const int64_t now = line.clock.elapsed();
            if (line.nextDueMs < 0)
                line.nextDueMs = now + tickMs;
            line.timer->start(static_cast<int>(std::clamp<int64_t>(line.nextDueMs - now, 0, tickMs)));
        };
    });
}

LineWorker::~LineWorker() {
    stop();
}

void LineWorker::post(std::function<void()> f) const {
    window_->post(std::move(f));
}

int LineWorker::addListener(LineListener listener) {
    const int id = nextListener_++;
    listeners_.emplace(id, std::move(listener));
    return id;
}

void LineWorker::removeListener(int id) {
    listeners_.erase(id);
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
    // After the current exchange: a transfer or an event read ends before its next request, and no
    // further job starts. Jobs still waiting are told they were dropped; the line's objects then
    // belong to this thread again.
    {
        std::lock_guard lock(lineMutex_);
        lineCalls_.push_back([this, home] {
            Line& l = *line_;
            l.timer.reset();
            l.tasks.queue.clear(JobOutcome::Dropped);
            for (DirectJob& job : std::exchange(l.direct, {}))
                if (job.finished)
                    job.finished(JobOutcome::Dropped, {});
            if (l.zarnetPort.isOpen())
                l.zarnetPort.close();
            if (l.modbusPort.isOpen())
                l.modbusPort.close();
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
    requestedMark_.store(target.markCode);
    onLine([this, target] {
        applyTarget(target);
        updateBusy();
    });
}

JobTicket LineWorker::queueTask(LineTask task, const ConfigImage& image) {
    const bool transfer = task == LineTask::ReadConfig || task == LineTask::WriteConfig;
    std::optional<ConfigImage> copy;
    if (transfer)
        copy = image;
    const JobTicket ticket = newJobTicket();
    onLine([this, task, copy = std::move(copy), ticket] {
        Line& l = *line_;
        // The transfer works on the image as it was when queued, put in place when its turn comes.
        std::function<void()> prepare;
        if (copy)
            prepare = [this, copy] {
                Line& line = *line_;
                line.image = *copy;
                // The image carries the Modbus half of the active link.
                line.project.setActiveLink(line.target.zarnetAddress, line.target.modbusAddress,
                                           line.target.mbParams);
            };
        // A task that never ran (its controller was unmarked, the project replaced) says so with its
        // failure message, so that nobody waits for a read or a write that will not come.
        auto finished = [this, task](JobOutcome outcome, const QString&) {
            if (outcome == JobOutcome::Dropped && !stopping_.load())
                dialogs_->message(taskFailureText(task));
        };
        l.tasks.queueTask(task, std::move(prepare), std::move(finished), ticket);
        l.acceptedUpTo = std::max(l.acceptedUpTo, ticket);
        updateBusy();
    });
    return ticket;
}

JobTicket LineWorker::submitTickJob(TaskTurn turn, bool userVisible, std::function<JobStep(LineAccess&)> run,
                                    std::function<void(JobOutcome, const QString&)> finished) {
    const JobTicket ticket = newJobTicket();
    onLine([this, turn, userVisible, run = std::move(run), finished = std::move(finished), ticket]() mutable {
        TickJob job;
        job.ticket = ticket;
        job.turn = turn;
        job.userVisible = userVisible;
        job.run = std::move(run);
        job.finished = std::move(finished);
        line_->tasks.queue.push(std::move(job));
        if (userVisible)
            line_->acceptedUpTo = std::max(line_->acceptedUpTo, ticket);
        updateBusy();
    });
    return ticket;
}

JobTicket LineWorker::submitDirectJob(const DirectTarget& target, std::function<void(LineAccess&)> run,
                                      std::function<void(JobOutcome, const QString&)> finished) {
    const JobTicket ticket = newJobTicket();
    onLine([this, job = DirectJob{ticket, target, std::move(run), std::move(finished)}]() mutable {
        Line& l = *line_;
        l.acceptedUpTo = std::max(l.acceptedUpTo, job.ticket);
        // Bounded like the tick's queue: a window that floods the line is told its job was dropped.
        if (l.direct.size() >= TaskQueue::kMaxJobs) {
            if (job.finished)
                job.finished(JobOutcome::Dropped, {});
            updateBusy();
            return;
        }
        l.direct.push_back(std::move(job));
        updateBusy();
        // In its turn between ticks: after whatever the line is doing now, one job per call, so that a
        // tick or a stop can come between two direct jobs.
        onLine([this] {
            if (line_->direct.empty())
                return;
            DirectJob next = std::move(line_->direct.front());
            line_->direct.pop_front();
            runDirect(std::move(next));
            updateBusy();
        });
    });
    return ticket;
}

JobTicket LineWorker::readConfigurationDirect(const DirectTarget& target, const ConfigImage& image,
                                              std::function<void(JobResult<bool>)> done) {
    auto read = std::make_shared<ConfigImage>(image);
    return submitDirect<bool>(
        target,
        [this, read](LineAccess& access) {
            announce(&LineListener::transferRunning, true);
            const auto end = qScopeGuard([this] { announce(&LineListener::transferRunning, false); });
            ReadViews views;
            const bool ok = readConfiguration(access.link, *read, *progress_, &views, access.stopRequested);
            if (access.stopping())
                return false;
            announce(&LineListener::configurationRead, *read, views.views, ok);
            return ok;
        },
        std::move(done));
}

std::shared_ptr<TransferProgress> LineWorker::progressOnWindow(TransferProgress& shown) const {
    return std::make_shared<WindowProgress>(*this, shown);
}

bool LineWorker::isCancelled(JobTicket ticket) const {
    std::lock_guard lock(cancelMutex_);
    return cancelled_.count(ticket) > 0;
}

void LineWorker::cancel(JobTicket ticket) {
    if (ticket == 0)
        return;
    {
        std::lock_guard lock(cancelMutex_);
        cancelled_.insert(ticket);
    }
    onLine([this, ticket] {
        Line& l = *line_;
        if (!l.tasks.queue.cancel(ticket)) {
            const auto it = std::find_if(l.direct.begin(), l.direct.end(),
                                         [&](const DirectJob& j) { return j.ticket == ticket; });
            if (it != l.direct.end()) {
                DirectJob job = std::move(*it);
                l.direct.erase(it);
                if (job.finished)
                    job.finished(JobOutcome::Cancelled, {});
            }
        }
        // No job runs while this call does: a job that ran when cancel() was called has ended, one
        // that waited is gone. The mark was for the running one alone.
        {
            std::lock_guard lock(cancelMutex_);
            cancelled_.erase(ticket);
        }
        updateBusy();
    });
}

void LineWorker::clearTasks() {
    onLine([this] {
        line_->tasks.ClearAllTasks();
        updateBusy();
    });
}

// ---------------------------------------------------------------- the line thread

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
        // What waits was meant for the old controller; none of it goes to the new one.
        l.tasks.queue.dropUserJobs();
        l.tasks.readModbus.reset();
    }
    l.tasks.startCondition();
}

void LineWorker::tick() {
    dialogs_->hold();
    line_->tasks.tick();
    afterTick();
    dialogs_->release();
    ticks_.fetch_add(1);
}

void LineWorker::afterTick() {
    Line& l = *line_;
    Project& p = l.project;
    if (l.target.markCode != 0 && p.MarkCode == 0) {
        announce(&LineListener::markCleared, l.target.markCode);
        l.target.markCode = 0;
    }
    if (const auto d = p.markedDevice()) {
        const uint8_t protocol = p.model.protocolOf(*d);
        if (protocol != l.target.protocol) {
            announce(&LineListener::protocolChanged, p.MarkCode, protocol);
            l.target.protocol = protocol;
        }
    }
    const LineStatus status{p.MarkCode,
                            p.LinkUp,
                            l.tasks.versionPanelText(),
                            l.tasks.IdentAttempts - l.tasks.IdentSuccesses,
                            l.zarnetPort.lowLatency(),
                            l.modbusPort.lowLatency()};
    if (status != l.shownStatus) {
        l.shownStatus = status;
        announce(&LineListener::status, status);
    }
    updateBusy();
}

void LineWorker::runDirect(DirectJob job) {
    Line& l = *line_;
    const auto finish = [&job](JobOutcome outcome, const QString& error = {}) {
        if (auto f = std::exchange(job.finished, nullptr))
            f(outcome, error);
    };
    if (stopping_.load())
        return finish(JobOutcome::Dropped);
    if (isCancelled(job.ticket))
        return finish(JobOutcome::Cancelled);
    const DirectTarget& t = job.target;
    const bool zarnet = t.protocol == kProtocolZarnet;
    SerialPort& port = zarnet ? static_cast<SerialPort&>(l.zarnetPort) : l.modbusPort;
    const QString path = l.portPath(t.portNumber);
    const LineSettings settings = zarnet ? LineSettings{9600, 0, 0} : modbusLineSettings(t.mbParams);
    if (port.open(path, settings) != PortOk) {
        QString text =
            task_texts::kCannotOpenPortHead + ComPortName(t.portNumber) + task_texts::kCannotOpenPortTail;
        text += QLatin1Char('\n') + describeOpenFailure(port, path);
        return finish(JobOutcome::NoPort, text);
    }
    // The task loop's link keeps the marked controller's address: the direct job borrows the link.
    const uint8_t taskAddress = l.link.DeviceAddress;
    l.link.DeviceAddress = t.zarnetAddress;
    const JobTicket ticket = job.ticket;
    LineAccess access{l.link, l.modbus, [this, ticket] { return stopping_.load() || isCancelled(ticket); }};
    JobOutcome outcome = JobOutcome::Ran;
    QString error;
    try {
        job.run(access);
    } catch (const std::exception& e) {
        outcome = JobOutcome::Failed;
        error = QString::fromLocal8Bit(e.what());
    } catch (...) {
        outcome = JobOutcome::Failed;
        error = task_texts::kUnknownFailure;
    }
    l.link.DeviceAddress = taskAddress;
    port.close();
    finish(outcome, error);
}

void LineWorker::watchFrames(std::function<void(std::vector<LinkFrame>)> deliver, std::size_t maxPending) {
    std::unique_ptr<FrameTap> tap;
    if (deliver) {
        auto sink = std::make_shared<SampleSink<LinkFrame>>(std::max<std::size_t>(maxPending, 1));
        tap = std::make_unique<FrameTap>([this, sink, deliver = std::move(deliver)](const LinkFrame& frame) {
            if (sink->push(frame))
                post([sink, deliver] {
                    std::vector<LinkFrame> batch = sink->take();
                    if (!batch.empty())
                        deliver(std::move(batch));
                });
        });
    }
    onLine([this, tap = std::shared_ptr<FrameTap>(std::move(tap))] {
        Line& l = *line_;
        l.link.setTap(tap.get());
        l.modbus.setTap(tap.get());
        l.tap = tap;
    });
}

void LineWorker::updateBusy() {
    Line& l = *line_;
    const bool busy = l.tasks.queue.userJobsQueued() || !l.direct.empty();
    if (busy == l.busy && (busy || l.busyToldUpTo == l.acceptedUpTo))
        return;
    l.busy = busy;
    l.busyToldUpTo = l.acceptedUpTo;
    announce(&LineListener::busy, busy, l.acceptedUpTo);
}

} // namespace vextor
