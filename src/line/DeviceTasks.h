#pragma once
// The task loop: all project communication with the marked controller runs in one tick of the
// task timer. A tick opens the project's port for the active protocol, identifies the marked
// controller, runs the queued jobs in the order of their turns and closes the port again; the port
// is never held between ticks. The task timer lives with the line worker, on the line's own thread:
// it calls tick() and is switched through the hooks. The loop itself is synchronous and
// thread-agnostic, so tests call it directly.
#include "TaskQueue.h"
#include "config/ConfigImage.h"
#include "config/ConfigObserver.h"
#include "events/EventReader.h"
#include "link/ModbusMaster.h"
#include "link/TransferProgress.h"
#include "link/UserDialogs.h"
#include "link/ZarnetLink.h"
#include "project/Project.h"
#include "project/ProjectLog.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

namespace vextor {

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
    // The program is closing: no further job starts, and a transfer or an event read ends before its
    // next request.
    std::function<bool()> stopRequested;
    // The running job's ticket was cancelled (thread-safe): it ends at its next step like a stop.
    std::function<bool(JobTicket)> cancelled;
    // The engineer has marked another controller (or none) since this tick began (thread-safe). A
    // read for the old one ends before its next request and keeps nothing; a write goes on to its end,
    // so that no controller is left half written; no further job of this tick starts.
    std::function<bool()> markMoved;
    // A configuration write starts (true) or has ended (false).
    std::function<void(bool running)> writeRunning;
    // Before a write the engineer kept the controller's own Modbus settings: the marked device's
    // record now holds them.
    std::function<void(uint8_t modbusAddress, uint8_t mbParams)> modbusKept;
};

// The Modbus address and line byte of a controller (MB_Address, MB_Params).
struct ModbusSettings {
    uint8_t address = 0;
    uint8_t params = 0;
    bool operator==(const ModbusSettings&) const = default;
};

// The message that tells the engineer the task did not run or failed.
QString taskFailureText(LineTask task);

class DeviceTasks {
public:
    DeviceTasks(Project& project, ZarnetLink& link, ModbusMaster& modbus, ConfigImage& image,
                UserDialogs& dialogs, TransferProgress& progress, ProjectLog* log = nullptr);

    // The jobs waiting for their turn.
    TaskQueue queue;
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
    // Whether this tick's identification read CfgVersion. Without it the value is another tick's
    // (or the start's 0), and a read must not take it for the controller's.
    bool CfgVersionKnown = false;
    // What the last configuration read found in the marked controller's Modbus settings; empty when
    // nothing was read from it since it was marked, or when the service page has read or changed them
    // since (the project's record then holds the controller's settings).
    std::optional<ModbusSettings> readModbus;

    bool timerEnabled() const { return timerOn_; }

    // The task loop's own task as a job; prepare runs on the line thread right before the task (a
    // transfer puts the image it was queued with in place), finished is told how it ended.
    JobTicket queueTask(LineTask task, std::function<void()> prepare = {},
                        std::function<void(JobOutcome, const QString&)> finished = {}, JobTicket ticket = 0);
    bool queued(LineTask task) const { return queue.queued(turnOf(task)); }

    // The tick of the task timer.
    void tick();
    // Drops every queued job, the live monitor's cycle too, both identification flags and what the
    // last read found.
    void ClearAllTasks();
    // Run by the one-second refresh: switches the task timer on for a new mark.
    void startCondition();

    // "Сброс прибора", "Перейти на ModBus", the event read: while the live monitor runs (a job in the
    // Visual turn), ask to stop it first. False when the user keeps the monitor running (nothing is to
    // be queued).
    bool confirmStopVisual(const QString& question);

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
    void runQueuedJobs();
    JobStep runTask(LineTask task, const LineAccess& access);
    bool askConfigurationUpdate();
    void tellTransfer(bool running);
    bool stopping() const { return hooks.stopRequested && hooks.stopRequested(); }
    bool markMoved() const { return hooks.markMoved && hooks.markMoved(); }
    bool settleModbusSettings();
    void setMarkedProtocol(uint8_t protocol);
    QString markedDeviceName() const;

    JobStep taskSwitchToZarnet();
    void taskReset();
    void taskReadConfig(const LineAccess& access);
    void taskWriteConfig(const LineAccess& access);
    void taskReadEvents(const LineAccess& access, events::EventReadMode mode);
    void taskSwitchToModbus();
};

} // namespace vextor
