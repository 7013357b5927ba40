#pragma once
// The integer codes that the project tree's nodes carry, and the other numberings of the project's
// devices (link-settings records, file check rows), with the lookups between them.
#include "DeviceRecord.h"

#include <optional>

namespace vextor {

namespace node_code {
inline constexpr int kGroup = 0; // "Конфигурация" and "События"
inline constexpr int kRoot = 1;
inline constexpr int kMasterDevice = 2;
inline constexpr int kSlaveLine = 8;
inline constexpr int kSlaveLineLink = 9;
inline constexpr int kSlaveBase = 100;
inline constexpr int kSingleBase = 500;
inline constexpr int kStride = 6;
} // namespace node_code

// What a device's node code + offset stands for.
enum class NodeRole { Device = 0, Link = 1, ConfigFile = 2, EventsFile = 3, VisualFile = 4 };

struct DeviceSlot {
    DeviceKind kind = DeviceKind::Master;
    int slot = 0; // 1-based for slaves and singles, 0 for the master
    bool operator==(const DeviceSlot&) const = default;
};

struct NodeRef {
    DeviceSlot device;
    NodeRole role = NodeRole::Device;
    bool operator==(const NodeRef&) const = default;
};

int nodeCode(DeviceSlot device, NodeRole role);
inline int deviceNodeCode(DeviceSlot device) {
    return nodeCode(device, NodeRole::Device);
}
// The device, slot and role of a code; nullopt for 0, 1, 8, 9, the unused codes and anything else.
std::optional<NodeRef> decodeNodeCode(int code);

inline bool isFileRole(NodeRole r) {
    return r == NodeRole::ConfigFile || r == NodeRole::EventsFile || r == NodeRole::VisualFile;
}
inline FileRole fileRoleOf(NodeRole r) {
    return static_cast<FileRole>(static_cast<int>(r) - 2);
}
inline NodeRole nodeRoleOf(FileRole r) {
    return static_cast<NodeRole>(static_cast<int>(r) + 2);
}

// Link-settings records: 1 the line's port alone, 2 the master, 3 the slave line, 3 + i slave i,
// 11 + j single j.
namespace device_index {
inline constexpr int kPort = 1;
inline constexpr int kMaster = 2;
inline constexpr int kSlaveLine = 3;
inline constexpr int kFirst = 1;
inline constexpr int kLast = 27;
} // namespace device_index
int deviceIndexOf(DeviceSlot device);
std::optional<DeviceSlot> deviceOfIndex(int deviceIndex);
// The record a "Связь" node edits: 3 -> 2, 9 -> 3, 101 + 6(i-1) -> 3 + i, 501 + 6(j-1) -> 11 + j.
std::optional<int> deviceIndexOfLinkNode(int code);

// File check rows: 1 master, 1 + i slave i, 9 + j single j (1..25).
inline constexpr int kFileStateRows = 25;
int fileStateRowOf(DeviceSlot device);

// Every device slot in the project's fixed order: master, slaves 1..8, singles 1..16.
template <class F> void forEachSlot(F&& f) {
    f(DeviceSlot{DeviceKind::Master, 0});
    for (int i = 1; i <= kMaxSlaves; ++i)
        f(DeviceSlot{DeviceKind::Slave, i});
    for (int j = 1; j <= kMaxSingles; ++j)
        f(DeviceSlot{DeviceKind::Single, j});
}

} // namespace vextor
