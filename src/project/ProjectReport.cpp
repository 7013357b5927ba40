#include "ProjectReport.h"

#include "ProjectPaths.h"
#include "texts.h"

#include <QFileInfo>

namespace vextor {

namespace t = project_texts;

QString mbFrameText(uint8_t mbParams) {
    return QString::fromUtf8(link_texts::kModbusFrames[static_cast<size_t>(mbFrameIndex(mbParams))]);
}

QString mbFloatOrderText(uint8_t mbParams) {
    return mbFloatOrderIndex(mbParams) == 1 ? t::kExponentFirst : t::kMantissaFirst;
}

namespace {

QString protocolText(uint8_t protocol) {
    return protocol == kProtocolModbus ? t::kShowModbus : t::kShowZarnet;
}

QString kindText(DeviceSlot d) {
    switch (d.kind) {
    case DeviceKind::Master:
        return t::kShowMaster;
    case DeviceKind::Slave:
        return t::kShowSlave.arg(d.slot);
    case DeviceKind::Single:
        break;
    }
    return t::kShowSingle.arg(d.slot);
}

} // namespace

QString deviceToolTip(const ProjectModel& model, DeviceSlot d) {
    const DeviceRecord& r = model.record(d);
    const QString kind = d.kind == DeviceKind::Master  ? t::kTipMaster
                         : d.kind == DeviceKind::Slave ? t::kTipSlave.arg(d.slot)
                                                       : t::kTipSingle.arg(d.slot);
    QStringList lines{kind + QStringLiteral(": ") + r.Name, t::kTipPort.arg(model.PortNumber)};
    if (model.protocolOf(d) == kProtocolModbus)
        lines << t::kTipModbus.arg(r.ModbusAddress).arg(mbBaudRate(r.MbParams)).arg(mbFrameText(r.MbParams));
    else
        lines << t::kTipZarnet.arg(r.ZarnetAddress);
    return lines.join(QLatin1Char('\n'));
}

QStringList projectShowLines(const ProjectModel& model,
                             const std::function<bool(const QString&)>& fileExists) {
    auto exists = [&fileExists](const QString& path) {
        return fileExists ? fileExists(path) : QFileInfo(path).isFile();
    };
    QStringList lines;
    lines << t::kShowProject.arg(fileNamePart(model.ProjectPath))
                 .arg(model.PortNumber)
                 .arg(protocolText(model.ActiveProtocol));
    bool any = false;
    forEachSlot([&](DeviceSlot d) {
        if (!model.isShown(d))
            return;
        any = true;
        const DeviceRecord& r = model.record(d);
        lines << t::kShowDevice.arg(kindText(d), model.displayName(d), protocolText(model.protocolOf(d)))
                     .arg(r.ZarnetAddress)
                     .arg(r.ModbusAddress)
                     .arg(mbBaudRate(r.MbParams))
                     .arg(mbFrameText(r.MbParams), mbFloatOrderText(r.MbParams));
        const std::pair<const QString*, FileRole> files[] = {{&t::kShowConfig, FileRole::Config},
                                                             {&t::kShowEvents, FileRole::Events},
                                                             {&t::kShowVisual, FileRole::Visual}};
        for (const auto& [label, role] : files) {
            const QString& path = fileField(r, role);
            const QString state = !hasFile(r, d.kind, role) ? t::kShowNoFile
                                  : exists(path)            ? t::kShowPresent
                                                            : t::kShowMissing;
            lines << *label + path + state;
        }
    });
    if (!any)
        lines << t::kShowNoDevices;
    return lines;
}

namespace {
std::vector<DeviceLinkInfo> devicesWhere(const ProjectModel& model,
                                         const std::function<bool(const QString&)>& matches) {
    std::vector<DeviceLinkInfo> found;
    forEachSlot([&](DeviceSlot d) {
        if (!model.isShown(d) || !matches(model.displayName(d)))
            return;
        const DeviceRecord& r = model.record(d);
        found.push_back({d, model.displayName(d), model.PortNumber, model.protocolOf(d), r.ZarnetAddress,
                         r.ModbusAddress, r.MbParams});
    });
    return found;
}
} // namespace

std::vector<DeviceLinkInfo> projectDevices(const ProjectModel& model) {
    return devicesWhere(model, [](const QString&) { return true; });
}

std::vector<DeviceLinkInfo> findDevicesByName(const ProjectModel& model, const QString& name) {
    auto exact = devicesWhere(model, [&name](const QString& n) { return n == name; });
    if (!exact.empty())
        return exact;
    const QString wanted = name.trimmed();
    return devicesWhere(model, [&wanted](const QString& n) { return n.trimmed() == wanted; });
}

} // namespace vextor
