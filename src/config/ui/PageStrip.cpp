#include "PageStrip.h"

#include <QButtonGroup>
#include <QLayout>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <algorithm>
#include <vector>

namespace vextor {

namespace {

// Lays its items out left to right and starts a new line where the next one would not fit; its
// height follows from the width it gets.
class FlowLayout : public QLayout {
public:
    explicit FlowLayout(QWidget* parent) : QLayout(parent) {}
    ~FlowLayout() override {
        while (QLayoutItem* item = takeAt(0))
            delete item;
    }

    void addItem(QLayoutItem* item) override { items_.push_back(item); }
    int count() const override { return static_cast<int>(items_.size()); }
    QLayoutItem* itemAt(int index) const override {
        return index >= 0 && index < count() ? items_[static_cast<size_t>(index)] : nullptr;
    }
    QLayoutItem* takeAt(int index) override {
        if (index < 0 || index >= count())
            return nullptr;
        QLayoutItem* item = items_[static_cast<size_t>(index)];
        items_.erase(items_.begin() + index);
        return item;
    }
    Qt::Orientations expandingDirections() const override { return {}; }
    // Not the layout's height-for-width: a scroll area holding the window would then ask every page
    // for its preferred height instead of its minimum. The strip sets its own height from this.
    int heightAt(int width) const { return arrange(QRect(0, 0, width, 0), false); }
    void setGeometry(const QRect& rect) override {
        QLayout::setGeometry(rect);
        arrange(rect, true);
    }
    QSize sizeHint() const override {
        // Everything on one line.
        int width = 0, height = 0;
        for (QLayoutItem* item : items_)
            if (!item->isEmpty()) {
                width += item->sizeHint().width() + spacing();
                height = std::max(height, item->sizeHint().height());
            }
        const QMargins m = contentsMargins();
        return {width + m.left() + m.right(), height + m.top() + m.bottom()};
    }
    QSize minimumSize() const override {
        // The widest item alone on its line.
        QSize size;
        for (QLayoutItem* item : items_)
            if (!item->isEmpty())
                size = size.expandedTo(item->minimumSize());
        const QMargins m = contentsMargins();
        return size + QSize(m.left() + m.right(), m.top() + m.bottom());
    }

private:
    // Places the items (when apply) and returns the height they take at the rectangle's width.
    int arrange(const QRect& rect, bool apply) const {
        const QRect area = rect.marginsRemoved(contentsMargins());
        int x = area.x(), y = area.y(), lineHeight = 0;
        for (QLayoutItem* item : items_) {
            if (item->isEmpty())
                continue;
            const QSize hint = item->sizeHint();
            if (x > area.x() && x + hint.width() > area.right() + 1) {
                x = area.x();
                y += lineHeight + spacing();
                lineHeight = 0;
            }
            if (apply)
                item->setGeometry(QRect(QPoint(x, y), hint));
            x += hint.width() + spacing();
            lineHeight = std::max(lineHeight, hint.height());
        }
        const QMargins m = contentsMargins();
        return y + lineHeight - rect.y() + m.bottom();
    }

    std::vector<QLayoutItem*> items_;
};

} // namespace

PageStrip::PageStrip(QTabWidget* pages, QWidget* parent)
    : QWidget(parent), pages_(pages), buttons_(new QButtonGroup(this)) {
    auto* layout = new FlowLayout(this);
    layout->setContentsMargins(0, 0, 0, 2);
    layout->setSpacing(2);
    for (int i = 0; i < pages_->count(); ++i) {
        auto* b = new QToolButton(this);
        b->setText(pages_->tabText(i));
        b->setCheckable(true);
        b->setAutoRaise(true);
        b->setVisible(pages_->isTabVisible(i));
        buttons_->addButton(b, i);
        layout->addWidget(b);
    }
    if (QAbstractButton* b = buttons_->button(pages_->currentIndex()))
        b->setChecked(true);
    pages_->tabBar()->hide();
    connect(buttons_, &QButtonGroup::idClicked, pages_, &QTabWidget::setCurrentIndex);
    connect(pages_, &QTabWidget::currentChanged, this, [this](int index) {
        if (QAbstractButton* b = buttons_->button(index))
            b->setChecked(true);
    });
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void PageStrip::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int lines = static_cast<FlowLayout*>(layout())->heightAt(width());
    if (lines != minimumHeight())
        setFixedHeight(lines);
}

} // namespace vextor
