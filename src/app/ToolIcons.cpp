#include "ToolIcons.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>
#include <map>
#include <utility>

namespace vextor {

namespace {

// The program icon's colours, so the pictures read as one family with it.
const QColor kNavy(0x1f, 0x4e, 0x79);
const QColor kPaper(0xdf, 0xe9, 0xf3);
const QColor kTrace(0xc0, 0x39, 0x2b);
const QColor kGreen(0x27, 0xae, 0x60);
const QColor kAmber(0xf1, 0xc4, 0x0f);
const QColor kFolderBack(0xd9, 0xa4, 0x41);
const QColor kFolderFront(0xf3, 0xc7, 0x66);
const QColor kFolderEdge(0x9a, 0x6b, 0x16);

QPen outline(const QColor& c, qreal width = 1.5) {
    return QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void drawOpenProject(QPainter& p) {
    p.setPen(outline(kFolderEdge));
    p.setBrush(kFolderBack);
    QPainterPath back;
    back.moveTo(3, 26);
    back.lineTo(3, 7);
    back.lineTo(12, 7);
    back.lineTo(14, 10);
    back.lineTo(27, 10);
    back.lineTo(27, 26);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(kFolderFront);
    p.drawPolygon(QPolygonF{{7, 14}, {30, 14}, {26, 26}, {3, 26}});
}

void drawSave(QPainter& p) {
    p.setPen(outline(kNavy.darker(130)));
    p.setBrush(kNavy);
    QPainterPath body;
    body.moveTo(4, 4);
    body.lineTo(24, 4);
    body.lineTo(28, 8);
    body.lineTo(28, 28);
    body.lineTo(4, 28);
    body.closeSubpath();
    p.drawPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf4, 0xf6, 0xf8));
    p.drawRect(QRectF(9, 5, 13, 8));
    p.setBrush(kNavy);
    p.drawRect(QRectF(17, 6, 3, 6));
    p.setBrush(kPaper);
    p.drawRoundedRect(QRectF(8, 17, 16, 10), 1.5, 1.5);
}

void drawConfiguration(QPainter& p) {
    p.setPen(outline(kNavy));
    p.setBrush(kPaper);
    p.drawRoundedRect(QRectF(3, 3, 26, 26), 4, 4);
    // Three settings as sliders, each at its own place.
    const qreal rows[3] = {10, 16, 22};
    const qreal knobs[3] = {12, 21, 15};
    for (int i = 0; i < 3; ++i) {
        p.setPen(outline(kNavy, 2));
        p.drawLine(QPointF(7, rows[i]), QPointF(25, rows[i]));
        p.setPen(outline(kNavy, 1.5));
        p.setBrush(i == 1 ? kTrace : kAmber);
        p.drawEllipse(QPointF(knobs[i], rows[i]), 3, 3);
    }
}

void drawEvents(QPainter& p) {
    p.setPen(outline(kNavy));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(5, 3, 19, 25));
    p.setPen(outline(kNavy.lighter(150), 2));
    for (qreal y : {8.0, 12.5, 17.0})
        p.drawLine(QPointF(9, y), QPointF(20, y));
    p.drawLine(QPointF(9, 21.5), QPointF(14, 21.5));
    // The clock: every event carries its time.
    p.setPen(outline(kNavy));
    p.setBrush(kAmber);
    p.drawEllipse(QPointF(23, 23), 6.5, 6.5);
    p.setPen(outline(kNavy, 1.8));
    p.drawLine(QPointF(23, 23), QPointF(23, 19));
    p.drawLine(QPointF(23, 23), QPointF(26, 24.5));
}

void drawMonitor(QPainter& p) {
    p.setPen(outline(kNavy.darker(130)));
    p.setBrush(kNavy);
    p.drawRoundedRect(QRectF(2.5, 4, 27, 19), 2.5, 2.5);
    p.setPen(Qt::NoPen);
    p.setBrush(kPaper);
    p.drawRect(QRectF(5, 6.5, 22, 14));
    p.setPen(outline(kTrace, 2));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF{{6, 16}, {10, 16}, {13, 9.5}, {17, 18}, {20, 12}, {22.5, 14}, {26, 14}});
    p.setPen(Qt::NoPen);
    p.setBrush(kNavy);
    p.drawRect(QRectF(13.5, 23, 5, 3));
    p.drawRoundedRect(QRectF(9, 26, 14, 3), 1, 1);
}

void drawArrow(QPainter& p, qreal y, bool right, const QColor& colour) {
    p.setPen(outline(colour, 3));
    p.setBrush(Qt::NoBrush);
    const qreal from = right ? 4 : 28;
    const qreal to = right ? 25 : 7;
    p.drawLine(QPointF(from, y), QPointF(to, y));
    p.setPen(outline(colour, 1));
    p.setBrush(colour);
    const qreal tip = right ? 30 : 2;
    const qreal base = right ? 22 : 10;
    p.drawPolygon(QPolygonF{{tip, y}, {base, y - 5}, {base, y + 5}});
}

void drawLink(QPainter& p) {
    // A request out and its reply back.
    drawArrow(p, 10, true, kGreen);
    drawArrow(p, 22, false, kNavy);
}

void drawDevice(QPainter& p) {
    p.setPen(outline(kNavy.lighter(140), 1.5));
    for (qreal x : {9.0, 13.0, 17.0, 21.0})
        p.drawLine(QPointF(x, 2), QPointF(x, 6));
    p.setPen(outline(kNavy.darker(130)));
    p.setBrush(kNavy);
    p.drawRoundedRect(QRectF(3, 6, 26, 22), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(kPaper);
    p.drawRect(QRectF(7, 10, 18, 7));
    const QColor leds[3] = {kGreen, kAmber, kTrace};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(leds[i]);
        p.drawEllipse(QPointF(10 + 6 * i, 22.5), 2, 2);
    }
}

QPixmap draw(ToolIcon which, QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    const int side = std::min(size.width(), size.height());
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate((size.width() - side) / 2.0, (size.height() - side) / 2.0);
    p.scale(side / 32.0, side / 32.0);
    switch (which) {
    case ToolIcon::OpenProject:
        drawOpenProject(p);
        break;
    case ToolIcon::Save:
        drawSave(p);
        break;
    case ToolIcon::Configuration:
        drawConfiguration(p);
        break;
    case ToolIcon::Events:
        drawEvents(p);
        break;
    case ToolIcon::Monitor:
        drawMonitor(p);
        break;
    case ToolIcon::Link:
        drawLink(p);
        break;
    case ToolIcon::Device:
        drawDevice(p);
        break;
    }
    return pixmap;
}

// Draws a picture at the size it is first shown at (device pixels included, so it is sharp on a
// screen that scales), and keeps it for the next time; nothing is drawn before it is needed.
class DrawnIconEngine final : public QIconEngine {
public:
    explicit DrawnIconEngine(ToolIcon which) : which_(which) {}

    QIconEngine* clone() const override { return new DrawnIconEngine(which_); }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap pm = pixmap(rect.size() * ratio, mode, state);
        pm.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect, pm);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        if (size.isEmpty())
            return {};
        const auto key = std::make_pair(std::make_pair(size.width(), size.height()), static_cast<int>(mode));
        const auto known = cache_.find(key);
        if (known != cache_.end())
            return known->second;
        QPixmap pm = draw(which_, size);
        // The disabled and selected looks are the style's, as for any other icon.
        if (mode != QIcon::Normal && mode != QIcon::Active) {
            QStyleOption option;
            option.palette = QApplication::palette();
            pm = QApplication::style()->generatedIconPixmap(mode, pm, &option);
        }
        cache_.emplace(key, pm);
        return pm;
    }

private:
    ToolIcon which_;
    std::map<std::pair<std::pair<int, int>, int>, QPixmap> cache_;
};

} // namespace

QIcon toolIcon(ToolIcon which) {
    return QIcon(new DrawnIconEngine(which));
}

} // namespace vextor
