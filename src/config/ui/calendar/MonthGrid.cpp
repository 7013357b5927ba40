#include "MonthGrid.h"

#include "config/CalendarTab.h"

#include <QLocale>
#include <QMouseEvent>
#include <QPainter>

namespace vextor {

namespace {
constexpr int kColumns = 7;
constexpr int kRows = 7;
} // namespace

MonthGrid::MonthGrid(QWidget* parent) : QWidget(parent), date_(QDate::currentDate()) {
    setMinimumSize(sizeHint());
}

void MonthGrid::changeDate(QDate date) {
    if (!date.isValid() || date == date_)
        return;
    date_ = date;
    useCurrentDate_ = false;
    recompute();
    if (dateChanged)
        dateChanged();
}

void MonthGrid::setYear(int year) {
    if (year < 1)
        return;
    changeDate(
        QDate(year, date_.month(), std::min(date_.day(), QDate(year, date_.month(), 1).daysInMonth())));
}

void MonthGrid::setMonth(int month) {
    if (month < 1 || month > 12)
        return;
    changeDate(
        QDate(date_.year(), month, std::min(date_.day(), QDate(date_.year(), month, 1).daysInMonth())));
}

void MonthGrid::setDay(int day) {
    if (day < 1 || day > date_.daysInMonth())
        return;
    changeDate(QDate(date_.year(), date_.month(), day));
}

void MonthGrid::setCalendarDate(QDate date) {
    if (!date.isValid())
        return;
    date_ = date;
    recompute();
    if (dateChanged)
        dateChanged();
}

void MonthGrid::setStartOfWeek(int day) {
    if (day < 0 || day > 6 || day == startOfWeek_)
        return;
    startOfWeek_ = day;
    recompute();
}

void MonthGrid::setUseCurrentDate(bool on) {
    if (on == useCurrentDate_)
        return;
    useCurrentDate_ = on;
    if (on)
        date_ = QDate::currentDate();
    recompute();
}

void MonthGrid::setGridLineWidth(int width) {
    gridLineWidth_ = std::max(width, 0);
    recompute();
}

void MonthGrid::recompute() {
    current_ = {0, 0};
    update();
}

int MonthGrid::cellDay(int x, int y) const {
    return calendarCellDay(date_.year(), date_.month(), startOfWeek_, x, y);
}

QString MonthGrid::headerText(int x) const {
    const int weekday = calendarHeaderWeekday(startOfWeek_, x); // 1 = Sunday
    const int qtDay = weekday == 1 ? 7 : weekday - 1;
    return QLocale(QLocale::Russian).dayName(qtDay, QLocale::ShortFormat);
}

QRect MonthGrid::cellRect(int x, int y) const {
    const int w = (width() - 6 * gridLineWidth_) / kColumns;
    const int h = (height() - 6 * gridLineWidth_) / kRows;
    return {x * (w + gridLineWidth_), y * (h + gridLineWidth_), w, h};
}

bool MonthGrid::cellAt(QPoint p, int& x, int& y) const {
    for (y = 0; y < kRows; ++y)
        for (x = 0; x < kColumns; ++x)
            if (cellRect(x, y).contains(p))
                return true;
    return false;
}

void MonthGrid::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    painter.setPen(palette().mid().color());
    for (int i = 1; i < kColumns; ++i) {
        const int x = cellRect(i, 0).left() - 1;
        painter.drawLine(x, 0, x, height());
    }
    for (int i = 1; i < kRows; ++i) {
        const int y = cellRect(0, i).top() - 1;
        painter.drawLine(0, y, width(), y);
    }
    for (int x = 0; x < kColumns; ++x) {
        const QRect header = cellRect(x, 0);
        painter.fillRect(header, palette().button());
        painter.setPen(palette().buttonText().color());
        painter.drawText(header, Qt::AlignCenter, headerText(x));
        for (int y = 1; y < kRows; ++y) {
            const int day = cellDay(x, y);
            if (day == 0)
                continue;
            const bool red = dayIsRed && dayIsRed(date_.year(), date_.month(), day);
            painter.setPen(red ? QColor(Qt::red) : QColor(Qt::black));
            painter.drawText(cellRect(x, y), Qt::AlignCenter, QString::number(day));
        }
    }
}

void MonthGrid::mousePressEvent(QMouseEvent* event) {
    int x = 0, y = 0;
    if (readOnly_ || event->button() != Qt::LeftButton || !cellAt(event->position().toPoint(), x, y) || y < 1)
        return;
    const int day = cellDay(x, y);
    if (day == 0)
        return;
    setDay(day);
    if (dayClicked)
        dayClicked(date_.year(), date_.month(), day);
    recompute();
}

} // namespace vextor
