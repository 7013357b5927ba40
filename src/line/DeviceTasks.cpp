#include "DeviceTasks.h"

#include "TaskTexts.h"
#include "config/ConfigTransfer.h"
#include "events/EventReader.h"
#include "link/ControllerMemory.h"
#include "link/Hooks.h"
#include "link/ModbusMaster.h"
#include "link/ModbusParams.h"
#include "link/NumericConversions.h"
#include "link/SerialPort.h"
#include "link/ZarnetCommands.h"
#include "project/ProjectReport.h"

#include <QScopeGuard>
#include <exception>

namespace vextor {

namespace t = task_texts;

namespace {

constexpr uint8_t kVextorType = 32;
constexpr uint16_t kMinFirmware = 201;
// What the log says of a port that would not open: the program's description and the system's reason.
QString openFailureReason(const SerialPort& port, const QString& path) {
    QString reason = describeOpenFailure(port, path);
    const QString system = port.openFailureText();
    if (!system.isEmpty() && !reason.contains(system))
        reason += QStringLiteral(" (") + system + QLatin1Char(')');
    return reason;
}

QString modbusSettingsText(const ModbusSettings& s) {
    return t::kModbusSettings.arg(s.address)
        .arg(mbBaudRate(s.params))
        .arg(mbFrameText(s.params), mbFloatOrderText(s.params));
}

// Passes a read's news on and notes whether the controller's Modbus settings came in.
class ModbusReadWatch : public ConfigObserver {
public:
    explicit ModbusReadWatch(ConfigObserver* next) : next_(next) {}
    bool modbusRead = false;
    void configurationChanged(ConfigViews views) override {
        modbusRead = modbusRead || (views & ViewModbus) != 0;
        if (next_)
            next_->configurationChanged(views);
    }
    void selectFirstRows() override {
        if (next_)
            next_->selectFirstRows();
    }
    void showFirstPage() override {
        if (next_)
            next_->showFirstPage();
    }
    void setTransferRunning(bool running) override {
        if (next_)
            next_->setTransferRunning(running);
    }

private:
    ConfigObserver* next_;
};

} // namespace

QString taskFailureText(LineTask task) {
    switch (task) {
    case LineTask::SwitchToZarnet:
        return t::kSwitchNotDone;
    case LineTask::Reset:
        return t::kResetNotDone;
    case LineTask::ReadConfig:
        return t::kConfigReadError;
    case LineTask::WriteConfig:
        return t::kConfigWriteError;
    case LineTask::ReadEvents:
    case LineTask::ReadEventsFast:
        return t::kEventsReadError;
    case LineTask::SwitchToModbus:
        break;
    }
    return t::kSwitchError;
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
    queue.clear(JobOutcome::Dropped);
    IdentifyZarnet = false;
    IdentifyModbus = false;
    readModbus.reset();
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
    if (!queue.queued(TaskTurn::Visual))
        return true;
    if (!dialogs_.askYesNo(question, t::kCaption))
        return false;
    queue.cancelTurn(TaskTurn::Visual);
    return true;
}

JobTicket DeviceTasks::queueTask(LineTask task, std::function<void()> prepare,
                                 std::function<void(JobOutcome, const QString&)> finished, JobTicket ticket) {
    TickJob job;
    job.ticket = ticket;
    job.turn = turnOf(task);
    // The configuration read starts at once; every other task after the request pause.
    job.pause = task != LineTask::ReadConfig;
    job.run = [this, task, prepare = std::move(prepare)](LineAccess& access) {
        if (prepare)
            prepare();
        return runTask(task, access);
    };
    job.finished = std::move(finished);
    return queue.push(std::move(job));
}

// ---------------------------------------------------------------- the tick

void DeviceTasks::tick() {
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
        runQueuedJobs();
}

bool DeviceTasks::openPorts() {
    const int n = project_.model.PortNumber;
    const QString path = hooks.portPath ? hooks.portPath(n) : resolvePortPath(n);
    auto refuse = [&](SerialPort& port, const QString& name) {
        project_.ClearMark();
        QString text = t::kCannotOpenPortHead + name + t::kCannotOpenPortTail;
        // The log keeps why (the adapter unplugged, the device gone, no permission), in the system's
        // words; the box keeps its short text.
        if (log_)
            log_->addLine(
                logActionLine(project_.now(), text + QLatin1Char(' '), openFailureReason(port, path)));
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
    CfgVersionKnown = false;
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
    CfgVersionKnown = true;
    CfgVersionText = CfgVersion == kNoCfgVersion ? QString() : t::kCfgVersion + formatHundredths(CfgVersion);

    if (CfgVersion != kConfigLayoutVersion && !CfgUpdateDeclined) {
        if (askConfigurationUpdate()) {
            queueTask(LineTask::WriteConfig);
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

void DeviceTasks::runQueuedJobs() {
    // In the order of the turns, and within a turn in the order queued. A job that a task queues in a
    // later turn (the write the update question asks for) still runs in this tick.
    std::optional<TaskQueue::Position> position;
    while (project_.LinkUp && !stopping() && !markMoved()) {
        std::optional<TickJob> next = queue.takeNext(position);
        if (!next)
            return;
        TickJob job = std::move(*next);
        position = TaskQueue::Position{job.turn, job.ticket};
        if (hooks.cancelled && hooks.cancelled(job.ticket)) {
            finishJob(job, JobOutcome::Cancelled);
            continue;
        }
        const JobTicket ticket = job.ticket;
        LineAccess access{link_, modbus_, [this, ticket] {
                              return stopping() || (hooks.cancelled && hooks.cancelled(ticket));
                          }};
        // Whatever a job throws ends that job alone, reported as its failure; the tick goes on to the
        // next job, closes the port and restarts the timer.
        JobStep step = JobStep::Done;
        QString error;
        bool failed = false;
        try {
            if (job.pause)
                sleepMs(kRequestPauseMs);
            step = job.run(access);
        } catch (const std::exception& e) {
            failed = true;
            error = QString::fromLocal8Bit(e.what());
        } catch (...) {
            failed = true;
            error = t::kUnknownFailure;
        }
        const TaskTurn turn = job.turn;
        if (failed)
            finishJob(job, JobOutcome::Failed, error);
        else if (step == JobStep::Again && !access.stopping())
            queue.putBack(std::move(job));
        else
            finishJob(job,
                      access.stopping() && step == JobStep::Again ? JobOutcome::Cancelled : JobOutcome::Ran);
        // The service page has read or changed the controller's Modbus settings and the project's
        // record holds what it found or wrote: what a configuration read found before may be stale.
        if (turn == TaskTurn::ReadModbusParams || turn == TaskTurn::WriteModbusParams)
            readModbus.reset();
    }
}

JobStep DeviceTasks::runTask(LineTask task, const LineAccess& access) {
    // A task that throws (a file it cannot create, a reply it cannot take in) is reported with its own
    // failure text; the job then ends as failed.
    try {
        switch (task) {
        case LineTask::SwitchToZarnet:
            return taskSwitchToZarnet();
        case LineTask::Reset:
            taskReset();
            break;
        case LineTask::ReadConfig:
            taskReadConfig(access);
            break;
        case LineTask::WriteConfig:
            taskWriteConfig(access);
            break;
        case LineTask::ReadEvents:
            taskReadEvents(access, events::EventReadMode::PerRecord);
            break;
        case LineTask::ReadEventsFast:
            taskReadEvents(access, events::EventReadMode::Fast);
            break;
        case LineTask::SwitchToModbus:
            taskSwitchToModbus();
            break;
        }
    } catch (...) {
        dialogs_.message(taskFailureText(task));
        throw;
    }
    return JobStep::Done;
}

JobStep DeviceTasks::taskSwitchToZarnet() {
    const auto request = modbusSwitchToZarnetRequest(project_.activeModbusAddress());
    uint8_t reply[256] = {};
    uint8_t replyLength = 0;
    if (!modbus_.ModbusExchange(request.data(), static_cast<uint8_t>(request.size()), reply, replyLength)) {
        dialogs_.message(t::kSwitchNotDone);
        return JobStep::Done;
    }
    // Another function code is no answer to this request: try again next tick.
    if (reply[1] != kModbusWriteSingle)
        return JobStep::Again;
    setMarkedProtocol(kProtocolZarnet);
    dialogs_.message(t::kSwitchDone);
    return JobStep::Done;
}

void DeviceTasks::taskReset() {
    const bool ok = ResetDevice(link_);
    dialogs_.message(ok ? t::kResetDone : t::kResetNotDone);
}

void DeviceTasks::taskReadConfig(const LineAccess& access) {
    // A lost reply to the version read is no outdated configuration: asking to overwrite the
    // controller's configuration on it could destroy a good one. The read fails as any lost reply
    // does, and may be asked for again.
    if (IdentifyZarnet && !CfgVersionKnown) {
        if (hooks.configurationRead)
            hooks.configurationRead(false);
        dialogs_.message(t::kConfigReadError);
        return;
    }
    if (CfgVersion != kConfigLayoutVersion) {
        if (askConfigurationUpdate()) {
            queueTask(LineTask::WriteConfig);
            if (hooks.updateAccepted)
                hooks.updateAccepted();
        }
        return;
    }
    bool ok = false;
    bool abandoned = false;
    ModbusReadWatch watch(observer);
    {
        // The end is told however the transfer ends, a reply it cannot take in included.
        tellTransfer(true);
        const auto end = qScopeGuard([this] { tellTransfer(false); });
        const TransferStop stop = [&] {
            if (access.stopping())
                return true;
            abandoned = markMoved();
            return abandoned;
        };
        ok = readConfiguration(link_, image_, progress_, &watch, stop);
    }
    // A read that was stopped keeps nothing and says nothing: the program is closing, or the job
    // was cancelled.
    if (access.stopping())
        return;
    // Half a read of a controller that is no longer marked replaces nothing; the engineer learns
    // that the read did not happen.
    if (abandoned) {
        dialogs_.message(t::kConfigReadError);
        return;
    }
    if (watch.modbusRead)
        readModbus = ModbusSettings{image_.MB_Address, image_.MB_Params};
    if (hooks.configurationRead)
        hooks.configurationRead(ok);
    dialogs_.message(ok ? t::kConfigRead : t::kConfigReadError);
}

void DeviceTasks::taskWriteConfig(const LineAccess& access) {
    if (!settleModbusSettings())
        return;
    bool ok = false;
    {
        tellTransfer(true);
        if (hooks.writeRunning)
            hooks.writeRunning(true);
        const auto end = qScopeGuard([this] {
            if (hooks.writeRunning)
                hooks.writeRunning(false);
            tellTransfer(false);
        });
        // A write goes on to its end whatever the engineer marks meanwhile: a controller left with
        // half a configuration would run its plant with a mix of old and new settings.
        ok = writeConfiguration(link_, image_, progress_, kAllWriteSections, access.stopRequested);
    }
    // The controller now holds the settings written.
    if (ok && readModbus)
        readModbus = ModbusSettings{image_.MB_Address, image_.MB_Params};
    if (!ok && access.stopping()) {
        // The sections written so far stay in the controller: the log keeps that it is only partly
        // written.
        if (log_)
            log_->addLine(logActionLine(project_.now(), t::kLogWriteStopped, markedDeviceName()));
        return;
    }
    dialogs_.message(ok ? t::kConfigWritten : t::kConfigWriteError);
}

bool DeviceTasks::settleModbusSettings() {
    // The image carries the project's Modbus settings of the controller. Where they differ from what
    // the controller was found to hold, a write would move the controller to another address or line
    // setting unseen, and the line would lose it once it speaks Modbus.
    if (!readModbus)
        return true;
    const ModbusSettings own = *readModbus;
    const ModbusSettings planned{image_.MB_Address, image_.MB_Params};
    if (own == planned)
        return true;
    switch (dialogs_.askYesNoCancel(
        t::kAskModbusMismatch.arg(modbusSettingsText(own), modbusSettingsText(planned)), t::kCaption)) {
    case Answer::Yes:
        return true;
    case Answer::No:
        // The controller keeps its own settings, and the project takes them, so that the line still
        // reaches it over Modbus.
        image_.MB_Address = own.address;
        image_.MB_Params = own.params;
        if (const auto d = project_.markedDevice()) {
            DeviceRecord& r = project_.model.record(*d);
            r.ModbusAddress = own.address;
            r.MbParams = own.params;
        }
        project_.setActiveLink(project_.activeZarnetAddress(), own.address, own.params);
        if (hooks.modbusKept)
            hooks.modbusKept(own.address, own.params);
        return true;
    case Answer::Cancel:
        break;
    }
    return false;
}

QString DeviceTasks::markedDeviceName() const {
    const auto d = project_.markedDevice();
    return d ? project_.model.record(*d).Name : QString();
}

void DeviceTasks::tellTransfer(bool running) {
    if (hooks.transferRunning)
        hooks.transferRunning(running);
}

void DeviceTasks::taskReadEvents(const LineAccess& access, events::EventReadMode mode) {
    const auto d = project_.markedDevice();
    if (!d || !hasFile(project_.model.record(*d), d->kind, FileRole::Events)) {
        dialogs_.message(t::kEventsReadError);
        return;
    }
    const QString path = project_.model.record(*d).EventsFile;
    events::EventReadListener listener;
    listener.stopRequested = access.stopRequested;
    listener.abandonRequested = [this] { return markMoved(); };
    const auto result =
        events::readEventLog(link_, path, events::EventReadPacing::ProjectTask, progress_, listener, mode);
    // The engineer's file stays as it was: half a log of a controller no longer marked is no log.
    if (result.abandoned) {
        dialogs_.message(t::kEventsReadError);
        return;
    }
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

void DeviceTasks::taskSwitchToModbus() {
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

QString DeviceTasks::versionPanelText() const {
    if (!project_.LinkUp)
        return {};
    return t::kPanelPad + VersionText + PanelVersionText + CfgVersionText + t::kPanelPad;
}

} // namespace vextor
