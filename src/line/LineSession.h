#pragma once
// The window's side of the line: the worker wired to the window's project and image, the marked
// controller's link sent whenever it changes, the busy state held from the moment a user's job is
// submitted until the line has ended it, and what the line last told about the marked controller.
// The main window and the service page hand their work to the line through it; windows that only
// listen (a monitor, a traffic view) add listeners to the worker.
#include "BusyState.h"
#include "LineWorker.h"

#include <functional>
#include <memory>
#include <optional>

namespace vextor {

class LineSession {
public:
    // Everything runs on receiver's thread; the project and the image are the window's.
    LineSession(QObject* receiver, Project& project, ConfigImage& image, UserDialogs& dialogs,
                TransferProgress& progress, LineWorker::Options options);
    ~LineSession();
    LineSession(const LineSession&) = delete;
    LineSession& operator=(const LineSession&) = delete;

    LineWorker& worker() { return *worker_; }

    // The project's mark and link as the line must use them, sent when they changed. A new mark has
    // no link until the line has tried it.
    void sendTarget();
    // One of the task loop's tasks on the marked controller; a transfer takes the image as it is now.
    JobTicket queueTask(LineTask task);
    // A job in turn's turn on the marked controller; the window is busy until it ends.
    template <class R>
    JobTicket submit(TaskTurn turn, std::function<R(LineAccess&)> op,
                     std::function<void(JobResult<R>)> done) {
        sendTarget();
        const JobTicket ticket = worker_->submit<R>(turn, std::move(op), std::move(done));
        submitted(ticket);
        return ticket;
    }

    // A direct job on a port and controller of its own (the device window); the window is busy
    // until it ends.
    template <class R>
    JobTicket submitDirect(const DirectTarget& target, std::function<R(LineAccess&)> op,
                           std::function<void(JobResult<R>)> done) {
        const JobTicket ticket = worker_->submitDirect<R>(target, std::move(op), std::move(done));
        submitted(ticket);
        return ticket;
    }
    // The device window's configuration read, busy the same way.
    JobTicket readConfigurationDirect(const DirectTarget& target, std::function<void(JobResult<bool>)> done) {
        const JobTicket ticket = worker_->readConfigurationDirect(target, image_, std::move(done));
        submitted(ticket);
        return ticket;
    }

    // A user's job this session submitted waits or runs on the line.
    bool busy() const { return follower_.busy(); }
    // A configuration write runs on the line (as far as the line has told).
    bool writingConfiguration() const { return writing_; }
    // What the line last told about the marked controller.
    const LineStatus& status() const { return status_; }

    // Told on the receiver's thread, after the project took the news.
    std::function<void()> statusChanged;        // project.LinkUp follows the line
    std::function<void()> markCleared;          // the line dropped the mark: the project has none now
    std::function<void(bool busy)> busyChanged; // only on a change

private:
    Project& project_;
    ConfigImage& image_;
    std::unique_ptr<LineWorker> worker_;
    std::optional<LineTarget> sentTarget_;
    LineStatus status_;
    bool writing_ = false;
    LineBusyFollower follower_;
    std::optional<BusyGuard> guard_;

    void submitted(JobTicket ticket);
    void lineSaid(bool busy, JobTicket upTo);
    void setGuard(bool busy);
};

} // namespace vextor
