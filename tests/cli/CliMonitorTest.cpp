// vextorctl monitor and set-output against the virtual controller on a real pseudo-terminal.
#include "support/SimProcess.h"

#include <QProcess>
#include <QRegularExpression>
#include <csignal>
#include <gtest/gtest.h>

using namespace vextor::testing;

namespace {

const QString kHeader =
    QStringLiteral("time,AI1,AI2,AI3,AI4,AI5,AI6,AO1,AO2,DI1,DI2,DI3,DI4,DI5,DI6,DO1,DO2,DO3,DO4,DO5,DO6");

QStringList with(const SimProcess& sim, QStringList args) {
    return QStringList{"--port", sim.port()} + args;
}

// Checks one data row's shape and gives its cells.
QStringList rowCells(const QString& row) {
    static const QRegularExpression time(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}(Z|[+-]\\d\\d:\\d\\d)$"));
    static const QRegularExpression number(QStringLiteral("^-?\\d+\\.\\d\\d$"));
    const QStringList cells = row.split(',');
    EXPECT_EQ(cells.size(), 21) << row.toStdString();
    if (cells.size() != 21)
        return cells;
    EXPECT_TRUE(time.match(cells[0]).hasMatch()) << cells[0].toStdString();
    for (int i = 1; i <= 8; ++i)
        EXPECT_TRUE(number.match(cells[i]).hasMatch()) << row.toStdString();
    for (int i = 9; i <= 20; ++i)
        EXPECT_TRUE(cells[i] == "0" || cells[i] == "1") << row.toStdString();
    return cells;
}

} // namespace

TEST(CliMonitor, RowsPerCycleAndEventsOnStderr) {
    SimProcess sim({"--event-interval", "50"});
    ASSERT_TRUE(sim.started());
    const auto r = runCtl(with(sim, {"monitor", "--count", "2", "--interval", "300"}));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.out.split('\n');
    ASSERT_EQ(lines.size(), 4) << r.out.toStdString(); // header, two rows, the last line break
    EXPECT_EQ(lines[0], kHeader);
    rowCells(lines[1]);
    rowCells(lines[2]);
    EXPECT_TRUE(lines[3].isEmpty());
    // Each event as the monitor's event list shows it, then what it means.
    static const QRegularExpression event(
        QStringLiteral("^\\d+ \\d+ \\d+   \\d\\d:\\d\\d:\\d\\d  \\d\\d\\.\\d\\d\\.\\d\\d  .+\\(\\d+\\)  "
                       ".+$|^IC a=\\d\\d sw=\\d\\d$"));
    const QStringList events = r.err.split('\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(events.isEmpty());
    for (const QString& e : events)
        EXPECT_TRUE(event.match(e).hasMatch()) << e.toStdString();
}

TEST(CliMonitor, OutputsSetByHandShowOnTheControllersChannels) {
    SimProcess sim({"--event-interval", "0"});
    ASSERT_TRUE(sim.started());
    auto r = runCtl(with(sim, {"set-output", "do", "4", "1"}));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "do4=1\n");
    r = runCtl(with(sim, {"set-output", "ao", "2", "7,25"}));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "ao2=7.25\n");
    r = runCtl(with(sim, {"set-output", "--slave", "1", "do", "2", "1"}));
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "slave1 do2=1\n");

    r = runCtl(with(sim, {"monitor", "--count", "1"}));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList cells = rowCells(r.out.split('\n').value(1));
    ASSERT_EQ(cells.size(), 21);
    EXPECT_EQ(cells[8], "7.25");                                           // AO2
    EXPECT_EQ(cells.mid(15), (QStringList{"0", "0", "0", "1", "0", "0"})); // DO1..DO6

    // What the controller refuses fails; what is no command is not sent at all.
    r = runCtl(with(sim, {"set-output", "ao", "2", "30"}));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(r.err.isEmpty());
    r = runCtl(with(sim, {"set-output", "--slave", "9", "do", "1", "1"}));
    EXPECT_EQ(r.exitCode, 1) << "nobody at 9 on the slave line";
    for (const QStringList& bad :
         {QStringList{"set-output", "do", "4", "2"}, QStringList{"set-output", "ao", "1", "x"},
          QStringList{"set-output", "fo", "1", "1"}, QStringList{"set-output", "do", "256", "1"},
          QStringList{"monitor", "--count", "0"}, QStringList{"monitor", "extra"}}) {
        r = runCtl(with(sim, bad));
        EXPECT_EQ(r.exitCode, 2) << bad.join(' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty());
    }
}

TEST(CliMonitor, CtrlCEndsWithTheLastRowWhole) {
    SimProcess sim;
    ASSERT_TRUE(sim.started());
    QProcess p;
    p.start(binPath("vextorctl"), with(sim, {"monitor", "--interval", "100"}));
    ASSERT_TRUE(p.waitForStarted(5000));
    QByteArray out;
    while (out.count('\n') < 4 && p.waitForReadyRead(5000))
        out += p.readAllStandardOutput();
    ASSERT_GE(out.count('\n'), 4) << out.toStdString();
    ::kill(static_cast<pid_t>(p.processId()), SIGINT);
    ASSERT_TRUE(p.waitForFinished(5000));
    out += p.readAllStandardOutput();
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    ASSERT_TRUE(out.endsWith('\n'));
    const QStringList lines = QString::fromUtf8(out).split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines[0], kHeader);
    for (int i = 1; i < lines.size(); ++i)
        rowCells(lines[i]);
}
