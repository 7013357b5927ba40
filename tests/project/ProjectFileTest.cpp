// The project file: exact bytes, round trips, the reading rules and refused writes.
#include "project/ProjectFile.h"
#include "ProjectTestSupport.h"
#include "link/Cp1251.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <gtest/gtest.h>

namespace vextor {
namespace {

using test::fixturePath;
using test::readAll;

QList<QByteArray> linesOf(const QByteArray& bytes) {
    QList<QByteArray> lines = bytes.split('\n');
    lines.removeLast();
    for (QByteArray& l : lines)
        l.chop(1); // CR
    return lines;
}

ProjectModel fullProject() {
    ProjectModel m;
    m.ProjectPath = "/plants/Котельная.prj";
    m.PortNumber = 12;
    m.WorkMode = 2;
    m.Reserved1 = 7;
    m.Reserved2 = 255;
    m.ActiveProtocol = 0;
    m.ActiveZarnetAddress = 126;
    m.ActiveModbusAddress = 247;
    m.ActiveMbParams = 0xB3;
    m.MasterCount = 1;
    m.Master = {"  Мастер «Юг» ", 0, 5, 6, 0x21, "C:\\Work\\Plant\\m.bin", "/plants/m.blb", "/plants/m.vis"};
    m.SlaveCount = 8;
    m.SlaveLineProtocol = 0;
    for (int i = 0; i < kMaxSlaves; ++i) {
        DeviceRecord& r = m.Slaves[i];
        r.Name = QString("Ведомый №%1 ").arg(i + 1);
        r.ZarnetAddress = static_cast<uint8_t>(10 + i);
        r.ModbusAddress = static_cast<uint8_t>(200 + i);
        r.MbParams = static_cast<uint8_t>(0x80 | i);
        r.ConfigFile = QString("/plants/s%1.bin").arg(i);
        r.EventsFile = QString("/plants/s%1.blb").arg(i);
        r.VisualFile = QString("/plants/s%1.vis").arg(i);
    }
    m.SingleCount = 16;
    for (int j = 0; j < kMaxSingles; ++j) {
        DeviceRecord& r = m.Singles[j];
        r.Name = QString(" Одиночный Ё-%1").arg(j + 1);
        r.Protocol = static_cast<uint8_t>(j % 2);
        r.ZarnetAddress = static_cast<uint8_t>(30 + j);
        r.ModbusAddress = static_cast<uint8_t>(150 + j);
        r.MbParams = static_cast<uint8_t>(j);
        r.ConfigFile = QString("/plants/p%1.bin").arg(j);
    }
    return m;
}

TEST(ProjectFile, FreshProjectMatchesTheReferenceBytes) {
    ProjectModel m;
    m.ProjectPath = "/opt/vextor/Project/Project1.prj";
    EXPECT_EQ(formatProjectFile(m), readAll(fixturePath("reset.prj")));
}

TEST(ProjectFile, FullProjectSurvivesWriteAndRead) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Котельная.prj");
    const ProjectModel m = fullProject();
    const ProjectFileWrite written = WriteProjectFile(path, m);
    ASSERT_TRUE(written.ok) << written.message.toStdString();

    const QByteArray bytes = readAll(path);
    const QList<QByteArray> lines = linesOf(bytes);
    EXPECT_EQ(lines.size(), kProjectFileLines);
    EXPECT_EQ(bytes.count("\r\n"), kProjectFileLines);
    EXPECT_EQ(lines[0], toCp1251("Котельная.prj"));
    EXPECT_EQ(lines[11], toCp1251("  Мастер «Юг» "));
    EXPECT_EQ(lines[20], "32");
    EXPECT_EQ(lines[85], "0"); // single 1's protocol

    const ProjectFileRead read = ReadProjectFile(path);
    ASSERT_EQ(read.status, ProjectFileRead::Status::Ok);
    ProjectModel back = read.model;
    back.ProjectPath = m.ProjectPath;
    EXPECT_EQ(back, m);
}

TEST(ProjectFile, ReadingRules) {
    const QList<QByteArray> reference = linesOf(readAll(fixturePath("reset.prj")));
    auto withLine = [&](int lineNumber, const QByteArray& text) {
        QList<QByteArray> lines = reference;
        lines[lineNumber - 1] = text;
        return lines.join("\r\n") + "\r\n";
    };
    // Numbers: blanks around them allowed.
    EXPECT_EQ(parseProjectFile(withLine(2, " \t 9  ")).model.PortNumber, 9);
    EXPECT_EQ(parseProjectFile(withLine(2, "+7")).model.PortNumber, 7);
    EXPECT_EQ(parseProjectFile(withLine(15, "255")).model.Master.MbParams, 255);
    // A number its byte cannot hold is refused with its line, never wrapped into another address or
    // port (257 would reach the controller at 1).
    const struct {
        int line;
        const char* text;
    } outOfRange[] = {{13, "257"},
                      {13, "300"},
                      {2, "260"},
                      {14, "300"},
                      {15, "999"},
                      {2, "-1"},
                      {7, "99999999999999999999999"}};
    for (const auto& c : outOfRange) {
        const ProjectFileRead r = parseProjectFile(withLine(c.line, c.text));
        EXPECT_EQ(r.status, ProjectFileRead::Status::OutOfRange) << c.text;
        EXPECT_EQ(r.line, c.line) << c.text;
        EXPECT_FALSE(r.usable());
        EXPECT_EQ(r.message("/p/x.prj"),
                  QStringLiteral("Ошибка чтения файла проекта /p/x.prj: в строке %1 число вне "
                                 "диапазона 0...255. Проект не изменён.")
                      .arg(c.line));
    }
    // Line ends written by other tools (bare LF) read the same.
    ProjectFileRead lf = parseProjectFile(reference.join("\n"));
    EXPECT_EQ(lf.status, ProjectFileRead::Status::Ok);
    EXPECT_EQ(lf.model.Singles[15].VisualFile, "Нет файла визуализации одиночного");

    for (const QByteArray& bad : {QByteArray(""), QByteArray("x"), QByteArray("12abc"), QByteArray("-")}) {
        const ProjectFileRead r = parseProjectFile(withLine(21, bad));
        EXPECT_EQ(r.status, ProjectFileRead::Status::Malformed) << bad.constData();
        EXPECT_EQ(r.line, 21);
    }

    // A file that stops early: what it holds is taken, the rest are defaults, and it says where.
    QList<QByteArray> shortLines = reference.mid(0, 29);
    shortLines[11] = toCp1251("Котельная");
    shortLines[18] = "1";
    shortLines[28] = "33"; // slave 2's type code, the last line present
    const ProjectFileRead r = parseProjectFile(shortLines.join("\r\n") + "\r\n");
    EXPECT_EQ(r.status, ProjectFileRead::Status::Short);
    EXPECT_EQ(r.line, 29);
    EXPECT_EQ(r.model.Master.Name, "Котельная");
    EXPECT_EQ(r.model.SlaveCount, 1);
    EXPECT_EQ(r.model.Slaves[1].TypeCode, 33);
    EXPECT_EQ(r.model.Slaves[1].ZarnetAddress, 2) << "slave 2's address is line 31";
    EXPECT_EQ(r.model.Singles[15].VisualFile, "Нет файла визуализации одиночного");
    EXPECT_EQ(
        r.message("/p/x.prj"),
        "Файл проекта /p/x.prj обрывается на строке 29 из 213. Недостающие значения взяты по умолчанию.");
}

TEST(ProjectFile, UnstorableTextIsRefusedAndTheOldFileKept) {
    QTemporaryDir dir;
    const QString path = dir.filePath("p.prj");
    test::writeBytes(path, "old contents");
    ProjectModel m;
    m.ProjectPath = path;
    m.Singles[3].ConfigFile = "/home/用户/cfg.bin"; // line 86 + 24 + 5
    const ProjectFileWrite w = WriteProjectFile(path, m);
    EXPECT_FALSE(w.ok);
    EXPECT_TRUE(w.message.contains("115")) << w.message.toStdString();
    EXPECT_EQ(readAll(path), "old contents");

    m.Singles[3].ConfigFile = "/home/user/cfg.bin";
    EXPECT_FALSE(WriteProjectFile(dir.filePath("no/such/dir/p.prj"), m).ok);
}

TEST(Cp1251, TableAgreesWithQt) {
    QStringDecoder qtDecoder("windows-1251");
    if (!qtDecoder.isValid())
        GTEST_SKIP() << "this Qt has no windows-1251 converter; the table is the only one";
    for (int b = 0; b < 256; ++b) {
        if (b == 0x98)
            continue; // no character there
        const QByteArray one(1, static_cast<char>(b));
        const QString viaQt = QStringDecoder("windows-1251").decode(one);
        EXPECT_EQ(fromCp1251Table(one), viaQt) << b;
        bool ok = false;
        EXPECT_EQ(toCp1251Table(viaQt, &ok), one) << b;
        EXPECT_TRUE(ok);
    }
    bool ok = true;
    toCp1251Table("日", &ok);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(fitsCp1251("日"));
    EXPECT_TRUE(fitsCp1251("Ёё №«»€"));
}

} // namespace
} // namespace vextor
