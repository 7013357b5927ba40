// for-each: one command on every device of a project, against virtual controllers on one line.
#include "support/SimProcess.h"

#include "project/ProjectFile.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vextor;
using namespace vextor::testing;

namespace {

// A master and a slave that answer, and a second slave of the same name at an address nobody holds.
// The first name holds a path separator, which must not reach the file system as one.
QString threeDeviceProject(const QTemporaryDir& dir) {
    ProjectModel model;
    model.PortNumber = 7;
    model.MasterCount = 1;
    model.Master.Name = QStringLiteral("П1/Приточка");
    model.Master.ZarnetAddress = 5;
    model.SlaveCount = 2;
    model.Slaves[0].Name = QStringLiteral("Котельная");
    model.Slaves[0].ZarnetAddress = 6;
    model.Slaves[1].Name = QStringLiteral("Котельная");
    model.Slaves[1].ZarnetAddress = 9;
    const QString prj = dir.filePath("plant.prj");
    EXPECT_TRUE(WriteProjectFile(prj, model).ok);
    return prj;
}

// The summary's row of a file or device: the last line that holds the text.
QString rowWith(const QString& out, const QString& text) {
    const QStringList lines = out.split('\n');
    for (auto it = lines.crbegin(); it != lines.crend(); ++it)
        if (it->contains(text))
            return *it;
    return {};
}

class CliForEach : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sim.started());
        qputenv("VEXTOR_COM7", sim.port().toLocal8Bit());
    }
    void TearDown() override { qunsetenv("VEXTOR_COM7"); }

    SimProcess sim{{"--address", "5", "--address", "6", "--event-interval", "0"}};
    QTemporaryDir dir;
    QString prj = threeDeviceProject(dir);
};

} // namespace

TEST_F(CliForEach, ReadsEveryDeviceIntoItsOwnFileAndGoesOnPastAFailure) {
    const QString out = dir.filePath("configs");
    const CtlResult r = runCtl({"--project", prj, "--retries", "0", "for-each", "read-config", out});
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    EXPECT_EQ(QFileInfo(out + "/П1_Приточка.bin").size(), 1153);
    EXPECT_EQ(QFileInfo(out + "/Котельная.bin").size(), 1153);
    EXPECT_FALSE(QFileInfo::exists(out + "/Котельная-2.bin"));
    EXPECT_EQ(QDir(out).entryList(QDir::Files).size(), 2);
    EXPECT_TRUE(r.err.contains("no answer from address 9")) << r.err.toStdString();

    // The table: device, address, result, file.
    const QString failed = rowWith(r.out, "Котельная-2.bin");
    EXPECT_TRUE(failed.startsWith("Котельная ") && failed.contains(" 9 ") && failed.contains("no answer"))
        << r.out.toStdString();
    EXPECT_TRUE(rowWith(r.out, "П1_Приточка.bin").contains(" ok ")) << r.out.toStdString();
    EXPECT_TRUE(rowWith(r.out, "/Котельная.bin").contains(" 6 ")) << r.out.toStdString();
}

// Devices on one port are one line: even with --parallel they take turns, so none finds the port
// busy, and each device's output stays together.
TEST_F(CliForEach, ParallelKeepsOneLineInTurn) {
    const CtlResult r = runCtl({"--project", prj, "--retries", "0", "for-each", "--parallel", "identify"});
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains("busy")) << r.err.toStdString();
    EXPECT_EQ(r.out.count("type=32"), 2) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("== П1/Приточка (address 5)\ntype=32\n")) << r.out.toStdString();
    EXPECT_TRUE(rowWith(r.out, "Котельная").contains("no answer")) << r.out.toStdString();

    // Everyone answering: exit 0.
    const QString two = dir.filePath("two.prj");
    ProjectModel model = ReadProjectFile(prj).model;
    model.SlaveCount = 1;
    model.Slaves[1] = ProjectModel().Slaves[1];
    ASSERT_TRUE(WriteProjectFile(two, model).ok);
    EXPECT_EQ(runCtl({"--project", two, "for-each", "--parallel", "identify"}).exitCode, 0);
}

TEST_F(CliForEach, RefusesWhatCannotBeMeant) {
    const struct {
        QStringList args;
        const char* expected;
    } cases[] = {
        {{"--project", prj, "for-each", "write-config", "d"}, "not \"write-config\""},
        {{"--project", prj, "for-each", "read-config"}, "exactly one DIR"},
        {{"--project", prj, "--address", "3", "for-each", "identify"}, "no --address"},
        {{"--project", prj, "--device", "П1/Приточка", "for-each", "identify"}, "no --device"},
        {{"--project", prj, "identify"}, "--device NAME"},
        {{"--project", prj, "for-each", "read-events", "--pacing", "x", "d"}, "--pacing"},
    };
    for (const auto& c : cases) {
        const CtlResult r = runCtl(c.args);
        EXPECT_EQ(r.exitCode, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.expected))) << r.err.toStdString();
    }
}
