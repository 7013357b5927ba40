// vextorctl against bad input, disk and output errors, a busy port and lost replies: what must be
// refused before anything is sent, what must fail loudly, and what must survive.
#include "support/SimProcess.h"

#include "config/ConfigFile.h"
#include "config/ConfigImage.h"
#include "link/PosixSerialPort.h"
#include "project/ProjectFile.h"
#include "support/FileBytes.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace vextor;
using namespace vextor::testing;

namespace {

using vextor::testing::readAll;

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// vextorctl run by a shell that first applies `setup` (a limit, a redirection of stdout).
CtlResult runCtlAfter(const QString& setup, const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral("/bin/sh"),
            QStringList{"-c", setup + QStringLiteral("; exec \"$0\" \"$@\""), binPath("vextorctl")} + args);
    CtlResult r;
    if (!p.waitForStarted(5000))
        return r;
    p.waitForFinished(120000);
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

QByteArray defaultConfigurationFile() {
    ConfigImage image;
    loadDefaultConfiguration(image);
    return configurationFileBytes(image);
}

// A project whose master sits on COM7 with the given addresses.
QString projectWith(const QTemporaryDir& dir, const QString& name, uint8_t zarnet, uint8_t modbus) {
    ProjectModel model;
    model.PortNumber = 7;
    model.MasterCount = 1;
    model.Master.Name = QStringLiteral("П1");
    model.Master.ZarnetAddress = zarnet;
    model.Master.ModbusAddress = modbus;
    const QString path = dir.filePath(name);
    EXPECT_TRUE(WriteProjectFile(path, model).ok);
    return path;
}

} // namespace

// Each of these is refused with exit 2 before a single frame reaches the controller.
TEST(CliBadInput, RefusedBeforeAnythingIsSent) {
    QTemporaryDir dir;
    const QString log = dir.filePath("frames.log");
    SimProcess sim({"--log", log, "--event-interval", "0"});
    ASSERT_TRUE(sim.started());
    const QString empty = dir.filePath("empty.bin"), cut = dir.filePath("cut.bin"),
                  longer = dir.filePath("long.bin");
    writeAll(empty, {});
    writeAll(cut, defaultConfigurationFile().left(1000));
    writeAll(longer, defaultConfigurationFile() + '\0');
    const QString farAddress = projectWith(dir, "far.prj", 200, 1);
    const QString noModbus = projectWith(dir, "nomb.prj", 1, 0);
    // The master's address written as 257: it would wrap to 1 and reach another controller.
    const QString wrapping = dir.filePath("wrap.prj");
    {
        QByteArray bytes = readAll(projectWith(dir, "base.prj", 3, 2));
        QList<QByteArray> lines = bytes.split('\n');
        lines[12] = "257\r"; // line 13: Master.ZarnetAddress
        writeAll(wrapping, lines.join('\n'));
    }
    const QString symlinkToNull = dir.filePath("null.bin");
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), symlinkToNull));
    qputenv("VEXTOR_COM7", sim.port().toLocal8Bit());
    const QString port = sim.port();

    const struct {
        QStringList args;
        const char* expected; // a word of the message
    } cases[] = {
        {{"--port", port, "write-memory", "0x3000", "+f", "-1"}, "+f"},
        {{"--port", port, "write-memory", "0x3000", " "}, "hex byte"},
        {{"--port", port, "write-memory", "0x3000", "1"}, "\"1\""},
        {{"--port", port, "write-memory", "0x3000", "0x12"}, "0x12"},
        {{"--port", port, "write-memory", "+12", "00"}, "ADDR"},
        {{"--port", port, "read-memory", "0x3000", "-1"}, "COUNT"},
        {{"--port", port, "--address", " 5", "identify"}, "--address"},
        {{"--port", port, "--retries", "x", "identify"}, "--retries"},
        {{"--port", port, "write-config", empty}, "0 bytes"},
        {{"--port", port, "write-config", cut}, "1000 bytes"},
        {{"--port", port, "write-config", longer}, "1154"},
        // Not regular files: read whole, held to the same size.
        {{"--port", port, "write-config", "/dev/null"}, "0 bytes"},
        {{"--port", port, "write-config", symlinkToNull}, "0 bytes"},
        {{"--port", port, "write-config", "/dev/zero"}, "more than 1153 bytes"},
        {{"--port", port, "write-config", dir.path()}, "nothing was sent"},
        {{"--project", wrapping, "--device", "П1", "identify"}, "строке 13"},
        // A mistyped option is no file name; "--" lets a name begin with dashes.
        {{"--port", port, "read-config", "--progres"}, "unknown option \"--progres\""},
        {{"--port", port, "identify", "--stat"}, "unknown option"},
        {{"--port", port, "read-events", "--pacing", "task", "--x", "e.blb"}, "unknown option"},
        {{"--port", port, "dump", "--", "--progres"}, "--progres"},
        {{"--project", farAddress, "--device", "П1", "identify"}, "200"},
        {{"--project", noModbus, "--device", "П1", "modbus-identify"}, "Modbus address"},
        {{"identify"}, "no port"},
        {{"read-config", dir.filePath("x.bin")}, "no port"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CtlResult r = runCtl(c.args);
        EXPECT_EQ(r.exitCode, 2) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.expected))) << r.err.toStdString();
    }
    qunsetenv("VEXTOR_COM7");
    EXPECT_EQ(readAll(log), QByteArray()) << "frames went out";
    // The same line is heard at all: the log is not empty by accident.
    EXPECT_EQ(runCtl({"--port", port, "status"}).exitCode, 0);
    EXPECT_FALSE(readAll(log).isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath("x.bin")));
}

// A full disk, a file-size limit or a dead stdout: exit 2 naming the error, the old file intact.
TEST(CliFileErrors, FailLoudlyAndKeepTheOldFile) {
    QTemporaryDir dir;
    SimProcess sim({"--events", "682", "--event-interval", "0"});
    ASSERT_TRUE(sim.started());
    const QString events = dir.filePath("log.blb"), config = dir.filePath("plant.bin"),
                  project = projectWith(dir, "plant.prj", 1, 1);
    const QByteArray oldEvents("old events"), oldConfig("old configuration");
    writeAll(events, oldEvents);
    writeAll(config, oldConfig);
    const QString port = sim.port();

    const struct {
        const char* setup;
        QStringList args;
        const QString* keeps; // the file that must be as it was
        const QByteArray* old;
    } cases[] = {
        {"ulimit -f 4", {"--port", port, "--pacing", "device", "read-events", events}, &events, &oldEvents},
        {"ulimit -f 1", {"--port", port, "read-config", config}, &config, &oldConfig},
        {"exec >/dev/full", {"--port", port, "identify"}, nullptr, nullptr},
        {"exec >/dev/full", {"dump", dir.filePath("dumped.bin")}, nullptr, nullptr},
        {"exec >/dev/full", {"events", dir.filePath("shown.blb")}, nullptr, nullptr},
        {"exec >/dev/full", {"events", "--csv", dir.filePath("shown.blb")}, nullptr, nullptr},
        {"exec >/dev/full", {"project", "show", project}, nullptr, nullptr},
        {"exec >/dev/full", {"--help"}, nullptr, nullptr},
        {"ulimit -f 1; exec >\"$TMPDIR/dump.txt\"", {"dump", dir.filePath("dumped.bin")}, nullptr, nullptr},
    };
    writeAll(dir.filePath("dumped.bin"), defaultConfigurationFile());
    writeAll(dir.filePath("shown.blb"), QByteArray(9 * 100, '\x01'));
    qputenv("TMPDIR", dir.path().toLocal8Bit());
    for (const auto& c : cases) {
        SCOPED_TRACE((QString::fromUtf8(c.setup) + ": " + c.args.join(' ')).toStdString());
        const CtlResult r = runCtlAfter(QString::fromUtf8(c.setup), c.args);
        EXPECT_EQ(r.exitCode, 2) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("File too large") || r.err.contains("No space left on device"))
            << r.err.toStdString();
        if (c.keeps) {
            EXPECT_EQ(readAll(*c.keeps), *c.old);
        }
    }
    qunsetenv("TMPDIR");
    // Nothing of ours is left beside the files.
    EXPECT_FALSE(QFile::exists(dir.filePath(".log.blb.vextor-tmp")));
    EXPECT_FALSE(QFile::exists(dir.filePath(".plant.bin.vextor-tmp")));
}

// A reader that closes the pipe early ends the output quietly; a target that can never be written is
// told before the first request; a missing file is named.
TEST(CliFileErrors, ClosedPipeDirectoryTargetAndMissingFile) {
    QTemporaryDir dir;
    const QString blb = dir.filePath("many.blb");
    // Far more lines than a pipe holds, so the writer meets the closed end.
    writeAll(blb, QByteArray(9 * 100000, '\x01'));
    QProcess pipe;
    pipe.start(QStringLiteral("/bin/sh"),
               QStringList{"-c",
                           QStringLiteral("{ \"$0\" \"$@\"; echo \"rc=$?\" >&2; } | head -n 2 >/dev/null"),
                           binPath("vextorctl"), "events", blb});
    ASSERT_TRUE(pipe.waitForFinished(60000));
    const QString piped = QString::fromUtf8(pipe.readAllStandardError());
    EXPECT_TRUE(piped.contains("rc=0")) << piped.toStdString();
    EXPECT_FALSE(piped.contains("vextorctl:")) << piped.toStdString();
    CtlResult r;

    QTemporaryDir logDir;
    const QString log = logDir.filePath("frames.log");
    SimProcess sim({"--log", log, "--event-interval", "0"});
    ASSERT_TRUE(sim.started());
    QElapsedTimer timer;
    timer.start();
    r = runCtl({"--port", sim.port(), "read-events", dir.path()});
    EXPECT_EQ(r.exitCode, 2) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("Is a directory") || r.err.contains("каталог")) << r.err.toStdString();
    EXPECT_LT(timer.elapsed(), 5000) << "no full read before the failure";
    EXPECT_LT(readAll(log).count('\n'), 10) << "only the identification went out";

    const QString missing = dir.filePath("missing.blb");
    r = runCtl({"events", missing});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(missing)) << r.err.toStdString();
}

// Files far beyond their format's size are refused before they are read into memory.
TEST(CliFileErrors, HugeFilesAreRefused) {
    QTemporaryDir dir;
    const QString blb = dir.filePath("huge.blb"), prj = dir.filePath("huge.prj");
    for (const QString& path : {blb, prj}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(3LL * 1024 * 1024 * 1024)); // sparse: costs no disk
    }
    const struct {
        QStringList args;
        const char* expected;
    } cases[] = {
        {{"events", blb}, "не является файлом событий"},
        {{"events", "--csv", blb}, "не является файлом событий"},
        {{"project", "show", prj}, "не может быть файлом проекта"},
        {{"--project", prj, "--device", "П1", "identify"}, "не может быть файлом проекта"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CtlResult r = runCtl(c.args);
        EXPECT_EQ(r.exitCode, 2) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.expected))) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("3221225472")) << r.err.toStdString();
    }
}

TEST(CliProject, ControlCharactersInNamesAreEscaped) {
    QTemporaryDir dir;
    ProjectModel model;
    model.MasterCount = 1;
    model.Master.Name = QStringLiteral("A\x1b[2JB") + QChar(0) + QStringLiteral("C\x7f");
    const QString prj = dir.filePath("p.prj");
    ASSERT_TRUE(WriteProjectFile(prj, model).ok);
    const CtlResult r = runCtl({"project", "show", prj});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("A\\x1b[2JB\\x00C\\x7f")) << r.out.toStdString();
    for (const QChar c : r.out)
        EXPECT_TRUE(c == '\n' || c.category() != QChar::Other_Control) << int(c.unicode());
}

// Another process of ours on the same port is refused as busy; once it lets go, the port is free.
TEST(CliPort, PortHeldByAnotherProcessIsBusy) {
    QTemporaryDir dir;
    const QString log = dir.filePath("frames.log");
    SimProcess sim({"--log", log, "--event-interval", "0"});
    ASSERT_TRUE(sim.started());
    {
        PosixSerialPort holder(PortRole::Zarnet);
        ASSERT_EQ(holder.open(sim.port(), {}), 0u);
        for (const QStringList& args :
             {QStringList{"identify"}, QStringList{"read-events", dir.filePath("e.blb")},
              QStringList{"modbus-identify", "--modbus-address", "2"}}) {
            const CtlResult r = runCtl(QStringList{"--port", sim.port()} + args);
            EXPECT_EQ(r.exitCode, 3) << args.join(' ').toStdString();
            EXPECT_TRUE(r.err.contains("busy")) << r.err.toStdString();
        }
        EXPECT_EQ(readAll(log), QByteArray());
    }
    const CtlResult r = runCtl({"--port", sim.port(), "identify"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
}

// The fields the file cannot carry keep the controller's values; when they cannot be read, nothing
// is written.
TEST(CliConfig, WriteKeepsTheControllersOwnPumpTime) {
    QTemporaryDir dir;
    const QString file = dir.filePath("plant.bin"), memory = dir.filePath("memory.bin");
    writeAll(file, defaultConfigurationFile());
    {
        SimProcess sim({"--event-interval", "0"});
        ASSERT_TRUE(sim.started());
        const QStringList on{"--port", sim.port()};
        ASSERT_EQ(runCtl(on + QStringList{"write-memory", "471", "0C"}).exitCode, 0);
        CtlResult r = runCtl(on + QStringList{"write-config", file});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        r = runCtl(on + QStringList{"read-memory", "471", "1"});
        EXPECT_EQ(r.out, "0001D7: 0C\n");
    }
    {
        SimProcess sim({"--silent", "471:1", "--cfg-version", "none", "--dump-memory", memory});
        ASSERT_TRUE(sim.started());
        const CtlResult r = runCtl({"--port", sim.port(), "--retries", "1", "write-config", file});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains("nothing was written")) << r.err.toStdString();
        sim.stop();
        const QByteArray mem = readAll(memory);
        ASSERT_GE(mem.size(), 1194);
        EXPECT_EQ(mem.mid(1192, 2), QByteArray("\xFF\xFF", 2)); // no section ended with its version mark
    }
}

// Lost replies to the identification or the version read cost a retry, not the run: for seeds whose
// first such reply is dropped, the file equals a read without faults byte for byte. (The seeds are
// also ones whose transfer passes its own four attempts per step: at this rate the condition
// block's eight chunks in a row often do not.)
TEST(CliRetries, ReadConfigSurvivesALostIdentificationOrVersionReply) {
    QTemporaryDir dir;
    const QString clean = dir.filePath("clean.bin");
    {
        SimProcess sim({"--event-interval", "0"});
        ASSERT_TRUE(sim.started());
        ASSERT_EQ(runCtl({"--port", sim.port(), "read-config", clean}).exitCode, 0);
    }
    const QByteArray expected = readAll(clean);
    ASSERT_EQ(expected.size(), 1153);
    for (const char* seed : {"2", "8", "9", "18"}) {
        SCOPED_TRACE(seed);
        const QString log = dir.filePath(QStringLiteral("frames%1.log").arg(seed)),
                      back = dir.filePath(QStringLiteral("back%1.bin").arg(seed));
        SimProcess sim({"--drop-rate", "0.2", "--seed", seed, "--event-interval", "0", "--log", log});
        ASSERT_TRUE(sim.started());
        const CtlResult r = runCtl({"--port", sim.port(), "read-config", back});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(readAll(back), expected);
        // The seed does what it is here for: the first identification (request 1) or version read
        // (request 2) lost its reply.
        QStringList outcome; // one word per request: tx or drop
        for (const QString& line : QString::fromUtf8(readAll(log)).split('\n'))
            if (line.contains(" tx ") || line.contains(" drop "))
                outcome << line.section(' ', 1, 1);
        ASSERT_GE(outcome.size(), 2);
        EXPECT_TRUE(outcome[0] == "drop" || outcome[1] == "drop") << outcome.join(',').toStdString();
    }
}

// --retries N is the number of further attempts: against a controller whose replies are all lost,
// the identification goes out N + 1 times (default 3 further) and nothing else is sent.
TEST(CliRetries, AttemptsOncePlusTheRetriesThenGivesUp) {
    QTemporaryDir dir;
    const struct {
        const char* retries; // nullptr: the default
        const char* identifications;
    } cases[] = {
        {"0", "0D"},
        {"2", "0D,0D,0D"},
        {nullptr, "0D,0D,0D,0D"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.retries ? c.retries : "default");
        const QString log =
            dir.filePath(QStringLiteral("frames-%1.log").arg(c.retries ? c.retries : "default"));
        SimProcess sim({"--drop-rate", "1", "--event-interval", "0", "--log", log});
        ASSERT_TRUE(sim.started());
        QStringList args{"--port", sim.port()};
        if (c.retries)
            args << "--retries" << c.retries;
        const CtlResult r = runCtl(args << "identify");
        EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
        sim.stop();
        // The command byte of every request the controller heard: address, length, nonce, command.
        QStringList commands;
        for (const QString& line : QString::fromUtf8(readAll(log)).split('\n', Qt::SkipEmptyParts))
            if (line.section(' ', 1, 1) == "rx")
                commands << line.section(' ', 5, 5);
        EXPECT_EQ(commands.join(',').toStdString(), c.identifications);
    }
}

// A name that is not UTF-8 reaches the system as the bytes given: the port through such a link is
// found, the file is written under its own name (not a U+FFFD spelling of it) and read back, and a
// missing one is told with its bytes.
TEST(CliNames, NamesThatAreNotUtf8KeepTheirBytes) {
    QTemporaryDir dir;
    SimProcess sim;
    ASSERT_TRUE(sim.started());
    const QByteArray folder = dir.path().toUtf8();
    ASSERT_EQ(::symlink(sim.port().toUtf8().constData(), (folder + "/port\xff").constData()), 0);
    const auto run = [&](const QString& words) {
        QProcess p;
        p.setWorkingDirectory(dir.path());
        p.start(
            QStringLiteral("/bin/sh"),
            QStringList{"-c",
                        QStringLiteral("P=$(printf 'port\\377'); B=$(printf 'new\\377.bin'); exec \"$0\" ") +
                            words,
                        binPath("vextorctl")});
        p.waitForFinished(60000);
        return std::pair{p.exitCode(), p.readAllStandardError()};
    };
    EXPECT_EQ(run(QStringLiteral("--port \"$P\" read-config \"$B\"")).first, 0);
    struct stat st {};
    EXPECT_EQ(::stat((folder + "/new\xff.bin").constData(), &st), 0);
    EXPECT_EQ(st.st_size, 1153);
    EXPECT_NE(::stat((folder + "/new\xef\xbf\xbd.bin").constData(), &st), 0);
    EXPECT_EQ(run(QStringLiteral("dump \"$B\" >/dev/null")).first, 0);
    EXPECT_EQ(run(QStringLiteral("--port \"$P\" write-config \"$B\"")).first, 0);
    const auto [code, err] = run(QStringLiteral("events \"$B.blb\""));
    EXPECT_EQ(code, 2);
    EXPECT_TRUE(err.contains("new\xff.bin.blb")) << err.toStdString();
}
