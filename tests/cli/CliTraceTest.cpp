// vextorctl --trace against the virtual controller's fault injection: every frame on the line gets a
// line on stderr with the bytes as they crossed it, and each kind of bad reply is named.
#include "support/SimProcess.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vextor::testing;

namespace {

// The frames of a trace as "tx HEX" / "rx HEX" ("rx -" for a reply that never came), one a line.
QString traceFrames(const QString& err) {
    static const QRegularExpression line(QStringLiteral("^\\d+ (tx|rx) ([0-9A-F ]+|-) \\| "));
    QStringList frames;
    for (const QString& l : err.split(QLatin1Char('\n'))) {
        const auto m = line.match(l);
        if (m.hasMatch())
            frames << m.captured(1) + QLatin1Char(' ') + m.captured(2);
    }
    return frames.join(QLatin1Char('\n'));
}

// The same frames as the simulator logged them from its side of the line: what it received we sent,
// what it sent we received, and a reply it dropped we never saw.
QString simFrames(const QString& logPath) {
    QFile f(logPath);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList frames;
    for (const QString& l : QString::fromLatin1(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QString direction = l.section(QLatin1Char(' '), 1, 1);
        const QString hex = l.section(QLatin1Char(' '), 2);
        if (direction == QLatin1String("rx"))
            frames << QStringLiteral("tx ") + hex;
        else if (direction == QLatin1String("tx"))
            frames << QStringLiteral("rx ") + hex;
        else
            frames << QStringLiteral("rx -");
    }
    return frames.join(QLatin1Char('\n'));
}

} // namespace

TEST(CliTrace, EachInjectedFaultIsNamedWithTheBytesAsTheyCrossedTheLine) {
    const struct {
        QStringList simOptions;
        QStringList command;
        int exitCode;
        const char* verdictLine; // the end of the first reply's line
    } cases[] = {
        {{}, {"identify"}, 0, "| GetDeviceVersion | good"},
        {{"--corrupt-rate", "1"}, {"identify"}, 1, "| GetDeviceVersion | bad CRC"},
        {{"--wrong-address-rate", "1"}, {"identify"}, 1, "| GetDeviceVersion | wrong address"},
        {{"--truncate-rate", "1"}, {"identify"}, 1, "| GetDeviceVersion | short"},
        {{"--drop-rate", "1"}, {"identify"}, 1, "| GetDeviceVersion | no reply"},
        {{}, {"--session-key", "status"}, 0, "| GetDeviceStatus | good, scrambled"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.simOptions + c.command).join(' ').toStdString());
        QTemporaryDir dir;
        const QString log = dir.filePath("frames.log");
        SimProcess sim(QStringList{"--log", log, "--event-interval", "0"} + c.simOptions);
        ASSERT_TRUE(sim.started());
        const CtlResult r =
            runCtl(QStringList{"--port", sim.port(), "--retries", "0", "--trace"} + c.command);
        sim.stop(); // its log is whole
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.verdictLine))) << r.err.toStdString();
        EXPECT_FALSE(r.out.contains(QLatin1String(" tx "))); // the trace stays off stdout
        const QString ours = traceFrames(r.err);
        EXPECT_FALSE(ours.isEmpty());
        EXPECT_EQ(ours.toStdString(), simFrames(log).toStdString());
    }
}

TEST(CliTrace, ModbusFramesAreTracedToo) {
    QTemporaryDir dir;
    const QString log = dir.filePath("frames.log");
    SimProcess sim({"--log", log, "--event-interval", "0", "--modbus-address", "17"});
    ASSERT_TRUE(sim.started());
    const QStringList port{"--port", sim.port(), "--retries", "0", "--trace"};
    CtlResult r = runCtl(port + QStringList{"to-modbus"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("| WriteMemory | good")) << r.err.toStdString();
    QStringList ours{traceFrames(r.err)};
    r = runCtl(port + QStringList{"modbus-identify", "--modbus-address", "17"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(" tx 11 03 EA 61 00 03 ")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("| ReadHoldingRegisters | good")) << r.err.toStdString();
    ours << traceFrames(r.err);
    // Nobody answers at another address.
    r = runCtl(port + QStringList{"modbus-identify", "--modbus-address", "18"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("rx - | ReadHoldingRegisters | no reply")) << r.err.toStdString();
    // Nobody answered: the simulator logged the request alone.
    ours << traceFrames(r.err).section(QLatin1Char('\n'), 0, 0);
    sim.stop();
    EXPECT_EQ(ours.join(QLatin1Char('\n')).toStdString(), simFrames(log).toStdString());
}
