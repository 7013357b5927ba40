#include "TrafficWindow.h"

#include "texts.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

namespace vextor {

namespace t = traffic_texts;

TrafficWindow::TrafficWindow(UserDialogs& dialogs, QWidget* parent, std::size_t capacity)
    : QWidget(parent, Qt::Window), dialogs_(dialogs), model_(capacity) {
    setWindowTitle(t::kCaption);
    table_ = new QTableView(this);
    table_->setModel(&model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    // Rows of one height: the view need not measure ten thousand rows to scroll.
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 4);
    QHeaderView* columns = table_->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->resizeSection(FrameTableModel::TimeColumn, 90);
    columns->resizeSection(FrameTableModel::DirectionColumn, 100);
    columns->resizeSection(FrameTableModel::BytesColumn, 380);
    columns->resizeSection(FrameTableModel::CommandColumn, 170);
    columns->setStretchLastSection(true);

    pause_ = new QPushButton(t::kPause, this);
    pause_->setCheckable(true);
    clear_ = new QPushButton(t::kClear, this);
    save_ = new QPushButton(t::kSave, this);
    auto* close = new QPushButton(t::kClose, this);
    connect(clear_, &QPushButton::clicked, this, [this] { clear(); });
    connect(save_, &QPushButton::clicked, this, [this] { save(); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(pause_);
    buttons->addWidget(clear_);
    buttons->addWidget(save_);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_, 1);
    layout->addLayout(buttons);
    resize(900, 500);
}

void TrafficWindow::addFrames(std::vector<LinkFrame> frames) {
    if (paused())
        return;
    // The view follows the newest frame unless the engineer scrolled up to read an older one.
    QScrollBar* bar = table_->verticalScrollBar();
    const bool following = bar->value() == bar->maximum();
    model_.append(std::move(frames));
    if (following)
        table_->scrollToBottom();
}

bool TrafficWindow::paused() const {
    return pause_->isChecked();
}

void TrafficWindow::setPaused(bool paused) {
    pause_->setChecked(paused);
}

void TrafficWindow::clear() {
    model_.clear();
}

void TrafficWindow::save() {
    const QString path = dialogs_.saveFile(t::kSaveCaption, t::kFilter, lastDir_, QStringLiteral("txt"));
    if (path.isEmpty())
        return;
    lastDir_ = QFileInfo(path).absolutePath();
    const QString error = saveFrameLines(model_, path);
    if (!error.isEmpty())
        dialogs_.message(t::kNotSaved + path + QStringLiteral(": ") + error);
}

} // namespace vextor
