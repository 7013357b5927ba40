#pragma once
// One controller of the project: its name, how the configurator reaches it and its working files.
#include <QString>
#include <cstdint>

namespace vextor {

enum class DeviceKind { Master, Slave, Single };

inline constexpr int kMaxMasters = 1;
inline constexpr int kMaxSlaves = 8;
inline constexpr int kMaxSingles = 16;
inline constexpr uint8_t kVextorTypeCode = 32;
inline constexpr uint8_t kProtocolZarnet = 1;
inline constexpr uint8_t kProtocolModbus = 0;

struct DeviceRecord {
    QString Name;
    // Slaves do not use it: the slave line's protocol applies to all of them.
    uint8_t Protocol = kProtocolZarnet;
    uint8_t ZarnetAddress = 3;
    uint8_t ModbusAddress = 2;
    uint8_t MbParams = 1;
    QString ConfigFile;
    QString EventsFile;
    QString VisualFile;
    // Kept only for slaves (always the Vextor type code); stored and loaded, nothing more.
    uint8_t TypeCode = kVextorTypeCode;

    bool operator==(const DeviceRecord&) const = default;
};

// The record an empty slot holds (slot 1..8 for slaves, 1..16 for singles, ignored for the master).
DeviceRecord slotDefaults(DeviceKind kind, int slot);

enum class FileRole { Config = 0, Events = 1, Visual = 2 };

// The placeholder that stands for "no file" in one field of one kind of device.
const QString& noFileText(DeviceKind kind, FileRole role);
QString& fileField(DeviceRecord& record, FileRole role);
const QString& fileField(const DeviceRecord& record, FileRole role);
inline bool hasFile(const DeviceRecord& record, DeviceKind kind, FileRole role) {
    return fileField(record, role) != noFileText(kind, role);
}

// "(Vextor Мастер)", "(Vextor ведомый 3)", "(Vextor одиночный 12)".
QString kindSuffix(DeviceKind kind, int slot);

} // namespace vextor
