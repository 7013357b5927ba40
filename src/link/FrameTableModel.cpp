#include "FrameTableModel.h"

#include "ReplacingFile.h"
#include "texts.h"

#include <utility>

namespace vextor {

namespace {

QString verdictInWords(const LinkFrame& frame) {
    const char* text = "";
    switch (frame.verdict) {
    case FrameVerdict::None:
        return {};
    case FrameVerdict::Good:
        text = link_texts::kVerdictGood;
        break;
    case FrameVerdict::BadCrc:
        text = link_texts::kVerdictBadCrc;
        break;
    case FrameVerdict::WrongAddress:
        text = link_texts::kVerdictWrongAddress;
        break;
    case FrameVerdict::Short:
        text = link_texts::kVerdictShort;
        break;
    case FrameVerdict::BadLength:
        text = link_texts::kVerdictBadLength;
        break;
    case FrameVerdict::NoReply:
        text = link_texts::kVerdictNoReply;
        break;
    }
    QString words = QString::fromUtf8(text);
    if (frame.scrambled)
        words += QString::fromUtf8(link_texts::kVerdictScrambled);
    return words;
}

} // namespace

FrameTableModel::FrameTableModel(std::size_t capacity, QObject* parent)
    : QAbstractTableModel(parent), capacity_(capacity > 0 ? capacity : 1) {}

void FrameTableModel::append(std::vector<LinkFrame> frames) {
    if (frames.empty())
        return;
    // Of a batch larger than the ring only its newest frames could stay.
    const std::size_t skipped = frames.size() > capacity_ ? frames.size() - capacity_ : 0;
    const std::size_t added = frames.size() - skipped;
    const std::size_t leaving = count_ + added > capacity_ ? count_ + added - capacity_ : 0;
    if (leaving > 0) {
        beginRemoveRows({}, 0, static_cast<int>(leaving) - 1);
        head_ = (head_ + leaving) % capacity_;
        count_ -= leaving;
        endRemoveRows();
    }
    beginInsertRows({}, static_cast<int>(count_), static_cast<int>(count_ + added) - 1);
    for (std::size_t i = skipped; i < frames.size(); ++i) {
        const std::size_t slot = (head_ + count_) % capacity_;
        if (slot == ring_.size())
            ring_.push_back(std::move(frames[i]));
        else
            ring_[slot] = std::move(frames[i]);
        ++count_;
    }
    endInsertRows();
}

void FrameTableModel::clear() {
    beginResetModel();
    ring_.clear();
    ring_.shrink_to_fit();
    head_ = 0;
    count_ = 0;
    endResetModel();
}

const LinkFrame& FrameTableModel::frame(int row) const {
    return ring_[(head_ + static_cast<std::size_t>(row)) % capacity_];
}

QStringList FrameTableModel::lines() const {
    QStringList out;
    out.reserve(static_cast<qsizetype>(count_));
    for (std::size_t row = 0; row < count_; ++row)
        out.append(frameLine(frame(static_cast<int>(row))));
    return out;
}

int FrameTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(count_);
}

int FrameTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FrameTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || role != Qt::DisplayRole)
        return {};
    const LinkFrame& f = frame(index.row());
    switch (index.column()) {
    case TimeColumn:
        return QString::number(f.ms);
    case DirectionColumn:
        return QString::fromUtf8(f.direction == FrameDirection::Sent ? link_texts::kFrameSent
                                                                     : link_texts::kFrameReceived);
    case BytesColumn:
        return frameHexText(f);
    case CommandColumn:
        return frameCommandText(f);
    case VerdictColumn:
        return verdictInWords(f);
    default:
        return {};
    }
}

QVariant FrameTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromUtf8(link_texts::kFrameColumns[static_cast<std::size_t>(section)]);
}

QString saveFrameLines(const FrameTableModel& model, const QString& path) {
    QByteArray text;
    for (const QString& line : model.lines())
        text += line.toUtf8() + '\n';
    ReplacingFile file(path);
    if (!file.open() || !file.write(text) || !file.commit())
        return file.errorString();
    return {};
}

} // namespace vextor
