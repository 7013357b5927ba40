#include "EventTableModel.h"

#include <limits>

namespace vextor::events {

EventTableModel::EventTableModel(QObject* parent)
    : QAbstractTableModel(parent), headers_(eventColumnHeaders()) {}

void EventTableModel::setFile(EventFile file) {
    beginResetModel();
    file_ = std::move(file);
    cachedIndex_ = -1;
    endResetModel();
}

int EventTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return static_cast<int>(std::min<qint64>(file_.count(), std::numeric_limits<int>::max()));
}

int EventTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : EventColumnCount;
}

const EventRow& EventTableModel::rowAt(qint64 index) const {
    if (index != cachedIndex_) {
        cachedRow_ = file_.row(index);
        cachedIndex_ = index;
    }
    return cachedRow_;
}

QVariant EventTableModel::data(const QModelIndex& index, int role) const {
    // The tooltip carries the whole text wherever a narrow window still cuts a cell.
    if ((role != Qt::DisplayRole && role != Qt::ToolTipRole) || !index.isValid() ||
        index.row() >= rowCount() || index.column() >= EventColumnCount)
        return {};
    return rowAt(index.row())[index.column()];
}

QVariant EventTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= headers_.size())
        return {};
    return headers_[section];
}

} // namespace vextor::events
