#pragma once
// The widgets behind the tabs' field seams. Programmatic changes run under a QSignalBlocker: a
// refresh from the image must not look like the engineer's own edit.
#include "link/EditField.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTabWidget>

namespace vextor {

class LineEditField : public EditField {
public:
    explicit LineEditField(QLineEdit* edit) : edit_(edit) {}
    QString text() const override { return edit_->text(); }
    void setText(const QString& text) override {
        const QSignalBlocker block(edit_);
        edit_->setText(text);
    }
    void setFocus() override {
        edit_->setFocus();
        edit_->selectAll();
    }
    QLineEdit* widget() const { return edit_; }

private:
    QLineEdit* edit_;
};

class ComboChoiceField : public ChoiceField {
public:
    explicit ComboChoiceField(QComboBox* combo) : combo_(combo) {}
    int currentIndex() const override { return combo_->currentIndex(); }
    void setCurrentIndex(int index) override {
        const QSignalBlocker block(combo_);
        combo_->setCurrentIndex(index);
    }

private:
    QComboBox* combo_;
};

class ListChoiceField : public ChoiceField {
public:
    explicit ListChoiceField(QListWidget* list) : list_(list) {}
    int currentIndex() const override { return list_->currentRow(); }
    void setCurrentIndex(int index) override {
        const QSignalBlocker block(list_);
        list_->setCurrentRow(index);
    }

private:
    QListWidget* list_;
};

// A radio group: the buttons' ids are their positions.
class ButtonGroupChoiceField : public ChoiceField {
public:
    explicit ButtonGroupChoiceField(QButtonGroup* group) : group_(group) {}
    int currentIndex() const override { return group_->checkedId(); }
    void setCurrentIndex(int index) override {
        const QSignalBlocker block(group_);
        if (QAbstractButton* b = group_->button(index))
            b->setChecked(true);
    }

private:
    QButtonGroup* group_;
};

// The page in front of a tab widget.
class TabPageChoiceField : public ChoiceField {
public:
    explicit TabPageChoiceField(QTabWidget* tabs) : tabs_(tabs) {}
    int currentIndex() const override { return tabs_->currentIndex(); }
    void setCurrentIndex(int index) override {
        const QSignalBlocker block(tabs_);
        tabs_->setCurrentIndex(index);
    }

private:
    QTabWidget* tabs_;
};

// A check box behind the flag seam.
class CheckBoxField : public FlagField {
public:
    explicit CheckBoxField(QCheckBox* box) : box_(box) {}
    bool isChecked() const override { return box_->isChecked(); }
    void setChecked(bool checked) override {
        const QSignalBlocker block(box_);
        box_->setChecked(checked);
    }
    QCheckBox* widget() const { return box_; }

private:
    QCheckBox* box_;
};

} // namespace vextor
