// "Календарь" headless: the default calendar's bytes, the start month, toggling days and the month
// grid's columns.
#include "config/CalendarTab.h"

#include <gtest/gtest.h>

namespace vextor {
namespace {

class CalendarTabTest : public ::testing::Test {
protected:
    CalendarTabTest() : tab(image, start) {
        loadDefaultConfiguration(image);
        tab.today = [] { return QDate(2026, 7, 15); };
    }
    ConfigImage image;
    PlainDateField start;
    CalendarTab tab;
};

TEST_F(CalendarTabTest, DefaultCalendarFromAStartDate) {
    buildDefaultCalendar(image, QDate(2015, 3, 20));
    EXPECT_EQ(image.Calendars[0][0], 0xF3);
    EXPECT_EQ(image.Calendars[0][9], 0xFC);
    EXPECT_EQ(image.Calendars[0][10], 0x01);
    EXPECT_EQ(image.Calendars[0][11], 0x02);
    for (int m = 0; m < 12; ++m)
        EXPECT_EQ(image.Calendars[4][m] & 0x80, m >= 10 ? 0x80 : 0) << m;
    // March 2015: the 1st is a Sunday, so days 1, 7, 8 are off in the first byte.
    EXPECT_EQ(image.Calendars[1][0], 0xC1);
    // February 2016 has 29 days: 27 and 28 (Sat, Sun) off, day 29 a Monday, bits 5 and 6 clear.
    EXPECT_EQ(image.Calendars[4][11], 0x80 | 0x08 | 0x04);
    EXPECT_EQ(calendarSlot(image, 11), (CalendarMonth{2016, 2}));

    // The image default is the year 2000 generated the same way.
    ConfigImage fresh;
    loadDefaultConfiguration(fresh);
    buildDefaultCalendar(image, QDate(2000, 1, 1));
    EXPECT_EQ(image.Calendars, fresh.Calendars);
}

TEST_F(CalendarTabTest, ShownMonthsStartAtTheFirstSlotOrTheEntry) {
    buildDefaultCalendar(image, QDate(2015, 3, 1));
    tab.showCalendar();
    EXPECT_EQ(start.date(), QDate(2015, 3, 1));
    EXPECT_EQ(tab.months()[11], (CalendarMonth{2016, 2}));
    EXPECT_EQ(CalendarTab::monthCaption(tab.months()[0]), "Март 2015");

    image.Calendars[0][0] = 0x00; // month 0: the start date entry decides
    start.setDate(QDate(2019, 11, 5));
    tab.showCalendar();
    EXPECT_EQ(tab.months()[0], (CalendarMonth{2019, 11}));

    image.Calendars[0][0] = 0xFE; // no month at all: today's, the entry kept
    tab.showCalendar();
    EXPECT_EQ(tab.months()[0], (CalendarMonth{2026, 7}));
    EXPECT_EQ(start.date(), QDate(2019, 11, 1));
    EXPECT_FALSE(tab.calendarLoaded());

    tab.startFromToday();
    EXPECT_TRUE(tab.calendarLoaded());
    EXPECT_EQ(image.Calendars[0][0], 0xA7);
}

TEST_F(CalendarTabTest, ClickingADayTwiceRestoresIt) {
    buildDefaultCalendar(image, QDate(2015, 3, 1));
    const auto before = image.Calendars;
    EXPECT_FALSE(calendarDayOff(image, 2015, 5, 1));
    EXPECT_TRUE(toggleCalendarDay(image, 2015, 5, 1));
    EXPECT_TRUE(calendarDayOff(image, 2015, 5, 1));
    EXPECT_EQ(image.Calendars[1][2], before[1][2] | 0x01);
    EXPECT_TRUE(toggleCalendarDay(image, 2015, 5, 1));
    EXPECT_EQ(image.Calendars, before);
    EXPECT_FALSE(toggleCalendarDay(image, 2016, 3, 1)); // no slot holds March 2016
    EXPECT_EQ(image.Calendars, before);
}

TEST(CalendarGrid, FirstDayColumnFollowsTheWeekStart) {
    const struct {
        int year, month, start, x, y, day;
    } cases[] = {
        {2015, 6, 1, 0, 1, 1},  // 1 June 2015 is a Monday
        {2015, 3, 1, 6, 1, 1},  // 1 March 2015 is a Sunday
        {2015, 3, 1, 0, 2, 2},  //
        {2015, 3, 0, 0, 1, 1},  // weeks from Sunday
        {2015, 3, 1, 1, 6, 31}, // the last day in the sixth row
        {2015, 3, 1, 2, 6, 0},  // past the month's end
        {2016, 2, 1, 0, 5, 29}, // leap February
    };
    for (const auto& c : cases)
        EXPECT_EQ(calendarCellDay(c.year, c.month, c.start, c.x, c.y), c.day)
            << c.year << "-" << c.month << " x" << c.x << " y" << c.y;
    EXPECT_EQ(calendarHeaderWeekday(1, 0), 2); // Monday
    EXPECT_EQ(calendarHeaderWeekday(1, 6), 1); // Sunday
}

} // namespace
} // namespace vextor
