#pragma once
// The frames of the line as the traffic window shows them: the newest ones in a ring of fixed size
// (the oldest drop out first), as a table of time, direction, bytes, command and verdict. The ring
// holds the frames as told, so a long session costs a bounded amount of memory and no widget per row.
#include "FrameTap.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <cstddef>
#include <vector>

namespace vextor {

class FrameTableModel : public QAbstractTableModel {
public:
    static constexpr std::size_t kDefaultCapacity = 10000;
    enum Column { TimeColumn, DirectionColumn, BytesColumn, CommandColumn, VerdictColumn, ColumnCount };

    explicit FrameTableModel(std::size_t capacity = kDefaultCapacity, QObject* parent = nullptr);

    std::size_t capacity() const { return capacity_; }
    // Adds the frames after the newest; beyond the capacity the oldest rows leave first.
    void append(std::vector<LinkFrame> frames);
    void clear();
    // Row 0 is the oldest frame kept.
    const LinkFrame& frame(int row) const;
    // The trace line of every frame kept, oldest first (as vextorctl --trace writes them).
    QStringList lines() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::size_t capacity_;
    std::vector<LinkFrame> ring_; // grows to the capacity, then wraps
    std::size_t head_ = 0;        // the oldest frame's slot
    std::size_t count_ = 0;
};

// Writes the lines of every frame kept to path through a replacing file, so that a failed save leaves
// an older file as it was. An empty string when it worked, else the reason.
QString saveFrameLines(const FrameTableModel& model, const QString& path);

} // namespace vextor
