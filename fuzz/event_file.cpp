// The event file: read from the disk, every record decoded, the table written as text and as CSV.
#include "FuzzSupport.h"

#include "events/EventFile.h"

#include <QBuffer>

using namespace vextor;
using namespace vextor::fuzz;
using namespace vextor::events;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = scratchFile("plant.blb", data, size);
    QString error;
    const std::optional<EventFile> file = EventFile::load(path, &error);
    FUZZ_CHECK(file.has_value() == (static_cast<qint64>(size) <= kMaxEventFileBytes));
    if (!file) {
        FUZZ_CHECK(!error.isEmpty());
        return 0;
    }
    // Whole records only; the bytes after the last one are not looked at.
    const qint64 count = static_cast<qint64>(size) / kEventRecordSize;
    FUZZ_CHECK(file->count() == count);
    FUZZ_CHECK(file->bytes().size() == count * kEventRecordSize);
    FUZZ_CHECK(file->bytes() == QByteArray(reinterpret_cast<const char*>(data), count * kEventRecordSize));

    for (qint64 i = 0; i < count; ++i) {
        const EventRow row = file->row(i);
        FUZZ_CHECK(row[ColNumber] == QString::number(i + 1));
        FUZZ_CHECK(!row[ColEvent].isEmpty());
        // A record with a bad time, date or source keeps only its number and the error.
        const bool whole = !row[ColSource].isEmpty();
        FUZZ_CHECK(whole == !row[ColDate].isEmpty());
        FUZZ_CHECK(whole == !row[ColTime].isEmpty());
        if (whole) {
            const EventRecord r = file->record(i);
            FUZZ_CHECK(r.hour <= 24 && r.minute <= 60 && r.seconds() <= 60);
            FUZZ_CHECK(r.day <= 31 && r.month <= 12 && r.year <= 99 && !(r.source & 0x80));
            FUZZ_CHECK(row[ColDate].size() == 8 && row[ColTime].size() == 8);
        }
    }

    QBuffer text, csv;
    text.open(QIODevice::WriteOnly);
    csv.open(QIODevice::WriteOnly);
    FUZZ_CHECK(writeEventTable(*file, text));
    FUZZ_CHECK(writeEventCsv(*file, csv));
    // One line per record after the count and the header; one row per record after the header.
    FUZZ_CHECK(text.data().count('\n') == count + 2);
    FUZZ_CHECK(csv.data().count("\r\n") == count + 1);
    return 0;
}
