#pragma once
// The fields in which two configurations differ, as a table: the dump's heading over the field,
// its name, and its value on each side, with the sides named in the headers. It shows what it is
// given and keeps no image of its own.
#include "config/ConfigDiff.h"

#include <QWidget>
#include <vector>

class QTableWidget;

namespace vextor {

class ConfigDiffWindow : public QWidget {
public:
    explicit ConfigDiffWindow(QWidget* parent = nullptr);

    // Shows the window in front with these rows; the old rows go first. The second side is the file
    // at fileB: its name heads the column, the whole path is the header's tip.
    void showDifferences(const std::vector<ConfigDifference>& differences, const QString& sideA,
                         const QString& fileB);
    QTableWidget* table() const { return table_; }

private:
    QTableWidget* table_;
};

} // namespace vextor
