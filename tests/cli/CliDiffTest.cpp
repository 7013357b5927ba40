// vextorctl diff: two configuration files, or the controller against a file, and its exit codes.
#include "support/SimProcess.h"

#include "config/ConfigFile.h"
#include "config/ConfigImage.h"
#include "project/ProjectFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vextor;
using namespace vextor::testing;

namespace {

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// A plant's configuration; its summer start carries a year, which a controller never keeps.
ConfigImage plant() {
    ConfigImage im;
    loadDefaultConfiguration(im);
    im.SummerBegin.Year = 15;
    im.PresetTempAir = 21.5f;
    im.Calendars[0][2] = 0x7E;
    return im;
}

struct Files {
    QTemporaryDir dir;
    QString a = dir.filePath("a.bin"), same = dir.filePath("same.bin"), b = dir.filePath("b.bin"),
            cut = dir.filePath("cut.bin");
    Files() {
        const QByteArray bytes = configurationFileBytes(plant());
        writeAll(a, bytes);
        writeAll(same, bytes);
        ConfigImage other = plant();
        other.PresetTempAir = 22.0f;
        other.NightBegin.Hour = 23;
        writeAll(b, configurationFileBytes(other));
        writeAll(cut, bytes.left(1000));
    }
};

QStringList lines(const QString& out) {
    return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
QStringList words(const QString& line) {
    return line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

TEST(CliDiff, TwoFiles) {
    Files f;
    auto r = runCtl({"diff", f.a, f.same});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();

    r = runCtl({"diff", f.a, f.b});
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    const QStringList shown = lines(r.out);
    ASSERT_EQ(shown.size(), 2) << r.out.toStdString();
    EXPECT_EQ(words(shown[0]), (QStringList{"NightBegin.Hour", "19", "23"}));
    EXPECT_EQ(words(shown[1]), (QStringList{"PresetTempAir", "21,50000", "22,00000"}));
    // The columns line up.
    EXPECT_EQ(shown[0].indexOf("19"), shown[1].indexOf("21,5"));

    // Refused files and bad usage: 2, and the message names the file.
    struct Case {
        QStringList args;
        const char* message;
    };
    const Case refused[] = {
        {{"diff", f.a, f.cut}, "cut.bin is not a configuration file: 1000 bytes, not 1153"},
        {{"diff", f.dir.filePath("none.bin"), f.a}, "none.bin does not exist"},
        {{"diff", f.a}, "diff needs two files"},
        {{"diff", f.a, f.b, f.same}, "diff needs two files"},
    };
    for (const Case& c : refused) {
        r = runCtl(c.args);
        EXPECT_EQ(r.exitCode, 2) << c.message;
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

TEST(CliDiff, ControllerAgainstAFile) {
    Files f;
    SimProcess sim({"--load-config", f.a, "--event-interval", "0"});
    ASSERT_TRUE(sim.started());
    const QString port = sim.port();

    // The controller holds the file it was loaded with; the year it never keeps is no difference.
    auto r = runCtl({"--port", port, "diff", "--device", f.a});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString() << r.out.toStdString();
    EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();

    r = runCtl({"diff", "--device", f.b, "--port", port});
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    ASSERT_EQ(lines(r.out).size(), 2) << r.out.toStdString();
    EXPECT_EQ(words(lines(r.out)[1]), (QStringList{"PresetTempAir", "21,50000", "22,00000"}));

    // diff's own --device beside the project's --device NAME.
    ProjectModel model;
    model.PortNumber = 7;
    model.MasterCount = 1;
    model.Master.Name = QStringLiteral("П1");
    model.Master.ZarnetAddress = 1;
    const QString prj = f.dir.filePath("plant.prj");
    ASSERT_TRUE(WriteProjectFile(prj, model).ok);
    qputenv("VEXTOR_COM7", port.toLocal8Bit());
    r = runCtl({"--project", prj, "--device", "П1", "diff", "--device", f.b});
    qunsetenv("VEXTOR_COM7");
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    EXPECT_EQ(lines(r.out).size(), 2) << r.out.toStdString();

    // A controller that does not answer is no difference: 4. The port: 3. A file that is no
    // configuration is refused before the port is opened: 2.
    r = runCtl({"--port", port, "--address", "9", "--retries", "0", "diff", "--device", f.a});
    EXPECT_EQ(r.exitCode, 4) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    r = runCtl({"--port", "/dev/vextor-no-such-port", "diff", "--device", f.a});
    EXPECT_EQ(r.exitCode, 3) << r.err.toStdString();
    r = runCtl({"--port", "/dev/vextor-no-such-port", "diff", "--device", f.cut});
    EXPECT_EQ(r.exitCode, 2) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("cut.bin")) << r.err.toStdString();
}
