#include "NodeCode.h"

namespace vextor {

using namespace node_code;

int nodeCode(DeviceSlot device, NodeRole role) {
    const int offset = static_cast<int>(role);
    switch (device.kind) {
    case DeviceKind::Master:
        return kMasterDevice + offset;
    case DeviceKind::Slave:
        return kSlaveBase + kStride * (device.slot - 1) + offset;
    case DeviceKind::Single:
        break;
    }
    return kSingleBase + kStride * (device.slot - 1) + offset;
}

std::optional<NodeRef> decodeNodeCode(int code) {
    if (code >= kMasterDevice && code <= kMasterDevice + 4)
        return NodeRef{{DeviceKind::Master, 0}, static_cast<NodeRole>(code - kMasterDevice)};
    auto inRange = [code](int base, int count, DeviceKind kind) -> std::optional<NodeRef> {
        if (code < base || code >= base + kStride * count)
            return std::nullopt;
        const int offset = (code - base) % kStride;
        if (offset > 4)
            return std::nullopt; // 105 + 6(i-1) and 505 + 6(j-1) belong to nothing
        return NodeRef{{kind, (code - base) / kStride + 1}, static_cast<NodeRole>(offset)};
    };
    if (auto r = inRange(kSlaveBase, kMaxSlaves, DeviceKind::Slave))
        return r;
    return inRange(kSingleBase, kMaxSingles, DeviceKind::Single);
}

int deviceIndexOf(DeviceSlot device) {
    switch (device.kind) {
    case DeviceKind::Master:
        return device_index::kMaster;
    case DeviceKind::Slave:
        return device_index::kSlaveLine + device.slot;
    case DeviceKind::Single:
        break;
    }
    return device_index::kSlaveLine + kMaxSlaves + device.slot;
}

std::optional<DeviceSlot> deviceOfIndex(int deviceIndex) {
    if (deviceIndex == device_index::kMaster)
        return DeviceSlot{DeviceKind::Master, 0};
    const int slave = deviceIndex - device_index::kSlaveLine;
    if (slave >= 1 && slave <= kMaxSlaves)
        return DeviceSlot{DeviceKind::Slave, slave};
    const int single = slave - kMaxSlaves;
    if (single >= 1 && single <= kMaxSingles)
        return DeviceSlot{DeviceKind::Single, single};
    return std::nullopt;
}

std::optional<int> deviceIndexOfLinkNode(int code) {
    if (code == kSlaveLineLink)
        return device_index::kSlaveLine;
    const auto ref = decodeNodeCode(code);
    if (!ref || ref->role != NodeRole::Link)
        return std::nullopt;
    return deviceIndexOf(ref->device);
}

int fileStateRowOf(DeviceSlot device) {
    switch (device.kind) {
    case DeviceKind::Master:
        return 1;
    case DeviceKind::Slave:
        return 1 + device.slot;
    case DeviceKind::Single:
        break;
    }
    return 1 + kMaxSlaves + device.slot;
}

} // namespace vextor
