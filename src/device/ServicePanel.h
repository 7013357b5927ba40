#pragma once
// The service functions of the configuration window's second page: the marked controller's clock,
// its Modbus port settings, reply delay, device-protocol address and sound, its restart and the
// protocol switches. Nothing here talks to the controller itself: every button hands an operation
// to the line, which runs it in its turn of the next tick while the controller answers, and the
// result comes back here to be shown.
#include "line/LineTypes.h"
#include "link/UserDialogs.h"

#include <QDate>
#include <QString>
#include <QTime>
#include <functional>
#include <optional>
#include <set>

namespace vextor {

// The seam to the line: the application runs the operations on the line worker, tests on a link
// of their own.
class ServiceLine {
public:
    virtual ~ServiceLine() = default;
    // op runs on the line in its turn of a tick; done gets its result on the caller's thread, false too when
    // the operation never ran (the mark went, the link did not come up).
    virtual void run(TaskTurn turn, std::function<bool(LineAccess&)> op,
                     std::function<void(bool ok)> done) = 0;
    virtual void queue(LineTask task) = 0;
    // The marked controller's link settings as the project keeps them; nullopt when nothing is marked.
    virtual std::optional<DeviceLink> markedLink() const = 0;
    // Stores new settings in the marked controller's record (the line then reaches it there).
    virtual void storeMarkedLink(const DeviceLink& link) = 0;
};

// What the page shows. The Modbus fields, the delay and the address belong to the page, not to the
// configuration image.
struct ServiceView {
    QDate date;
    QTime time;
    QString modbusAddressText = QStringLiteral("2");
    int speedIndex = 1; // 9600
    int frameIndex = 0;
    int floatIndex = 0; // mant_ord
    QString replyDelayText = QStringLiteral("2");
    QString zarnetAddressText = QStringLiteral("3");
    int soundIndex = -1; // 0 on, 1 off, -1 nothing chosen
};

class ServicePanel {
public:
    ServicePanel(UserDialogs& dialogs, ServiceLine& line);

    ServiceView view;
    // A result changed the view.
    std::function<void()> viewChanged;
    // The marked device's record took a new address or line byte: the line must reach it there.
    std::function<void()> linkChanged;
    // Asked before "Сброс прибора" and "Перейти на ModBus": the live monitor must stop for them. False
    // leaves the operation unqueued. Unset: nothing to stop.
    std::function<bool()> confirmStopVisual;

    // The marked controller's record as the project keeps it: its device-protocol address and Modbus
    // settings; the reply delay is unknown until read. Run when the mark or the record changed.
    void showMarkedDevice();
    // The controller's own Modbus settings, as a configuration read found them (MB_Address, MB_Params).
    void showModbusSettings(uint8_t address, uint8_t mbParams);

    void readClock();
    void takeComputerClock(const QDateTime& now);
    void writeClock();
    void readModbusParams();
    void writeModbusParams();
    void readReplyDelay();
    void changeReplyDelay();
    void changeZarnetAddress();
    void chooseSound(int index);
    void reset();
    void switchToModbus();
    void switchToZarnet();

    // The Modbus line byte the three lists make.
    uint8_t modbusParamsByte() const;

private:
    UserDialogs& dialogs_;
    ServiceLine& line_;

    std::optional<uint8_t> modbusAddress() const;
    void storeModbusInProject();
    void changed();
    void runOnce(TaskTurn turn, std::function<bool(LineAccess&)> op, std::function<void(bool)> done);
    std::set<TaskTurn> pending_; // operations handed to the line and not yet answered
};

} // namespace vextor
