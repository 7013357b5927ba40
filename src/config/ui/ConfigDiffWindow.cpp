#include "ConfigDiffWindow.h"

#include "texts.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vextor {

ConfigDiffWindow::ConfigDiffWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(cfg_texts::kDiffWindow);
    table_ = new QTableWidget(0, 4, this);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    resize(720, 480);
}

void ConfigDiffWindow::showDifferences(const std::vector<ConfigDifference>& differences, const QString& sideA,
                                       const QString& fileB) {
    table_->clearContents();
    table_->setRowCount(static_cast<int>(differences.size()));
    table_->setHorizontalHeaderLabels(
        {cfg_texts::kDiffSection, cfg_texts::kDiffField, sideA, QFileInfo(fileB).fileName()});
    table_->horizontalHeaderItem(3)->setToolTip(QDir::toNativeSeparators(fileB));
    int row = 0;
    for (const ConfigDifference& d : differences) {
        int column = 0;
        for (const QString& text : {d.section, d.name, d.valueA, d.valueB})
            table_->setItem(row, column++, new QTableWidgetItem(text));
        ++row;
    }
    table_->resizeColumnsToContents();
    show();
    raise();
    activateWindow();
}

} // namespace vextor
