#include "DeviceTasks.h"

#include "TaskTexts.h"
#include "config/ConfigTransfer.h"
#include "events/EventReader.h"
#include "link/ControllerMemory.h"
#include "link/Hooks.h"
#include "link/ModbusMaster.h"
#include "link/NumericConversions.h"
#include "link/SerialPort.h"
#include "link/ZarnetCommands.h"

#include <QScopeGuard>
#include <exception>

namespace vextor {

namespace t = task_texts;

namespace {

constexpr uint8_t kVextorType = 32;
constexpr uint16_t kMinFirmware = 201;
constexpr int kRunStringSteps = 16;

// The step's position of the text in the 26-character line: 1..9 out, 10..16 back; step 9 jumps
// to the far end.
int leadingBlanks(int step) {
    if (step >= 1 && step <= 8)
        return step - 1;
    if (step == 9)
        return 9;
    if (step >= 10 && step <= 16)
        return 17 - step;
    return -1;
}

} // namespace

bool TaskFlags::any() const {
    return TaskSwitchToZarnet || TaskReset || TaskReadClock || TaskWriteClock || TaskReadReplyDelay ||
           TaskWriteReplyDelay || TaskWriteZarnetAddress || TaskReadModbusParams || TaskWriteModbusParams ||
           TaskSound || TaskReadConfig || TaskWriteConfig || TaskReadEvents || TaskVisual ||
           TaskSwitchToModbus;
}

void LinkImageBinding::store(uint8_t zarnetAddress, uint8_t modbusAddress, uint8_t mbParams) {
    link_.DeviceAddress = zarnetAddress;
    image_.MB_Address = modbusAddress;
    image_.MB_Params = mbParams;
}

void LinkImageBinding::load(uint8_t& zarnetAddress, uint8_t& modbusAddress, uint8_t& mbParams) const {
    zarnetAddress = link_.DeviceAddress;
    modbusAddress = image_.MB_Address;
    mbParams = image_.MB_Params;
}

DeviceTasks::DeviceTasks(Project& project, ZarnetLink& link, ModbusMaster& modbus, ConfigImage& image,
                         UserDialogs& dialogs, TransferProgress& progress, ProjectLog* log)
    : project_(project), link_(link), modbus_(modbus), image_(image), dialogs_(dialogs), progress_(progress),
      log_(log) {}

void DeviceTasks::setTimer(bool on) {
    timerOn_ = on;
    if (hooks.setTimerEnabled)
        hooks.setTimerEnabled(on);
}

void DeviceTasks::ClearAllTasks() {
    flags = TaskFlags{};
    IdentifyZarnet = false;
    IdentifyModbus = false;
}

void DeviceTasks::startCondition() {
    if (project_.MarkCode == 0) {
        TasksTimerStarted = false;
        return;
    }
    if (!TasksTimerStarted) {
        setTimer(true);
        TasksTimerStarted = true;
    }
}

bool DeviceTasks::confirmStopVisual(const QString& question) {
    if (!flags.TaskVisual)
        return true;
    if (!dialogs_.askYesNo(question, t::kCaption))
        return false;
    flags.TaskVisual = false;
    return true;
}

// ---------------------------------------------------------------- the tick

void DeviceTasks::TimerTasksTimer() {
    setTimer(false);
    // Whatever happens below, the ports are closed and the timer runs again; only a port that cannot
    // be opened stops the loop until the next mark.
    bool restartTimer = true;
    const auto finish = qScopeGuard([&] {
        closePorts();
        if (restartTimer)
            setTimer(true);
    });

    if (!openPorts()) {
        restartTimer = false;
        return;
    }
    if (project_.MarkCode != 0) {
        IdentifyZarnet = project_.model.ActiveProtocol == kProtocolZarnet;
        IdentifyModbus = project_.model.ActiveProtocol == kProtocolModbus;
    } else {
        ClearAllTasks();
    }
    try {
        if (IdentifyZarnet)
            identifyZarnet();
        if (IdentifyModbus)
            identifyModbus();
    } catch (const std::exception&) {
        // A reply the identification could not take in counts as no reply.
        project_.LinkUp = false;
    }
    if (hooks.identFailures)
        hooks.identFailures(IdentAttempts - IdentSuccesses);
    if (project_.LinkUp)
        runQueuedTasks();
}

bool DeviceTasks::openPorts() {
    const int n = project_.model.PortNumber;
    const QString path = hooks.portPath ? hooks.portPath(n) : resolvePortPath(n);
    auto refuse = [&](SerialPort& port, const QString& name) {
        project_.ClearMark();
        QString text = t::kCannotOpenPortHead + name + t::kCannotOpenPortTail;
        // On this system the usual cause is a missing group membership: say so, not just the number.
        if (port.openFailure() == OpenFailure::PermissionDenied)
            text += QLatin1Char('\n') + describeOpenFailure(port, path);
        dialogs_.message(text);
        return false;
    };
    if (project_.model.ActiveProtocol == kProtocolZarnet && !ZarnetPortOpen) {
        SerialPort* port = link_.port();
        if (!port || port->open(path, LineSettings{9600, 0, 0}) != PortOk) {
            if (port)
                return refuse(*port, ComPortName(n));
            project_.ClearMark();
            dialogs_.message(t::kCannotOpenPortHead + ComPortName(n) + t::kCannotOpenPortTail);
            return false;
        }
        ZarnetPortOpen = true;
    }
    if (project_.model.ActiveProtocol == kProtocolModbus && !ModbusPortOpen) {
        SerialPort* port = modbus_.port();
        const QString name = t::kCom + QString::number(n);
        if (!port || port->open(path, modbusLineSettings(project_.activeMbParams())) != PortOk) {
            if (port)
                return refuse(*port, name);
            project_.ClearMark();
            dialogs_.message(t::kCannotOpenPortHead + name + t::kCannotOpenPortTail);
            return false;
        }
        ModbusPortOpen = true;
    }
    return true;
}

void DeviceTasks::closePorts() {
    if (ZarnetPortOpen && link_.port())
        link_.port()->close();
    if (ModbusPortOpen && modbus_.port())
        modbus_.port()->close();
    ZarnetPortOpen = false;
    ModbusPortOpen = false;
}

// ---------------------------------------------------------------- identification

void DeviceTasks::identifyZarnet() {
    project_.LinkUp = false;
    ++IdentAttempts;
    link_.DeviceAddress = project_.activeZarnetAddress();
    sleepMs(kRequestPauseMs);

    uint8_t type = 0, build = 0;
    uint16_t version = 0;
    if (!GetDeviceVersion(link_, 0, type, version, build))
        return;
    link_.DeviceType = type;
    link_.FirmwareVersion = version;
    link_.FirmwareBuild = build;
    if (type != kVextorType) {
        dialogs_.message(t::kNotVextor);
        project_.ClearMark();
        return;
    }
    project_.LinkUp = true;
    VersionText = t::kVersionHead + formatHundredths(version) + QLatin1Char(':') + QString::number(build);
    if (version < kMinFirmware) {
        dialogs_.message(t::kVersionTooOld);
        project_.ClearMark();
        return;
    }

    sleepMs(kRequestPauseMs);
    uint8_t panelType = 0, panelBuild = 0;
    uint16_t panel = 0;
    if (GetDeviceVersion(link_, 1, panelType, panel, panelBuild))
        PanelVersionText = panel == kNoPanelVersion ? QString() : t::kPanelZarnet + formatHundredths(panel);

    sleepMs(kRequestPauseMs);
    uint8_t bytes[2] = {0, 0};
    if (!ReadMemory(link_, bytes, kCfgVersionAddress, 2))
        return;
    CfgVersion = wordFromImage(bytes);
    CfgVersionText = CfgVersion == kNoCfgVersion ? QString() : t::kCfgVersion + formatHundredths(CfgVersion);

    if (CfgVersion != kConfigLayoutVersion && !CfgUpdateDeclined) {
        if (askConfigurationUpdate()) {
            flags.TaskWriteConfig = true;
            if (hooks.updateAccepted)
                hooks.updateAccepted();
        } else {
            CfgUpdateDeclined = true;
        }
    }
    ++IdentSuccesses;
}

bool DeviceTasks::askConfigurationUpdate() {
    return dialogs_.askYesNo(t::kAskUpdate, t::kCaption) &&
           dialogs_.askYesNo(t::kAskUpdateWarning, t::kCaption);
}

void DeviceTasks::identifyModbus() {
    project_.LinkUp = false;
    ++IdentAttempts;
    const auto request = modbusIdentifyRequest(project_.activeModbusAddress());
    uint8_t reply[256] = {};
    uint8_t replyLength = 0;
    if (!modbus_.ModbusExchange(request.data(), static_cast<uint8_t>(request.size()), reply, replyLength))
        return;
    const auto identity = modbusIdentityFromReply(reply, replyLength);
    if (!identity)
        return;
    if (identity->deviceType == kVextorType) {
        VersionText = t::kVersionHead + formatHundredths(identity->firmware);
        PanelVersionText =
            identity->panel != 0 ? t::kPanelModbus + formatHundredths(identity->panel) : QString();
    }
    ++IdentSuccesses;
    project_.LinkUp = true;
}

// ---------------------------------------------------------------- queued tasks

void DeviceTasks::setMarkedProtocol(uint8_t protocol) {
    if (const auto d = project_.markedDevice())
        project_.model.setProtocolOf(*d, protocol);
}

void DeviceTasks::runQueuedTasks() {
    // A task that throws (a file it cannot create, a reply it cannot take in) is reported with its
    // own failure text and dropped; the tick goes on to close the port and restart the timer.
    auto run = [this](bool& flag, void (DeviceTasks::*task)(), const QString& failure, bool pause = true) {
        if (!flag || !project_.LinkUp || stopping())
            return;
        try {
            if (pause)
                sleepMs(kRequestPauseMs);
            (this->*task)();
        } catch (const std::exception&) {
            flag = false;
            if (!failure.isEmpty())
                dialogs_.message(failure);
        }
    };
    auto runOperation = [this](bool& flag, const std::function<void()>& op) {
        if (!flag || !project_.LinkUp || stopping())
            return;
        flag = false;
        if (!op)
            return;
        try {
            sleepMs(kRequestPauseMs);
            op();
        } catch (const std::exception&) {
        }
    };

    run(flags.TaskSwitchToZarnet, &DeviceTasks::taskSwitchToZarnet, t::kSwitchNotDone);
    run(flags.TaskReset, &DeviceTasks::taskReset, t::kResetNotDone);
    runOperation(flags.TaskReadClock, operations.readClock);
    runOperation(flags.TaskWriteClock, operations.writeClock);
    runOperation(flags.TaskReadReplyDelay, operations.readReplyDelay);
    runOperation(flags.TaskWriteReplyDelay, operations.writeReplyDelay);
    runOperation(flags.TaskWriteZarnetAddress, operations.writeZarnetAddress);
    runOperation(flags.TaskReadModbusParams, operations.readModbusParams);
    runOperation(flags.TaskWriteModbusParams, operations.writeModbusParams);
    runOperation(flags.TaskSound, operations.sound);
    run(flags.TaskReadConfig, &DeviceTasks::taskReadConfig, t::kConfigReadError, false);
    run(flags.TaskWriteConfig, &DeviceTasks::taskWriteConfig, t::kConfigWriteError);
    run(flags.TaskReadEvents, &DeviceTasks::taskReadEvents, t::kEventsReadError);
    run(flags.TaskVisual, &DeviceTasks::taskVisual, QString());
    run(flags.TaskSwitchToModbus, &DeviceTasks::taskSwitchToModbus, t::kSwitchError);
}

void DeviceTasks::taskSwitchToZarnet() {
    const auto request = modbusSwitchToZarnetRequest(project_.activeModbusAddress());
    uint8_t reply[256] = {};
    uint8_t replyLength = 0;
    if (!modbus_.ModbusExchange(request.data(), static_cast<uint8_t>(request.size()), reply, replyLength)) {
        flags.TaskSwitchToZarnet = false;
        dialogs_.message(t::kSwitchNotDone);
        return;
    }
    // Another function code is no answer to this request: try again next tick.
    if (reply[1] != kModbusWriteSingle)
        return;
    setMarkedProtocol(kProtocolZarnet);
    flags.TaskSwitchToZarnet = false;
    dialogs_.message(t::kSwitchDone);
}

void DeviceTasks::taskReset() {
    const bool ok = ResetDevice(link_);
    flags.TaskReset = false;
    dialogs_.message(ok ? t::kResetDone : t::kResetNotDone);
}

void DeviceTasks::taskReadConfig() {
    if (CfgVersion != kConfigLayoutVersion) {
        flags.TaskReadConfig = false;
        if (askConfigurationUpdate()) {
            flags.TaskWriteConfig = true;
            if (hooks.updateAccepted)
                hooks.updateAccepted();
        }
        return;
    }
    bool ok = false;
    {
        // The end is told however the transfer ends, a reply it cannot take in included.
        tellTransfer(true);
        const auto end = qScopeGuard([this] { tellTransfer(false); });
        ok = readConfiguration(link_, image_, progress_, observer);
    }
    flags.TaskReadConfig = false;
    if (hooks.configurationRead)
        hooks.configurationRead(ok);
    dialogs_.message(ok ? t::kConfigRead : t::kConfigReadError);
}

void DeviceTasks::taskWriteConfig() {
    bool ok = false;
    {
        tellTransfer(true);
        const auto end = qScopeGuard([this] { tellTransfer(false); });
        ok = writeConfiguration(link_, image_, progress_);
    }
    flags.TaskWriteConfig = false;
    dialogs_.message(ok ? t::kConfigWritten : t::kConfigWriteError);
}

void DeviceTasks::tellTransfer(bool running) {
    if (hooks.transferRunning)
        hooks.transferRunning(running);
}

void DeviceTasks::taskReadEvents() {
    flags.TaskReadEvents = false;
    const auto d = project_.markedDevice();
    if (!d || !hasFile(project_.model.record(*d), d->kind, FileRole::Events)) {
        dialogs_.message(t::kEventsReadError);
        return;
    }
    const QString path = project_.model.record(*d).EventsFile;
    events::EventReadListener listener;
    listener.stopRequested = [this] { return stopping(); };
    const auto result =
        events::readEventLog(link_, path, events::EventReadPacing::ProjectTask, progress_, listener);
    if (result.fileReplaced && hooks.eventsRead)
        hooks.eventsRead(path);
    if (result.stopped) {
        // The program is closing: the records read so far are in the file; nobody is asked anything.
        if (result.fileReplaced && log_)
            log_->addLine(logActionLine(project_.now(), t::kLogFileSaved, path));
        return;
    }
    switch (result.status) {
    case events::EventReadStatus::Complete:
        dialogs_.message(t::kEventsRead);
        if (log_)
            log_->addLine(logActionLine(project_.now(), t::kLogFileSaved, path));
        break;
    case events::EventReadStatus::GaveUp:
        dialogs_.message(t::kEventsReadError);
        break;
    case events::EventReadStatus::FileError:
        dialogs_.message(t::kEventsReadError + QLatin1Char('\n') + result.errorText);
        break;
    }
}

void DeviceTasks::taskVisual() {
    if (!operations.visualStepCounter || !operations.visualPollStep)
        return;
    // The remaining steps of the current cycle, up to its chart update; the flag stays set.
    while (operations.visualStepCounter() < 9) {
        sleepMs(kRequestPauseMs);
        operations.visualPollStep();
        if (stopping() || !flags.TaskVisual || operations.visualStepCounter() == 0)
            break;
    }
}

void DeviceTasks::taskSwitchToModbus() {
    flags.TaskSwitchToModbus = false;
    const uint8_t value = kSwitchToModbus;
    if (!WriteMemory(link_, &value, kProtocolSelectorAddress, 1)) {
        dialogs_.message(t::kSwitchError);
        return;
    }
    dialogs_.message(t::kSwitchDone);
    if (ResetDevice(link_)) {
        setMarkedProtocol(kProtocolModbus);
        dialogs_.message(t::kResetDone);
    } else {
        dialogs_.message(t::kResetNotDone);
    }
}

// ---------------------------------------------------------------- connection display

std::optional<QString> DeviceTasks::TimerRunStringTimer() {
    return runStringTick(project_.LinkUp, RunStringStep);
}

std::optional<QString> DeviceTasks::runStringTick(bool linkUp, int& step) {
    if (!linkUp)
        return std::nullopt;
    if (step < 1 || step > kRunStringSteps) {
        step = 1;
        return std::nullopt;
    }
    return runStringText(step++);
}

QString DeviceTasks::runStringText(int step) {
    const int lead = leadingBlanks(step);
    if (lead < 0)
        return {};
    return QString(lead, QLatin1Char(' ')) + t::kLinkEstablished + QString(9 - lead, QLatin1Char(' '));
}

QString DeviceTasks::versionPanelText() const {
    if (!project_.LinkUp)
        return {};
    return t::kPanelPad + VersionText + PanelVersionText + CfgVersionText + t::kPanelPad;
}

} // namespace vextor
