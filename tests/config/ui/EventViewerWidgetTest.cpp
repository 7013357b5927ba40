// The event viewer filled from a small event file: rows, count line, columns, centring.
#include "events/EventDecoder.h"
#include "events/ui/EventViewerPane.h"

#include <QCoreApplication>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vextor::events {
namespace {

const QString kSample = QStringLiteral(VEXTOR_FIXTURES "/events/sample.blb");

QString cell(const EventViewerPane& pane, int row, int column) {
    return pane.model()->index(row, column).data().toString();
}

TEST(EventViewerTest, ShowsTheDecodedRowsOfAFile) {
    EventViewerPane pane;
    EXPECT_EQ(pane.countLabel()->text(), "Количество записей - 0");
    ASSERT_EQ(pane.decode(kSample), std::nullopt);
    // Five whole records; the two trailing bytes are no record.
    EXPECT_EQ(pane.countLabel()->text(), "Количество записей - 5");
    ASSERT_EQ(pane.model()->rowCount(), 5);
    const QStringList first{"1", "Собственное", "15/06/10", "12:30:45", "(9)  Новый ключ"};
    for (int c = 0; c < EventColumnCount; ++c)
        EXPECT_EQ(cell(pane, 0, c), first[c]);
    EXPECT_EQ(cell(pane, 1, 1), "Ведомого адр=3");
    EXPECT_EQ(cell(pane, 1, 4), "(250)  Потеряна связь с прибором адрес = 7");
    const QStringList headers{"N п/п", "Источник", "Дата", "Время", "Событие"};
    for (int c = 0; c < EventColumnCount; ++c) {
        EXPECT_EQ(pane.model()->headerData(c, Qt::Horizontal).toString(), headers[c]);
        EXPECT_EQ(pane.table()->columnWidth(c), kEventColumnWidths[static_cast<size_t>(c)]);
    }
}

TEST(EventViewerTest, AnUnreadableFileLeavesTheTableAndAnEmptyOneShowsNoRows) {
    QTemporaryDir dir;
    EventViewerPane pane;
    ASSERT_EQ(pane.decode(kSample), std::nullopt);
    EXPECT_NE(pane.decode(dir.filePath("missing.blb")), std::nullopt);
    EXPECT_EQ(pane.model()->rowCount(), 5);
    EXPECT_EQ(pane.countLabel()->text(), "Количество записей - 5");

    const QString shortFile = dir.filePath("short.blb");
    QFile f(shortFile);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\x00\x01\x02\x03\x04\x05\x06\x07", 8);
    f.close();
    ASSERT_EQ(pane.decode(shortFile), std::nullopt);
    EXPECT_EQ(pane.model()->rowCount(), 0);
    EXPECT_EQ(pane.countLabel()->text(), "Количество записей - 0");
}

TEST(EventViewerTest, LargeFilesAreNotCutAtSixtyFiveThousandBytes) {
    QTemporaryDir dir;
    const QString path = dir.filePath("big.blb");
    const QByteArray record("\x00\x09\x00\x0C\x1E\x2D\x0F\x06\x0A", 9);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    for (int i = 0; i < 20000; ++i)
        f.write(record);
    f.close();
    EventViewerPane pane;
    ASSERT_EQ(pane.decode(path), std::nullopt);
    EXPECT_EQ(pane.model()->rowCount(), 20000);
    EXPECT_EQ(pane.countLabel()->text(), "Количество записей - 20000");
    EXPECT_EQ(cell(pane, 19999, 0), "20000");
}

TEST(EventViewerTest, PanelStaysCentredInTheArea) {
    EventViewerPane pane;
    const QSize panel = pane.panel()->size();
    pane.resize(panel.width() + 400, panel.height() + 200);
    pane.show();
    QCoreApplication::processEvents();
    const QSize area = pane.viewport()->size();
    EXPECT_EQ(pane.panel()->pos(),
              QPoint((area.width() - panel.width()) / 2, (area.height() - panel.height()) / 2));

    pane.resize(200, 150); // smaller than the panel: offsets never below 0
    QCoreApplication::processEvents();
    EXPECT_EQ(pane.panel()->pos(), QPoint(0, 0));
}

} // namespace
} // namespace vextor::events
