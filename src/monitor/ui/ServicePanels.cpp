#include "ServicePanels.h"

#include "EntryKeyFilter.h"
#include "monitor/ServiceMenus.h"
#include "monitor/texts.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace vextor::monitor {

namespace t = monitor_texts;

namespace {

QLineEdit* shortEdit(QWidget* parent, const QString& name, const QString& widest) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(widest) + 16);
    return edit;
}

// A function that hides panel, if it is still there when the answer comes.
std::function<void()> closer(QGroupBox* panel) {
    return [panel = QPointer<QGroupBox>(panel)] {
        if (panel)
            panel->hide();
    };
}

} // namespace

ServicePanels::ServicePanels(ServiceMenus& menus, QWidget* host) : QObject(host), menus_(menus), host_(host) {
    output_ = new QMenu(t::kOutputMenu, host);
    output_->addAction(t::kDiscreteItem, this, [this] { open(discrete_); });
    output_->addAction(t::kAnalogItem, this, [this] { open(analog_); });
    for (const QString& idle : {t::kFrequencyItem, t::kReadStateItem, t::kModbusItem})
        output_->addAction(idle)->setEnabled(false);

    ram_ = new QMenu(t::kRamMenu, host);
    ram_->addAction(t::kHotWaterTemperature, this, [this] {
        openParameter(static_cast<int>(ServiceMenus::Parameter::HotWaterTemperature),
                      t::kHotWaterTemperature);
    });
    ram_->addAction(t::kHotWaterKProp, this, [this] {
        openParameter(static_cast<int>(ServiceMenus::Parameter::HotWaterKProp), t::kHotWaterKProp);
    });
    ram_->addAction(t::kConditionSetPointItem, this, [this] { open(condition_); });

    sound_ = new QAction(t::kSoundMenu, this);
    connect(sound_, &QAction::triggered, this, [this] { toggleSound(); });

    discrete_ = buildDiscretePanel();
    analog_ = buildAnalogPanel();
    parameter_ = buildParameterPanel();
    condition_ = buildConditionPanel();
}

QList<QAction*> ServicePanels::menuActions() const {
    return {output_->menuAction(), ram_->menuAction(), sound_};
}

void ServicePanels::setEnabled(bool enabled) {
    for (QAction* a : menuActions())
        a->setEnabled(enabled);
    for (QGroupBox* panel : panels_)
        panel->setEnabled(enabled);
}

QAction* ServicePanels::item(const QString& text) const {
    for (const QMenu* menu : {output_, ram_})
        for (QAction* a : menu->actions())
            if (a->text() == text)
                return a;
    return sound_->text() == text ? sound_ : nullptr;
}

QGroupBox* ServicePanels::openPanel() const {
    for (QGroupBox* panel : panels_)
        if (!panel->isHidden())
            return panel;
    return nullptr;
}

QGroupBox* ServicePanels::newPanel(const QString& caption) {
    auto* panel = new QGroupBox(caption, host_);
    // The panel lies over the chart: it needs a background of its own.
    panel->setAutoFillBackground(true);
    // The frame's width goes by its contents; the caption must still be read whole.
    panel->setMinimumWidth(panel->fontMetrics().horizontalAdvance(caption) + 32);
    panel->hide();
    panels_.append(panel);
    return panel;
}

void ServicePanels::open(QGroupBox* panel) {
    for (QGroupBox* other : panels_)
        if (other != panel)
            other->hide();
    panel->adjustSize();
    panel->move(kPanelPlace);
    panel->show();
    panel->raise();
    if (auto* first = panel->findChild<QLineEdit*>())
        first->setFocus();
}

QGroupBox* ServicePanels::buildDiscretePanel() {
    QGroupBox* panel = newPanel(t::kDiscretePanel);
    auto* grid = new QGridLayout(panel);
    QLineEdit* address = shortEdit(panel, QStringLiteral("address"), QStringLiteral("0000"));
    QLineEdit* number = shortEdit(panel, QStringLiteral("number"), QStringLiteral("0000"));
    auto* on = new QCheckBox(t::kOnOffBox, panel);
    on->setObjectName(QStringLiteral("on"));
    grid->addWidget(new QLabel(t::kAddressField, panel), 0, 0);
    grid->addWidget(new QLabel(t::kNumberField, panel), 0, 1);
    grid->addWidget(address, 1, 0);
    grid->addWidget(number, 1, 1);
    grid->addWidget(on, 1, 2);
    auto* execute = new QPushButton(t::kExecute, panel);
    auto* escape = new QPushButton(t::kEscape, panel);
    grid->addWidget(execute, 2, 0, 1, 2);
    grid->addWidget(escape, 2, 2);
    connect(execute, &QPushButton::clicked, this, [this, panel, address, number, on] {
        menus_.setDiscreteOutput(address->text(), number->text(), on->isChecked(), closer(panel));
    });
    connect(escape, &QPushButton::clicked, panel, &QWidget::hide);
    return panel;
}

QGroupBox* ServicePanels::buildAnalogPanel() {
    QGroupBox* panel = newPanel(t::kAnalogPanel);
    auto* grid = new QGridLayout(panel);
    QLineEdit* address = shortEdit(panel, QStringLiteral("address"), QStringLiteral("0000"));
    QLineEdit* number = shortEdit(panel, QStringLiteral("number"), QStringLiteral("0000"));
    QLineEdit* volts = shortEdit(panel, QStringLiteral("volts"), QStringLiteral("00,000"));
    grid->addWidget(new QLabel(t::kAddressField, panel), 0, 0);
    grid->addWidget(new QLabel(t::kNumberField, panel), 0, 1);
    grid->addWidget(new QLabel(t::kVoltsField, panel), 0, 2);
    grid->addWidget(address, 1, 0);
    grid->addWidget(number, 1, 1);
    grid->addWidget(volts, 1, 2);
    auto* execute = new QPushButton(t::kExecute, panel);
    auto* escape = new QPushButton(t::kEscape, panel);
    grid->addWidget(execute, 2, 0, 1, 2);
    grid->addWidget(escape, 2, 2);
    connect(execute, &QPushButton::clicked, this, [this, panel, address, number, volts] {
        menus_.setAnalogOutput(address->text(), number->text(), volts->text(), closer(panel));
    });
    connect(escape, &QPushButton::clicked, panel, &QWidget::hide);
    return panel;
}

QGroupBox* ServicePanels::buildParameterPanel() {
    QGroupBox* panel = newPanel(QString());
    auto* column = new QVBoxLayout(panel);
    parameterLabel_ = new QLabel(panel);
    parameterValue_ = shortEdit(panel, QStringLiteral("value"), QStringLiteral("-00000,000"));
    column->addWidget(parameterLabel_);
    column->addWidget(parameterValue_);
    auto* buttons = new QHBoxLayout;
    auto* write = new QPushButton(t::kWrite, panel);
    auto* cancel = new QPushButton(t::kCancel, panel);
    buttons->addWidget(write);
    buttons->addWidget(cancel);
    column->addLayout(buttons);
    connect(write, &QPushButton::clicked, this, [this, panel] {
        menus_.writeParameter(static_cast<ServiceMenus::Parameter>(parameterKind_), parameterValue_->text(),
                              closer(panel));
    });
    connect(cancel, &QPushButton::clicked, panel, &QWidget::hide);
    return panel;
}

void ServicePanels::openParameter(int kind, const QString& caption) {
    parameterKind_ = kind;
    parameterLabel_->setText(caption);
    parameterValue_->clear();
    open(parameter_);
}

QGroupBox* ServicePanels::buildConditionPanel() {
    QGroupBox* panel = newPanel(t::kConditionSetPointPanel);
    auto* grid = new QGridLayout(panel);
    QLineEdit* number = shortEdit(panel, QStringLiteral("number"), QStringLiteral("0000"));
    QLineEdit* value = shortEdit(panel, QStringLiteral("value"), QStringLiteral("-00000,000"));
    // The number takes digits only in effect (a comma is refused when it is read); a set point may
    // lie below zero, so its field takes a minus too, and a point for the comma.
    (new EntryKeyFilter(QStringLiteral("0123456789,"), false, panel))->watch(number);
    EntryKeyFilter::signedDecimal(panel)->watch(value);
    grid->addWidget(new QLabel(t::kConditionSetPointFields, panel), 0, 0, 1, 3);
    grid->addWidget(number, 1, 0);
    grid->addWidget(value, 1, 1, 1, 2);
    auto* read = new QPushButton(t::kRead, panel);
    auto* write = new QPushButton(t::kWrite, panel);
    auto* cancel = new QPushButton(t::kCancel, panel);
    grid->addWidget(read, 2, 0);
    grid->addWidget(write, 2, 1);
    grid->addWidget(cancel, 2, 2);
    connect(read, &QPushButton::clicked, this, [this, number, value] {
        menus_.readConditionSetPoint(number->text(),
                                     [value = QPointer<QLineEdit>(value)](const QString& text) {
                                         if (value)
                                             value->setText(text);
                                     });
    });
    connect(write, &QPushButton::clicked, this,
            [this, number, value] { menus_.writeConditionSetPoint(number->text(), value->text()); });
    connect(cancel, &QPushButton::clicked, panel, &QWidget::hide);
    return panel;
}

void ServicePanels::toggleSound() {
    if (!heldSound)
        return;
    menus_.toggleSound(heldSound(), soundWritten);
}

} // namespace vextor::monitor
