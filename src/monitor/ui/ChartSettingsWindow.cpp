#include "ChartSettingsWindow.h"

#include "ChartSettingsTexts.h"
#include "EntryKeyFilter.h"
#include "link/NumericConversions.h"
#include "link/UserDialogs.h"
#include "link/ui/WidgetFields.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

namespace vextor::monitor {

namespace t = monitor_texts;

namespace {

QColor toQColor(uint32_t colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

uint32_t fromQColor(const QColor& c) {
    return static_cast<uint32_t>(c.red()) | (static_cast<uint32_t>(c.green()) << 8) |
           (static_cast<uint32_t>(c.blue()) << 16);
}

// A swatch button behind the colour seam: it shows the colour it holds.
class SwatchField : public ColourField {
public:
    explicit SwatchField(QPushButton* button) : button_(button) { setColour(0); }
    uint32_t colour() const override { return colour_; }
    void setColour(uint32_t colour) override {
        colour_ = colour;
        button_->setStyleSheet(
            QStringLiteral("background-color: %1; border: 1px solid gray;").arg(toQColor(colour).name()));
    }

private:
    QPushButton* button_;
    uint32_t colour_ = 0;
};

QLineEdit* numberEdit(QWidget* parent, EntryKeyFilter* keys) {
    auto* edit = new QLineEdit(parent);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("-1000000,0")) + 16);
    keys->watch(edit);
    return edit;
}

QString traceTitle(int trace) {
    if (trace >= kFirstAnalogInSeries && trace < kFirstAnalogInSeries + kAnalogInputs)
        return t::kOwnInputGroupHead + QString::number(trace);
    switch (trace) {
    case kFirstAnalogOutSeries:
        return t::kOwnOutput1Group;
    case kFirstAnalogOutSeries + 1:
        return t::kOwnOutput2Group;
    case kSlaveAnalogInSeries:
        return t::kSlaveInputGroup;
    default:
        return t::kSlaveOutputGroup;
    }
}

} // namespace

struct ChartSettingsWindow::Trace {
    QGroupBox* group = nullptr;
    QLineEdit* offset = nullptr;
    QLineEdit* multiplier = nullptr;
    QCheckBox* plot = nullptr;
    QPushButton* swatch = nullptr;
    QLineEdit* name = nullptr;
    std::unique_ptr<LineEditField> offsetField, multiplierField, nameField;
    std::unique_ptr<CheckBoxField> plotField;
    std::unique_ptr<SwatchField> colourField;
};

ChartSettingsWindow::ChartSettingsWindow(UserDialogs& dialogs, QString colorsIni, QWidget* parent)
    : QWidget(parent, Qt::Window), dialogs_(dialogs), colorsIni_(std::move(colorsIni)),
      // Held from the start, so that a "Применить" before the monitor's first "Старт" saves what the
      // file holds (or the defaults) rather than a set of zeros.
      settings_(loadChartSettings(colorsIni_)) {
    setWindowTitle(t::kChartSettingsTitle);
    chooseColour = [this](uint32_t start) -> std::optional<uint32_t> {
        const QColor chosen = QColorDialog::getColor(toQColor(start), this);
        if (!chosen.isValid())
            return std::nullopt;
        return fromQColor(chosen);
    };
    keys_ = EntryKeyFilter::signedDecimal(this);

    auto* layout = new QVBoxLayout(this);
    auto* scale = new QGroupBox(t::kScaleGroup, this);
    auto* scaleRow = new QHBoxLayout(scale);
    scaleMin_ = numberEdit(scale, keys_);
    scaleMax_ = numberEdit(scale, keys_);
    scaleRow->addWidget(new QLabel(t::kScaleMin, scale));
    scaleRow->addWidget(scaleMin_);
    scaleRow->addSpacing(16);
    scaleRow->addWidget(new QLabel(t::kScaleMax, scale));
    scaleRow->addWidget(scaleMax_);
    scaleRow->addStretch();
    layout->addWidget(scale);
    for (QLineEdit* edit : {scaleMin_, scaleMax_})
        editFields_.push_back(std::make_unique<LineEditField>(edit));
    entries_.scaleMin = editFields_[0].get();
    entries_.scaleMax = editFields_[1].get();

    // The own inputs in the first row, the last two inputs and the two outputs in the second; the
    // slave's traces below them are not offered.
    auto* grid = new QGridLayout;
    for (int trace = 1; trace < kSeriesCount; ++trace) {
        QGroupBox* group = buildTrace(trace, traceTitle(trace));
        grid->addWidget(group, (trace - 1) / 4, (trace - 1) % 4);
        if (trace >= kSlaveAnalogInSeries)
            group->hide();
    }
    layout->addLayout(grid);

    // The poll period is not set here: the monitor's cycle keeps its own pace.
    auto* period = new QWidget(this);
    auto* periodRow = new QHBoxLayout(period);
    periodRow->setContentsMargins(0, 0, 0, 0);
    periodRow->addWidget(new QLabel(t::kPollPeriod, period));
    periodRow->addWidget(new QLineEdit(period));
    periodRow->addStretch();
    period->hide();
    layout->addWidget(period);

    apply_ = new QPushButton(t::kApply, this);
    connect(apply_, &QPushButton::clicked, this, [this] { apply(); });
    layout->addWidget(apply_, 0, Qt::AlignRight);

    layout->activate();
    setFixedSize(sizeHint());
    showChartEntries(settings_, entries_);
}

ChartSettingsWindow::~ChartSettingsWindow() = default;

QGroupBox* ChartSettingsWindow::buildTrace(int trace, const QString& title) {
    auto& slot = traces_[static_cast<size_t>(trace)];
    slot = std::make_unique<Trace>();
    Trace& tr = *slot;
    tr.group = new QGroupBox(title, this);
    auto* grid = new QGridLayout(tr.group);
    tr.offset = numberEdit(tr.group, keys_);
    tr.multiplier = numberEdit(tr.group, keys_);
    tr.plot = new QCheckBox(t::kPlot, tr.group);
    tr.swatch = new QPushButton(tr.group);
    tr.swatch->setFixedSize(tr.offset->width(), tr.plot->sizeHint().height());
    tr.swatch->setCursor(Qt::PointingHandCursor);
    connect(tr.swatch, &QPushButton::clicked, this, [this, trace] { pickColour(trace); });
    grid->addWidget(new QLabel(t::kOffset, tr.group), 0, 0);
    grid->addWidget(tr.offset, 0, 1);
    grid->addWidget(new QLabel(t::kMultiplier, tr.group), 1, 0);
    grid->addWidget(tr.multiplier, 1, 1);
    grid->addWidget(tr.plot, 2, 0);
    grid->addWidget(tr.swatch, 2, 1);

    tr.offsetField = std::make_unique<LineEditField>(tr.offset);
    tr.multiplierField = std::make_unique<LineEditField>(tr.multiplier);
    tr.plotField = std::make_unique<CheckBoxField>(tr.plot);
    tr.colourField = std::make_unique<SwatchField>(tr.swatch);
    TraceEntries& e = entries_.traces[static_cast<size_t>(trace)];
    e.offset = tr.offsetField.get();
    e.multiplier = tr.multiplierField.get();
    e.plot = tr.plotField.get();
    e.colour = tr.colourField.get();

    if (trace >= kFirstAnalogInSeries && trace < kFirstAnalogInSeries + kAnalogInputs) {
        // The names keep the series' titles; they are carried in the file but not edited here.
        auto* label = new QLabel(t::kTraceName, tr.group);
        tr.name = new QLineEdit(tr.group);
        tr.name->setMaxLength(kTraceNameMax);
        grid->addWidget(label, 3, 0, 1, 2);
        grid->addWidget(tr.name, 4, 0, 1, 2);
        label->hide();
        tr.name->hide();
        tr.nameField = std::make_unique<LineEditField>(tr.name);
        e.name = tr.nameField.get();
    }
    return tr.group;
}

void ChartSettingsWindow::pickColour(int trace) {
    SwatchField& field = *traces_[static_cast<size_t>(trace)]->colourField;
    if (!chooseColour)
        return;
    if (const std::optional<uint32_t> chosen = chooseColour(field.colour()))
        field.setColour(*chosen);
}

ChartSettings ChartSettingsWindow::loadAndApply() {
    settings_ = loadChartSettings(colorsIni_);
    // An open window keeps what the user is typing; a hidden one takes the new settings at once, so
    // that its fields never hold an older set.
    if (!isVisible())
        showChartEntries(settings_, entries_);
    return settings_;
}

void ChartSettingsWindow::apply() {
    ChartSettings next = settings_;
    {
        const ValidationDialogsScope route(&dialogs_);
        applyChartEntries(entries_, next);
    }
    QString error;
    if (!saveChartSettings(colorsIni_, next, &error)) {
        dialogs_.message(t::kChartSettingsSaveFailed.arg(QDir::toNativeSeparators(colorsIni_), error));
        return;
    }
    settings_ = next;
    hide();
    if (applied)
        applied(settings_);
}

void ChartSettingsWindow::showEvent(QShowEvent* event) {
    // Coming back from the task bar is no new opening: the entries stay as they were.
    if (!event->spontaneous()) {
        showChartEntries(settings_, entries_);
        centre();
    }
    QWidget::showEvent(event);
}

void ChartSettingsWindow::centre() {
    if (QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}

QLineEdit* ChartSettingsWindow::offsetEdit(int trace) const {
    return trace > 0 && trace < kSeriesCount ? traces_[static_cast<size_t>(trace)]->offset : nullptr;
}
QLineEdit* ChartSettingsWindow::multiplierEdit(int trace) const {
    return trace > 0 && trace < kSeriesCount ? traces_[static_cast<size_t>(trace)]->multiplier : nullptr;
}
QCheckBox* ChartSettingsWindow::plotBox(int trace) const {
    return trace > 0 && trace < kSeriesCount ? traces_[static_cast<size_t>(trace)]->plot : nullptr;
}
QPushButton* ChartSettingsWindow::swatch(int trace) const {
    return trace > 0 && trace < kSeriesCount ? traces_[static_cast<size_t>(trace)]->swatch : nullptr;
}
QLineEdit* ChartSettingsWindow::nameEdit(int trace) const {
    return trace > 0 && trace < kSeriesCount ? traces_[static_cast<size_t>(trace)]->name : nullptr;
}
QGroupBox* ChartSettingsWindow::traceGroup(int trace) const {
    return trace > 0 && trace < kSeriesCount ? traces_[static_cast<size_t>(trace)]->group : nullptr;
}

} // namespace vextor::monitor
