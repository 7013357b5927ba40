#include "CalendarTab.h"

#include "GeneralTexts.h"

namespace vextor {

namespace {

constexpr int kFirstYear = 2000;

uint8_t& dayByte(ConfigImage& image, int slot, int day) {
    return image.Calendars[1 + (day - 1) / 8][slot];
}

} // namespace

CalendarMonth calendarSlot(const ConfigImage& image, int slot) {
    const uint8_t head = image.Calendars[0][slot];
    const int highBit = (image.Calendars[4][slot] & 0x80) ? 16 : 0;
    return {kFirstYear + highBit + (head >> 4), head & 0x0F};
}

void buildDefaultCalendar(ConfigImage& image, QDate start) {
    for (auto& row : image.Calendars)
        row.fill(0);
    const QDate first(start.year(), start.month(), 1);
    for (int m = 0; m < kCalendarMonths; ++m) {
        const QDate d = first.addMonths(m);
        const int years = d.year() - kFirstYear;
        image.Calendars[0][m] = static_cast<uint8_t>((years % 16) * 16 + d.month());
        if (years >= 16)
            image.Calendars[4][m] |= 0x80;
        for (int day = 1; day <= d.daysInMonth(); ++day)
            if (QDate(d.year(), d.month(), day).dayOfWeek() >= Qt::Saturday)
                dayByte(image, m, day) |= static_cast<uint8_t>(1u << ((day - 1) % 8));
    }
}

int findCalendarSlot(const ConfigImage& image, int year, int month) {
    for (int m = 0; m < kCalendarMonths; ++m)
        if (calendarSlot(image, m) == CalendarMonth{year, month})
            return m;
    return -1;
}

bool calendarDayOff(const ConfigImage& image, int year, int month, int day) {
    const int slot = findCalendarSlot(image, year, month);
    if (slot < 0 || day < 1 || day > 31)
        return false;
    return image.Calendars[1 + (day - 1) / 8][slot] & (1u << ((day - 1) % 8));
}

bool toggleCalendarDay(ConfigImage& image, int year, int month, int day) {
    const int slot = findCalendarSlot(image, year, month);
    if (slot < 0 || day < 1 || day > QDate(year, month, 1).daysInMonth())
        return false;
    dayByte(image, slot, day) ^= static_cast<uint8_t>(1u << ((day - 1) % 8));
    return true;
}

int calendarCellDay(int year, int month, int startOfWeek, int x, int y) {
    const QDate first(year, month, 1);
    if (!first.isValid() || y < 1)
        return 0;
    const int w = first.dayOfWeek() % 7 + 1; // 1 = Sunday .. 7 = Saturday
    int offset = 2 - ((w - startOfWeek + 7) % 7);
    if (offset == 2)
        offset = -5;
    const int day = offset + x + (y - 1) * 7;
    return day >= 1 && day <= first.daysInMonth() ? day : 0;
}

int calendarHeaderWeekday(int startOfWeek, int x) {
    return (x + startOfWeek) % 7 + 1;
}

CalendarTab::CalendarTab(ConfigImage& image, DateField& startDate) : image_(image), start_(startDate) {}

QString CalendarTab::monthCaption(const CalendarMonth& m) {
    if (m.month < 1 || m.month > 12)
        return QString();
    return general_texts::kMonthNames[m.month - 1] + QString::number(m.year);
}

void CalendarTab::showCalendar() {
    const CalendarMonth head = calendarSlot(image_, 0);
    QDate start;
    if (head.month == 0) {
        const std::optional<QDate> entry = start_.date();
        start = entry && entry->isValid() ? QDate(entry->year(), entry->month(), 1) : today();
    } else if (head.month <= 12) {
        start = QDate(head.year, head.month, 1);
    }
    if (start.isValid()) {
        start_.setDate(start);
    } else {
        // An unprogrammed slot (month 13..15): today's months, the entry as it was.
        start = today();
    }
    const QDate first(start.year(), start.month(), 1);
    for (int m = 0; m < kCalendarMonths; ++m) {
        const QDate d = first.addMonths(m);
        months_[m] = {d.year(), d.month()};
    }
    if (calendarsChanged)
        calendarsChanged();
}

void CalendarTab::startFromToday() {
    start_.setDate(today());
    rebuildFromStartDate();
}

void CalendarTab::rebuildFromStartDate() {
    const std::optional<QDate> d = start_.date();
    if (!d || !d->isValid())
        return;
    loaded_ = true;
    buildDefaultCalendar(image_, *d);
    showCalendar();
}

} // namespace vextor
