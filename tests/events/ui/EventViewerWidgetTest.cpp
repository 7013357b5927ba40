// The event viewer filled from a small event file: rows, count line, columns, fitting the window.
#include "events/EventDecoder.h"
#include "events/ui/EventViewerPane.h"

#include <QCoreApplication>
#include <QFile>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <vector>

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
    // The other columns show their header and cells whole.
    const QFontMetrics metrics = pane.table()->fontMetrics();
    for (int c = 0; c < ColEvent; ++c) {
        EXPECT_GE(pane.table()->columnWidth(c), metrics.horizontalAdvance(headers[c])) << c;
        for (int r = 0; r < pane.model()->rowCount(); ++r)
            EXPECT_GE(pane.table()->columnWidth(c), metrics.horizontalAdvance(cell(pane, r, c)))
                << r << ',' << c;
    }
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

// In the working area of a 1024 x 700 screen the event column takes the room the other columns
// leave and nothing scrolls sideways; a wider window widens only the event column; a window too
// narrow for the texts cuts the event column, whose cells carry the whole text as a tooltip.
TEST(EventViewerTest, TheEventColumnTakesTheRoomThatIsLeft) {
    EventViewerPane pane;
    ASSERT_EQ(pane.decode(kSample), std::nullopt);
    QTableView* table = pane.table();
    const QString longest = QStringLiteral("(250)  Потеряна связь с прибором адрес = 7");
    auto otherColumns = [&] {
        std::vector<int> widths;
        for (int c = 0; c < ColEvent; ++c)
            widths.push_back(table->columnWidth(c));
        return widths;
    };

    pane.resize(612, 440);
    pane.show();
    QCoreApplication::processEvents();
    EXPECT_FALSE(pane.horizontalScrollBar()->isVisible());
    EXPECT_FALSE(table->horizontalScrollBar()->isVisible());
    EXPECT_EQ(table->columnViewportPosition(ColEvent) + table->columnWidth(ColEvent),
              table->viewport()->width())
        << "the event column reaches the right edge";
    EXPECT_GT(table->columnWidth(ColEvent), table->fontMetrics().horizontalAdvance(longest));

    const std::vector<int> before = otherColumns();
    const int eventBefore = table->columnWidth(ColEvent);
    pane.resize(pane.width() + 300, pane.height());
    QCoreApplication::processEvents();
    EXPECT_EQ(table->columnWidth(ColEvent), eventBefore + 300);
    EXPECT_EQ(otherColumns(), before);

    pane.resize(480, 440);
    QCoreApplication::processEvents();
    EXPECT_FALSE(pane.horizontalScrollBar()->isVisible());
    EXPECT_EQ(otherColumns(), before);
    EXPECT_LT(table->columnWidth(ColEvent), table->fontMetrics().horizontalAdvance(longest));
    EXPECT_EQ(pane.model()->index(1, ColEvent).data(Qt::ToolTipRole).toString(), longest);
}

} // namespace
} // namespace vextor::events
