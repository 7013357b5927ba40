#include "SensorsPage.h"

#include "config/TabTexts.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace vextor {

namespace t = tab_texts;

namespace {

constexpr int kSidePanelWidth = 260;

QLineEdit* makeEdit(QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setMaximumWidth(120);
    return e;
}

} // namespace

SensorsPage::SensorsPage(ConfigImage& image, UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent), grid_(new QTableWidget(kSensorCount, 3, this)), number_(makeEdit(this)),
      kind_(new QComboBox(this)), apply_(new QPushButton(t::kApply, this)),
      resistanceGroup_(new QGroupBox(t::kExecutionGroup, this)), r0_(makeEdit(this)),
      wiring_(new QButtonGroup(this)), resistanceLines_(makeEdit(this)), material_(new QListWidget(this)),
      lm235Group_(new QGroupBox(t::kExecutionGroup, this)), voltage_(makeEdit(this)),
      lm235Lines_(makeEdit(this)), rangeGroup_(new QGroupBox(t::kExecutionGroup, this)),
      rangeInner_(new QGroupBox(this)), min_(makeEdit(this)), max_(makeEdit(this)),
      shuntLabel_(new QLabel(t::kShuntCaption, this)), shunt_(makeEdit(this)), numberField_(number_),
      r0Field_(r0_), resistanceLinesField_(resistanceLines_), voltageField_(voltage_),
      lm235LinesField_(lm235Lines_), minField_(min_), maxField_(max_), shuntField_(shunt_), kindField_(kind_),
      wiringField_(wiring_), materialField_(material_) {
    // The grid.
    grid_->setHorizontalHeaderLabels({t::kColNumber, t::kColType, t::kColExecution});
    grid_->verticalHeader()->hide();
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setColumnWidth(0, 55);
    grid_->setColumnWidth(1, 160);
    grid_->horizontalHeader()->setStretchLastSection(true);
    for (int r = 0; r < kSensorCount; ++r)
        for (int c = 0; c < 3; ++c)
            grid_->setItem(r, c, new QTableWidgetItem);
    auto* gridBox = new QGroupBox(t::kOwnSensors, this);
    auto* gridLayout = new QVBoxLayout(gridBox);
    gridLayout->addWidget(grid_);

    // The selected channel and its kind.
    number_->setReadOnly(true);
    for (const QString& item : t::kKindItems)
        kind_->addItem(item);
    auto* kindBox = new QGroupBox(t::kKindChoice, this);
    auto* kindLayout = new QVBoxLayout(kindBox);
    kindLayout->addWidget(kind_);

    // Resistance thermometer.
    auto* wiringBox = new QGroupBox(t::kWiringChoice, this);
    auto* wiringLayout = new QVBoxLayout(wiringBox);
    for (int i = 0; i < 2; ++i) {
        auto* b = new QRadioButton(t::kWiringItems[i], wiringBox);
        wiring_->addButton(b, i);
        wiringLayout->addWidget(b);
    }
    for (const QString& item : t::kMaterialItems)
        material_->addItem(item);
    // Every material in sight without a scroll bar of its own.
    material_->setFixedHeight(material_->sizeHintForRow(0) * material_->count() +
                              2 * material_->frameWidth());
    // The scheme beside the materials: one above the other they would make the panel taller than a
    // small screen's working area.
    auto* wiringAndMaterial = new QHBoxLayout;
    wiringAndMaterial->addWidget(wiringBox, 0, Qt::AlignTop);
    wiringAndMaterial->addWidget(material_, 1);
    auto* resistanceLayout = new QFormLayout(resistanceGroup_);
    resistanceLayout->setRowWrapPolicy(QFormLayout::WrapAllRows);
    resistanceLayout->addRow(t::kR0Caption, r0_);
    resistanceLayout->addRow(t::kLinesCaption, resistanceLines_);
    resistanceLayout->addRow(wiringAndMaterial);

    // LM235.
    auto* lm235Layout = new QFormLayout(lm235Group_);
    lm235Layout->setRowWrapPolicy(QFormLayout::WrapAllRows);
    lm235Layout->addRow(t::kVoltageCaption, voltage_);
    lm235Layout->addRow(t::kLinesCaption, lm235Lines_);

    // Voltage and current ranges.
    auto* innerLayout = new QFormLayout(rangeInner_);
    innerLayout->addRow(t::kMinCaption, min_);
    innerLayout->addRow(t::kMaxCaption, max_);
    innerLayout->addRow(shuntLabel_, shunt_);
    auto* rangeLayout = new QVBoxLayout(rangeGroup_);
    rangeLayout->addWidget(rangeInner_);

    // The three parameter groups share one place of the height of the tallest, so "Применить"
    // stays where it is whichever kind is chosen.
    auto* groups = new QWidget(this);
    auto* groupsLayout = new QVBoxLayout(groups);
    groupsLayout->setContentsMargins(0, 0, 0, 0);
    groupsLayout->addWidget(resistanceGroup_);
    groupsLayout->addWidget(lm235Group_);
    groupsLayout->addWidget(rangeGroup_);
    groupsLayout->addStretch(1);
    groups->setMinimumHeight(std::max({resistanceGroup_->sizeHint().height(),
                                       lm235Group_->sizeHint().height(), rangeGroup_->sizeHint().height()}));

    auto* sidePanel = new QWidget(this);
    sidePanel->setFixedWidth(kSidePanelWidth);
    auto* side = new QVBoxLayout(sidePanel);
    side->setContentsMargins(0, 0, 0, 0);
    auto* numberRow = new QFormLayout;
    numberRow->addRow(t::kColNumber, number_);
    side->addLayout(numberRow);
    side->addWidget(kindBox);
    side->addWidget(groups);
    side->addWidget(apply_);
    side->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(gridBox, 1);
    layout->addWidget(sidePanel);

    editor_ = std::make_unique<SensorsTab>(
        image,
        SensorControls{numberField_, kindField_, r0Field_, wiringField_, resistanceLinesField_,
                       materialField_, voltageField_, lm235LinesField_, minField_, maxField_, shuntField_},
        dialogs);
    editor_->gridChanged = [this] { drawGrid(); };
    editor_->panelChanged = [this] { drawPanel(); };
    editor_->setDefaults();
    editor_->showSensorTable();

    connect(grid_, &QTableWidget::cellClicked, this,
            [this](int row, int) { editor_->selectSensor(row + 1); });
    connect(grid_, &QTableWidget::currentCellChanged, this, [this](int row, int, int previous, int) {
        if (row >= 0 && row != previous)
            editor_->selectSensor(row + 1);
    });
    connect(kind_, &QComboBox::currentIndexChanged, this, [this](int) { editor_->kindChanged(); });
    connect(apply_, &QPushButton::clicked, this, [this] { editor_->applySensor(); });
}

SensorsPage::~SensorsPage() = default;

void SensorsPage::configurationChanged(ConfigViews views) {
    if (views & ViewSensors)
        editor_->showSensorTable();
}

void SensorsPage::selectFirstRows() {
    selectRow(1);
    editor_->selectSensor(1);
}

void SensorsPage::setTransferRunning(bool running) {
    transferRunning_ = running;
    apply_->setEnabled(editor_->panel().applyEnabled && !running);
}

void SensorsPage::selectRow(int row) {
    const QSignalBlocker block(grid_);
    grid_->setCurrentCell(row - 1, 0);
    grid_->selectRow(row - 1);
}

QString SensorsPage::cell(int row, int column) const {
    const QTableWidgetItem* item = grid_->item(row, column);
    return item ? item->text() : QString();
}

void SensorsPage::drawGrid() {
    const auto& rows = editor_->grid();
    for (int r = 0; r < kSensorCount; ++r) {
        grid_->item(r, 0)->setText(rows[r].number);
        grid_->item(r, 1)->setText(rows[r].type);
        grid_->item(r, 2)->setText(rows[r].execution);
        // A narrow window may still cut the long parameter lines: the tooltip has them whole.
        grid_->item(r, 1)->setToolTip(rows[r].type);
        grid_->item(r, 2)->setToolTip(rows[r].execution);
    }
}

void SensorsPage::drawPanel() {
    const SensorPanel& p = editor_->panel();
    resistanceGroup_->setVisible(p.group == SensorGroup::Resistance);
    lm235Group_->setVisible(p.group == SensorGroup::Lm235);
    rangeGroup_->setVisible(p.group == SensorGroup::Range);
    material_->setVisible(p.materialVisible);
    shuntLabel_->setVisible(p.shuntVisible);
    shunt_->setVisible(p.shuntVisible);
    rangeInner_->setTitle(p.rangeTitle);
    apply_->setEnabled(p.applyEnabled && !transferRunning_);
}

} // namespace vextor
