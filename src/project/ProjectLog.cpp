#include "ProjectLog.h"

#include "link/NumericConversions.h"

#include <QLocale>
#include <QRegularExpression>

namespace vextor {

QString logActionLine(const QDateTime& when, const QString& action, const QString& path) {
    const QLocale locale = dateTimeFormats();
    // Qt's long time format carries the time zone; the log shows the clock time alone.
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b\\s*"));
    timeFormat.remove(zone);
    return locale.toString(when.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(when.time(), timeFormat.trimmed()) + QLatin1Char(' ') + action + path;
}

} // namespace vextor
