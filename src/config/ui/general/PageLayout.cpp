#include "PageLayout.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

namespace vextor {

QLineEdit* shortNumberEdit(int width) {
    auto* e = new QLineEdit;
    e->setMaximumWidth(width);
    e->setMinimumWidth(std::min(width, e->fontMetrics().horizontalAdvance(QStringLiteral("-00000,0000"))));
    return e;
}

// The page's content in a scroll area, so that nothing is squeezed when the window is small; the
// button stays under it in sight however far the content is scrolled.
QVBoxLayout* scrolledPage(QWidget* page, QPushButton* apply) {
    auto* outer = new QVBoxLayout(page);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea(page);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* content = new QWidget;
    scroll->setWidget(content);
    outer->addWidget(scroll, 1);
    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(9, 0, 9, 9);
    bar->addWidget(apply);
    bar->addStretch(1);
    outer->addLayout(bar);
    return new QVBoxLayout(content);
}

} // namespace vextor
