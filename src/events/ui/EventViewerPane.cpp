#include "EventViewerPane.h"

#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>
#include <numeric>

namespace vextor::events {

namespace {
constexpr int kPanelHeight = 500;
constexpr int kPanelMargin = 8;
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
    // Every row has the same height: the view need not measure rows it does not show.
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(kPanelMargin, kPanelMargin, kPanelMargin, kPanelMargin);
    layout->addWidget(count_);
    layout->addWidget(table_, 1);
    const int columns = std::accumulate(kEventColumnWidths.begin(), kEventColumnWidths.end(), 0);
    const int tableWidth =
        columns + 2 * table_->frameWidth() + table_->verticalScrollBar()->sizeHint().width();
    panel->setFixedSize(tableWidth + 2 * kPanelMargin, kPanelHeight);

    // Centred while the area is larger than the panel, scrolled from the top left otherwise.
    setAlignment(Qt::AlignCenter);
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
