// vextorctl scan against virtual controllers on a real pseudo-terminal.
#include "support/SimProcess.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace vextor::testing;

namespace {

const QString kAt3 = QStringLiteral("address=3 type=32 firmware=2,01 build=3 config=2,00\n");
const QString kAt17 = QStringLiteral("address=17 type=32 firmware=2,01 build=3 config=2,00\n");

QStringList scanArgs(const QString& port, const QStringList& options = {}) {
    return QStringList{QStringLiteral("--port"), port, QStringLiteral("scan")} + options;
}

} // namespace

TEST(CliScan, FindsBothControllersOfTheLineAndNothingElse) {
    SimProcess sim(
        {"--address", "3", "--address", "17", "--firmware", "201", "--build", "3", "--event-interval", "0"});
    ASSERT_TRUE(sim.started());
    QElapsedTimer t;
    t.start();
    const auto r = runCtl(scanArgs(sim.port()));
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, kAt3 + kAt17);
    // 125 silent addresses at their short time-out: seconds, not the minutes of the usual one.
    EXPECT_LT(t.elapsed(), 40000);

    struct Case {
        QStringList range;
        int exitCode;
        QString out;
    } cases[] = {
        {{"--from", "10", "--to", "20"}, 0, kAt17},
        {{"--to", "3"}, 0, kAt3},
        {{"--from", "17", "--to", "17"}, 0, kAt17},
        {{"--from", "4", "--to", "16"}, 1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.range.join(' ').toStdString());
        const auto s = runCtl(scanArgs(sim.port(), c.range));
        EXPECT_EQ(s.exitCode, c.exitCode) << s.err.toStdString();
        EXPECT_EQ(s.out, c.out);
    }
}

TEST(CliScan, AReplyFromAnotherAddressIsCountedNotListed) {
    SimProcess sim({"--address", "2", "--wrong-address-rate", "1", "--event-interval", "0"});
    ASSERT_TRUE(sim.started());
    const auto r = runCtl(scanArgs(sim.port(), {"--to", "4"}));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(r.err.contains("1 replies came from another address")) << r.err.toStdString();
}

TEST(CliScan, BadRangesSendNothingAndAPortThatWillNotOpen) {
    const QString noPort = QStringLiteral("/dev/vextor-no-such-port");
    for (const QStringList& bad :
         {QStringList{"--from", "0"}, QStringList{"--to", "128"}, QStringList{"--from", "20", "--to", "10"},
          QStringList{"--from", "x"}, QStringList{"--timeout", "5"}, QStringList{"--from"}}) {
        SCOPED_TRACE(bad.join(' ').toStdString());
        const auto r = runCtl(scanArgs(noPort, bad));
        EXPECT_EQ(r.exitCode, 2) << "refused before the port is opened";
        EXPECT_FALSE(r.err.isEmpty());
    }
    const auto r = runCtl(scanArgs(noPort, {"--from", "5", "--to", "9"}));
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_TRUE(r.err.contains(noPort)) << r.err.toStdString();
}
