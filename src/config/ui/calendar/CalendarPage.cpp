#include "CalendarPage.h"

#include "config/GeneralTexts.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
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
      area_(new QWidget), startField_(startDate_, QDate(2000, 1, 1), QDate(2030, 1, 1)) {
    startDate_->setCalendarPopup(true);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(t::kStartDate));
    top->addWidget(startDate_);
    top->addWidget(pcDate_);
    top->addStretch(1);

    area_->setFixedSize(3 * kMonthWidth + 80, 4 * kMonthHeight + 100);
    QFont bold = font();
    bold.setBold(true);
    for (int m = 0; m < kCalendarMonths; ++m) {
        const int row = m / 3, column = m % 3;
        auto* c = new MonthGrid(area_);
        c->setStartOfWeek(1);
        c->setUseCurrentDate(false);
        c->setGeometry(kGap + column * (kMonthWidth + kGap), kGap + row * (kMonthHeight + kGap), kMonthWidth,
                       kMonthHeight);
        c->dayIsRed = [this](int y, int mo, int d) {
            return editor_->calendarLoaded() && calendarDayOff(image_, y, mo, d);
        };
        c->dayClicked = [this](int y, int mo, int d) { toggleCalendarDay(image_, y, mo, d); };
        calendars_[m] = c;
        auto* caption = new QLabel(area_);
        caption->setFont(bold);
        caption->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        const int h = caption->fontMetrics().height() + 2;
        caption->setGeometry(c->x(), c->y() - kCaptionGap - h, kMonthWidth, h);
        captions_[m] = caption;
    }
    auto* scroll = new QScrollArea;
    scroll->setWidget(area_);
    scroll->setFrameShape(QFrame::NoFrame);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(scroll, 1);

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
