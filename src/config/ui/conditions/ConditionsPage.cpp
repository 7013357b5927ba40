#include "ConditionsPage.h"

#include "config/GeneralTexts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vextor {

namespace t = general_texts;

namespace {

QLineEdit* makeEdit(int width = 90) {
    auto* e = new QLineEdit;
    e->setMaximumWidth(width);
    return e;
}

void setCaption(QFormLayout* form, QWidget* field, const QString& caption) {
    if (auto* label = qobject_cast<QLabel*>(form->labelForField(field)))
        label->setText(caption);
}

} // namespace

ConditionsPage::ConditionsPage(ConfigImage& image, UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent), grid_(new QTableWidget(kConditionCount, kConditionColumns, this)), number_(makeEdit()),
      kind_(new QComboBox), operand1_(new QGroupBox), operand1Form_(new QFormLayout(operand1_)),
      adr1_(makeEdit()), num1_(makeEdit()), time1_(makeEdit()), operand2_(new QGroupBox),
      operand2Form_(new QFormLayout(operand2_)), adr2_(makeEdit()), num2_(makeEdit()), time2_(makeEdit()),
      numberFlag_(new QCheckBox(t::kNumberFlag)), numberGroup_(new QGroupBox(t::kNumberGroup)),
      notch_(makeEdit(120)), setPoints_(new QWidget), set1_(makeEdit()), set2_(makeEdit()),
      output_(new QGroupBox(t::kOutputGroup)), outputForm_(new QFormLayout(output_)),
      outputType_(new QButtonGroup(this)), outputTypeRow_(new QWidget), outAddress_(makeEdit()),
      outNumber_(makeEdit()), ifValue_(makeEdit()), elseValue_(makeEdit()), ifPriority_(makeEdit(40)),
      elsePriority_(makeEdit(40)), priorityRow_(new QWidget), dependency_(makeEdit()),
      apply_(new QPushButton(t::kApply)), clear_(new QPushButton(t::kClearTable)), numberField_(number_),
      adr1Field_(adr1_), num1Field_(num1_), time1Field_(time1_), adr2Field_(adr2_), num2Field_(num2_),
      time2Field_(time2_), notchField_(notch_), set1Field_(set1_), set2Field_(set2_),
      outAddressField_(outAddress_), outNumberField_(outNumber_), ifValueField_(ifValue_),
      elseValueField_(elseValue_), ifPriorityField_(ifPriority_), elsePriorityField_(elsePriority_),
      dependencyField_(dependency_), kindField_(kind_), outputTypeField_(outputType_),
      numberFlagField_(numberFlag_) {
    // The grid: the header row is the table's own header.
    QStringList headers;
    for (const QString& h : t::kConditionHeaders)
        headers << h;
    grid_->setHorizontalHeaderLabels(headers);
    grid_->verticalHeader()->hide();
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setWordWrap(false);
    for (int r = 0; r < kConditionCount; ++r)
        for (int c = 0; c < kConditionColumns; ++c)
            grid_->setItem(r, c, new QTableWidgetItem);
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
    // Columns wide enough for their longest text, so that no two rows look alike when cut.
    const QFontMetrics fm = grid_->fontMetrics();
    int kindWidth = 0;
    for (const QString& k : t::kConditionKinds)
        kindWidth = std::max(kindWidth, fm.horizontalAdvance(k));
    const int widths[kConditionColumns] = {fm.horizontalAdvance(QStringLiteral("000")) + 12,
                                           kindWidth + 16,
                                           18,
                                           fm.horizontalAdvance(QStringLiteral("№ усл = 255")) + 16,
                                           fm.horizontalAdvance(QStringLiteral("-100000 / 6553,5")) + 16,
                                           fm.horizontalAdvance(QStringLiteral("255 / D127")) + 16,
                                           fm.horizontalAdvance(QStringLiteral("25,5 p15")) + 16,
                                           fm.horizontalAdvance(QStringLiteral("Знач. ELSE")) + 16,
                                           fm.horizontalAdvance(QStringLiteral("Зависит от")) + 16,
                                           fm.horizontalAdvance(QStringLiteral("Твкл / Оп3")) + 16,
                                           fm.horizontalAdvance(QStringLiteral("00:00:00")) + 16,
                                           fm.horizontalAdvance(QStringLiteral("Задержка")) + 16,
                                           fm.horizontalAdvance(QStringLiteral("00:00:00")) + 16};
    for (int c = 0; c < kConditionColumns; ++c)
        grid_->setColumnWidth(c, widths[c]);

    // The editor.
    number_->setReadOnly(true);
    for (const QString& k : t::kConditionKinds)
        kind_->addItem(k);
    auto* head = new QFormLayout;
    head->addRow(t::kRowNumber, number_);
    head->addRow(new QLabel(t::kKindCaption));
    head->addRow(kind_);

    operand1Form_->addRow(t::kAddress, adr1_);
    operand1Form_->addRow(t::kInOutNumber, num1_);
    operand1Form_->addRow(t::kTimeEntry, time1_);

    auto* numberLayout = new QHBoxLayout(numberGroup_);
    numberLayout->addWidget(notch_);
    numberLayout->addStretch(1);
    auto* setForm = new QFormLayout(setPoints_);
    setForm->setContentsMargins(0, 0, 0, 0);
    setForm->addRow(t::kSetPoint1, set1_);
    setForm->addRow(t::kSetPoint2, set2_);
    operand2Form_->addRow(t::kAddress, adr2_);
    operand2Form_->addRow(t::kInOutNumber, num2_);
    operand2Form_->addRow(t::kTimeEntry, time2_);
    operand2Form_->addRow(numberFlag_);
    operand2Form_->addRow(numberGroup_);
    operand2Form_->addRow(setPoints_);
    // No input mask: the time check puts each part into the entry in turn.
    for (QLineEdit* e : {time1_, time2_})
        e->setMaxLength(8);

    auto* types = new QHBoxLayout(outputTypeRow_);
    types->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 3; ++i) {
        outputButtons_[i] = new QRadioButton(t::kOutputTypes[i]);
        outputType_->addButton(outputButtons_[i], i);
        types->addWidget(outputButtons_[i]);
    }
    types->addStretch(1);
    auto* priorities = new QHBoxLayout(priorityRow_);
    priorities->setContentsMargins(0, 0, 0, 0);
    priorities->addWidget(ifPriority_);
    priorities->addWidget(elsePriority_);
    priorities->addStretch(1);
    outputForm_->addRow(outputTypeRow_);
    outputForm_->addRow(t::kAddress, outAddress_);
    outputForm_->addRow(t::kOutputNumber, outNumber_);
    outputForm_->addRow(t::kIfValue, ifValue_);
    outputForm_->addRow(t::kElseValue, elseValue_);
    outputForm_->addRow(t::kPriority, priorityRow_);

    auto* dependencyRow = new QFormLayout;
    dependencyRow->addRow(t::kDependency, dependency_);

    // The editor in two columns beside the grid, with no scrolling of its own: the operands in the
    // first, the output and the buttons in the second. The grid scrolls by itself.
    auto* operands = new QVBoxLayout;
    operands->addLayout(head);
    operands->addWidget(operand1_);
    operands->addWidget(operand2_);
    operands->addStretch(1);
    auto* outputs = new QVBoxLayout;
    outputs->addWidget(output_);
    outputs->addLayout(dependencyRow);
    outputs->addWidget(apply_);
    outputs->addWidget(clear_);
    outputs->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(operands);
    layout->addLayout(outputs);

    editor_ = std::make_unique<ConditionsTab>(
        image, ConditionControls{numberField_,       kindField_,       outputTypeField_, outAddressField_,
                                 outNumberField_,    ifValueField_,    elseValueField_,  ifPriorityField_,
                                 elsePriorityField_, dependencyField_, adr1Field_,       num1Field_,
                                 time1Field_,        adr2Field_,       num2Field_,       time2Field_,
                                 numberFlagField_,   notchField_,      set1Field_,       set2Field_},
        dialogs);
    editor_->gridChanged = [this] { drawGrid(); };
    editor_->panelChanged = [this] { drawPanel(); };
    editor_->rowShown = [this](int row) { selectRow(row); };
    editor_->setDefaults();
    editor_->showConditionGrid();

    connect(grid_, &QTableWidget::cellClicked, this,
            [this](int row, int) { editor_->showCondition(row + 1); });
    connect(grid_, &QTableWidget::currentCellChanged, this, [this](int row, int, int previous, int) {
        if (row >= 0 && row != previous)
            editor_->showCondition(row + 1);
    });
    connect(kind_, &QComboBox::currentIndexChanged, this, [this](int) { editor_->kindChanged(); });
    connect(numberFlag_, &QCheckBox::toggled, this, [this](bool) { editor_->numberFlagChanged(); });
    connect(outputType_, &QButtonGroup::idClicked, this, [this](int) { editor_->outputTypeChanged(); });
    connect(apply_, &QPushButton::clicked, this, [this] { editor_->applyCondition(); });
    connect(clear_, &QPushButton::clicked, this, [this] { editor_->clearConditions(); });
}

ConditionsPage::~ConditionsPage() = default;

void ConditionsPage::configurationChanged(ConfigViews views) {
    if (views & ViewConditions)
        editor_->showConditionGrid();
}

void ConditionsPage::selectFirstRows() {
    selectRow(1);
    editor_->showCondition(1);
}

void ConditionsPage::setTransferRunning(bool running) {
    apply_->setEnabled(!running);
    clear_->setEnabled(!running);
}

void ConditionsPage::selectRow(int row) {
    const QSignalBlocker block(grid_);
    grid_->setCurrentCell(row - 1, 0);
    grid_->selectRow(row - 1);
}

QString ConditionsPage::cell(int row, int column) const {
    const QTableWidgetItem* item = grid_->item(row, column);
    return item ? item->text() : QString();
}

void ConditionsPage::drawGrid() {
    const auto& rows = editor_->grid();
    for (int r = 0; r < kConditionCount; ++r)
        for (int c = 0; c < kConditionColumns; ++c) {
            QTableWidgetItem* item = grid_->item(r, c);
            item->setText(rows[r][c]);
            item->setToolTip(rows[r][c]);
        }
}

void ConditionsPage::drawPanel() {
    const ConditionPanel& p = editor_->panel();
    operand1_->setTitle(p.operand1Title);
    operand2_->setTitle(p.operand2Title);
    operand1_->setVisible(p.adr1 || p.num1 || p.time1);
    operand2_->setVisible(p.adr2 || p.num2 || p.time2 || p.numberFlag || p.numberGroup || p.setPoints);
    operand1Form_->setRowVisible(adr1_, p.adr1);
    operand1Form_->setRowVisible(num1_, p.num1);
    operand1Form_->setRowVisible(time1_, p.time1);
    setCaption(operand1Form_, num1_, p.num1Caption);
    operand2Form_->setRowVisible(adr2_, p.adr2);
    operand2Form_->setRowVisible(num2_, p.num2);
    operand2Form_->setRowVisible(time2_, p.time2);
    operand2Form_->setRowVisible(numberFlag_, p.numberFlag);
    operand2Form_->setRowVisible(numberGroup_, p.numberGroup);
    operand2Form_->setRowVisible(setPoints_, p.setPoints);
    setCaption(operand2Form_, adr2_, p.adr2Caption);
    setCaption(operand2Form_, num2_, p.num2Caption);
    output_->setVisible(p.outputGroup);
    outputButtons_[kOutputAnalog]->setVisible(p.outputAnalog);
    outputButtons_[kOutputDiscrete]->setVisible(p.outputDiscrete);
    outputButtons_[kOutputNone]->setVisible(p.outputNone);
    outputForm_->setRowVisible(outputTypeRow_, p.outputAnalog || p.outputDiscrete || p.outputNone);
    outputForm_->setRowVisible(outAddress_, p.outAddress);
    outputForm_->setRowVisible(ifValue_, p.values);
    outputForm_->setRowVisible(elseValue_, p.values);
    outputForm_->setRowVisible(priorityRow_, p.values);
    setCaption(outputForm_, ifValue_, p.ifCaption);
    setCaption(outputForm_, elseValue_, p.elseCaption);
}

} // namespace vextor
