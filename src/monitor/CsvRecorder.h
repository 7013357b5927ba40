#pragma once
// Recording of the monitor: one CSV row per chart point, with its time, for as long as the monitor
// runs. Each row goes to the operating system in one write as soon as it is made, so a crash of the
// program loses at most the row it was writing; nothing is held back for hours in a buffer.
//
// Cells are written as they are given; a cell with a comma, a quote or a line break is quoted.
#include "MonitorRecord.h"

#include <QDateTime>
#include <QFile>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <memory>

namespace vextor::monitor {

class CsvRecorder {
public:
    // Creates the file (an existing one is emptied) and writes the header line.
    bool open(const QString& path, const QStringList& columns);
    // Writes to a device that stays the caller's (stdout), header line first.
    bool start(QIODevice& device, const QStringList& columns);
    // One row: the time, then the cells. False when the row could not be written whole (a full
    // disk, a closed output); the recording should stop then.
    bool writeRow(const QDateTime& time, const QStringList& cells);
    void close();

    bool isOpen() const { return device_ != nullptr; }
    qint64 rows() const { return rows_; }
    QString errorString() const { return error_; }

private:
    std::unique_ptr<QFile> file_;
    QIODevice* device_ = nullptr;
    qint64 rows_ = 0;
    QString error_;

    bool writeLine(const QStringList& cells);
};

// ISO 8601 local time with milliseconds and the offset from UTC: 2024-03-15T12:30:00.250+03:00.
QString csvTime(const QDateTime& time);
// Two decimals and a decimal point, whatever the locale: 21.50.
QString csvNumber(double value);

// The columns of a chart recording after "time": the series 1 to 10, each under its title.
QStringList chartColumns(const std::array<QString, kSeriesCount>& titles);
// The cells of a chart point for those columns; empty where the series got no point.
QStringList chartCells(const ChartPoint& point);

} // namespace vextor::monitor
