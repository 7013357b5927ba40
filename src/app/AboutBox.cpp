#include "AboutBox.h"

#include "texts.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace vextor {

namespace t = main_texts;

namespace {

// The picture: a controller front with its display and a row of lamps.
QPixmap aboutPicture() {
    QPixmap p(160, 96);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setBrush(QColor(0x2f, 0x4f, 0x6f));
    g.setPen(Qt::NoPen);
    g.drawRoundedRect(4, 4, 152, 88, 8, 8);
    g.setBrush(QColor(0x9f, 0xd8, 0x9f));
    g.drawRect(20, 16, 120, 36);
    const QColor lamps[] = {Qt::green, Qt::yellow, Qt::red, Qt::green, Qt::green};
    for (int i = 0; i < 5; ++i) {
        g.setBrush(lamps[i]);
        g.drawEllipse(QPointF(32 + 24 * i, 72), 6, 6);
    }
    return p;
}

} // namespace

AboutBox::AboutBox(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint) {
    setWindowTitle(t::kAboutCaption);
    auto* layout = new QVBoxLayout(this);
    auto* picture = new QLabel(this);
    picture->setPixmap(aboutPicture());
    picture->setAlignment(Qt::AlignCenter);
    auto* version = new QLabel(t::kAboutVersion, this);
    auto* name = new QLabel(t::kAppTitle, this);
    QFont bold = name->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 4);
    name->setFont(bold);
    name->setAlignment(Qt::AlignCenter);
    version->setAlignment(Qt::AlignCenter);
    auto* close = new QPushButton(t::kAboutClose, this);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    layout->addWidget(picture);
    layout->addWidget(name);
    layout->addWidget(version);
    layout->addWidget(close, 0, Qt::AlignHCenter);
}

void AboutBox::showCentred() {
    adjustSize();
    if (QWidget* p = parentWidget()) {
        const QPoint centre = p->mapToGlobal(p->rect().center());
        move(centre - QPoint(width() / 2, height() / 2));
    }
    show();
    raise();
}

} // namespace vextor
