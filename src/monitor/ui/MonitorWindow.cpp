#include "MonitorWindow.h"

#include "link/UserDialogs.h"
#include "monitor/texts.h"
#include "texts.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

namespace vextor::monitor {

namespace t = monitor_texts;
namespace u = monitor_ui_texts;

namespace {

QColor colourOf(uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

QString lampStyle(Lamp lamp) {
    const char* colour = lamp == Lamp::Lime ? "#00ff00" : lamp == Lamp::Red ? "#ff0000" : "#a0a0a0";
    return QStringLiteral("QLabel { background: %1; border: 1px solid #606060; border-radius: 7px; }")
        .arg(QLatin1String(colour));
}

QLabel* lampLabel(QWidget* parent) {
    auto* lamp = new QLabel(parent);
    lamp->setFixedSize(14, 14);
    lamp->setStyleSheet(lampStyle(Lamp::Grey));
    lamp->setProperty("lamp", static_cast<int>(Lamp::Grey));
    return lamp;
}

void setLamp(QLabel* label, Lamp lamp) {
    if (label->property("lamp").toInt() == static_cast<int>(lamp))
        return;
    label->setProperty("lamp", static_cast<int>(lamp));
    label->setStyleSheet(lampStyle(lamp));
}

void setTextIfChanged(QLineEdit* edit, const QString& text) {
    if (edit->text() != text)
        edit->setText(text);
}

void setTextIfChanged(QLabel* label, const QString& text) {
    if (label->text() != text)
        label->setText(text);
}

// The chart's plot area: a light tiled pattern under the traces, so that the eye can follow a
// value across the area.
QBrush plotAreaBrush() {
    QPixmap tile(16, 16);
    tile.fill(QColor(0xFB, 0xFB, 0xF5));
    QPainter painter(&tile);
    painter.setPen(QColor(0xEE, 0xEE, 0xE6));
    painter.drawPoint(0, 0);
    painter.drawPoint(8, 8);
    return QBrush(tile);
}

} // namespace

// The chart with the mouse: a dragged rectangle zooms in, a click undoes the zoom.
class MonitorChartView : public QChartView {
public:
    MonitorChartView(QChart* chart, QWidget* parent) : QChartView(chart, parent) {
        setRubberBand(QChartView::RectangleRubberBand);
        setRenderHint(QPainter::Antialiasing, false);
    }
    std::function<void()> zoomUndone;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        pressedAt_ = event->position().toPoint();
        QChartView::mousePressEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton &&
            (event->position().toPoint() - pressedAt_).manhattanLength() < kClickDistance) {
            // A click, not a drag: the rubber band has nothing to zoom to.
            QChartView::mouseReleaseEvent(event);
            chart()->zoomReset();
            if (zoomUndone)
                zoomUndone();
            return;
        }
        QChartView::mouseReleaseEvent(event);
        if (event->button() == Qt::RightButton && zoomUndone) {
            // The right button zooms out: back to the live view.
            chart()->zoomReset();
            zoomUndone();
        }
    }

private:
    static constexpr int kClickDistance = 5;
    QPoint pressedAt_;
};

MonitorWindow::MonitorWindow(LiveMonitor& monitor, UserDialogs& dialogs, Hooks hooks, QWidget* parent)
    : QWidget(parent), monitor_(monitor), dialogs_(dialogs), hooks_(std::move(hooks)) {
    setWindowTitle(u::kCaption);
    for (int s = 0; s < kSeriesCount; ++s)
        titles_[static_cast<size_t>(s)] = seriesTitle(s);
    auto* layout = new QVBoxLayout(this);
    menus_ = new QMenuBar(this);
    layout->setMenuBar(menus_);
    buildMenus();
    auto* row = new QHBoxLayout;
    row->addWidget(buildChannels());
    auto* right = new QVBoxLayout;
    right->addWidget(buildChart(), 1);
    // The controller's new events, under the chart.
    events_ = new QPlainTextEdit(this);
    events_->setReadOnly(true);
    events_->setMaximumBlockCount(MonitorView::kMaxEventLines);
    events_->setPlaceholderText(u::kEventsHint);
    events_->setFixedHeight(events_->fontMetrics().lineSpacing() * 4 + 12);
    events_->viewport()->installEventFilter(this);
    right->addWidget(events_);
    row->addLayout(right, 1);
    layout->addLayout(row, 1);

    monitor_.viewChanged = [this] { showView(); };
    monitor_.pointsAdded = [this](const std::vector<ChartPoint>& points) { addPoints(points); };
    monitor_.eventLinesAdded = [this](const QStringList& lines) {
        for (const QString& line : lines)
            events_->appendPlainText(line);
    };
    monitor_.runningChanged = [this](bool running) {
        showRunning(running);
        if (hooks_.runningChanged)
            hooks_.runningChanged(running);
    };
    monitor_.recordingFailed = [this](const QString& reason) {
        showRecording();
        dialogs_.message(u::kRecordingStopped + reason);
    };
    showRunning(false);
    setLinkUp(false);
    showView();
}

void MonitorWindow::buildMenus() {
    start_ = menus_->addAction(u::kStart, this, [this] { startClicked(); });
    stop_ = menus_->addAction(u::kStop, this, [this] { monitor_.stop(); });
    // The chart's own commands in one menu, so that the service menus still fit a 1024-pixel screen.
    QMenu* chart = menus_->addMenu(u::kChartMenu);
    settings_ = chart->addAction(u::kChartSettings, this, [this] {
        if (hooks_.openChartSettings)
            hooks_.openChartSettings();
    });
    chart->addSeparator();
    record_ = chart->addAction(u::kRecord, this, [this] { toggleRecording(); });
    saveChart_ = chart->addAction(u::kSaveChart, this, [this] { saveChartImage(); });
}

QWidget* MonitorWindow::buildChannels() {
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    auto valueField = [column](const QColor& colour) {
        auto* field = new QLineEdit(column);
        field->setReadOnly(true);
        field->setFocusPolicy(Qt::NoFocus);
        field->setAlignment(Qt::AlignRight);
        field->setFixedWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("-00000,00")) + 14);
        QPalette p = field->palette();
        p.setColor(QPalette::Text, colour);
        field->setPalette(p);
        return field;
    };
    // The analog channels stand in pairs, so that the whole column fits a 1024 x 700 screen.
    auto analogGroup = [&](const QString& title, auto& boxes, auto& fields, int firstSeries) {
        auto* group = new QGroupBox(title, column);
        auto* grid = new QGridLayout(group);
        grid->setVerticalSpacing(2);
        grid->setContentsMargins(6, 4, 6, 4);
        const int rows = static_cast<int>((boxes.size() + 1) / 2);
        for (size_t k = 0; k < boxes.size(); ++k) {
            boxes[k] = new QCheckBox(QString::number(k + 1), group);
            fields[k] = valueField(colourOf(seriesColour(firstSeries + static_cast<int>(k))));
            const int row = static_cast<int>(k) % rows;
            const int col = 2 * (static_cast<int>(k) / rows);
            grid->addWidget(boxes[k], row, col);
            grid->addWidget(fields[k], row, col + 1);
            connect(boxes[k], &QCheckBox::toggled, this, [this] { channelsChanged(); });
        }
        layout->addWidget(group);
    };
    analogGroup(u::kAnalogInputs, analogInBox_, analogInField_, kFirstAnalogInSeries);
    analogGroup(u::kAnalogOutputs, analogOutBox_, analogOutField_, kFirstAnalogOutSeries);
    // Ticking an analog input shows its trace, unticking hides it.
    for (size_t k = 0; k < analogInBox_.size(); ++k)
        connect(analogInBox_[k], &QCheckBox::toggled, this,
                [this, k](bool on) { series_[kFirstAnalogInSeries + k]->setVisible(on); });

    auto discreteGroup = [&](const QString& title, auto& boxes, auto& lamps) {
        auto* group = new QGroupBox(title, column);
        auto* grid = new QGridLayout(group);
        grid->setVerticalSpacing(2);
        grid->setContentsMargins(6, 4, 6, 4);
        for (size_t k = 0; k < boxes.size(); ++k) {
            boxes[k] = new QCheckBox(QString::number(k + 1), group);
            lamps[k] = lampLabel(group);
            grid->addWidget(boxes[k], 0, static_cast<int>(k), Qt::AlignHCenter);
            grid->addWidget(lamps[k], 1, static_cast<int>(k), Qt::AlignHCenter);
            connect(boxes[k], &QCheckBox::toggled, this, [this] { channelsChanged(); });
        }
        layout->addWidget(group);
    };
    discreteGroup(u::kDiscreteInputs, discreteInBox_, discreteInLamp_);
    discreteGroup(u::kDiscreteOutputs, discreteOutBox_, discreteOutLamp_);

    auto* counters = new QGridLayout;
    counters->addWidget(new QLabel(t::kNoNewEvents, column), 0, 0);
    noEventCounter_ = new QLabel(column);
    counters->addWidget(noEventCounter_, 0, 1, Qt::AlignRight);
    counters->addWidget(new QLabel(t::kWaitCycles, column), 1, 0);
    waitCounter_ = new QLabel(t::kWaitCounterStart, column);
    counters->addWidget(waitCounter_, 1, 1, Qt::AlignRight);
    layout->addLayout(counters);
    errorLabel_ = new QLabel(t::kErrorLabelStart, column);
    errorLabel_->setStyleSheet(QStringLiteral("color: red"));
    errorLabel_->setCursor(Qt::PointingHandCursor);
    errorLabel_->installEventFilter(this);
    layout->addWidget(errorLabel_);
    recordingLabel_ = new QLabel(column);
    recordingLabel_->setWordWrap(true);
    layout->addWidget(recordingLabel_);

    layout->addStretch(1);
    // On a low screen the column scrolls rather than being cut.
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(column);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setFixedWidth(column->sizeHint().width() + scroll->verticalScrollBar()->sizeHint().width());
    return scroll;
}

QWidget* MonitorWindow::buildChart() {
    chart_ = new QChart;
    chart_->legend()->hide();
    chart_->setBackgroundRoundness(0);
    chart_->setMargins(QMargins(4, 4, 4, 4));
    chart_->setPlotAreaBackgroundBrush(plotAreaBrush());
    chart_->setPlotAreaBackgroundVisible(true);
    axisX_ = new QValueAxis(chart_);
    axisX_->setRange(0, kShownPoints);
    axisX_->setTitleText(t::kTimeAxis);
    axisX_->setLabelFormat(QStringLiteral("%d"));
    axisY_ = new QValueAxis(chart_);
    axisY_->setRange(0, 100);
    axisY_->setMinorTickCount(4);
    axisY_->setMinorGridLineVisible(true);
    QPen minor(QColor(0xC0, 0xC0, 0xC0));
    minor.setStyle(Qt::DashLine);
    axisY_->setMinorGridLinePen(minor);
    chart_->addAxis(axisX_, Qt::AlignBottom);
    chart_->addAxis(axisY_, Qt::AlignLeft);
    for (int s = 0; s < kSeriesCount; ++s) {
        auto* series = new QLineSeries(chart_);
        series->setName(seriesTitle(s));
        series->setColor(colourOf(seriesColour(s)));
        if (s == 0)
            series->setPointsVisible(true);
        chart_->addSeries(series);
        series->attachAxis(axisX_);
        series->attachAxis(axisY_);
        // Nothing is plotted until its box is ticked or the settings say so at "Старт".
        series->setVisible(false);
        series_[static_cast<size_t>(s)] = series;
    }
    chartView_ = new MonitorChartView(chart_, this);
    chartView_->zoomUndone = [this] {
        axisY_->setRange(scaleMin_, scaleMax_);
        followTime();
    };
    // The activity indicator, at the chart's top left corner, changes colour with every poll step.
    activity_ = new QFrame(chartView_);
    activity_->setFixedSize(12, 12);
    activity_->setFrameShape(QFrame::Box);
    activity_->move(6, 6);
    activity_->setAutoFillBackground(true);
    activity_->hide();
    return chartView_;
}

QWidget* MonitorWindow::panelHost() const {
    return chartView_;
}

void MonitorWindow::addServiceMenus(const QList<QAction*>& menus, bool shown) {
    for (QAction* a : menus) {
        menus_->addAction(a);
        a->setVisible(shown);
    }
}

void MonitorWindow::channelsChanged() {
    ChannelSelection c = monitor_.channels();
    for (size_t k = 0; k < c.analogIn.size(); ++k)
        c.analogIn[k] = analogInBox_[k]->isChecked();
    for (size_t k = 0; k < c.analogOut.size(); ++k)
        c.analogOut[k] = analogOutBox_[k]->isChecked();
    for (size_t k = 0; k < c.discreteIn.size(); ++k)
        c.discreteIn[k] = discreteInBox_[k]->isChecked();
    for (size_t k = 0; k < c.discreteOut.size(); ++k)
        c.discreteOut[k] = discreteOutBox_[k]->isChecked();
    monitor_.setChannels(c);
}

void MonitorWindow::applyChartSettings(const ChartSettings& settings) {
    scaleMin_ = settings.scaleMin;
    scaleMax_ = settings.scaleMax;
    axisY_->setRange(scaleMin_, scaleMax_);
    for (int s = 1; s < kSeriesCount; ++s) {
        const TraceSettings& trace = settings.traces[static_cast<size_t>(s)];
        QLineSeries* series = series_[static_cast<size_t>(s)];
        const QColor colour = colourOf(trace.colour);
        series->setColor(colour);
        series->setVisible(trace.plot);
        if (s <= kAnalogInputs) {
            titles_[static_cast<size_t>(s)] = trace.name.isEmpty() ? seriesTitle(s) : trace.name;
            series->setName(titles_[static_cast<size_t>(s)]);
        }
        QLineEdit* field = s <= kAnalogInputs ? analogInField_[static_cast<size_t>(s - 1)]
                           : s < kFirstAnalogOutSeries + kAnalogOutputs
                               ? analogOutField_[static_cast<size_t>(s - kFirstAnalogOutSeries)]
                               : nullptr;
        if (field) {
            QPalette p = field->palette();
            p.setColor(QPalette::Text, colour);
            field->setPalette(p);
        }
    }
}

void MonitorWindow::startClicked() {
    channelsChanged();
    const ChartSettings settings =
        hooks_.loadChartSettings ? hooks_.loadChartSettings() : defaultChartSettings();
    applyChartSettings(settings);
    monitor_.start(settings);
}

void MonitorWindow::setLinkUp(bool up) {
    linkUp_ = up;
    showRunning(monitor_.running());
}

void MonitorWindow::showRunning(bool running) {
    start_->setEnabled(linkUp_ && !running);
    stop_->setEnabled(linkUp_ && running);
    activity_->setVisible(running);
    if (running)
        activity_->raise(); // above the chart's own viewport
}

void MonitorWindow::showView() {
    const MonitorView& v = monitor_.view;
    for (size_t k = 0; k < analogInField_.size(); ++k)
        setTextIfChanged(analogInField_[k], v.analogInText[k]);
    for (size_t k = 0; k < analogOutField_.size(); ++k)
        setTextIfChanged(analogOutField_[k], v.analogOutText[k]);
    for (size_t k = 0; k < discreteInLamp_.size(); ++k)
        setLamp(discreteInLamp_[k], v.discreteInLamp[k]);
    for (size_t k = 0; k < discreteOutLamp_.size(); ++k)
        setLamp(discreteOutLamp_[k], v.discreteOutLamp[k]);
    setTextIfChanged(noEventCounter_, QString::number(v.noEventCounter));
    setTextIfChanged(waitCounter_, v.waitCounterText());
    setTextIfChanged(errorLabel_, v.errorLabel.text());
    errorLabel_->setVisible(v.errorLabel.visible());
    QPalette p = activity_->palette();
    p.setColor(QPalette::Window,
               v.activityLit ? QColor(0x00, 0xC0, 0x00) : palette().color(QPalette::Window));
    activity_->setPalette(p);
    showRecording();
}

void MonitorWindow::addPoints(const std::vector<ChartPoint>& points) {
    for (const ChartPoint& point : points) {
        for (int s = 1; s < kSeriesCount; ++s)
            if (const auto& y = point.y[static_cast<size_t>(s)])
                series_[static_cast<size_t>(s)]->append(static_cast<qreal>(point.x), *y);
        lastX_ = point.x;
    }
    // Each series keeps a bounded number of points, whatever the length of the run.
    for (QLineSeries* series : series_)
        if (series->count() > kKeptPoints + kKeptPoints / 4)
            series->removePoints(0, series->count() - kKeptPoints);
    if (!chart_->isZoomed())
        followTime();
}

void MonitorWindow::followTime() {
    // Beyond the first 1000 points the time axis moves with the newest point instead of letting the
    // points run off its end.
    const qreal last = static_cast<qreal>(std::max<int64_t>(lastX_, 0));
    const qreal max = std::max<qreal>(kShownPoints, last);
    if (axisX_->min() != max - kShownPoints || axisX_->max() != max)
        axisX_->setRange(max - kShownPoints, max);
}

void MonitorWindow::toggleRecording() {
    if (monitor_.recording()) {
        monitor_.stopRecording();
        showRecording();
        return;
    }
    const QString path =
        dialogs_.saveFile(u::kRecordCaption, u::kCsvFilter, QString(), QStringLiteral("csv"));
    if (path.isEmpty())
        return;
    QString error;
    if (!monitor_.startRecording(path, titles_, &error))
        dialogs_.message(u::kRecordingNotStarted + error);
    recordingPath_ = path;
    showRecording();
}

void MonitorWindow::showRecording() {
    const bool on = monitor_.recording();
    const QString action = on ? u::kStopRecording : u::kRecord;
    if (record_->text() != action)
        record_->setText(action);
    const QString text =
        on ? u::kRecordingTo.arg(QFileInfo(recordingPath_).fileName()).arg(monitor_.recordedRows())
           : QString();
    setTextIfChanged(recordingLabel_, text);
    recordingLabel_->setVisible(on);
}

void MonitorWindow::saveChartImage() {
    const QString path =
        dialogs_.saveFile(u::kSaveChartCaption, u::kPngFilter, QString(), QStringLiteral("png"));
    if (path.isEmpty())
        return;
    // Written whole or not at all: an old picture of that name stays when the save fails.
    QSaveFile file(path);
    const QImage image = chartView_->grab().toImage();
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit())
        dialogs_.message(u::kChartNotSaved + path + QStringLiteral(": ") + file.errorString());
}

bool MonitorWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == errorLabel_) {
            monitor_.resetErrors();
            return true;
        }
        if (watched == events_->viewport()) {
            events_->clear();
            monitor_.view.clearEvents();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vextor::monitor
