#pragma once
// The "Календарь" tab without its widgets: the twelve month slots of ConfigImage's Calendars, the
// default calendar from a start date, and the working/non-working bit of each day.
#include "ConfigImage.h"
#include "GeneralFields.h"

#include <QDate>
#include <QString>
#include <array>
#include <functional>

namespace vextor {

// The month a slot (0..11) holds; month 0 when the slot names none (13..15 are kept as they are).
struct CalendarMonth {
    int year = 2000;
    int month = 0;
    bool operator==(const CalendarMonth&) const = default;
};
CalendarMonth calendarSlot(const ConfigImage& image, int slot);

// Fills the twelve slots with the months from the start date's month on, Saturdays and Sundays
// non-working.
void buildDefaultCalendar(ConfigImage& image, QDate start);

// The slot holding year and month, or -1.
int findCalendarSlot(const ConfigImage& image, int year, int month);
bool calendarDayOff(const ConfigImage& image, int year, int month, int day);
// Inverts the day's bit in the slot holding its month; false (and nothing changed) when no slot
// holds it.
bool toggleCalendarDay(ConfigImage& image, int year, int month, int day);

// The day number a month grid shows in column x (0..6) and row y (1..6) with the week starting at
// startOfWeek (0 = Sunday .. 6 = Saturday); 0 for an empty cell.
int calendarCellDay(int year, int month, int startOfWeek, int x, int y);
// The weekday whose short name heads column x: 1 = Sunday .. 7 = Saturday.
int calendarHeaderWeekday(int startOfWeek, int x);

class CalendarTab {
public:
    CalendarTab(ConfigImage& image, DateField& startDate);

    // Rebuilds the twelve shown months from the image's first slot (or the start date entry when
    // that slot names no month).
    void showCalendar();
    // "Дата ПК": today's date becomes the start; a new default calendar.
    void startFromToday();
    // The start date entry changed: a new default calendar from it.
    void rebuildFromStartDate();

    // Day colours are drawn only once a calendar came from a controller, a file or the generator.
    bool calendarLoaded() const { return loaded_; }
    void setCalendarLoaded() { loaded_ = true; }

    const std::array<CalendarMonth, kCalendarMonths>& months() const { return months_; }
    // "Январь 2015".
    static QString monthCaption(const CalendarMonth& m);

    std::function<QDate()> today = [] { return QDate::currentDate(); };
    std::function<void()> calendarsChanged;

private:
    ConfigImage& image_;
    DateField& start_;
    bool loaded_ = false;
    std::array<CalendarMonth, kCalendarMonths> months_{};
};

} // namespace vextor
