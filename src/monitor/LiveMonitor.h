#pragma once
// The live monitor's run, headless: "Старт" hands the line the poll job with the channels ticked and
// the traces' scales, "Стоп" takes it back, and every record the line delivers updates the view,
// becomes chart points and, while recording, CSV rows. The window draws what this holds; tests drive
// it without a window.
#include "ChartSettings.h"
#include "CsvRecorder.h"
#include "MonitorView.h"
#include "PollJob.h"

#include <functional>
#include <memory>
#include <vector>

namespace vextor::monitor {

// The seam to the line: the application hands the job to the line worker as a periodic job in the
// monitor's turn of the tick.
class MonitorLine {
public:
    virtual ~MonitorLine() = default;
    virtual JobTicket start(PollJobStep step, std::function<void(std::vector<MonitorRecord>)> deliver,
                            std::function<void(JobOutcome)> ended) = 0;
    virtual void stop(JobTicket ticket) = 0;
};

class LiveMonitor {
public:
    explicit LiveMonitor(MonitorLine& line);
    ~LiveMonitor();
    LiveMonitor(const LiveMonitor&) = delete;
    LiveMonitor& operator=(const LiveMonitor&) = delete;

    MonitorView view;

    // The view changed (told once per batch of records).
    std::function<void()> viewChanged;
    // New chart points, in order, and new event lines (told before viewChanged).
    std::function<void(const std::vector<ChartPoint>&)> pointsAdded;
    std::function<void(const QStringList&)> eventLinesAdded;
    // The run started or ended, also when the line ended it (the mark went, a new project).
    std::function<void(bool running)> runningChanged;
    // A recording stopped by itself: the file could not be written on. The text says why.
    std::function<void(const QString& reason)> recordingFailed;

    // The boxes of the window; taken by the next turn of a running monitor.
    void setChannels(const ChannelSelection& channels);
    const ChannelSelection& channels() const { return settings_.channels; }

    // New trace scales ("Применить" of the chart settings): the next chart point takes them.
    void setChartSettings(const ChartSettings& chart);

    // "Старт" with the chart settings just loaded; "Стоп".
    void start(const ChartSettings& chart);
    void stop();
    bool running() const { return ticket_ != 0; }

    // Recording of the chart points to CSV, one row per point, under the series' titles.
    bool startRecording(const QString& path, const std::array<QString, kSeriesCount>& titles, QString* error);
    void stopRecording();
    bool recording() const { return recorder_.isOpen(); }
    qint64 recordedRows() const { return recorder_.rows(); }

    // A click on the error label; a slave command of the service menus that failed.
    void resetErrors();
    void countError();

private:
    MonitorLine& line_;
    std::shared_ptr<PollerSession> session_;
    PollSettings settings_;
    JobTicket ticket_ = 0;
    CsvRecorder recorder_;
    std::shared_ptr<bool> alive_;

    void deliver(std::vector<MonitorRecord> records);
    void ended(JobTicket ticket);
    void changed();
};

} // namespace vextor::monitor
