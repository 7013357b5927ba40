#pragma once
// The task loop: all project communication with the marked controller runs in one tick of the
// task timer. A tick opens the project's port for the active protocol, identifies the marked
// controller, runs the operations the windows queued in TaskFlags in a fixed order and closes the
// port again; the port is never held between ticks. The task timer lives with the line worker, on
// the line's own thread: it calls TimerTasksTimer and is switched through the hooks. The loop itself
// is synchronous and thread-agnostic, so tests call it directly.
#include "Project.h"
#include "ProjectLog.h"
#include "config/ConfigImage.h"
#include "config/ConfigObserver.h"
#include "link/ModbusMaster.h"
#include "link/TransferProgress.h"
#include "link/UserDialogs.h"
#include "link/ZarnetLink.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

namespace vextor {

// One flag per queued operation; a tick runs them in the order of the members.
struct TaskFlags {
    bool TaskSwitchToZarnet = false;
    bool TaskReset = false;
    bool TaskReadClock = false;
    bool TaskWriteClock = false;
    bool TaskReadReplyDelay = false;
    bool TaskWriteReplyDelay = false;
    bool TaskWriteZarnetAddress = false;
    bool TaskReadModbusParams = false;
    bool TaskWriteModbusParams = false;
    bool TaskSound = false;
    bool TaskReadConfig = false;
    bool TaskWriteConfig = false;
    bool TaskReadEvents = false;
    bool TaskVisual = false;
    bool TaskSwitchToModbus = false;

    bool any() const;
    bool operator==(const TaskFlags&) const = default;
};

// The active link lives in the link (Zarnet address) and in the configuration image (Modbus address
// and line byte) while the program runs.
class LinkImageBinding : public ActiveLinkBinding {
public:
    LinkImageBinding(ZarnetLink& link, ConfigImage& image) : link_(link), image_(image) {}
    void store(uint8_t zarnetAddress, uint8_t modbusAddress, uint8_t mbParams) override;
    void load(uint8_t& zarnetAddress, uint8_t& modbusAddress, uint8_t& mbParams) const override;

private:
    ZarnetLink& link_;
    ConfigImage& image_;
};

// The operations of tasks that other windows own (device service functions, live monitor). A task
// whose operation is not installed is dropped when its turn comes.
struct DeviceTaskOperations {
    std::function<void()> readClock;
    std::function<void()> writeClock;
    std::function<void()> readReplyDelay;
    std::function<void()> writeReplyDelay;
    std::function<void()> writeZarnetAddress;
    std::function<void()> readModbusParams;
    std::function<void()> writeModbusParams;
    std::function<void()> sound;
    // The live monitor: its step counter (0 .. 9) and one poll step.
    std::function<int()> visualStepCounter;
    std::function<void()> visualPollStep;
};

struct DeviceTaskHooks {
    // Switches the task timer on or off.
    std::function<void(bool on)> setTimerEnabled;
    // The failed identifications, for the link statistics window.
    std::function<void(uint32_t failures)> identFailures;
    // An event read replaced the file: show it in the event viewer and switch to the events view.
    std::function<void(const QString& path)> eventsRead;
    // Port number -> device path (the port map unless replaced).
    std::function<QString(int portNumber)> portPath;
    // A configuration read ended (ok: every step succeeded); the image holds what arrived.
    std::function<void(bool ok)> configurationRead;
    // A configuration read or write starts (true) or has ended (false).
    std::function<void(bool running)> transferRunning;
    // The configuration update was accepted: the write of the program's image is queued.
    std::function<void()> updateAccepted;
    // The program is closing: no further task starts and an event read ends before its next request.
    std::function<bool()> stopRequested;
};

class DeviceTasks {
public:
    DeviceTasks(Project& project, ZarnetLink& link, ModbusMaster& modbus, ConfigImage& image,
                UserDialogs& dialogs, TransferProgress& progress, ProjectLog* log = nullptr);

    TaskFlags flags;
    DeviceTaskOperations operations;
    DeviceTaskHooks hooks;
    ConfigObserver* observer = nullptr;

    // Supervision state.
    bool TasksTimerStarted = false;
    bool IdentifyZarnet = false;
    bool IdentifyModbus = false;
    bool ZarnetPortOpen = false;
    bool ModbusPortOpen = false;
    uint32_t IdentAttempts = 0;
    uint32_t IdentSuccesses = 0;
    bool CfgUpdateDeclined = false;
    QString VersionText;
    QString PanelVersionText;
    QString CfgVersionText;
    uint16_t CfgVersion = 0;
    int RunStringStep = 1;

    bool timerEnabled() const { return timerOn_; }

    // The tick of TimerTasks.
    void TimerTasksTimer();
    void ClearAllTasks();
    // Run by the one-second refresh: switches the task timer on for a new mark.
    void startCondition();

    // "Сброс прибора", "Перейти на ModBus", the event read: while the live monitor runs, ask to stop
    // it first. False when the user keeps the monitor running (nothing is to be queued).
    bool confirmStopVisual(const QString& question);

    // The tick of TimerRunString: the text for status panel 4 while LinkUp, nothing otherwise or on
    // the step that restarts the sweep.
    std::optional<QString> TimerRunStringTimer();
    // The same for a window that keeps its own link state and step.
    static std::optional<QString> runStringTick(bool linkUp, int& step);
    // The 26-character running text of one step (1..16); empty for any other step.
    static QString runStringText(int step);

    // Connection display: status panel 3 ("" without a link) and whether the link is up.
    QString versionPanelText() const;

    // The identifications, also for tests; the port must be open.
    void identifyZarnet();
    void identifyModbus();

private:
    Project& project_;
    ZarnetLink& link_;
    ModbusMaster& modbus_;
    ConfigImage& image_;
    UserDialogs& dialogs_;
    TransferProgress& progress_;
    ProjectLog* log_;
    bool timerOn_ = false;

    void setTimer(bool on);
    bool openPorts();
    void closePorts();
    void runQueuedTasks();
    bool askConfigurationUpdate();
    void tellTransfer(bool running);
    bool stopping() const { return hooks.stopRequested && hooks.stopRequested(); }
    void setMarkedProtocol(uint8_t protocol);

    void taskSwitchToZarnet();
    void taskReset();
    void taskReadConfig();
    void taskWriteConfig();
    void taskReadEvents();
    void taskVisual();
    void taskSwitchToModbus();
};

} // namespace vextor
