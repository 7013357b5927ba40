#pragma once
// The decoded event table as an item model over an event file: rows are decoded when a view asks
// for them, so a file of any size costs only the rows on screen.
#include "events/EventFile.h"

#include <QAbstractTableModel>

namespace vextor::events {

class EventTableModel : public QAbstractTableModel {
public:
    explicit EventTableModel(QObject* parent = nullptr);

    void setFile(EventFile file);
    const EventFile& file() const { return file_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    EventFile file_;
    QStringList headers_;
    // A view asks for a row's cells one after another: the last decoded row is kept.
    mutable qint64 cachedIndex_ = -1;
    mutable EventRow cachedRow_;

    const EventRow& rowAt(qint64 index) const;
};

} // namespace vextor::events
