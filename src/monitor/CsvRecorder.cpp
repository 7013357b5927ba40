#include "CsvRecorder.h"

#include <QRegularExpression>

namespace vextor::monitor {

namespace {

QString cell(const QString& text) {
    static const QRegularExpression special(QStringLiteral("[\",\r\n]"));
    if (!text.contains(special))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

bool CsvRecorder::open(const QString& path, const QStringList& columns) {
    close();
    auto file = std::make_unique<QFile>(path);
    // Unbuffered: every row reaches the operating system with its own write.
    if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        error_ = file->errorString();
        return false;
    }
    file_ = std::move(file);
    return start(*file_, columns);
}

bool CsvRecorder::start(QIODevice& device, const QStringList& columns) {
    device_ = &device;
    rows_ = 0;
    error_.clear();
    if (writeLine(QStringList{QStringLiteral("time")} + columns))
        return true;
    close();
    return false;
}

bool CsvRecorder::writeRow(const QDateTime& time, const QStringList& cells) {
    if (!device_)
        return false;
    if (!writeLine(QStringList{csvTime(time)} + cells))
        return false;
    ++rows_;
    return true;
}

bool CsvRecorder::writeLine(const QStringList& cells) {
    QStringList quoted;
    quoted.reserve(cells.size());
    for (const QString& c : cells)
        quoted.append(cell(c));
    const QByteArray line = (quoted.join(QLatin1Char(',')) + QLatin1Char('\n')).toUtf8();
    if (device_->write(line) != line.size()) {
        error_ = device_->errorString();
        return false;
    }
    // A device with a buffer of its own (a stream) hands the row on now.
    if (auto* file = qobject_cast<QFileDevice*>(device_); file && !file->flush()) {
        error_ = file->errorString();
        return false;
    }
    return true;
}

void CsvRecorder::close() {
    device_ = nullptr;
    if (file_)
        file_->close();
    file_.reset();
}

QString csvTime(const QDateTime& time) {
    return time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODateWithMs);
}

QString csvNumber(double value) {
    return QString::number(value, 'f', 2);
}

QStringList chartColumns(const std::array<QString, kSeriesCount>& titles) {
    return QStringList(titles.begin() + 1, titles.end());
}

QStringList chartCells(const ChartPoint& point) {
    QStringList cells;
    for (size_t k = 1; k < point.y.size(); ++k)
        cells.append(point.y[k] ? csvNumber(*point.y[k]) : QString());
    return cells;
}

} // namespace vextor::monitor
