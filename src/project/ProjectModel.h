#pragma once
// The project as it is stored: the line's settings, the active link and every device slot.
#include "DeviceRecord.h"
#include "NodeCode.h"

#include <array>
#include <cstdint>

namespace vextor {

// The working window the main window shows (ProjectModel::WorkMode); a change takes effect at the
// next refresh.
namespace work_mode {
inline constexpr uint8_t kMonitor = 0;
inline constexpr uint8_t kConfiguration = 1;
inline constexpr uint8_t kEvents = 2;
inline constexpr uint8_t kDevice = 3;
} // namespace work_mode

// Bit 0 of a word: the file named in the record was not found at the last check.
inline constexpr uint32_t kFileMissingBit = 1;
using FileStateRow = std::array<uint32_t, 3>; // configuration, events, visualisation
using FileStateTable = std::array<FileStateRow, kFileStateRows>;

struct ProjectModel {
    QString ProjectPath;
    uint8_t PortNumber = 1;
    uint8_t WorkMode = work_mode::kConfiguration;
    uint8_t Reserved1 = 0;
    uint8_t Reserved2 = 0;
    uint8_t ActiveProtocol = kProtocolZarnet;
    // The active link's addresses as last stored in or read from the project file; while a
    // project is open the live values sit in the link and the configuration image.
    uint8_t ActiveZarnetAddress = 3;
    uint8_t ActiveModbusAddress = 2;
    uint8_t ActiveMbParams = 1;
    uint8_t MasterCount = 0;
    DeviceRecord Master = slotDefaults(DeviceKind::Master, 0);
    uint8_t SlaveCount = 0;
    uint8_t SlaveLineProtocol = kProtocolZarnet;
    std::array<DeviceRecord, kMaxSlaves> Slaves = makeSlots<kMaxSlaves>(DeviceKind::Slave);
    uint8_t SingleCount = 0;
    std::array<DeviceRecord, kMaxSingles> Singles = makeSlots<kMaxSingles>(DeviceKind::Single);
    FileStateTable FileState{};

    bool operator==(const ProjectModel&) const = default;

    DeviceRecord& record(DeviceSlot d);
    const DeviceRecord& record(DeviceSlot d) const;
    // The protocol by which the device is reached: slaves share the slave line's.
    uint8_t protocolOf(DeviceSlot d) const;
    void setProtocolOf(DeviceSlot d, uint8_t protocol);
    // Whether the tree shows the device (see RebuildTree): the master while counted, a slave or a
    // single while its group is counted and its name is not empty.
    bool isShown(DeviceSlot d) const;
    uint32_t& fileState(DeviceSlot d, FileRole role);
    uint32_t fileState(DeviceSlot d, FileRole role) const;
    // The name the tree gives the device; an unnamed master is shown as "Имя мастера 1".
    QString displayName(DeviceSlot d) const;

private:
    template <int N> static std::array<DeviceRecord, N> makeSlots(DeviceKind kind) {
        std::array<DeviceRecord, N> a;
        for (int i = 0; i < N; ++i)
            a[i] = slotDefaults(kind, i + 1);
        return a;
    }
};

} // namespace vextor
