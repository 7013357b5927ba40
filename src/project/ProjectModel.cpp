#include "ProjectModel.h"

#include "texts.h"

namespace vextor {

DeviceRecord& ProjectModel::record(DeviceSlot d) {
    switch (d.kind) {
    case DeviceKind::Master:
        return Master;
    case DeviceKind::Slave:
        return Slaves.at(d.slot - 1);
    case DeviceKind::Single:
        break;
    }
    return Singles.at(d.slot - 1);
}

const DeviceRecord& ProjectModel::record(DeviceSlot d) const {
    return const_cast<ProjectModel*>(this)->record(d);
}

uint8_t ProjectModel::protocolOf(DeviceSlot d) const {
    return d.kind == DeviceKind::Slave ? SlaveLineProtocol : record(d).Protocol;
}

void ProjectModel::setProtocolOf(DeviceSlot d, uint8_t protocol) {
    if (d.kind == DeviceKind::Slave)
        SlaveLineProtocol = protocol;
    else
        record(d).Protocol = protocol;
}

bool ProjectModel::isShown(DeviceSlot d) const {
    switch (d.kind) {
    case DeviceKind::Master:
        return MasterCount == 1;
    case DeviceKind::Slave:
        return SlaveCount != 0 && !record(d).Name.isEmpty();
    case DeviceKind::Single:
        break;
    }
    return SingleCount != 0 && !record(d).Name.isEmpty();
}

uint32_t& ProjectModel::fileState(DeviceSlot d, FileRole role) {
    return FileState.at(fileStateRowOf(d) - 1).at(static_cast<int>(role));
}

uint32_t ProjectModel::fileState(DeviceSlot d, FileRole role) const {
    return const_cast<ProjectModel*>(this)->fileState(d, role);
}

QString ProjectModel::displayName(DeviceSlot d) const {
    const QString& name = record(d).Name;
    if (d.kind == DeviceKind::Master && name.isEmpty())
        return project_texts::kDefaultMasterName + QString::number(MasterCount);
    return name;
}

} // namespace vextor
