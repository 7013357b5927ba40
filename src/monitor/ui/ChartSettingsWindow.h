#pragma once
// "Настройка графика": for each trace of the monitor's chart its offset, multiplier, whether it is
// plotted and its colour, and the common range of the value axis. The window holds the settings
// from its creation on (Colors.ini, or the defaults without one), saves them to Colors.ini on
// "Применить" and hands them to the monitor; every "Старт" of the monitor takes them from the file
// again through loadAndApply.
#include "monitor/ChartSettings.h"
#include "monitor/ChartSettingsEntries.h"

#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace vextor {
class UserDialogs;
}

namespace vextor::monitor {

class EntryKeyFilter;

class ChartSettingsWindow : public QWidget {
public:
    // colorsIni: where the settings are kept (colorsIniPath of the settings folder).
    ChartSettingsWindow(UserDialogs& dialogs, QString colorsIni, QWidget* parent = nullptr);
    ~ChartSettingsWindow() override;

    // The settings held: those of the last load, or of the last "Применить" that was saved.
    const ChartSettings& settings() const { return settings_; }

    // What every "Старт" of the monitor calls: the settings of the file (the defaults without one,
    // an axis whose minimum is not below its maximum as 0..100), held from now on.
    ChartSettings loadAndApply();

    // "Применить": takes the fields (a refused entry is told and keeps its value), saves the file and
    // hides the window. A save that fails is told; the window then stays open with the entries and
    // the settings held stay those of the file.
    void apply();

    // Told after every "Применить" that was saved, with the settings now held.
    std::function<void(const ChartSettings&)> applied;
    // Asks the user for a colour, starting from the swatch's; nullopt when the user cancels. The
    // platform's colour dialog unless replaced (tests).
    std::function<std::optional<uint32_t>(uint32_t)> chooseColour;

    // The fields, for tests. Traces count as the chart's series: 1..6 the analog inputs, 7 and 8 the
    // outputs, 9 and 10 the slave's (hidden).
    QLineEdit* scaleMinEdit() const { return scaleMin_; }
    QLineEdit* scaleMaxEdit() const { return scaleMax_; }
    QLineEdit* offsetEdit(int trace) const;
    QLineEdit* multiplierEdit(int trace) const;
    QCheckBox* plotBox(int trace) const;
    QPushButton* swatch(int trace) const;
    QLineEdit* nameEdit(int trace) const;
    QGroupBox* traceGroup(int trace) const;
    QPushButton* applyButton() const { return apply_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Trace;

    UserDialogs& dialogs_;
    QString colorsIni_;
    ChartSettings settings_;
    QLineEdit* scaleMin_ = nullptr;
    QLineEdit* scaleMax_ = nullptr;
    QPushButton* apply_ = nullptr;
    EntryKeyFilter* keys_ = nullptr;
    std::array<std::unique_ptr<Trace>, kSeriesCount> traces_;
    std::vector<std::unique_ptr<EditField>> editFields_;
    ChartEntries entries_;

    QGroupBox* buildTrace(int trace, const QString& title);
    void pickColour(int trace);
    void centre();
};

} // namespace vextor::monitor
