#pragma once
// The line on its own thread. The line worker owns the serial ports, the link, the Modbus master and
// the task loop, and runs the task timer, all on a QThread of its own; reads block in poll() there
// while the windows stay live.
//
// The windows hand it values: the marked controller's link settings whenever they change, and jobs
// (LineTypes.h): in a tick's turn, direct on a port and address of their own, or periodic with
// samples. A transfer takes a copy of the image as it is when queued. Each submit returns a ticket
// that cancels the job; every job ends with exactly one outcome, told on the window's thread.
//
// The line answers every listener (addListener) on the window's thread, with values only: link
// state and identity texts, log lines, a new image after a read, the event file, busy state.
// Messages the task loop shows are posted and shown one after another in the order they were told;
// the line goes on meanwhile. Only real questions (the configuration update) wait for the answer;
// stop() answers a pending question with its default, ends the current exchange, stops a transfer
// before its next request, and joins the thread, so closing the program never hangs.
#include "LineTypes.h"
#include "config/ConfigImage.h"
#include "config/ConfigObserver.h"
#include "link/FrameTap.h"
#include "link/TransferProgress.h"
#include "link/UserDialogs.h"

#include <QObject>
#include <QString>
#include <QThread>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <vector>

class QTimer;

namespace vextor {

class Project;
struct TickJob;

// The target of a window's project: its mark, port, active protocol and active link.
LineTarget lineTargetOf(const Project& project);

// The answers of the line; every function runs on the window's thread. Any may be left empty.
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
    // A configuration write starts (true) or has ended: it runs to its end whatever the window does.
    std::function<void(bool running)> configurationWriting;
    // Before a write the engineer kept the controller's own Modbus settings (instead of the
    // project's): the device of that mark takes them into its record.
    std::function<void(int markCode, uint8_t modbusAddress, uint8_t mbParams)> modbusKept;
    // A user's job waits or runs (true), or all have ended. upTo is the newest ticket the line had
    // taken in when it said so: a window that submitted a newer one since keeps its busy state.
    std::function<void(bool busy, JobTicket upTo)> busy;
};

class LineWorker : public QObject {
public:
    struct Options {
        int tickMs = 1000;
        // Port number -> device path; the port map unless given.
        std::function<QString(int portNumber)> portPath;
        // The configuration update writes the program's image: asked of the window as a blocking call.
        std::function<ConfigImage()> currentImage;
        // Samples of one periodic job waiting for the window beyond this many drop the oldest.
        std::size_t maxPendingSamples = 4096;
    };

    // receiver: the object whose thread hears the line (the window's). dialogs and progress belong to
    // that thread and are only used there.
    LineWorker(QObject* receiver, UserDialogs& dialogs, TransferProgress& progress, Options options);
    LineWorker(QObject* receiver, UserDialogs& dialogs, TransferProgress& progress)
        : LineWorker(receiver, dialogs, progress, Options{}) {}
    ~LineWorker() override;
    LineWorker(const LineWorker&) = delete;
    LineWorker& operator=(const LineWorker&) = delete;

    // From the receiver's thread. Listeners hear everything told after they were added.
    int addListener(LineListener listener);
    void removeListener(int id);

    // From the receiver's thread. Every call below hands its values to the line thread and returns
    // at once.
    // A new mark takes effect at the next tick: the user's jobs queued for the old one are dropped
    // (a task is told by its failure message), a read running for it ends at its next step and keeps
    // nothing, a configuration write runs to its end. New link settings of the same mark only change
    // where the next tick's frames go.
    void setTarget(const LineTarget& target);

    // One of the task loop's own tasks, in its turn. A transfer sends or reads into this image.
    JobTicket queueTask(LineTask task, const ConfigImage& image = {});

    // op runs in turn's turn of a tick on the marked controller, after it answered its
    // identification; done gets how it ended on the receiver's thread.
    template <class R>
    JobTicket submit(TaskTurn turn, std::function<R(LineAccess&)> op,
                     std::function<void(JobResult<R>)> done) {
        auto result = std::make_shared<JobResult<R>>();
        return submitTickJob(
            turn, true,
            [op = std::move(op), result](LineAccess& access) {
                result->value = op(access);
                return JobStep::Done;
            },
            finisher(result, std::move(done)));
    }

    // op runs on the line between ticks, on target's port and controller (the port is opened for it
    // and closed after it); done gets how it ended.
    template <class R>
    JobTicket submitDirect(const DirectTarget& target, std::function<R(LineAccess&)> op,
                           std::function<void(JobResult<R>)> done) {
        auto result = std::make_shared<JobResult<R>>();
        return submitDirectJob(
            target, [op = std::move(op), result](LineAccess& access) { result->value = op(access); },
            finisher(result, std::move(done)));
    }

    // A configuration read of target's controller between ticks (the device window's "Параметры"):
    // it starts from image, shows its steps in the transfer's progress, and the image it read reaches
    // the listeners as after the task loop's read; done hears whether every block came. A read that
    // is cancelled or stopped by the program's end tells nothing and keeps nothing.
    JobTicket readConfigurationDirect(const DirectTarget& target, const ConfigImage& image,
                                      std::function<void(JobResult<bool>)> done);

    // A progress a job may tell on the line thread: what it is told reaches shown on the receiver's
    // thread, in order, before the job's end. shown must outlive the job.
    std::shared_ptr<TransferProgress> progressOnWindow(TransferProgress& shown) const;

    // step runs in turn's turn of every tick on the marked controller until it returns Done or the
    // ticket is cancelled. The samples it hands over reach deliver on the receiver's thread in batches: one
    // wake-up for whatever piled up meanwhile, so a slow window never holds the line. ended is told
    // how the job ended.
    template <class S>
    JobTicket submitPeriodic(TaskTurn turn,
                             std::function<JobStep(LineAccess&, const std::function<void(S)>& sample)> step,
                             std::function<void(std::vector<S>)> deliver,
                             std::function<void(JobOutcome)> ended = {}) {
        auto sink = std::make_shared<SampleSink<S>>(maxPendingSamples_);
        auto toWindow = [this, sink, deliver = std::move(deliver)](S sample) {
            if (sink->push(std::move(sample)))
                post([sink, deliver] {
                    std::vector<S> batch = sink->take();
                    if (deliver && !batch.empty())
                        deliver(std::move(batch));
                });
        };
        return submitTickJob(
            turn, false,
            [step = std::move(step), toWindow = std::function<void(S)>(std::move(toWindow))](
                LineAccess& access) { return step(access, toWindow); },
            [this, ended = std::move(ended)](JobOutcome outcome, const QString&) {
                post([ended, outcome] {
                    if (ended)
                        ended(outcome);
                });
            });
    }

    // From the receiver's thread. Every frame the line sends and receives from now on reaches deliver there,
    // in batches as the samples of a periodic job do; frames waiting for the window beyond maxPending drop
    // the oldest. An empty deliver detaches the tap: the line gathers nothing again.
    void watchFrames(std::function<void(std::vector<LinkFrame>)> deliver, std::size_t maxPending);

    // Thread-safe. A waiting job leaves with Cancelled; a running one is asked to end at its next
    // step (a transfer before its next request, a periodic job after its current cycle).
    void cancel(JobTicket ticket);
    // Drops every waiting job (a new project).
    void clearTasks();

    // Thread-safe. Asks the current exchange to finish, wakes a pending question with its default
    // answer, ends the line thread and joins it; the ports are closed. Idempotent.
    void stop();
    bool stopping() const { return stopping_.load(); }

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
    struct DirectJob {
        JobTicket ticket = 0;
        DirectTarget target;
        std::function<void(LineAccess&)> run;
        std::function<void(JobOutcome, const QString&)> finished;
    };

    // Samples of one periodic job on their way to the window; bounded, oldest dropped first.
    template <class S> class SampleSink {
    public:
        explicit SampleSink(std::size_t max) : max_(max) {}
        // True when the window has to be woken for this sample.
        bool push(S sample) {
            std::lock_guard lock(mutex_);
            if (pending_.size() >= max_)
                pending_.pop_front();
            pending_.push_back(std::move(sample));
            return !std::exchange(wakePosted_, true);
        }
        std::vector<S> take() {
            std::deque<S> taken;
            {
                // Only the swap under the lock: the line never waits for a batch being copied.
                std::lock_guard lock(mutex_);
                wakePosted_ = false;
                taken.swap(pending_);
            }
            return std::vector<S>(std::make_move_iterator(taken.begin()),
                                  std::make_move_iterator(taken.end()));
        }

    private:
        std::mutex mutex_;
        std::deque<S> pending_;
        bool wakePosted_ = false;
        std::size_t max_;
    };

    template <class R>
    std::function<void(JobOutcome, const QString&)> finisher(std::shared_ptr<JobResult<R>> result,
                                                             std::function<void(JobResult<R>)> done) {
        return [this, result, done = std::move(done)](JobOutcome outcome, const QString& error) {
            result->outcome = outcome;
            result->error = error;
            if (outcome != JobOutcome::Ran)
                result->value.reset();
            post([done, r = *result] {
                if (done)
                    done(r);
            });
        };
    }

    QObject* receiver_;
    QThread thread_;
    std::size_t maxPendingSamples_;
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
    // The mark the window sent last, known at once: a read running for another one ends at its next
    // step, before the line thread has taken in the new target.
    std::atomic<int> requestedMark_{0};
    // Tickets cancelled while their job may be running; any thread.
    mutable std::mutex cancelMutex_;
    std::set<JobTicket> cancelled_;
    // Receiver's thread.
    std::map<int, LineListener> listeners_;
    int nextListener_ = 1;

    void post(std::function<void()> f) const;
    void onLine(std::function<void()> f);
    // Posts news to the receiver's thread, where every listener that wants it hears it. A listener may
    // add or remove listeners while it is told: the news goes to a copy of the list.
    template <class... Args, class... Values>
    void announce(std::function<void(Args...)> LineListener::*member, Values... values) const {
        post([this, member, values...] {
            const auto listeners = listeners_;
            for (const auto& [id, listener] : listeners)
                if (listener.*member)
                    (listener.*member)(values...);
        });
    }
    bool isCancelled(JobTicket ticket) const;
    JobTicket submitTickJob(TaskTurn turn, bool userVisible, std::function<JobStep(LineAccess&)> run,
                            std::function<void(JobOutcome, const QString&)> finished);
    JobTicket submitDirectJob(const DirectTarget& target, std::function<void(LineAccess&)> run,
                              std::function<void(JobOutcome, const QString&)> finished);

    // Line thread.
    void applyTarget(const LineTarget& target);
    void tick();
    void afterTick();
    void runDirect(DirectJob job);
    void updateBusy();
};

} // namespace vextor
