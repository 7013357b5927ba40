// The monitor's run without a window: what "Старт" hands the line, what the delivered records do to
// the view, the chart and the recording, and how a run ends when the line ends it.
#include "monitor/LiveMonitor.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vextor::monitor {
namespace {

// Keeps what the monitor hands over, so the test plays the line.
struct ScriptedLine : MonitorLine {
    std::function<void(std::vector<MonitorRecord>)> deliver;
    std::function<void(JobOutcome)> ended;
    std::vector<JobTicket> stopped;
    JobTicket next = 40;
    JobTicket start(PollJobStep, std::function<void(std::vector<MonitorRecord>)> d,
                    std::function<void(JobOutcome)> e) override {
        deliver = std::move(d);
        ended = std::move(e);
        return ++next;
    }
    void stop(JobTicket ticket) override { stopped.push_back(ticket); }
};

MonitorRecord cycleEnd(int64_t x, float in1) {
    MonitorRecord r;
    r.time = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5));
    r.steps = 9;
    r.analogIn[0] = in1;
    ChartPoint p;
    p.x = x;
    p.y[1] = in1;
    r.chart = p;
    return r;
}

TEST(LiveMonitor, RecordsReachTheViewTheChartAndTheRecording) {
    ScriptedLine line;
    LiveMonitor monitor(line);
    std::vector<int64_t> xs;
    monitor.pointsAdded = [&](const std::vector<ChartPoint>& points) {
        for (const ChartPoint& p : points)
            xs.push_back(p.x);
    };
    QTemporaryDir dir;
    const QString csv = dir.filePath("run.csv");
    std::array<QString, kSeriesCount> titles;
    for (int s = 0; s < kSeriesCount; ++s)
        titles[size_t(s)] = seriesTitle(s);
    ASSERT_TRUE(monitor.startRecording(csv, titles, nullptr));
    monitor.start(defaultChartSettings());
    ASSERT_TRUE(monitor.running());

    MonitorRecord wait; // a turn that ended no cycle: no point, no row
    wait.steps = 1;
    wait.errors = 2;
    line.deliver({cycleEnd(0, 20.5f), wait, cycleEnd(1, 21.25f)});
    EXPECT_EQ(xs, (std::vector<int64_t>{0, 1}));
    EXPECT_EQ(monitor.view.analogInText[0], "21,25");
    EXPECT_EQ(monitor.view.errorLabel.text(), "Ошибок связи 2");
    EXPECT_EQ(monitor.recordedRows(), 2);

    // The line ends the run (a new project cleared the tasks): the monitor is stopped, nothing asked.
    line.ended(JobOutcome::Dropped);
    EXPECT_FALSE(monitor.running());
    EXPECT_TRUE(line.stopped.empty());
    monitor.stopRecording();
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> rows = file.readAll().split('\n');
    ASSERT_GE(rows.size(), 3);
    EXPECT_TRUE(rows[1].endsWith(",20.50,,,,,,,,,")) << rows[1].constData();
    EXPECT_TRUE(rows[2].endsWith(",21.25,,,,,,,,,")) << rows[2].constData();

    // "Стоп" cancels the run's ticket; the end the line tells afterwards changes nothing.
    monitor.start(defaultChartSettings());
    auto oldEnd = line.ended;
    monitor.stop();
    ASSERT_EQ(line.stopped.size(), 1u);
    monitor.start(defaultChartSettings());
    oldEnd(JobOutcome::Cancelled);
    EXPECT_TRUE(monitor.running()) << "the end of the stopped run does not stop the new one";
}

TEST(LiveMonitor, RecordsArrivingAfterTheMonitorIsGoneAreDropped) {
    ScriptedLine line;
    auto monitor = std::make_unique<LiveMonitor>(line);
    monitor->start(defaultChartSettings());
    auto deliver = line.deliver;
    auto ended = line.ended;
    monitor.reset();
    EXPECT_EQ(line.stopped.size(), 1u) << "the run is taken back when the monitor goes";
    deliver({cycleEnd(0, 1.0f)});
    ended(JobOutcome::Cancelled);
}

} // namespace
} // namespace vextor::monitor
