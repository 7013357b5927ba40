#pragma once
// Date and time entries behind the date and time seams (the check box is in WidgetFields.h); every
// programmatic change runs under a QSignalBlocker, like the edit fields'.
#include "config/GeneralFields.h"
#include "config/ui/fields/WidgetFields.h"

#include <QDateEdit>
#include <QSignalBlocker>
#include <QTimeEdit>

namespace vextor {

// An empty date is the day before the entry's range, shown as a blank text.
class DateEditField : public DateField {
public:
    DateEditField(QDateEdit* edit, QDate first, QDate last) : edit_(edit) {
        edit_->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        edit_->setDateRange(first.addDays(-1), last);
        edit_->setSpecialValueText(QStringLiteral(" "));
    }
    std::optional<QDate> date() const override {
        const QDate d = edit_->date();
        return d == edit_->minimumDate() ? std::nullopt : std::optional<QDate>(d);
    }
    void setDate(std::optional<QDate> date) override {
        const QSignalBlocker block(edit_);
        edit_->setDate(date && date->isValid() ? *date : edit_->minimumDate());
    }

private:
    QDateEdit* edit_;
};

class TimeEditField : public TimeField {
public:
    explicit TimeEditField(QTimeEdit* edit) : edit_(edit) {
        edit_->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    }
    QTime time() const override { return edit_->time(); }
    void setTime(QTime time) override {
        const QSignalBlocker block(edit_);
        edit_->setTime(time);
    }

private:
    QTimeEdit* edit_;
};

} // namespace vextor
