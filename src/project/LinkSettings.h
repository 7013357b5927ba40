#pragma once
// The rules of the link settings window "Связь": which device record it edits, what it shows and
// lets change, the checks of its input boxes and the store into the project model. The window only
// mirrors LinkSettingsView and calls these operations, so every rule runs headless.
#include "link/UserDialogs.h"
#include "project/Project.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>

namespace vextor {

// The window's tag in port mode; in device mode the tag is the device's DeviceIndex.
inline constexpr int kPortModeTag = 1;

struct LinkSettingsView {
    int tag = kPortModeTag;
    QString caption;
    QString portText; // "COM" + number
    uint8_t protocol = kProtocolZarnet;
    QString zarnetAddressText;
    QString modbusAddressText;
    int baudIndex = 1;
    int frameIndex = 0;
    int floatIndex = 0;
    // Device mode: what may be changed.
    bool protocolEnabled = true;
    bool zarnetEnabled = true;
    bool modbusEnabled = true;
    bool lineEnabled = true;
    // Port mode shows only the port page; device mode only the protocol page.
    bool portPageVisible = true;
    bool protocolPageVisible = false;
};

class LinkSettings {
public:
    LinkSettings(Project& project, UserDialogs& dialogs) : project_(project), dialogs_(dialogs) {}

    LinkSettingsView view;
    // The port number changed (the main window shows it in its status bar).
    std::function<void()> portChanged;

    void openPortMode();
    // false for an index that names no device record.
    bool openDevice(int deviceIndex);

    // "Изменить выбор".
    void changePort();
    // "Другой Адрес" and "Адрес 127".
    void otherZarnetAddress();
    void zarnetAddress127();
    // "Изменить адрес ModBus".
    void changeModbusAddress();
    // "Скорость", "Чётность", " формат float", "Выбор протокола связи".
    void setBaud(int index);
    void setFrame(int index);
    void setFloat(int index);
    void chooseProtocol(uint8_t protocol);

    // Writes the view into the record that the tag names.
    void store();

    // The settings byte of the view over the old byte: bits 2 and 3 kept, bit 6 cleared.
    static uint8_t composeMbParams(uint8_t old, int baudIndex, int frameIndex, int floatIndex);

private:
    Project& project_;
    UserDialogs& dialogs_;

    void loadPort();
    // The shared input-box check: the new value, or nothing (cancelled, empty, refused).
};

// Serial devices present on this system, for binding a port number to one of them: USB and ACM
// adapters, on-board UARTs with a real port behind them, the stable /dev/serial/by-id links, and
// whatever the port map binds a number to (a pseudo-terminal of the virtual controller, say), as
// long as it exists. Nothing that is not there is ever offered.
QStringList listSerialDevices();

// The same scan under other roots, for tests: devRoot stands for /dev, sysRoot for /sys.
QStringList listSerialDevices(const QString& devRoot, const QString& sysRoot);

} // namespace vextor
