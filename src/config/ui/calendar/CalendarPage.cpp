#include "CalendarPage.h"

#include "config/GeneralTexts.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace vextor {

namespace t = general_texts;

namespace {
constexpr int kMonthWidth = 250;
constexpr int kMonthHeight = 120;
constexpr int kGap = 20;
constexpr int kCaptionGap = 3;
} // namespace

CalendarPage::CalendarPage(ConfigImage& image, QWidget* parent)
    : QWidget(parent), image_(image), startDate_(new QDateEdit), pcDate_(new QPushButton(t::kPcDate)),
      area_(new QWidget), scroll_(new QScrollArea),
      startField_(startDate_, QDate(2000, 1, 1), QDate(2030, 1, 1)) {
    startDate_->setCalendarPopup(true);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(t::kStartDate));
    top->addWidget(startDate_);
    top->addWidget(pcDate_);
    top->addStretch(1);

    QFont bold = font();
    bold.setBold(true);
    for (int m = 0; m < kCalendarMonths; ++m) {
        auto* c = new MonthGrid(area_);
        c->setStartOfWeek(1);
        c->setUseCurrentDate(false);
        c->dayIsRed = [this](int y, int mo, int d) {
            return editor_->calendarLoaded() && calendarDayOff(image_, y, mo, d);
        };
        c->dayClicked = [this](int y, int mo, int d) { toggleCalendarDay(image_, y, mo, d); };
        calendars_[m] = c;
        auto* caption = new QLabel(area_);
        caption->setFont(bold);
        caption->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        captions_[m] = caption;
    }
    placeMonths(3);
    scroll_->setWidget(area_);
    scroll_->setFrameShape(QFrame::NoFrame);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(scroll_, 1);

    editor_ = std::make_unique<CalendarTab>(image, startField_);
    editor_->calendarsChanged = [this] { drawMonths(); };
    editor_->showCalendar();

    connect(pcDate_, &QPushButton::clicked, this, [this] { editor_->startFromToday(); });
    connect(startDate_, &QDateEdit::dateChanged, this, [this](QDate) { editor_->rebuildFromStartDate(); });
}

CalendarPage::~CalendarPage() = default;

void CalendarPage::configurationChanged(ConfigViews views) {
    if (views & ViewCalendarLoaded)
        editor_->setCalendarLoaded();
    if (views & (ViewCalendar | ViewCalendarLoaded))
        editor_->showCalendar();
}

void CalendarPage::placeMonths(int columns) {
    const int rows = (kCalendarMonths + columns - 1) / columns;
    area_->setFixedSize(columns * (kMonthWidth + kGap) + kGap, rows * (kMonthHeight + kGap) + kGap);
    for (int m = 0; m < kCalendarMonths; ++m) {
        const int row = m / columns, column = m % columns;
        MonthGrid* c = calendars_[m];
        c->setGeometry(kGap + column * (kMonthWidth + kGap), kGap + row * (kMonthHeight + kGap), kMonthWidth,
                       kMonthHeight);
        const int h = captions_[m]->fontMetrics().height() + 2;
        captions_[m]->setGeometry(c->x(), c->y() - kCaptionGap - h, kMonthWidth, h);
    }
}

void CalendarPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // As many months side by side as the page's width holds (room kept for the scroll bar), in
    // columns that divide the year evenly: the months then scroll up and down, never sideways.
    const int room = scroll_->width() - scroll_->verticalScrollBar()->sizeHint().width() - kGap;
    int columns = 1;
    for (int c : {2, 3, 4, 6})
        if (c * (kMonthWidth + kGap) <= room)
            columns = c;
    if (area_->width() != columns * (kMonthWidth + kGap) + kGap)
        placeMonths(columns);
}

void CalendarPage::setTransferRunning(bool running) {
    // A day clicked now would be overwritten by the read or miss the write.
    startDate_->setEnabled(!running);
    pcDate_->setEnabled(!running);
    for (MonthGrid* c : calendars_)
        c->setReadOnly(running);
}

void CalendarPage::drawMonths() {
    const auto& months = editor_->months();
    for (int m = 0; m < kCalendarMonths; ++m) {
        calendars_[m]->setCalendarDate(QDate(months[m].year, months[m].month, 1));
        captions_[m]->setText(CalendarTab::monthCaption(months[m]));
        calendars_[m]->update();
    }
}

} // namespace vextor
