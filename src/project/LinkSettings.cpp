#include "LinkSettings.h"

#include "link/NetworkPort.h"
#include "link/NumberInput.h"

#include "LinkSettingsTexts.h"
#include "link/AddressLimits.h"
#include "link/ModbusParams.h"
#include "link/SerialPort.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace vextor {

namespace t = link_settings_texts;

uint8_t LinkSettings::composeMbParams(uint8_t old, int baudIndex, int frameIndex, int floatIndex) {
    return vextor::composeMbParams(old, baudIndex, frameIndex, floatIndex);
}

void LinkSettings::loadPort() {
    view.portText = t::kCom + QString::number(project_.model.PortNumber);
}

void LinkSettings::openPortMode() {
    view = LinkSettingsView{};
    view.tag = kPortModeTag;
    view.caption = t::kLinkWindow;
    loadPort();
    view.portPageVisible = true;
    view.protocolPageVisible = false;
}

bool LinkSettings::openDevice(int deviceIndex) {
    ProjectModel& m = project_.model;
    LinkSettingsView v;
    v.tag = deviceIndex;
    v.portPageVisible = false;
    v.protocolPageVisible = true;
    v.portText = t::kCom + QString::number(m.PortNumber);
    uint8_t mbParams = 1;
    if (deviceIndex == device_index::kSlaveLine) {
        v.caption = t::kLinkWithHead + t::kSlaveLineName;
        v.protocol = m.SlaveLineProtocol;
        mbParams = m.Slaves[0].MbParams;
        v.zarnetEnabled = false;
        v.modbusEnabled = false;
    } else {
        const auto d = deviceOfIndex(deviceIndex);
        if (!d)
            return false;
        const DeviceRecord& r = m.record(*d);
        v.caption = t::kLinkWithHead + r.Name;
        v.protocol = m.protocolOf(*d);
        v.zarnetAddressText = QString::number(r.ZarnetAddress);
        v.modbusAddressText = QString::number(r.ModbusAddress);
        mbParams = r.MbParams;
        if (d->kind == DeviceKind::Slave) {
            v.protocolEnabled = false;
            v.lineEnabled = false;
        }
    }
    v.baudIndex = mbBaudIndex(mbParams);
    v.frameIndex = mbFrameIndex(mbParams);
    v.floatIndex = mbFloatOrderIndex(mbParams);
    view = v;
    return true;
}

void LinkSettings::changePort() {
    if (const auto n = askWholeNumber(dialogs_, t::kPortPrompt, project_.model.PortNumber, kMinPortNumber,
                                      kMaxPortNumber)) {
        project_.model.PortNumber = static_cast<uint8_t>(*n);
        loadPort();
        if (portChanged)
            portChanged();
    }
}

void LinkSettings::otherZarnetAddress() {
    if (!dialogs_.askYesNo(t::kAskZarnet, t::kCaption))
        return;
    if (const auto a = askWholeNumber(dialogs_, t::kZarnetPrompt, view.zarnetAddressText.toInt(),
                                      kMinZarnetAddress, kMaxZarnetAddress))
        view.zarnetAddressText = QString::number(*a);
    store();
}

void LinkSettings::zarnetAddress127() {
    if (!dialogs_.askYesNo(t::kAskZarnet, t::kCaption))
        return;
    view.zarnetAddressText = QString::number(kZarnetAnyAddress);
    store();
}

void LinkSettings::changeModbusAddress() {
    if (!dialogs_.askYesNo(t::kAskModbus, t::kCaption))
        return;
    if (const auto a = askWholeNumber(dialogs_, t::kModbusPrompt, view.modbusAddressText.toInt(),
                                      kMinModbusAddress, kMaxModbusAddress)) {
        view.modbusAddressText = QString::number(*a);
        store();
    }
}

void LinkSettings::setBaud(int index) {
    view.baudIndex = index;
    store();
}

void LinkSettings::setFrame(int index) {
    view.frameIndex = index;
    store();
}

void LinkSettings::setFloat(int index) {
    view.floatIndex = index;
    store();
}

void LinkSettings::chooseProtocol(uint8_t protocol) {
    view.protocol = protocol;
    store();
}

void LinkSettings::store() {
    ProjectModel& m = project_.model;
    if (view.tag == kPortModeTag)
        return;
    if (view.tag == device_index::kSlaveLine) {
        m.SlaveLineProtocol = view.protocol;
        for (DeviceRecord& s : m.Slaves)
            s.MbParams = composeMbParams(s.MbParams, view.baudIndex, view.frameIndex, view.floatIndex);
        return;
    }
    const auto d = deviceOfIndex(view.tag);
    if (!d)
        return;
    DeviceRecord& r = m.record(*d);
    r.ZarnetAddress = static_cast<uint8_t>(view.zarnetAddressText.toInt());
    r.ModbusAddress = static_cast<uint8_t>(view.modbusAddressText.toInt());
    if (d->kind == DeviceKind::Slave)
        return; // the slave line's settings are not the slave's to change
    r.Protocol = view.protocol;
    r.MbParams = composeMbParams(r.MbParams, view.baudIndex, view.frameIndex, view.floatIndex);
}

QStringList listSerialDevices() {
    return listSerialDevices(QStringLiteral("/dev"), QStringLiteral("/sys"));
}

QStringList listSerialDevices(const QString& devRoot, const QString& sysRoot) {
    QStringList devices;
    const auto add = [&devices](const QString& path) {
        // A line over the network is listed as the port map names it; it is there when it answers.
        if (!path.isEmpty() && !devices.contains(path) && (QFileInfo::exists(path) || isNetworkPort(path)))
            devices << path;
    };
    const QDir dev(devRoot);
    const QStringList patterns{QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*"),
                               QStringLiteral("ttyAMA*"), QStringLiteral("rfcomm*")};
    for (const QString& name : dev.entryList(patterns, QDir::System | QDir::Files, QDir::Name))
        add(dev.filePath(name));
    // On-board UARTs: /dev/ttyS* exist by the dozen; only those with a real port behind them.
    for (const QString& name :
         dev.entryList({QStringLiteral("ttyS*")}, QDir::System | QDir::Files, QDir::Name)) {
        const QFileInfo driver(QStringLiteral("%1/class/tty/%2/device/driver").arg(sysRoot, name));
        if (driver.exists() && !driver.symLinkTarget().endsWith(QStringLiteral("serial8250")))
            add(dev.filePath(name));
    }
    // Names that survive re-plugging an adapter into another socket.
    const QDir byId(dev.filePath(QStringLiteral("serial/by-id")));
    for (const QString& name : byId.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name))
        add(byId.filePath(name));
    // Devices the port map binds a number to on purpose, pseudo-terminals included; the default
    // guess /dev/ttyUSB<n-1> is only listed when it is really there (the scan above has it then).
    for (int n = kMinPortNumber; n <= kMaxPortNumber; ++n)
        add(qEnvironmentVariable(qPrintable(QStringLiteral("VEXTOR_COM%1").arg(n))));
    QSettings settings(userSettingsPath(), QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("ports"));
    for (const QString& key : settings.childKeys())
        add(settings.value(key).toString());
    return devices;
}

} // namespace vextor
