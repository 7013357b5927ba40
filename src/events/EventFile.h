#pragma once
// An event file as the viewer sees it: the raw records, one after another, slot 0 first, no
// header. The record count is the size divided by 9; trailing bytes are ignored. Rows are decoded
// on demand, so a view over a big file pays only for the rows it shows.
#include "EventDecoder.h"
#include "EventRecord.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

class QIODevice;

namespace vextor::events {

// A controller's log is 682 records (6138 bytes). A file far beyond that is not an event file, and
// it is refused before it is read into memory.
inline constexpr qint64 kMaxEventFileBytes = 1024 * 1024;

class EventFile {
public:
    EventFile() = default;
    explicit EventFile(QByteArray bytes);

    // Reads the whole file. nullopt when it cannot be read or is longer than kMaxEventFileBytes;
    // errorText then receives the reason, and whatever the caller showed before stays as it was.
    static std::optional<EventFile> load(const QString& path, QString* errorText = nullptr);

    qint64 count() const { return bytes_.size() / kEventRecordSize; }
    EventRecord record(qint64 index) const;
    EventRow row(qint64 index) const { return decodeEventRecord(index, record(index)); }
    // Only the whole records.
    const QByteArray& bytes() const { return bytes_; }

private:
    QByteArray bytes_;
};

// The decoded table, one list of five strings per record, in file order.
std::vector<QStringList> decodedEventRows(const EventFile& file);

// The table as text, UTF-8: the record-count line, then the header and one line per record with the
// columns separated by tabs. False when the device refused the bytes.
bool writeEventTable(const EventFile& file, QIODevice& out);
// The table as CSV (RFC 4180: CRLF line ends, fields quoted where needed), UTF-8, with a header row.
bool writeEventCsv(const EventFile& file, QIODevice& out);
// One CSV field, quoted when it holds a comma, a double quote, CR or LF.
QString csvField(const QString& field);

// "Файла \"" + path + "\" не существует!", the message for an event file that is not there.
QString missingEventFileText(const QString& path);

} // namespace vextor::events
