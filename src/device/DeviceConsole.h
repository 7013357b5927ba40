#pragma once
// The device window's logic: direct work with one controller on the device-protocol line, outside
// the project. The engineer links to a controller by its address (with a session key), sees its
// identity and runs the service commands on it: addresses, reply delay, clock, status, reset, the
// switch to Modbus, the configuration and event reads.
//
// Nothing here opens the port: every command is a direct job of the line, run between two ticks of
// the task loop on the port the project names, so the task loop and this window never hold the port
// at the same time. The window stays live meanwhile; the result comes back here to be shown.
#include "line/LineTypes.h"
#include "link/ControllerScan.h"
#include "link/TransferProgress.h"
#include "link/UserDialogs.h"

#include <QDateTime>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <set>

namespace vextor {

// How a direct job ended, as the window needs it.
struct DirectEnd {
    bool ran = false;    // the job ran on an open port
    bool ok = false;     // ... and its operation succeeded
    bool noPort = false; // the port could not be opened
    QString error;       // why not (no port, a failure of the job)
};

// A direct job's end as the line tells it.
inline DirectEnd directEnd(const JobResult<bool>& result) {
    DirectEnd end;
    end.ran = result.outcome == JobOutcome::Ran;
    end.ok = result.ran() && *result.value;
    end.noPort = result.outcome == JobOutcome::NoPort;
    end.error = result.error;
    return end;
}

// The seam to the line: the application runs the jobs on the line worker, tests on a worker of
// their own or a double.
class DeviceLine {
public:
    virtual ~DeviceLine() = default;
    // op runs on the line between ticks, on target's port and controller; done hears how it ended,
    // on the caller's thread.
    virtual void run(const DirectTarget& target, std::function<bool(LineAccess&)> op,
                     std::function<void(DirectEnd)> done) = 0;
    // A configuration read of target's controller into the program's image (shown by the
    // configuration window as after any read).
    virtual void readConfiguration(const DirectTarget& target, std::function<void(DirectEnd)> done) = 0;
    // A progress the job may tell on the line; it reaches shown on the caller's thread.
    virtual std::shared_ptr<TransferProgress> progressOnWindow(TransferProgress& shown) = 0;
    // The port number shared with the project and the link settings (1..99).
    virtual int portNumber() const = 0;
    virtual void setPortNumber(int number) = 0;
};

// The commands of the window, one name each: a second press of a command whose job is still
// waiting is ignored.
enum class DeviceCommand {
    Link,
    DisplayBoard,
    ReadConfiguration,
    ChangeZarnetAddress,
    ReadReplyDelay,
    WriteReplyDelay,
    ReadClock,
    WriteClock,
    Status,
    Reset,
    SwitchToModbus,
    ChangeModbusAddress,
    ReadEvents,
    Scan,
};

// What the window shows.
struct DeviceView {
    QString caption;
    bool portEnabled = true;
    bool linked = false; // the menus "Конфигурация", "Данные" and " События "
    bool resetEnabled = false;
    bool modbusEnabled = false;
    bool identityVisible = false;
    QString identity;
    QString displayBoard; // the display panel's version, once asked
    bool readingConfiguration = false;
    bool delayVisible = false;
    QString delayText;
    bool clockVisible = false;
    QString dateText;
    QString timeText;
    QString sentLabel; // " Ok Send ! " or "Any error..."; empty: hidden
    bool eventsReading = false;
    // The search for controllers: running, how far it got, the address it asks now.
    bool scanning = false;
    int scanAsked = 0;
    int scanTotal = 0;
    int scanAddress = 0;
    QString addressText; // the address a find was picked for; empty: hidden
};

// What the window hands to the rest of the program.
struct DeviceConsoleHooks {
    std::function<void()> showConfiguration;             // the configuration editor
    std::function<void(const QString& path)> showEvents; // an event file just read
    std::function<void()> readProjectEvents; // "...из прибора": the marked device's task read
    std::function<void()> openEventsFile;    // "... из файла"
    std::function<void()> showMonitor;       // after "Get"
};

class DeviceConsole {
public:
    DeviceConsole(UserDialogs& dialogs, DeviceLine& line);

    DeviceView view;
    DeviceConsoleHooks hooks;
    // The view changed.
    std::function<void()> viewChanged;
    // Where the event read shows its bar and counter (the window's panel); may stay unset.
    TransferProgress* eventProgress = nullptr;
    // A search ended with finds (lastFound()): the window lets the engineer pick one.
    std::function<void()> scanFinished;
    // The addresses a search asks (the whole line unless narrowed) and its time-outs.
    ScanOptions scanOptions;
    // Addresses asked per direct job: a silent slice takes under half a second, so the task loop
    // keeps its ticks while a whole line is searched.
    static constexpr int kScanSlice = 8;

    // The controller the commands go to.
    uint8_t deviceAddress() const { return deviceAddress_; }
    // The link procedure has opened the port since the window was last closed.
    bool portOpen() const { return portOpen_; }
    // A command's job is waiting or running.
    bool pending(DeviceCommand command) const { return pending_.count(command) > 0; }
    bool anyPending() const { return !pending_.empty(); }

    void choosePort();
    void linkAnyAddress();
    void linkAskedAddress();
    void askDisplayBoard();
    void readConfiguration();
    void showConfiguration();
    void changeZarnetAddress();
    void openReplyDelay();
    void readReplyDelay();
    void writeReplyDelay();
    void hideReplyDelay();
    void openClock();
    void readClock();
    void takeComputerClock(const QDateTime& now);
    void writeClock();
    void hideClock();
    void hideSentLabel();
    void readStatus();
    void reset();
    void switchToModbus();
    void changeModbusAddress();
    void askModbusAddress();
    void readEventsFromDevice();
    void readProjectEvents();
    void openEventsFile();
    // "Поиск приборов": asks every address of scanOptions who it is, a slice per direct job.
    void scanLine();
    // Ends the search after the address being asked; what was found so far is offered.
    void stopScan();
    // The controllers the last search found, and the replies it had from another address than asked.
    const std::vector<FoundController>& lastFound() const { return lastFound_; }
    int lastStrayReplies() const { return lastStray_; }
    // A find picked: the commands and the next "Адрес ..." go to its address. A link to another
    // controller is over: its identity and menus wait for the link to the one picked.
    void pickFound(uint8_t address);
    // How a find is listed: address, identity and configuration version.
    static QString foundText(const FoundController& found);
    // The window closes: the port counts as closed, so the next link opens it again.
    void close();
    // The project's port number may have changed: the caption follows it.
    void portChanged();

    // The caption for the port number: "Vextor (v2.00 и выше)     Порт  COM" + n.
    static QString captionFor(int portNumber);

private:
    UserDialogs& dialogs_;
    DeviceLine& line_;
    uint8_t deviceAddress_ = 0;
    bool portOpen_ = false;
    int modbusDefault_ = 0;
    QString eventsDir_;          // where the event file dialog was last used
    bool fastEventRead_ = false; // the fast-read box of that dialog, as last left
    // Versions from the last link, for the identity label.
    uint16_t firmwareVersion_ = 0;
    uint8_t firmwareBuild_ = 0;
    std::mt19937 random_;
    std::set<DeviceCommand> pending_;
    std::shared_ptr<ControllerScan> scan_;
    std::shared_ptr<std::atomic<bool>> scanStop_;
    bool scanQuiet_ = false; // the window closed during the search
    std::vector<FoundController> lastFound_;
    int lastStray_ = 0;

    DirectTarget target() const;
    void changed();
    void link(uint8_t address);
    void showIdentity();
    void run(DeviceCommand command, std::function<bool(LineAccess&)> op, std::function<void(DirectEnd)> done);
    void showSent(bool ok);
    // True when the job ran; otherwise tells why not, when there is something to tell.
    bool ran(const DirectEnd& end);
    void scanSlice();
    void endScan(bool offer);
};

} // namespace vextor
