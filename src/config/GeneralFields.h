#pragma once
// Seams for a check box and for date and time entries, so that the tabs' show and apply logic runs
// headless like the edit fields' does.
#include <QDate>
#include <QTime>
#include <optional>

namespace vextor {

class FlagField {
public:
    virtual ~FlagField() = default;
    virtual bool isChecked() const = 0;
    virtual void setChecked(bool checked) = 0;
};

class PlainFlagField : public FlagField {
public:
    bool isChecked() const override { return checked_; }
    void setChecked(bool checked) override { checked_ = checked; }

private:
    bool checked_ = false;
};

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
