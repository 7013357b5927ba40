#include "EventViewerPane.h"

#include "events/EventDecoder.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace vextor::events {

namespace {
// The count line and a few rows; the table scrolls its rows itself, so a low window needs no second
// scroll bar beside the table's, which would take its width from the event column.
constexpr int kPanelHeight = 200;
constexpr int kPanelMargin = 8;

// The room a cell takes beside its text: the style's text margin on both sides and the grid line.
int cellPadding(const QTableView& table) {
    return 2 * (table.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &table) + 1) + 1;
}

// The width a column other than the event one needs: its header, and the widest cell it can show,
// the record number of the file's last record, a device of the slave line with a three-digit
// address, two-digit dates and times. Measured from the file, not from the rows decoded so far, so
// a column never moves while the table scrolls.
int contentWidth(const QTableView& table, int column, qint64 records) {
    EventRecord widest;
    widest.source = 127;
    widest.hour = 23;
    widest.minute = widest.second = 59;
    widest.day = 31;
    widest.month = 12;
    widest.year = 99;
    int width = table.horizontalHeader()->sectionSizeHint(column);
    for (const EventRecord& record : {EventRecord{}, widest}) {
        const QString text = decodeEventRecord(std::max<qint64>(records - 1, 0), record)[column];
        width = std::max(width, table.fontMetrics().horizontalAdvance(text) + cellPadding(table));
    }
    return width;
}
} // namespace

EventViewerPane::EventViewerPane(QWidget* parent)
    : QScrollArea(parent), count_(new QLabel(recordCountLabel(0))), table_(new QTableView),
      model_(new EventTableModel(this)) {
    table_->setModel(model_);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(20);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setWordWrap(false);
    // The number, source, date and time take what their texts need; the event text takes all the
    // room that is left, and a window too narrow for it cuts it with an ellipsis, the whole text
    // then in the cell's tooltip.
    fitColumns();
    table_->horizontalHeader()->setSectionResizeMode(ColEvent, QHeaderView::Stretch);
    // Every row has the same height: the view need not measure rows it does not show.
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(kPanelMargin, kPanelMargin, kPanelMargin, kPanelMargin);
    layout->addWidget(count_);
    layout->addWidget(table_, 1);
    // The panel fills the area's width; only a very low window scrolls it.
    panel->setMinimumHeight(kPanelHeight);
    setWidgetResizable(true);
    setWidget(panel);
}

std::optional<QString> EventViewerPane::decode(const QString& path) {
    QString error;
    std::optional<EventFile> file = EventFile::load(path, &error);
    if (!file)
        return error;
    count_->setText(recordCountLabel(file->count()));
    model_->setFile(std::move(*file));
    fitColumns();
    table_->scrollToTop();
    return std::nullopt;
}

void EventViewerPane::fitColumns() {
    for (int c = 0; c < ColEvent; ++c)
        table_->setColumnWidth(c, contentWidth(*table_, c, model_->file().count()));
}

} // namespace vextor::events
