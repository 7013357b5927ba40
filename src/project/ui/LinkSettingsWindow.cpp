#include "LinkSettingsWindow.h"

#include "link/ui/ModbusLineControls.h"

#include "LinkDetailsWindow.h"
#include "link/ModbusParams.h"
#include "link/SerialPort.h"
#include "project/LinkSettingsTexts.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vextor {

namespace t = link_settings_texts;

namespace {

QLabel* valueLabel(QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setMinimumWidth(60);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

} // namespace

LinkSettingsWindow::LinkSettingsWindow(Project& project, UserDialogs& dialogs, LinkDetailsWindow* more,
                                       QWidget* parent)
    : QDialog(parent), settings_(project, dialogs), more_(more) {
    setWindowTitle(t::kLinkWindow);
    auto* layout = new QVBoxLayout(this);
    pages_ = new QTabWidget(this);
    portPage_ = buildPortPage();
    protocolPage_ = buildProtocolPage();
    pages_->addTab(portPage_, t::kPortPage);
    pages_->addTab(protocolPage_, t::kProtocolPage);
    layout->addWidget(pages_);
    auto* close = new QPushButton(t::kClose, this);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    layout->addWidget(close, 0, Qt::AlignRight);
}

QWidget* LinkSettingsWindow::buildPortPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->addWidget(new QLabel(t::kConnectedVia, page), 0, 0);
    port_ = valueLabel(page);
    grid->addWidget(port_, 0, 1);
    changePort_ = new QPushButton(t::kChangeChoice, page);
    grid->addWidget(changePort_, 0, 2);
    connect(changePort_, &QPushButton::clicked, this, [this] {
        settings_.changePort();
        fill();
    });

    // The port number is bound to one of the serial devices of this machine.
    grid->addWidget(new QLabel(t::kDevicePath, page), 1, 0);
    devices_ = new QComboBox(page);
    devices_->setEditable(true);
    devices_->setMinimumWidth(200);
    grid->addWidget(devices_, 1, 1);
    auto* bind = new QPushButton(t::kBindDevice, page);
    grid->addWidget(bind, 1, 2);
    devicePath_ = new QLabel(page);
    grid->addWidget(devicePath_, 2, 0, 1, 3);
    connect(bind, &QPushButton::clicked, this, [this] {
        const QString path = devices_->currentText().trimmed();
        const bool saved =
            path.isEmpty() || bindPortPath(settings_.view.portText.mid(t::kCom.size()).toInt(), path);
        fillDevices();
        if (!saved)
            devicePath_->setText(devicePath_->text() + t::kBindNotSaved);
    });

    auto* extra = new QPushButton(t::kMore, page);
    grid->addWidget(extra, 3, 2);
    connect(extra, &QPushButton::clicked, this, [this] {
        if (more_) {
            more_->refresh();
            more_->show();
            more_->raise();
        }
    });
    grid->setRowStretch(4, 1);
    return page;
}

QWidget* LinkSettingsWindow::buildProtocolPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);

    auto* choice = new QGroupBox(t::kProtocolGroup, page);
    auto* choiceLayout = new QHBoxLayout(choice);
    protocol_ = new QButtonGroup(this);
    auto* zarnet = new QRadioButton(t::kZarnet, choice);
    auto* modbus = new QRadioButton(t::kModbus, choice);
    protocol_->addButton(zarnet, kProtocolZarnet);
    protocol_->addButton(modbus, kProtocolModbus);
    choiceLayout->addWidget(zarnet);
    choiceLayout->addWidget(modbus);
    protocolChoice_ = {zarnet, modbus};
    layout->addWidget(choice);
    // A click (never a fill) stores, then shows the chosen protocol's page.
    connect(protocol_, &QButtonGroup::idClicked, this, [this](int id) {
        settings_.chooseProtocol(static_cast<uint8_t>(id));
        fill();
    });

    protocolPages_ = new QStackedWidget(page);
    layout->addWidget(protocolPages_);

    auto* zarnetPage = new QWidget;
    auto* zl = new QGridLayout(zarnetPage);
    zl->addWidget(new QLabel(t::kZarnetAddress, zarnetPage), 0, 0);
    zarnet_ = valueLabel(zarnetPage);
    zl->addWidget(zarnet_, 0, 1);
    auto* zarnetGroup = new QGroupBox(t::kChangeZarnetGroup, zarnetPage);
    auto* zg = new QHBoxLayout(zarnetGroup);
    otherAddress_ = new QPushButton(t::kOtherAddress, zarnetGroup);
    address127_ = new QPushButton(t::kAddress127, zarnetGroup);
    zg->addWidget(otherAddress_);
    zg->addWidget(address127_);
    zl->addWidget(zarnetGroup, 1, 0, 1, 2);
    zl->setRowStretch(2, 1);
    connect(otherAddress_, &QPushButton::clicked, this, [this] {
        settings_.otherZarnetAddress();
        fill();
    });
    connect(address127_, &QPushButton::clicked, this, [this] {
        settings_.zarnetAddress127();
        fill();
    });
    protocolPages_->addWidget(zarnetPage); // index 0: Zarnet

    auto* modbusPage = new QWidget;
    auto* ml = new QGridLayout(modbusPage);
    ml->addWidget(new QLabel(t::kModbusAddress, modbusPage), 0, 0);
    modbus_ = valueLabel(modbusPage);
    ml->addWidget(modbus_, 0, 1);
    changeModbus_ = new QPushButton(t::kChangeModbusAddress, modbusPage);
    ml->addWidget(changeModbus_, 0, 2);
    connect(changeModbus_, &QPushButton::clicked, this, [this] {
        settings_.changeModbusAddress();
        fill();
    });
    auto* setup = new QGroupBox(t::kProtocolSetup, modbusPage);
    auto* sl = new QGridLayout(setup);
    sl->addWidget(new QLabel(t::kParity, setup), 0, 0);
    const ModbusLineControls line = makeModbusLineControls(setup, this);
    frame_ = line.frame;
    sl->addWidget(frame_, 0, 1);
    sl->addWidget(new QLabel(t::kSpeed, setup), 1, 0);
    baud_ = line.speed;
    baud_->setCurrentIndex(1);
    sl->addWidget(baud_, 1, 1);
    QGroupBox* floatBox = line.floatBox;
    float_ = line.floatChoice;
    sl->addWidget(floatBox, 2, 0, 1, 2);
    ml->addWidget(setup, 1, 0, 1, 3);
    ml->setRowStretch(2, 1);
    lineControls_ = {frame_, baud_, floatBox};
    connect(frame_, &QComboBox::activated, this, [this](int i) {
        settings_.setFrame(i);
        fill();
    });
    connect(baud_, &QComboBox::activated, this, [this](int i) {
        settings_.setBaud(i);
        fill();
    });
    connect(float_, &QButtonGroup::idClicked, this, [this](int i) {
        settings_.setFloat(i);
        fill();
    });
    protocolPages_->addWidget(modbusPage); // index 1: Modbus
    return page;
}

void LinkSettingsWindow::fillDevices() {
    const int n = settings_.view.portText.mid(t::kCom.size()).toInt();
    const QString current = n > 0 ? resolvePortPath(n) : QString();
    // Only devices that are there are offered; a binding to one that is gone is named as such
    // below the list instead of being offered as if it could be opened.
    const QStringList devices = listSerialDevices();
    const bool present = devices.contains(current);
    const QSignalBlocker block(devices_);
    devices_->clear();
    devices_->addItems(devices);
    devices_->setCurrentIndex(present ? devices.indexOf(current) : -1);
    devicePath_->setText(settings_.view.portText + QStringLiteral(" → ") + current +
                         (present || current.isEmpty() ? QString() : t::kDeviceMissing));
}

void LinkSettingsWindow::fill() {
    const LinkSettingsView& v = settings_.view;
    setWindowTitle(v.caption);
    port_->setText(v.portText);
    fillDevices();

    pages_->setTabVisible(0, v.portPageVisible);
    pages_->setTabVisible(1, v.protocolPageVisible);
    pages_->setCurrentIndex(v.portPageVisible ? 0 : 1);
    // One page at a time: the other page's tab is hidden, so the visible one cannot be switched
    // away from; it stays drawn as the live page it is.

    const QSignalBlocker b1(protocol_), b2(frame_), b3(baud_), b4(float_);
    protocol_->button(v.protocol == kProtocolModbus ? kProtocolModbus : kProtocolZarnet)->setChecked(true);
    protocolPages_->setCurrentIndex(v.protocol == kProtocolModbus ? 1 : 0);
    zarnet_->setText(v.zarnetAddressText);
    modbus_->setText(v.modbusAddressText);
    frame_->setCurrentIndex(v.frameIndex);
    baud_->setCurrentIndex(v.baudIndex);
    float_->button(v.floatIndex)->setChecked(true);

    for (QWidget* w : protocolChoice_)
        w->setEnabled(v.protocolEnabled);
    otherAddress_->setEnabled(v.zarnetEnabled);
    address127_->setEnabled(v.zarnetEnabled);
    zarnet_->setEnabled(v.zarnetEnabled);
    changeModbus_->setEnabled(v.modbusEnabled);
    modbus_->setEnabled(v.modbusEnabled);
    for (QWidget* w : lineControls_)
        w->setEnabled(v.lineEnabled);
    if (more_)
        more_->refresh();
}

void LinkSettingsWindow::openPortMode() {
    settings_.openPortMode();
    fill();
    show();
    raise();
    activateWindow();
}

void LinkSettingsWindow::openDevice(int deviceIndex) {
    if (!settings_.openDevice(deviceIndex))
        return;
    fill();
    show();
    raise();
    activateWindow();
}

} // namespace vextor
