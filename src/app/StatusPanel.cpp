#include "app/StatusPanel.h"

#include <QEvent>
#include <QPainter>

namespace vextor {

namespace {
// More than the running text's positions; other panels change rarely, so the cache stays small.
constexpr qsizetype kMaxPictures = 32;
} // namespace

StatusPanel::StatusPanel(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void StatusPanel::setText(const QString& text) {
    if (text_ == text)
        return;
    text_ = text;
    if (isVisible())
        repaint();
}

int StatusPanel::textWidth() {
    if (const auto found = widths_.constFind(text_); found != widths_.cend())
        return *found;
    if (widths_.size() >= kMaxPictures)
        widths_.clear();
    return *widths_.insert(text_, fontMetrics().horizontalAdvance(text_));
}

QSize StatusPanel::sizeHint() const {
    const int frame = 2 * frameWidth();
    return {fontMetrics().horizontalAdvance(text_) + frame, fontMetrics().height() + frame};
}

const QPixmap& StatusPanel::picture() {
    if (const auto found = pictures_.constFind(text_); found != pictures_.cend())
        return *found;
    if (pictures_.size() >= kMaxPictures)
        pictures_.clear();
    const qreal ratio = devicePixelRatioF();
    QPixmap pixmap(size() * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(palette().color(backgroundRole()));
    QPainter painter(&pixmap);
    drawFrame(&painter);
    painter.setFont(font());
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(contentsRect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text_);
    return *pictures_.insert(text_, pixmap);
}

void StatusPanel::paintEvent(QPaintEvent*) {
    QPainter(this).drawPixmap(0, 0, picture());
}

void StatusPanel::changeEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::FontChange:
        widths_.clear();
        pictures_.clear();
        break;
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
    case QEvent::EnabledChange:
        pictures_.clear();
        break;
    default:
        break;
    }
    QFrame::changeEvent(event);
}

void StatusPanel::resizeEvent(QResizeEvent* event) {
    pictures_.clear();
    QFrame::resizeEvent(event);
}

} // namespace vextor
