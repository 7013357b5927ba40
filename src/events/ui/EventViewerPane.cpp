#include "EventViewerPane.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <numeric>

namespace vextor::events {

namespace {
constexpr int kPanelHeight = 500;
constexpr int kPanelMargin = 8;
// Room a cell takes beside its text (the style's margins on both sides).
constexpr int kCellPadding = 16;

// The widest text the event column can ever hold: the address of a lost or restored device at
// the end of the line must stay readable.
int widestEventText(const QFontMetrics& metrics) {
    int widest = 0;
    for (int code = 0; code <= 255; ++code) {
        const QString text = QStringLiteral("(%1)  ").arg(code) +
                             eventText(static_cast<uint8_t>(code), static_cast<uint8_t>(255));
        widest = std::max(widest, metrics.horizontalAdvance(text));
    }
    return widest;
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
    for (int c = 0; c < EventColumnCount; ++c)
        table_->setColumnWidth(c, kEventColumnWidths[static_cast<size_t>(c)]);
    // The event column shows its longest text whole and takes whatever room the window adds.
    const int eventWidth =
        std::max(kEventColumnWidths[ColEvent], widestEventText(table_->fontMetrics()) + kCellPadding);
    table_->setColumnWidth(ColEvent, eventWidth);
    table_->horizontalHeader()->setStretchLastSection(true);
    // Every row has the same height: the view need not measure rows it does not show.
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(kPanelMargin, kPanelMargin, kPanelMargin, kPanelMargin);
    layout->addWidget(count_);
    layout->addWidget(table_, 1);
    const int columns =
        std::accumulate(kEventColumnWidths.begin(), kEventColumnWidths.end() - 1, 0) + eventWidth;
    const int tableWidth =
        columns + 2 * table_->frameWidth() + table_->verticalScrollBar()->sizeHint().width();
    // The panel fills the area and never gets narrower than the whole table: a smaller window
    // scrolls the panel instead of cutting the event texts.
    panel->setMinimumSize(tableWidth + 2 * kPanelMargin, kPanelHeight);
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
    table_->scrollToTop();
    return std::nullopt;
}

} // namespace vextor::events
