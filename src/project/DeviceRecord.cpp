#include "DeviceRecord.h"

#include "texts.h"

namespace vextor {

namespace t = project_texts;

DeviceRecord slotDefaults(DeviceKind kind, int slot) {
    DeviceRecord r;
    if (kind != DeviceKind::Master) {
        r.ZarnetAddress = static_cast<uint8_t>(slot);
        r.ModbusAddress = static_cast<uint8_t>(slot + 99);
    }
    r.ConfigFile = noFileText(kind, FileRole::Config);
    r.EventsFile = noFileText(kind, FileRole::Events);
    r.VisualFile = noFileText(kind, FileRole::Visual);
    return r;
}

const QString& noFileText(DeviceKind kind, FileRole role) {
    switch (kind) {
    case DeviceKind::Master:
        return role == FileRole::Config   ? t::kNoConfigMaster
               : role == FileRole::Events ? t::kNoEventsMaster
                                          : t::kNoVisualMaster;
    case DeviceKind::Slave:
        return role == FileRole::Config   ? t::kNoConfigSlave
               : role == FileRole::Events ? t::kNoEventsSlave
                                          : t::kNoVisualSlave;
    case DeviceKind::Single:
        break;
    }
    return role == FileRole::Config   ? t::kNoConfigSingle
           : role == FileRole::Events ? t::kNoEventsSingle
                                      : t::kNoVisualSingle;
}

QString& fileField(DeviceRecord& record, FileRole role) {
    return role == FileRole::Config   ? record.ConfigFile
           : role == FileRole::Events ? record.EventsFile
                                      : record.VisualFile;
}

const QString& fileField(const DeviceRecord& record, FileRole role) {
    return fileField(const_cast<DeviceRecord&>(record), role);
}

QString kindSuffix(DeviceKind kind, int slot) {
    switch (kind) {
    case DeviceKind::Master:
        return t::kMasterSuffix;
    case DeviceKind::Slave:
        return t::kSlaveSuffixHead + QString::number(slot) + t::kSuffixTail;
    case DeviceKind::Single:
        break;
    }
    return t::kSingleSuffixHead + QString::number(slot) + t::kSuffixTail;
}

} // namespace vextor
