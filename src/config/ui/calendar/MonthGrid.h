#pragma once
// The month-grid control TCalendar: one month as 7 columns and 7 rows, a header of short day names
// over the day numbers. The owner decides which days are drawn red and what a click on a day does.
#include <QDate>
#include <QWidget>
#include <functional>

namespace vextor {

class MonthGrid : public QWidget {
public:
    explicit MonthGrid(QWidget* parent = nullptr);

    int year() const { return date_.year(); }
    int month() const { return date_.month(); }
    int day() const { return date_.day(); }
    // A value below 1, a month above 12 or a day beyond the month is ignored; the current value
    // changes nothing.
    void setYear(int year);
    void setMonth(int month);
    void setDay(int day);
    QDate calendarDate() const { return date_; }
    void setCalendarDate(QDate date);

    // The weekday of column 0: 0 = Sunday .. 6 = Saturday.
    int startOfWeek() const { return startOfWeek_; }
    void setStartOfWeek(int day);
    bool useCurrentDate() const { return useCurrentDate_; }
    void setUseCurrentDate(bool on);
    bool isReadOnly() const { return readOnly_; }
    void setReadOnly(bool on) { readOnly_ = on; }
    int gridLineWidth() const { return gridLineWidth_; }
    void setGridLineWidth(int width);

    // The day number in column x, row y (1..6), or 0; the header text of column x.
    int cellDay(int x, int y) const;
    QString headerText(int x) const;
    // The cell under a point of the widget: false outside the grid.
    bool cellAt(QPoint p, int& x, int& y) const;
    QRect cellRect(int x, int y) const;
    // The current cell; (0, 0) after every recompute, so no day is highlighted.
    QPoint currentCell() const { return current_; }

    std::function<void()> dateChanged;
    std::function<bool(int year, int month, int day)> dayIsRed;
    std::function<void(int year, int month, int day)> dayClicked;

    QSize sizeHint() const override { return {250, 120}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QDate date_;
    int startOfWeek_ = 0;
    bool useCurrentDate_ = true;
    bool readOnly_ = false;
    int gridLineWidth_ = 1;
    QPoint current_{0, 0};

    void changeDate(QDate date);
    void recompute();
};

} // namespace vextor
