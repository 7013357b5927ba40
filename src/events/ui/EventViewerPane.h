#pragma once
// The content of the event viewer: the record count line above the decoded table, on a panel that
// fills the window's scrolling area. The event column takes whatever width the other columns leave;
// where that still cuts an event text, the cell's tooltip shows it whole.
#include "EventTableModel.h"

#include <QScrollArea>
#include <optional>

class QLabel;
class QTableView;

namespace vextor::events {

class EventViewerPane : public QScrollArea {
public:
    explicit EventViewerPane(QWidget* parent = nullptr);

    // Decodes the event file into the table. The file layer's reason when it cannot be read; the
    // table and the count then stay as they were.
    std::optional<QString> decode(const QString& path);

    QLabel* countLabel() const { return count_; }
    QTableView* table() const { return table_; }
    EventTableModel* model() const { return model_; }
    QWidget* panel() const { return widget(); }

private:
    QLabel* count_;
    QTableView* table_;
    EventTableModel* model_;

    // The columns before the event one to the width of what the file can show in them.
    void fitColumns();
};

} // namespace vextor::events
