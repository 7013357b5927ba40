#include "ConfigDumpWindow.h"

#include "config/ConfigDump.h"
#include "texts.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vextor {

ConfigDumpWindow::ConfigDumpWindow(const ConfigImage& image, QWidget* parent)
    : QWidget(parent, Qt::Window), image_(image) {
    setWindowTitle(cfg_texts::kDumpWindow);
    text_ = new QPlainTextEdit(this);
    text_->setReadOnly(true);
    // One field per line: long lines scroll sideways instead of breaking a name from its value.
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    read_ = new QPushButton(cfg_texts::kDumpRead, this);
    connect(read_, &QPushButton::clicked, this, &ConfigDumpWindow::fill);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(read_);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_, 1);
    layout->addLayout(buttons);
    resize(560, 640);
}

void ConfigDumpWindow::open() {
    fill();
    show();
    raise();
    activateWindow();
}

void ConfigDumpWindow::fill() {
    text_->setPlainText(configurationDumpLines(image_).join(QLatin1Char('\n')));
}

QString ConfigDumpWindow::text() const {
    return text_->toPlainText();
}

} // namespace vextor
