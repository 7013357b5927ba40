#pragma once
// The frame of a tactic tab: its page scrolls when it is taller than the window, and "Применить"
// stays in sight below it. Switched off while a transfer runs.
#include "config/ConfigObserver.h"

#include <QWidget>

class QPushButton;

namespace vextor {

class TacticPage : public QWidget, public ConfigObserver {
public:
    explicit TacticPage(QWidget* parent = nullptr);
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

} // namespace vextor
