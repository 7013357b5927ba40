#include "TaskQueue.h"

#include <algorithm>
#include <atomic>

namespace vextor {

namespace {

TaskQueue::Position positionOf(const TickJob& job) {
    return {job.turn, job.ticket};
}

} // namespace

JobTicket newJobTicket() {
    static std::atomic<JobTicket> last{0};
    return last.fetch_add(1) + 1;
}

TaskTurn turnOf(LineTask task) {
    switch (task) {
    case LineTask::ReadConfig:
        return TaskTurn::ReadConfig;
    case LineTask::WriteConfig:
        return TaskTurn::WriteConfig;
    case LineTask::ReadEvents:
    case LineTask::ReadEventsFast:
        return TaskTurn::ReadEvents;
    case LineTask::Reset:
        return TaskTurn::Reset;
    case LineTask::SwitchToModbus:
        return TaskTurn::SwitchToModbus;
    case LineTask::SwitchToZarnet:
        break;
    }
    return TaskTurn::SwitchToZarnet;
}

void finishJob(TickJob& job, JobOutcome outcome, const QString& error) {
    if (auto f = std::exchange(job.finished, nullptr))
        f(outcome, error);
}

JobTicket TaskQueue::push(TickJob job) {
    if (job.ticket == 0)
        job.ticket = newJobTicket();
    if (jobs_.size() >= kMaxJobs) {
        finishJob(job, JobOutcome::Dropped);
        return 0;
    }
    const JobTicket ticket = job.ticket;
    insert(std::move(job));
    return ticket;
}

void TaskQueue::insert(TickJob job) {
    const auto at = std::upper_bound(jobs_.begin(), jobs_.end(), positionOf(job),
                                     [](const Position& p, const TickJob& j) { return p < positionOf(j); });
    jobs_.insert(at, std::move(job));
}

std::optional<TickJob> TaskQueue::takeNext(std::optional<Position> after) {
    auto it = jobs_.begin();
    if (after)
        it = std::upper_bound(jobs_.begin(), jobs_.end(), *after,
                              [](const Position& p, const TickJob& j) { return p < positionOf(j); });
    if (it == jobs_.end())
        return std::nullopt;
    TickJob job = std::move(*it);
    jobs_.erase(it);
    return job;
}

void TaskQueue::putBack(TickJob job) {
    insert(std::move(job));
}

bool TaskQueue::cancel(JobTicket ticket) {
    const auto it =
        std::find_if(jobs_.begin(), jobs_.end(), [&](const TickJob& j) { return j.ticket == ticket; });
    if (it == jobs_.end())
        return false;
    TickJob job = std::move(*it);
    jobs_.erase(it);
    finishJob(job, JobOutcome::Cancelled);
    return true;
}

void TaskQueue::cancelTurn(TaskTurn turn) {
    removeIf([turn](const TickJob& j) { return j.turn == turn; }, JobOutcome::Cancelled);
}

void TaskQueue::clear(JobOutcome outcome) {
    std::vector<TickJob> gone = std::move(jobs_);
    jobs_.clear();
    for (TickJob& job : gone)
        finishJob(job, outcome);
}

void TaskQueue::dropUserJobs() {
    removeIf([](const TickJob& j) { return j.userVisible; }, JobOutcome::Dropped);
}

void TaskQueue::removeIf(const std::function<bool(const TickJob&)>& leaves, JobOutcome outcome) {
    std::vector<TickJob> gone;
    for (auto it = jobs_.begin(); it != jobs_.end();) {
        if (leaves(*it)) {
            gone.push_back(std::move(*it));
            it = jobs_.erase(it);
        } else {
            ++it;
        }
    }
    // Told after the queue is consistent: a finished function may look at it.
    for (TickJob& job : gone)
        finishJob(job, outcome);
}

bool TaskQueue::queued(TaskTurn turn) const {
    return std::any_of(jobs_.begin(), jobs_.end(), [&](const TickJob& j) { return j.turn == turn; });
}

bool TaskQueue::userJobsQueued() const {
    return std::any_of(jobs_.begin(), jobs_.end(), [](const TickJob& j) { return j.userVisible; });
}

} // namespace vextor
