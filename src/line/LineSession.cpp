#include "LineSession.h"

#include "project/NodeCode.h"
#include "project/Project.h"

namespace vextor {

LineSession::LineSession(QObject* receiver, Project& project, ConfigImage& image, UserDialogs& dialogs,
                         TransferProgress& progress, LineWorker::Options options)
    : project_(project), image_(image) {
    if (!options.currentImage)
        options.currentImage = [this] { return image_; };
    worker_ = std::make_unique<LineWorker>(receiver, dialogs, progress, std::move(options));
    LineListener l;
    l.status = [this](const LineStatus& s) {
        status_ = s;
        project_.LinkUp = s.linkUp && s.markCode == project_.MarkCode && project_.MarkCode != 0;
        if (statusChanged)
            statusChanged();
    };
    l.markCleared = [this](int code) {
        if (project_.MarkCode != code)
            return;
        project_.ClearMark();
        sendTarget();
        if (markCleared)
            markCleared();
    };
    l.protocolChanged = [this](int code, uint8_t protocol) {
        if (project_.MarkCode != code)
            return;
        if (const auto d = project_.markedDevice())
            project_.model.setProtocolOf(*d, protocol);
    };
    l.busy = [this](bool busy, JobTicket upTo) { lineSaid(busy, upTo); };
    l.configurationWriting = [this](bool running) { writing_ = running; };
    l.modbusKept = [this](int code, uint8_t address, uint8_t params) {
        // The controller of that mark keeps its own settings: its record takes them, whether it is
        // still marked or not, so that the line reaches it there from now on.
        const auto ref = decodeNodeCode(code);
        if (!ref || ref->role != NodeRole::Device)
            return;
        DeviceRecord& r = project_.model.record(ref->device);
        r.ModbusAddress = address;
        r.MbParams = params;
        if (project_.MarkCode == code) {
            project_.ApplyMarkedLink();
            sendTarget();
        }
    };
    worker_->addListener(std::move(l));
}

LineSession::~LineSession() {
    // The line first: it may still be asking the dialogs or telling the progress window something.
    worker_.reset();
    guard_.reset();
}

void LineSession::sendTarget() {
    const LineTarget target = lineTargetOf(project_);
    if (sentTarget_ == target)
        return;
    if (!sentTarget_ || sentTarget_->markCode != target.markCode) {
        // Nothing is known of the new mark's link until the line has tried it.
        project_.LinkUp = false;
        status_ = LineStatus{target.markCode,      false, {}, status_.identFailures, status_.zarnetLatency,
                             status_.modbusLatency};
        if (statusChanged)
            statusChanged();
    }
    sentTarget_ = target;
    worker_->setTarget(target);
}

JobTicket LineSession::queueTask(LineTask task) {
    // The task works on the controller and the files the window shows now.
    sendTarget();
    const JobTicket ticket = worker_->queueTask(task, image_);
    submitted(ticket);
    return ticket;
}

void LineSession::submitted(JobTicket ticket) {
    const bool was = follower_.busy();
    follower_.submitted(ticket);
    if (!was)
        setGuard(true);
}

void LineSession::lineSaid(bool busy, JobTicket upTo) {
    if (follower_.lineSaid(busy, upTo))
        setGuard(busy);
}

void LineSession::setGuard(bool busy) {
    if (busy == guard_.has_value())
        return;
    if (busy)
        guard_.emplace();
    else
        guard_.reset();
    if (busyChanged)
        busyChanged(busy);
}

} // namespace vextor
