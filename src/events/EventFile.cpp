#include "EventFile.h"
#include "link/LocalPath.h"

#include "texts.h"

#include <QFile>
#include <QIODevice>
#include <algorithm>

namespace vextor::events {
namespace {

bool writeUtf8(QIODevice& out, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return out.write(bytes) == bytes.size();
}

} // namespace

EventFile::EventFile(QByteArray bytes) : bytes_(std::move(bytes)) {
    bytes_.truncate(count() * kEventRecordSize);
}

std::optional<EventFile> EventFile::load(const QString& path, QString* errorText) {
    LocalFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (errorText)
            *errorText = file.errorString();
        return std::nullopt;
    }
    // One byte beyond the bound tells a file that is too long without trusting the reported size.
    QByteArray bytes = file.read(kMaxEventFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        if (errorText)
            *errorText = file.errorString();
        return std::nullopt;
    }
    if (bytes.size() > kMaxEventFileBytes) {
        if (errorText)
            *errorText = QString::fromUtf8(texts::kFileTooLarge)
                             .arg(path)
                             .arg(std::max<qint64>(file.size(), bytes.size()))
                             .arg(kMaxEventFileBytes);
        return std::nullopt;
    }
    return EventFile(std::move(bytes));
}

EventRecord EventFile::record(qint64 index) const {
    return EventRecord::fromBytes(reinterpret_cast<const uint8_t*>(bytes_.constData()) +
                                  index * kEventRecordSize);
}

std::vector<QStringList> decodedEventRows(const EventFile& file) {
    std::vector<QStringList> rows;
    rows.reserve(static_cast<size_t>(file.count()));
    for (qint64 i = 0; i < file.count(); ++i)
        rows.push_back(file.row(i).toStringList());
    return rows;
}

bool writeEventTable(const EventFile& file, QIODevice& out) {
    if (!writeUtf8(out, recordCountLabel(file.count()) + u'\n' + eventColumnHeaders().join(u'\t') + u'\n'))
        return false;
    for (qint64 i = 0; i < file.count(); ++i)
        if (!writeUtf8(out, file.row(i).toStringList().join(u'\t') + u'\n'))
            return false;
    return true;
}

QString csvField(const QString& field) {
    static const QString special = QStringLiteral(",\"\r\n");
    if (std::none_of(field.begin(), field.end(), [](QChar c) { return special.contains(c); }))
        return field;
    QString quoted = field;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

bool writeEventCsv(const EventFile& file, QIODevice& out) {
    auto line = [](const QStringList& cells) {
        QStringList fields;
        for (const QString& c : cells)
            fields << csvField(c);
        return fields.join(u',') + QStringLiteral("\r\n");
    };
    if (!writeUtf8(out, line(eventColumnHeaders())))
        return false;
    for (qint64 i = 0; i < file.count(); ++i)
        if (!writeUtf8(out, line(file.row(i).toStringList())))
            return false;
    return true;
}

QString missingEventFileText(const QString& path) {
    return QString::fromUtf8(texts::kMissingFileBefore) + path + QString::fromUtf8(texts::kMissingFileAfter);
}

} // namespace vextor::events
