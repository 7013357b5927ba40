#pragma once
// The field seams: what validation and a tab's show and apply logic need of an entry field, a list,
// a combo box or a radio group, so that the logic runs headless. The widgets behind them live in
// the user interface (link/ui/WidgetFields.h); the plain ones serve headless use and tests.
#include <QString>
#include <utility>

namespace vextor {

// An entry field.
class EditField {
public:
    virtual ~EditField() = default;
    virtual QString text() const = 0;
    virtual void setText(const QString& text) = 0;
    virtual void setFocus() = 0;
};

// A plain field for headless use and tests.
class PlainEditField : public EditField {
public:
    explicit PlainEditField(QString t = {}) : text_(std::move(t)) {}
    QString text() const override { return text_; }
    void setText(const QString& t) override { text_ = t; }
    void setFocus() override { ++focusCount; }
    int focusCount = 0;

private:
    QString text_;
};

// A list, a combo box or a radio group.
class ChoiceField {
public:
    virtual ~ChoiceField() = default;
    // -1 when nothing is chosen.
    virtual int currentIndex() const = 0;
    virtual void setCurrentIndex(int index) = 0;
};

class PlainChoiceField : public ChoiceField {
public:
    explicit PlainChoiceField(int index = -1) : index_(index) {}
    int currentIndex() const override { return index_; }
    void setCurrentIndex(int index) override { index_ = index; }

private:
    int index_;
};

// A check box.
class FlagField {
public:
    virtual ~FlagField() = default;
    virtual bool isChecked() const = 0;
    virtual void setChecked(bool checked) = 0;
};

class PlainFlagField : public FlagField {
public:
    explicit PlainFlagField(bool checked = false) : checked_(checked) {}
    bool isChecked() const override { return checked_; }
    void setChecked(bool checked) override { checked_ = checked; }

private:
    bool checked_;
};

} // namespace vextor
