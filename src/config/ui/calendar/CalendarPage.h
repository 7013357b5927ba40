#pragma once
// The "Календарь" tab: the start date entry with "Дата ПК" and the twelve month grids, bound to
// the headless CalendarTab over ConfigImage. A click on a day changes the image at once.
#include "MonthGrid.h"
#include "config/CalendarTab.h"
#include "config/ConfigObserver.h"
#include "config/ui/general/GeneralWidgetFields.h"

#include <QWidget>
#include <array>
#include <memory>

class QDateEdit;
class QLabel;
class QPushButton;
class QScrollArea;

namespace vextor {

class CalendarPage : public QWidget, public ConfigObserver {
public:
    explicit CalendarPage(ConfigImage& image, QWidget* parent = nullptr);
    ~CalendarPage() override;

    CalendarTab& editor() { return *editor_; }
    // ViewCalendar redraws; ViewCalendarLoaded also lets the days show their colours.
    void configurationChanged(ConfigViews views) override;
    void selectFirstRows() override {}
    void showFirstPage() override {}
    void setTransferRunning(bool running) override;

    MonthGrid* month(int slot) const { return calendars_[slot]; }
    QLabel* caption(int slot) const { return captions_[slot]; }
    QDateEdit* startDateEdit() const { return startDate_; }
    QPushButton* pcDateButton() const { return pcDate_; }
    QWidget* monthsArea() const { return area_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    ConfigImage& image_;
    QDateEdit* startDate_;
    QPushButton* pcDate_;
    QWidget* area_;
    QScrollArea* scroll_;
    std::array<MonthGrid*, kCalendarMonths> calendars_{};
    std::array<QLabel*, kCalendarMonths> captions_{};
    DateEditField startField_;
    std::unique_ptr<CalendarTab> editor_;

    void drawMonths();
    // Lays the months out in rows of this many.
    void placeMonths(int columns);
};

} // namespace vextor
