// The monitor's job on the real line worker, against virtual controllers on a pseudo-terminal: one
// record per tick with values, events and chart points; a discrete output set from the service menu
// shows on the controller's channel; "Стоп" ends it.
#include "monitor/PollJob.h"
#include "monitor/MonitorView.h"
#include "monitor/ServiceMenus.h"

#include "line/LineWorker.h"
#include "sim/VirtualLine.h"
#include "support/ScriptedDialogs.h"
#include "support/WaitFor.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace vextor::monitor {
namespace {

using vextor::testing::waitFor;

QCoreApplication& app() {
    static int argc = 1;
    static char name[] = "monitor_job_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication instance(argc, argv);
    return instance;
}

// The service menus' way to the controller as a window takes it: a direct job on the marked
// controller's port and address.
class WorkerAccess : public ControllerAccess {
public:
    WorkerAccess(LineWorker& worker, DirectTarget target) : worker_(worker), target_(target) {}
    void run(std::function<void(ZarnetLink&)> op, std::function<void(bool)> done) override {
        worker_.submitDirect<bool>(
            target_,
            [op](LineAccess& a) {
                op(a.link);
                return true;
            },
            [done](JobResult<bool> r) {
                if (done)
                    done(r.ran());
            });
    }

private:
    LineWorker& worker_;
    DirectTarget target_;
};

TEST(PollJob, TheMonitorRunsOnTheLineWorkerAgainstTheVirtualController) {
    app();
    VirtualLine line;
    sim::ControllerSettings settings = virtualVextor(3, 3);
    settings.eventIntervalMs = 300;
    ASSERT_TRUE(line.addController(settings));
    QString error;
    ASSERT_TRUE(line.start(error)) << error.toStdString();
    const QString port = line.portPath();
    ScriptedDialogs dialogs;
    NullProgress progress;
    QObject receiver;
    LineWorker::Options options;
    options.tickMs = 100;
    options.portPath = [port](int) { return port; };
    LineWorker worker(&receiver, dialogs, progress, options);
    LineTarget target;
    target.markCode = 2;
    target.protocol = kProtocolZarnet;
    target.zarnetAddress = 3;
    worker.setTarget(target);

    PollSettings poll;
    poll.channels = ChannelSelection::allOwnChannels();
    poll.scales[1] = TraceScale{2.0f, -10.0f};
    auto session = std::make_shared<PollerSession>(poll);
    std::vector<MonitorRecord> records;
    MonitorView view;
    std::optional<JobOutcome> ended;
    const auto deliver = [&](std::vector<MonitorRecord> batch) {
        for (MonitorRecord& r : batch) {
            view.apply(r);
            records.push_back(std::move(r));
        }
    };
    JobTicket ticket = worker.submitPeriodic<MonitorRecord>(TaskTurn::Visual, pollJob(session), deliver,
                                                            [&](JobOutcome o) { ended = o; });
    ASSERT_TRUE(waitFor([&] { return records.size() >= 3 && !view.eventLines.isEmpty(); }));

    for (size_t i = 0; i < records.size(); ++i) {
        SCOPED_TRACE(i);
        const MonitorRecord& r = records[i];
        EXPECT_EQ(r.steps, 9) << "a whole cycle in every tick";
        ASSERT_TRUE(r.chart.has_value());
        EXPECT_EQ(r.chart->x, int64_t(i));
        ASSERT_TRUE(r.analogIn[0].has_value());
        EXPECT_FLOAT_EQ(*r.chart->y[1], *r.analogIn[0] * 2.0f - 10.0f);
        EXPECT_TRUE(r.analogOut[1].has_value());
        EXPECT_TRUE(r.discreteIn[5].has_value());
        EXPECT_EQ(r.errors, 0);
    }
    EXPECT_FALSE(view.analogInText[5].isEmpty());
    EXPECT_FALSE(view.errorLabel.visible());
    EXPECT_EQ(view.discreteOutLamp[3], Lamp::Grey);

    // Discrete output 4 set by hand shows in the monitor's next cycles.
    WorkerAccess access(worker, DirectTarget{1, kProtocolZarnet, 3, 3, 0});
    ServiceMenus menus(dialogs, access);
    menus.setDiscreteOutput(QStringLiteral("0"), QStringLiteral("4"), true, {});
    ASSERT_TRUE(waitFor([&] { return view.discreteOutLamp[3] == Lamp::Red; }));

    // "Стоп", then "Старт" with other ticks: the chart goes on where it was.
    worker.cancel(ticket);
    ASSERT_TRUE(waitFor([&] { return ended.has_value(); }));
    EXPECT_EQ(*ended, JobOutcome::Cancelled);
    const int64_t lastX = records.back().chart ? records.back().chart->x : -1;
    records.clear();
    poll.channels = ChannelSelection{};
    poll.channels.analogOut[0] = true;
    session->setSettings(poll);
    ended.reset();
    ticket = worker.submitPeriodic<MonitorRecord>(TaskTurn::Visual, pollJob(session), deliver,
                                                  [&](JobOutcome o) { ended = o; });
    ASSERT_TRUE(waitFor([&] { return records.size() >= 2 && records.back().chart; }));
    const MonitorRecord& r = records.back();
    EXPECT_TRUE(r.chart->y[7].has_value());
    EXPECT_FALSE(r.chart->y[1].has_value());
    EXPECT_FALSE(r.analogIn[0].has_value());
    EXPECT_GT(r.chart->x, lastX);
    worker.cancel(ticket);
    ASSERT_TRUE(waitFor([&] { return ended.has_value(); }));
    worker.stop();
}

} // namespace
} // namespace vextor::monitor
