#include "ProgressWindow.h"

#include "texts.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace vextor {

ProgressWindow::ProgressWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
    setWindowTitle(main_texts::kAppTitle);
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    title_ = new QLabel(this);
    gauge_ = new QProgressBar(this);
    line_ = new QLabel(this);
    title_->setAlignment(Qt::AlignCenter);
    line_->setAlignment(Qt::AlignCenter);
    gauge_->setFixedWidth(320);
    gauge_->setTextVisible(false);
    gauge_->setStyleSheet(QStringLiteral("QProgressBar::chunk { background-color: navy; }"));
    layout->addWidget(title_);
    layout->addWidget(gauge_, 0, Qt::AlignHCenter);
    layout->addWidget(line_);
}

void ProgressWindow::begin(const QString& title, int maximum) {
    title_->setText(title);
    line_->clear();
    gauge_->setRange(0, std::max(maximum, 1));
    gauge_->setValue(0);
    show();
    raise();
}

void ProgressWindow::step(const QString& line) {
    line_->setText(line);
}

void ProgressWindow::setPosition(int position) {
    gauge_->setValue(std::clamp(position, gauge_->minimum(), gauge_->maximum()));
}

void ProgressWindow::end() {
    hide();
}

QString ProgressWindow::titleText() const {
    return title_->text();
}

QString ProgressWindow::stepText() const {
    return line_->text();
}

void ProgressWindow::showEvent(QShowEvent* event) {
    // On activation the window is as wide as the gauge plus a margin, centred on the main window.
    setFixedWidth(gauge_->width() + 30);
    centreOnParent();
    QDialog::showEvent(event);
}

void ProgressWindow::centreOnParent() {
    if (QWidget* p = parentWidget()) {
        const QPoint centre = p->mapToGlobal(p->rect().center());
        move(centre - QPoint(width() / 2, height() / 2));
    }
}

} // namespace vextor
