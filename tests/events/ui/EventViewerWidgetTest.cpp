// The event viewer filled from a small event file: rows, count line, columns, fitting the window.
#include "events/EventDecoder.h"
#include "events/ui/EventViewerPane.h"

#include <QCoreApplication>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
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
    for (int c = 0; c < EventColumnCount; ++c)
        EXPECT_EQ(pane.model()->headerData(c, Qt::Horizontal).toString(), headers[c]);
    for (int c = 0; c < ColEvent; ++c)
        EXPECT_EQ(pane.table()->columnWidth(c), kEventColumnWidths[static_cast<size_t>(c)]);
    EXPECT_EQ(pane.model()->index(1, ColEvent).data(Qt::ToolTipRole).toString(),
              "(250)  Потеряна связь с прибором адрес = 7");
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

// At its smallest the table shows the longest event text whole, address included; a wider window
// widens the event column, a narrower one scrolls.
TEST(EventViewerTest, EventTextsAreShownWholeAndTheLastColumnStretches) {
    EventViewerPane pane;
    ASSERT_EQ(pane.decode(kSample), std::nullopt);
    const QString longest = QStringLiteral("(251)  Восстановлена связь с прибором адрес = 255");
    const int needed = pane.table()->fontMetrics().horizontalAdvance(longest);
    const QSize minimum = pane.panel()->minimumSize();

    pane.resize(minimum.width() + 2 * pane.frameWidth(), minimum.height() + 2 * pane.frameWidth());
    pane.show();
    QCoreApplication::processEvents();
    EXPECT_GT(pane.table()->columnWidth(ColEvent), needed);
    const QRect lastCell = pane.table()->visualRect(pane.model()->index(0, ColEvent));
    EXPECT_LE(lastCell.right(), pane.table()->viewport()->width());

    const int before = pane.table()->columnWidth(ColEvent);
    pane.resize(pane.width() + 300, pane.height() + 100);
    QCoreApplication::processEvents();
    EXPECT_EQ(pane.panel()->pos(), QPoint(0, 0));
    EXPECT_EQ(pane.panel()->width(), pane.viewport()->width());
    EXPECT_GE(pane.table()->columnWidth(ColEvent), before + 250);

    pane.resize(300, 200); // narrower than the table: the panel keeps its size and scrolls
    QCoreApplication::processEvents();
    EXPECT_EQ(pane.panel()->width(), minimum.width());
    EXPECT_TRUE(pane.horizontalScrollBar()->isVisible());
}

} // namespace
} // namespace vextor::events
