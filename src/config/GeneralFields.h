#pragma once
// Seams for date and time entries, so that the tabs' show and apply logic runs headless like the
// edit fields' does (the check-box seam lives with them in link/EditField.h).
#include "link/EditField.h"

#include <QDate>
#include <QTime>
#include <optional>

namespace vextor {

// A date entry. Empty (nullopt) when the image holds bytes that form no date: the entry shows
// nothing rather than a made-up date, and an apply keeps those bytes while it stays empty.
class DateField {
public:
    virtual ~DateField() = default;
    virtual std::optional<QDate> date() const = 0;
    virtual void setDate(std::optional<QDate> date) = 0;
};

class PlainDateField : public DateField {
public:
    std::optional<QDate> date() const override { return date_; }
    void setDate(std::optional<QDate> date) override { date_ = date; }

private:
    std::optional<QDate> date_;
};

// A time-of-day entry.
class TimeField {
public:
    virtual ~TimeField() = default;
    virtual QTime time() const = 0;
    virtual void setTime(QTime time) = 0;
};

class PlainTimeField : public TimeField {
public:
    QTime time() const override { return time_; }
    void setTime(QTime time) override { time_ = time; }

private:
    QTime time_{0, 0};
};

} // namespace vextor
