#include "PollJob.h"

#include "link/ZarnetLink.h"

namespace vextor::monitor {

void PollerSession::setSettings(const PollSettings& settings) {
    std::lock_guard lock(settingsMutex_);
    settings_ = settings;
}

PollSettings PollerSession::settings() const {
    std::lock_guard lock(settingsMutex_);
    return settings_;
}

MonitorRecord PollerSession::runTick(ZarnetLink& link, const std::function<bool()>& keepGoing, bool fresh) {
    std::lock_guard lock(pollerMutex_);
    poller_.setSettings(settings());
    if (fresh)
        poller_.start();
    return poller_.runTick(link, keepGoing);
}

PollJobStep pollJob(std::shared_ptr<PollerSession> session) {
    return [session = std::move(session),
            fresh = true](LineAccess& access, const std::function<void(MonitorRecord)>& hand) mutable {
        MonitorRecord record = session->runTick(
            access.link, [&access] { return !access.stopping(); }, std::exchange(fresh, false));
        // A turn that was stopped before its first step found nothing to show.
        if (record.steps > 0)
            hand(std::move(record));
        return JobStep::Again;
    };
}

} // namespace vextor::monitor
