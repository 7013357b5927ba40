#pragma once
// Widgets the tactic tabs share: the check-box and page seams, the PID entries, the four-point curve
// panel, form rows whose captions wrap instead of being cut, and the frame of a tab (a scrolling page
// over its "Применить").
#include "config/ConfigObserver.h"
#include "config/SetPointTactics.h"
#include "config/TacticFields.h"
#include "config/ui/fields/WidgetFields.h"
#include "link/EditField.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QTabWidget>
#include <QWidget>
#include <array>
#include <functional>

class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vextor {

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

// An entry for a number: wide enough for "-10000,00" and the exponent form.
QLineEdit* numberEdit(QWidget* parent = nullptr);
// A caption that wraps at word boundaries, so a long one is never cut.
QLabel* captionLabel(const QString& text, QWidget* parent = nullptr);
// A form whose captions wrap; addCaptioned adds a row and returns its caption label.
QFormLayout* captionForm(QWidget* parent = nullptr);
QLabel* addCaptioned(QFormLayout* form, const QString& caption, QWidget* field);

// The five PID entries in a form.
class TPIDPanel : public QWidget {
public:
    explicit TPIDPanel(QWidget* parent = nullptr);
    PIDControls controls() {
        return {kPropField_, kIntField_, kDifField_, startIntErrorField_, periodDifField_};
    }
    QLineEdit* kProp() const { return kPropField_.widget(); }
    QLineEdit* kInt() const { return kIntField_.widget(); }
    QLineEdit* kDif() const { return kDifField_.widget(); }
    QLineEdit* startIntError() const { return startIntErrorField_.widget(); }
    QLineEdit* periodDif() const { return periodDifField_.widget(); }

private:
    LineEditField kPropField_, kIntField_, kDifField_, startIntErrorField_, periodDifField_;
};

// A titled four-point curve: two columns of entries under their headers, points numbered 1 to 4. A
// click on the panel outside its entries runs onPanelClick (the reference curve).
class TCurvePanel : public QGroupBox {
public:
    TCurvePanel(const QString& title, const QString& argHeader, const QString& valueHeader,
                QWidget* parent = nullptr);
    CurveEntries entries();
    QLineEdit* entry(int index) const { return fields_[static_cast<size_t>(index)].widget(); }
    std::function<void()> onPanelClick;

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::array<LineEditField, 8> fields_;
};

// The frame of a tactic tab: its page scrolls when it is taller than the window, and "Применить"
// stays in sight below it. Switched off while a transfer runs.
class TTacticTab : public QWidget, public ConfigObserver {
public:
    explicit TTacticTab(QWidget* parent = nullptr);
    QPushButton* applyButton() const { return apply_; }

    // ConfigObserver: the tab's views refill it; nothing to select or bring to front.
    void selectFirstRows() override {}
    void showFirstPage() override {}
    void setTransferRunning(bool running) override;

protected:
    // The content of the scrolling page; set once by the tab.
    void setPage(QWidget* page);

private:
    QPushButton* apply_;
};

// The frame of a tab that holds one tactic switch, one set point and a PID set.
class TSetPointTab : public TTacticTab {
public:
    TSetPointTab(const QString& onCaption, const QString& presetCaption, QWidget* parent = nullptr);
    SetPointControls controls() { return {on_, preset_, pid_->controls()}; }
    QCheckBox* onBox() const { return on_.widget(); }
    QLineEdit* presetEdit() const { return preset_.widget(); }
    TPIDPanel* pid() const { return pid_; }

private:
    CheckBoxField on_;
    LineEditField preset_;
    TPIDPanel* pid_;
};

} // namespace vextor
