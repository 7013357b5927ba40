#include "LiveMonitor.h"

#include <utility>

namespace vextor::monitor {

LiveMonitor::LiveMonitor(MonitorLine& line)
    : line_(line), session_(std::make_shared<PollerSession>()), alive_(std::make_shared<bool>(true)) {}

LiveMonitor::~LiveMonitor() {
    if (ticket_ != 0)
        line_.stop(ticket_);
    recorder_.close();
}

void LiveMonitor::changed() {
    if (viewChanged)
        viewChanged();
}

void LiveMonitor::setChannels(const ChannelSelection& channels) {
    settings_.channels = channels;
    session_->setSettings(settings_);
}

void LiveMonitor::setChartSettings(const ChartSettings& chart) {
    settings_.scales = traceScales(chart);
    session_->setSettings(settings_);
}

void LiveMonitor::start(const ChartSettings& chart) {
    if (ticket_ != 0)
        return;
    settings_.scales = traceScales(chart);
    session_->setSettings(settings_);
    // The callbacks may arrive after this monitor is gone (the program closing): they then do
    // nothing.
    std::weak_ptr<bool> alive = alive_;
    auto ticket = std::make_shared<JobTicket>(0);
    ticket_ = line_.start(
        pollJob(session_),
        [this, alive](std::vector<MonitorRecord> records) {
            if (!alive.expired())
                deliver(std::move(records));
        },
        [this, alive, ticket](JobOutcome) {
            if (!alive.expired())
                ended(*ticket);
        });
    *ticket = ticket_;
    if (runningChanged)
        runningChanged(true);
    changed();
}

void LiveMonitor::stop() {
    if (ticket_ == 0)
        return;
    line_.stop(std::exchange(ticket_, 0));
    if (runningChanged)
        runningChanged(false);
    changed();
}

void LiveMonitor::ended(JobTicket ticket) {
    // The end of a run that "Стоп" already ended, or of an older run, changes nothing.
    if (ticket == 0 || ticket != ticket_)
        return;
    ticket_ = 0;
    if (runningChanged)
        runningChanged(false);
    changed();
}

// Records still on their way from a run that was stopped are shown too: they are what the controller
// said, and the chart keeps its points in order.
void LiveMonitor::deliver(std::vector<MonitorRecord> records) {
    std::vector<ChartPoint> points;
    QStringList lines;
    for (const MonitorRecord& record : records) {
        view.apply(record);
        for (const PolledEvent& e : record.events)
            lines.append(e.line);
        if (!record.chart || record.chart->empty())
            continue;
        points.push_back(*record.chart);
        if (recorder_.isOpen() && !recorder_.writeRow(record.time, chartCells(*record.chart))) {
            const QString reason = recorder_.errorString();
            recorder_.close();
            if (recordingFailed)
                recordingFailed(reason);
        }
    }
    if (!points.empty() && pointsAdded)
        pointsAdded(points);
    if (!lines.isEmpty() && eventLinesAdded)
        eventLinesAdded(lines);
    changed();
}

bool LiveMonitor::startRecording(const QString& path, const std::array<QString, kSeriesCount>& titles,
                                 QString* error) {
    recorder_.close();
    if (!recorder_.open(path, chartColumns(titles))) {
        if (error)
            *error = recorder_.errorString();
        return false;
    }
    return true;
}

void LiveMonitor::stopRecording() {
    recorder_.close();
}

void LiveMonitor::resetErrors() {
    view.errorLabel.reset();
    changed();
}

void LiveMonitor::countError() {
    view.errorLabel.count();
    changed();
}

} // namespace vextor::monitor
