#include "AssignmentTableBox.h"

#include "config/TabTexts.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace vextor {

namespace t = tab_texts;

namespace {

constexpr int kColumns = 4;

QLineEdit* makeEdit(QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setMaximumWidth(70);
    return e;
}

constexpr int kNameColumnWidth = 185;

} // namespace

AssignmentTableBox::AssignmentTableBox(ConfigImage& image, AssignmentTable table, QWidget* parent)
    : QGroupBox(assignmentTitle(table), parent), grid_(new QTableWidget(this)), row_(makeEdit(this)),
      address_(makeEdit(this)), number_(makeEdit(this)), apply_(new QPushButton(t::kApply, this)),
      clear_(new QPushButton(t::kClearButton, this)), rowField_(row_), addressField_(address_),
      numberField_(number_) {
    editor_ = std::make_unique<AssignmentTab>(image, table, rowField_, addressField_, numberField_);

    grid_->setColumnCount(kColumns);
    grid_->setRowCount(editor_->rowCount());
    grid_->setHorizontalHeaderLabels(
        {QString(), t::kColName, t::kColAddress, assignmentChannelHeader(table)});
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setDefaultSectionSize(20);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setColumnWidth(0, 30);
    grid_->setColumnWidth(1, kNameColumnWidth);
    grid_->setColumnWidth(2, 50);
    grid_->setColumnWidth(3, 50);
    for (int r = 0; r < editor_->rowCount(); ++r)
        for (int c = 0; c < kColumns; ++c)
            grid_->setItem(r, c, new QTableWidgetItem);

    auto* entries = new QFormLayout;
    entries->addRow(assignmentRowCaption(table), row_);
    entries->addRow(t::kAddressCaption, address_);
    entries->addRow(t::kNumberCaption, number_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(apply_);
    buttons->addWidget(clear_);
    buttons->addStretch(1);

    // The entries beside the grid: under it they would take the rows of a low window.
    auto* side = new QVBoxLayout;
    side->addLayout(entries);
    side->addLayout(buttons);
    side->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(side);

    editor_->gridChanged = [this] { drawGrid(); };
    drawGrid();

    connect(grid_, &QTableWidget::cellClicked, this,
            [this](int row, int) { editor_->selectAssignment(row + 1); });
    connect(grid_, &QTableWidget::currentCellChanged, this, [this](int row, int, int previous, int) {
        if (row >= 0 && row != previous)
            editor_->selectAssignment(row + 1);
    });
    connect(apply_, &QPushButton::clicked, this, [this] { editor_->applyAssignment(); });
    connect(clear_, &QPushButton::clicked, this, [this] { editor_->clearAssignments(); });
}

AssignmentTableBox::~AssignmentTableBox() = default;

void AssignmentTableBox::selectRow(int row) {
    {
        const QSignalBlocker block(grid_);
        grid_->setCurrentCell(row - 1, 0);
        grid_->selectRow(row - 1);
    }
    editor_->selectAssignment(row);
}

QString AssignmentTableBox::cell(int row, int column) const {
    const QTableWidgetItem* item = grid_->item(row, column);
    return item ? item->text() : QString();
}

void AssignmentTableBox::drawGrid() {
    const auto& rows = editor_->grid();
    for (int r = 0; r < editor_->rowCount(); ++r) {
        const AssignmentGridRow& g = rows[static_cast<size_t>(r)];
        grid_->item(r, 0)->setText(g.number);
        grid_->item(r, 1)->setText(g.name);
        grid_->item(r, 1)->setToolTip(g.name);
        grid_->item(r, 2)->setText(g.address);
        grid_->item(r, 3)->setText(g.channel);
    }
    // Names that differ only at their end ("... NO" / "... NС") must be seen whole: the name
    // column takes its widest text, and the grid never gets narrower than its columns.
    grid_->resizeColumnToContents(1);
    grid_->setColumnWidth(1, std::max(grid_->columnWidth(1), kNameColumnWidth));
    int columns = 0;
    for (int c = 0; c < kColumns; ++c)
        columns += grid_->columnWidth(c);
    grid_->setMinimumWidth(columns + 2 * grid_->frameWidth() +
                           grid_->verticalScrollBar()->sizeHint().width());
}

} // namespace vextor
