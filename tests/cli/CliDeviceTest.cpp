// vextorctl against the virtual controller over a real pseudo-terminal.
#include "support/SimProcess.h"

#include "project/ProjectFile.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vextor::testing;

namespace {

QStringList with(const SimProcess& sim, QStringList args, bool key = false) {
    args.prepend(sim.port());
    args.prepend(QStringLiteral("--port"));
    if (key)
        args << QStringLiteral("--session-key");
    return args;
}

} // namespace

TEST(CliDevice, EveryServiceCommandPlainAndScrambled) {
    SimProcess sim({"--firmware", "201", "--build", "3", "--panel", "105"});
    ASSERT_TRUE(sim.started());
    for (bool key : {false, true}) {
        SCOPED_TRACE(key ? "scrambled" : "plain");
        auto r = runCtl(with(sim, {"identify"}, key));
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(r.out, "type=32\nfirmware=2,01\nbuild=3\npanel=1,05\nconfig=2,00\n");

        r = runCtl(with(sim, {"status"}, key));
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.startsWith("status=0x")) << r.out.toStdString();

        r = runCtl(with(sim, {"reply-delay", "--set", "300"}, key));
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        r = runCtl(with(sim, {"reply-delay"}, key));
        EXPECT_EQ(r.out, "reply-delay=300\n");
        runCtl(with(sim, {"reply-delay", "--set", "0"}, key));

        r = runCtl(with(sim, {"clock", "--set", "2026-12-10 23:59:30"}, key));
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(r.out, "23:59:30 10.12.26\n");
        r = runCtl(with(sim, {"clock"}, key));
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_TRUE(r.out.startsWith("23:59:3") || r.out.startsWith("23:59:4")) << r.out.toStdString();

        r = runCtl(with(sim, {"write-memory", "2000", "DE", "AD", "beef"}, key));
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        r = runCtl(with(sim, {"read-memory", "2000", "4"}, key));
        EXPECT_EQ(r.out, "0007D0: DE AD BE EF\n");

        r = runCtl(with(sim, {"address", "--set", "9"}, key));
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(runCtl(with(sim, {"identify"}, key)).exitCode, 1); // nobody at 1 any more
        r = runCtl(with(sim, {"--address", "9", "address", "--set", "1"}, key));
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();

        r = runCtl(with(sim, {"reset"}, key));
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    }
}

TEST(CliDevice, RoundTripThroughModbus) {
    SimProcess sim({"--firmware", "201", "--modbus-address", "17"});
    ASSERT_TRUE(sim.started());
    auto r = runCtl(with(sim, {"to-modbus"}));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(runCtl(with(sim, {"identify"})).exitCode, 1); // it answers Modbus only now

    r = runCtl(with(sim, {"modbus-identify", "--modbus-address", "17"}));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("type=32\nfirmware=2,01\n")) << r.out.toStdString();
    EXPECT_EQ(runCtl(with(sim, {"modbus-identify", "--modbus-address", "18"})).exitCode, 1);

    r = runCtl(with(sim, {"to-zarnet", "--modbus-address", "17"}));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = runCtl(with(sim, {"identify"}));
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
}

TEST(CliDevice, FaultsAndBadInput) {
    {
        SimProcess silent({"--drop-rate", "1"});
        ASSERT_TRUE(silent.started());
        QElapsedTimer t;
        t.start();
        const auto r = runCtl(with(silent, {"--retries", "0", "identify"}));
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_FALSE(r.err.isEmpty());
        EXPECT_LT(t.elapsed(), 3000); // one time-out, no retries
    }
    {
        SimProcess corrupt({"--corrupt-rate", "1", "--seed", "7"});
        ASSERT_TRUE(corrupt.started());
        EXPECT_EQ(runCtl(with(corrupt, {"identify"})).exitCode, 1);
    }
    SimProcess sim;
    ASSERT_TRUE(sim.started());
    for (const QStringList& bad : {QStringList{"frobnicate"}, QStringList{"read-memory", "x", "1"},
                                   QStringList{"reply-delay", "--set", "70000"}, QStringList{"address"},
                                   QStringList{"write-memory", "10", "ZZ"}}) {
        const auto r = runCtl(with(sim, bad));
        EXPECT_EQ(r.exitCode, 2) << bad.join(' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty());
    }
    const auto missing = runCtl({"--port", "/dev/vextor-no-such-port", "identify"});
    EXPECT_EQ(missing.exitCode, 3);
    EXPECT_TRUE(missing.err.contains("/dev/vextor-no-such-port"));
}

// A device named in a project gives the port number (through the port map), the protocol and the
// addresses; `project show` lists it.
TEST(CliDevice, ProjectDeviceByName) {
    SimProcess sim({"--address", "5", "--firmware", "201"});
    ASSERT_TRUE(sim.started());
    QTemporaryDir dir;
    vextor::ProjectModel model;
    model.PortNumber = 7;
    model.MasterCount = 1;
    model.Master.Name = QStringLiteral("Приточка П1");
    model.Master.ZarnetAddress = 5;
    model.Master.ConfigFile = dir.filePath("p1.bin");
    const QString prj = dir.filePath("plant.prj");
    ASSERT_TRUE(vextor::WriteProjectFile(prj, model).ok);

    qputenv("VEXTOR_COM7", sim.port().toLocal8Bit());
    auto r = runCtl({"--project", prj, "--device", "Приточка П1", "identify"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("type=32\nfirmware=2,01\n"));
    r = runCtl({"--project", prj, "--device", "nobody", "identify"});
    EXPECT_EQ(r.exitCode, 2);
    qunsetenv("VEXTOR_COM7");

    r = runCtl({"project", "show", prj});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Приточка П1")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("COM7")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("p1.bin")) << r.out.toStdString();
    EXPECT_EQ(runCtl({"project", "show", dir.filePath("missing.prj")}).exitCode, 2);
}
