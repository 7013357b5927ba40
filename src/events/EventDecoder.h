#pragma once
// Turns event records into the viewer's readable rows. Decoding is a pure function of the record
// and its position, so a table over a large file can decode only the rows it shows.
#include "EventRecord.h"

#include <QString>
#include <QStringList>
#include <array>

namespace vextor::events {

enum EventColumn { ColNumber = 0, ColSource, ColDate, ColTime, ColEvent, EventColumnCount };

// Header texts of the viewer's columns.
QStringList eventColumnHeaders();

// "Количество записей - " + count, the line above the table.
QString recordCountLabel(qint64 count);

// The description of a code with its option byte, without the "(code)  " prefix.
QString eventText(uint8_t code, uint8_t option);

struct EventRow {
    std::array<QString, EventColumnCount> cells;

    const QString& operator[](int column) const { return cells[static_cast<size_t>(column)]; }
    QStringList toStringList() const { return QStringList(cells.begin(), cells.end()); }
    bool operator==(const EventRow&) const = default;
};

// The row of the record at zero-based position index (shown as index + 1). A record with a bad
// time, date or source (checked in that order) keeps only its number and the error text.
EventRow decodeEventRecord(qint64 index, const EventRecord& record);

} // namespace vextor::events
