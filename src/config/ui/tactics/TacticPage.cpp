#include "TacticPage.h"

#include "config/TabTexts.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace vextor {

TacticPage::TacticPage(QWidget* parent) : QWidget(parent), apply_(new QPushButton(tab_texts::kApply, this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(9, 0, 9, 9);
    bar->addWidget(apply_);
    bar->addStretch(1);
    layout->addLayout(bar);
}

void TacticPage::setPage(QWidget* page) {
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(page);
    static_cast<QVBoxLayout*>(layout())->insertWidget(0, scroll, 1);
}

void TacticPage::setTransferRunning(bool running) {
    apply_->setEnabled(!running);
}

} // namespace vextor
