#pragma once
// The row of page names above the configuration tabs. A tab bar keeps all its tabs on one line and
// scrolls them when the window is narrow, which hides names and the bar's own arrows; this strip
// wraps its names onto further lines instead, so every page stays one click away at any width.
// It drives the tab widget, whose own bar is hidden, and follows it when a page is chosen in code.
#include <QWidget>

class QButtonGroup;
class QTabWidget;

namespace vextor {

class PageStrip : public QWidget {
public:
    explicit PageStrip(QTabWidget* pages, QWidget* parent = nullptr);

protected:
    // Takes the height of as many lines as its names need at the new width.
    void resizeEvent(QResizeEvent* event) override;

private:
    QTabWidget* pages_;
    QButtonGroup* buttons_;
};

} // namespace vextor
