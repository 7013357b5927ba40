#pragma once
// The project as the command-line tool shows and uses it: a listing of every device with its link
// settings and files, and the lookup of a device's link by its name.
#include "ProjectModel.h"
#include "link/ModbusParams.h"

#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace vextor {

// Modbus line byte in words (the baud rate is mbBaudRate of the link).
QString mbFrameText(uint8_t mbParams);
QString mbFloatOrderText(uint8_t mbParams);

// Every shown device (master, slaves 1..8, singles 1..16) with kind, slot, name, protocol,
// addresses, Modbus settings and files, each file marked as present, missing or absent.
QStringList projectShowLines(const ProjectModel& model,
                             const std::function<bool(const QString&)>& fileExists = {});

// The tree's tooltip of a device: its kind, whole name, port and link settings, so master, slave
// and single can be told apart however narrow the tree is.
QString deviceToolTip(const ProjectModel& model, DeviceSlot device);

struct DeviceLinkInfo {
    DeviceSlot device;
    QString name;
    uint8_t portNumber = 1;
    uint8_t protocol = 1; // 1 Zarnet, 0 Modbus
    uint8_t zarnetAddress = 0;
    uint8_t modbusAddress = 0;
    uint8_t mbParams = 1;
};

// Every shown device in project order: the master, the slaves, the singles.
std::vector<DeviceLinkInfo> projectDevices(const ProjectModel& model);

// The shown devices whose name is the given text (or, failing that, equal to it without leading
// and trailing blanks), in project order; names are free text, so there may be several.
std::vector<DeviceLinkInfo> findDevicesByName(const ProjectModel& model, const QString& name);

} // namespace vextor
