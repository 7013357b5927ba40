// Recording to CSV: every row is in the file as soon as it is written, and a failed write is told.
#include "monitor/CsvRecorder.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

namespace vextor::monitor {
namespace {

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(CsvRecorder, EachRowIsInTheFileAtOnce) {
    QTemporaryDir dir;
    const QString path = dir.filePath("run.csv");
    std::array<QString, kSeriesCount> titles;
    for (int k = 0; k < kSeriesCount; ++k)
        titles[size_t(k)] = QStringLiteral("S%1").arg(k);
    titles[3] = QStringLiteral("Temp, \"supply\"");
    CsvRecorder rec;
    ASSERT_TRUE(rec.open(path, chartColumns(titles)));
    EXPECT_EQ(fileBytes(path), "time,S1,S2,\"Temp, \"\"supply\"\"\",S4,S5,S6,S7,S8,S9,S10\n");

    ChartPoint p;
    p.y[1] = 21.456f;
    p.y[3] = -3.0f;
    p.y[8] = 1234.5f;
    const QDateTime at(QDate(2024, 3, 15), QTime(12, 30, 0, 250), QTimeZone(3 * 3600));
    ASSERT_TRUE(rec.writeRow(at, chartCells(p)));
    // Read while the recorder still holds the file: nothing waits in a buffer.
    const QList<QByteArray> lines = fileBytes(path).split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[1], "2024-03-15T12:30:00.250+03:00,21.46,,-3.00,,,,,1234.50,,");
    EXPECT_EQ(rec.rows(), 1);
    rec.close();
    EXPECT_FALSE(rec.writeRow(at, {}));
}

TEST(CsvRecorder, LocalTimeCarriesItsOffset) {
    const QString text = csvTime(QDateTime::currentDateTime());
    static const QRegularExpression iso(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}(Z|[+-]\\d\\d:\\d\\d)$"));
    EXPECT_TRUE(iso.match(text).hasMatch()) << text.toStdString();
    EXPECT_EQ(csvNumber(0.005), "0.01");
    EXPECT_EQ(csvNumber(-1000), "-1000.00");
}

TEST(CsvRecorder, AFullDiskStopsTheRecording) {
    CsvRecorder rec;
    if (!QFile::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    // The header already fails on a device that takes nothing.
    EXPECT_FALSE(rec.open(QStringLiteral("/dev/full"), {QStringLiteral("AI1")}));
    EXPECT_FALSE(rec.isOpen());
    EXPECT_FALSE(rec.errorString().isEmpty());
}

} // namespace
} // namespace vextor::monitor
