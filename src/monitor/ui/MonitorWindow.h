#pragma once
// The live monitor window: the boxes of the channels to poll, their values and lamps, the counters,
// the event list and the chart of the analog values. A view over LiveMonitor: "Старт" loads the
// chart settings, applies them and starts the run; every record the line delivers is drawn here.
#include "monitor/ChartSettings.h"
#include "monitor/LiveMonitor.h"

#include <QWidget>
#include <array>

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPlainTextEdit;

class QChart;
class QLineSeries;
class QValueAxis;

namespace vextor {
class UserDialogs;
}

namespace vextor::monitor {

class MonitorChartView;

class MonitorWindow : public QWidget {
public:
    struct Hooks {
        // "Старт" and "Get": Colors.ini read anew (or the defaults), the axis fixed when it is upside down.
        std::function<ChartSettings()> loadChartSettings;
        std::function<void()> openChartSettings; // "Настройка графика"
        // The run started (true) or ended: the service menus work only while it does not run.
        std::function<void(bool running)> runningChanged;
    };

    MonitorWindow(LiveMonitor& monitor, UserDialogs& dialogs, Hooks hooks, QWidget* parent = nullptr);

    // The chart takes the settings: series colours, visibility and titles, the value colours and the
    // axis. Done at every "Старт" and when the device window asks for the status.
    void applyChartSettings(const ChartSettings& settings);
    // "Старт" and "Стоп" work only while the marked controller answers.
    void setLinkUp(bool up);
    // The service menus (hidden in the standard layout) and the place their panels open in.
    void addServiceMenus(const QList<QAction*>& menus, bool shown);
    QWidget* panelHost() const;

    // For tests and the main window.
    QAction* startAction() const { return start_; }
    QAction* stopAction() const { return stop_; }
    QAction* recordAction() const { return record_; }
    QAction* saveChartAction() const { return saveChart_; }
    QCheckBox* analogInBox(int k) const { return analogInBox_[k]; }
    QCheckBox* analogOutBox(int k) const { return analogOutBox_[k]; }
    QCheckBox* discreteInBox(int k) const { return discreteInBox_[k]; }
    QCheckBox* discreteOutBox(int k) const { return discreteOutBox_[k]; }
    QLineEdit* analogInField(int k) const { return analogInField_[k]; }
    QLineEdit* analogOutField(int k) const { return analogOutField_[k]; }
    QLabel* discreteInLamp(int k) const { return discreteInLamp_[k]; }
    QLabel* discreteOutLamp(int k) const { return discreteOutLamp_[k]; }
    QLabel* errorLabel() const { return errorLabel_; }
    QLabel* noEventCounter() const { return noEventCounter_; }
    QLabel* waitCounter() const { return waitCounter_; }
    QFrame* activity() const { return activity_; }
    QPlainTextEdit* eventList() const { return events_; }
    QLineSeries* series(int k) const { return series_[static_cast<size_t>(k)]; }
    QValueAxis* timeAxis() const { return axisX_; }
    QValueAxis* valueAxis() const { return axisY_; }
    QLabel* recordingLabel() const { return recordingLabel_; }
    const std::array<QString, kSeriesCount>& seriesTitles() const { return titles_; }

    // The chart keeps this many points of each series; the time axis shows the last 1000.
    static constexpr int kKeptPoints = 2000;
    static constexpr int kShownPoints = 1000;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    LiveMonitor& monitor_;
    UserDialogs& dialogs_;
    Hooks hooks_;
    bool linkUp_ = false;
    QMenuBar* menus_;
    QAction* start_;
    QAction* stop_;
    QAction* settings_;
    QAction* record_;
    QAction* saveChart_;
    std::array<QCheckBox*, kAnalogInputs> analogInBox_{};
    std::array<QLineEdit*, kAnalogInputs> analogInField_{};
    std::array<QCheckBox*, kAnalogOutputs> analogOutBox_{};
    std::array<QLineEdit*, kAnalogOutputs> analogOutField_{};
    std::array<QCheckBox*, kDiscreteInputs> discreteInBox_{};
    std::array<QLabel*, kDiscreteInputs> discreteInLamp_{};
    std::array<QCheckBox*, kDiscreteOutputs> discreteOutBox_{};
    std::array<QLabel*, kDiscreteOutputs> discreteOutLamp_{};
    QLabel* noEventCounter_;
    QLabel* waitCounter_;
    QLabel* errorLabel_;
    QLabel* recordingLabel_;
    QPlainTextEdit* events_;
    QChart* chart_;
    MonitorChartView* chartView_;
    QFrame* activity_;
    std::array<QLineSeries*, kSeriesCount> series_{};
    std::array<QString, kSeriesCount> titles_;
    QValueAxis* axisX_;
    QValueAxis* axisY_;
    float scaleMin_ = 0;
    float scaleMax_ = 100;
    int64_t lastX_ = -1;
    QString recordingPath_;

    QWidget* buildChannels();
    QWidget* buildChart();
    void buildMenus();
    void channelsChanged();
    void startClicked();
    void showView();
    void showRunning(bool running);
    void addPoints(const std::vector<ChartPoint>& points);
    void followTime();
    void toggleRecording();
    void saveChartImage();
    void showRecording();
};

} // namespace vextor::monitor
