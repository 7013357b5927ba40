#pragma once
// The jobs waiting for their turn in a tick, kept in the order a tick runs them: by turn, and within
// a turn by ticket, which is the order of submission. The queue is bounded; every job leaves it
// through exactly one call of its finished function.
#include "LineTypes.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace vextor {

// A job in a tick's turn, as the task loop keeps it.
struct TickJob {
    JobTicket ticket = 0; // given by push() when 0
    TaskTurn turn = TaskTurn::Reset;
    bool pause = true;       // waits the request pause before it starts
    bool userVisible = true; // a user's operation: the window is busy while it waits; a monitor cycle is not
    std::function<JobStep(LineAccess&)> run;
    // Told once how the job ended, on the line thread.
    std::function<void(JobOutcome, const QString& error)> finished;
};

class TaskQueue {
public:
    static constexpr std::size_t kMaxJobs = 256;
    using Position = std::pair<TaskTurn, JobTicket>;

    // The job's ticket; 0 (and the job told it was dropped) when the queue is full.
    JobTicket push(TickJob job);
    // The first job after position in tick order (the first of all without one), taken out.
    std::optional<TickJob> takeNext(std::optional<Position> after);
    // A job that runs again in the next tick goes back to its place.
    void putBack(TickJob job);
    // A queued job leaves with Cancelled; false when no such job waits.
    bool cancel(JobTicket ticket);
    // Every job of the turn leaves with Cancelled.
    void cancelTurn(TaskTurn turn);
    // Every job leaves with outcome.
    void clear(JobOutcome outcome);
    // Every user's job leaves with Dropped: they were queued for a controller that is no longer
    // marked. A live monitor's cycle stays and goes on with the new mark.
    void dropUserJobs();

    bool queued(TaskTurn turn) const;
    bool userJobsQueued() const;
    bool empty() const { return jobs_.empty(); }
    std::size_t size() const { return jobs_.size(); }

private:
    std::vector<TickJob> jobs_; // by (turn, ticket)
    void insert(TickJob job);
    void removeIf(const std::function<bool(const TickJob&)>& leaves, JobOutcome outcome);
};

// Tells a job how it ended, once.
void finishJob(TickJob& job, JobOutcome outcome, const QString& error = {});

} // namespace vextor
