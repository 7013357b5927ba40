// The device window's commands as direct jobs of the real line worker, against virtual controllers
// on a pseudo-terminal: the link procedure and its messages, the input boxes, every service command,
// an address change followed by commands to the new address, the switch to Modbus and back, and the
// configuration and event reads.
#include "device/DeviceConsole.h"
#include "device/texts.h"
#include "events/texts.h"
#include "line/LineWorker.h"
#include "line/TaskTexts.h"
#include "link/AddressLimits.h"
#include "link/ControllerMemory.h"
#include "link/ModbusMaster.h"
#include "link/ZarnetCommands.h"
#include "link/texts.h"
#include "sim/VirtualLine.h"
#include "support/FileBytes.h"
#include "support/NoPauseClock.h"
#include "support/ScriptedDialogs.h"
#include "support/WaitFor.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>

namespace vextor {
namespace {

namespace t = device_texts;
using testing::waitFor;

QCoreApplication& app() {
    static int argc = 1;
    static char name[] = "device_console_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication instance(argc, argv);
    return instance;
}

using vextor::testing::readAll;

const QString kOutOfRange = QString::fromUtf8(link_texts::kOutOfRange);
const QString kInputError = QString::fromUtf8(link_texts::kInputError);

// The application's way to the line, on a worker of the test's own: port 1 is the virtual line,
// port 2 a device that does not exist.
class WorkerDeviceLine : public DeviceLine {
public:
    explicit WorkerDeviceLine(LineWorker& worker) : worker_(worker) {}
    void run(const DirectTarget& target, std::function<bool(LineAccess&)> op,
             std::function<void(DirectEnd)> done) override {
        ++jobs;
        targets.push_back(target);
        worker_.submitDirect<bool>(target, std::move(op), [done = std::move(done)](const JobResult<bool>& r) {
            done(directEnd(r));
        });
    }
    void readConfiguration(const DirectTarget& target, std::function<void(DirectEnd)> done) override {
        ++jobs;
        worker_.readConfigurationDirect(
            target, ConfigImage{},
            [done = std::move(done)](const JobResult<bool>& r) { done(directEnd(r)); });
    }
    std::shared_ptr<TransferProgress> progressOnWindow(TransferProgress& shown) override {
        return worker_.progressOnWindow(shown);
    }
    int portNumber() const override { return port; }
    void setPortNumber(int number) override { port = number; }

    int port = 1;
    int jobs = 0;
    std::vector<DirectTarget> targets;

private:
    LineWorker& worker_;
};

// What the window's event panel was told.
struct PanelLog : TransferProgress {
    QString title;
    int maximum = 0;
    int position = 0;
    QString counter;
    bool ended = false;
    void begin(const QString& t, int m) override {
        title = t;
        maximum = m;
    }
    void step(const QString& line) override { counter = line; }
    void setPosition(int p) override { position = p; }
    void end() override { ended = true; }
};

sim::ControllerSettings quietController(uint8_t zarnet, uint8_t modbus) {
    auto s = virtualVextor(zarnet, modbus);
    s.eventIntervalMs = 0;
    return s;
}

class DeviceOnLine : public ::testing::Test {
protected:
    testing::NoPauseClock pacing;
    VirtualLine line;
    ScriptedDialogs dialogs;
    NullProgress progress;
    QObject receiver;
    std::unique_ptr<LineWorker> worker;
    std::unique_ptr<WorkerDeviceLine> deviceLine;
    std::unique_ptr<DeviceConsole> console;
    QString portPath;
    std::mutex portMutex;
    std::optional<ConfigImage> imageRead;
    int configurationShown = 0;
    int monitorShown = 0;
    QStringList eventsShown;

    void SetUp() override {
        app();
        ASSERT_TRUE(line.addController(quietController(3, 2)));
        QString error;
        ASSERT_TRUE(line.start(error)) << error.toStdString();
        portPath = line.portPath();
        LineWorker::Options o;
        // The task loop has no mark here: its ticks never touch the line.
        o.tickMs = 50;
        o.portPath = [this](int n) {
            std::lock_guard lock(portMutex);
            return n == 1 ? portPath : QStringLiteral("/nonexistent/ttyVextor");
        };
        worker = std::make_unique<LineWorker>(&receiver, dialogs, progress, o);
        LineListener l;
        l.configurationRead = [this](const ConfigImage& image, ConfigViews, bool) { imageRead = image; };
        worker->addListener(std::move(l));
        deviceLine = std::make_unique<WorkerDeviceLine>(*worker);
        console = std::make_unique<DeviceConsole>(dialogs, *deviceLine);
        console->hooks.showConfiguration = [this] { ++configurationShown; };
        console->hooks.showMonitor = [this] { ++monitorShown; };
        console->hooks.showEvents = [this](const QString& path) { eventsShown << path; };
    }

    // Runs a command and waits until its jobs have ended.
    void settle() {
        ASSERT_TRUE(waitFor([this] { return !console->anyPending(); }));
    }
    template <class F> void command(F f) {
        f();
        settle();
    }
    void linkTo(int address) {
        dialogs.inputs.push_back(QString::number(address));
        command([this] { console->linkAskedAddress(); });
    }
    // A job of the test's own on the line, between the console's.
    template <class R>
    R direct(std::function<R(LineAccess&)> op, uint8_t address = 3, uint8_t protocol = kProtocolZarnet,
             uint8_t mbParams = 0) {
        DirectTarget target;
        target.portNumber = 1;
        target.protocol = protocol;
        target.zarnetAddress = address;
        target.modbusAddress = 2;
        target.mbParams = mbParams;
        std::optional<JobResult<R>> result;
        worker->submitDirect<R>(target, std::move(op), [&](JobResult<R> r) { result = std::move(r); });
        EXPECT_TRUE(waitFor([&] { return result.has_value(); }));
        return result && result->value ? *result->value : R{};
    }
    uint8_t cell(uint32_t address) {
        return direct<uint8_t>([address](LineAccess& a) {
            uint8_t b = 0xEE;
            ReadMemory(a.link, &b, address, 1);
            return b;
        });
    }
};

TEST_F(DeviceOnLine, TheLinkProcedureTellsWhatFailedAndShowsTheIdentity) {
    EXPECT_EQ(console->view.caption, "Vextor (v2.00 и выше)     Порт  COM1");

    // A port that does not open: no version query was made.
    deviceLine->port = 2;
    command([this] { console->linkAnyAddress(); });
    EXPECT_EQ(dialogs.shown, QStringList{t::kNoAnswer});
    EXPECT_FALSE(console->portOpen());
    EXPECT_FALSE(console->view.portEnabled);

    // The first link on the open port finds nobody: no connection, then no answer; the port stays open.
    deviceLine->port = 1;
    dialogs.shown.clear();
    command([this] { console->linkAnyAddress(); });
    EXPECT_EQ(dialogs.shown, (QStringList{t::kNoLink, t::kNoAnswer}));
    EXPECT_TRUE(console->portOpen());
    EXPECT_EQ(console->deviceAddress(), 127);
    EXPECT_FALSE(console->view.linked);

    // On the open port an address with no controller is only no answer.
    dialogs.shown.clear();
    linkTo(50);
    EXPECT_EQ(dialogs.shown, (QStringList{"Zarnet: Адрес", t::kNoAnswer}));
    EXPECT_EQ(dialogs.inputInitials.back(), "127") << "the box starts with the current address";

    dialogs.shown.clear();
    linkTo(3);
    EXPECT_EQ(dialogs.shown, QStringList{"Zarnet: Адрес"});
    EXPECT_TRUE(console->view.linked);
    EXPECT_TRUE(console->view.identityVisible);
    EXPECT_EQ(console->view.identity, "Vextor  v2,01:3    Адрес - 3");
    EXPECT_FALSE(console->view.resetEnabled) << "the reset waits for a click on the identity";

    // The identity click asks the display panel and opens the reset.
    command([this] { console->askDisplayBoard(); });
    EXPECT_TRUE(console->view.resetEnabled);
    EXPECT_EQ(console->view.displayBoard, "Версия платы дисплея 1,05");

    // Closing the window closes the port: the next failed link is no connection again.
    console->close();
    EXPECT_FALSE(console->portOpen());
    dialogs.shown.clear();
    linkTo(60);
    EXPECT_EQ(dialogs.shown, (QStringList{"Zarnet: Адрес", t::kNoLink, t::kNoAnswer}));
}

TEST_F(DeviceOnLine, InputBoxesRefuseOutOfRangeAnswersAndACancelSendsNothing) {
    linkTo(3);
    const int jobsBefore = deviceLine->jobs;
    struct Case {
        const char* name;
        std::function<void()> run;
        std::optional<QString> answer;
        QString message; // empty: nothing shown besides the box
    };
    const std::vector<Case> cases = {
        {"port 0", [this] { console->choosePort(); }, "0", kOutOfRange},
        {"port 100", [this] { console->choosePort(); }, "100", kOutOfRange},
        {"port text", [this] { console->choosePort(); }, "COM3", kInputError},
        {"port cancel", [this] { console->choosePort(); }, std::nullopt, {}},
        {"link 0", [this] { console->linkAskedAddress(); }, "0", kOutOfRange},
        {"link 128", [this] { console->linkAskedAddress(); }, "128", kOutOfRange},
        {"link cancel", [this] { console->linkAskedAddress(); }, std::nullopt, {}},
        {"link empty", [this] { console->linkAskedAddress(); }, "", {}},
        {"zarnet 127", [this] { console->changeZarnetAddress(); }, "127", kOutOfRange},
        {"zarnet 0", [this] { console->changeZarnetAddress(); }, "0", kOutOfRange},
        {"zarnet cancel", [this] { console->changeZarnetAddress(); }, std::nullopt, {}},
        {"modbus open 248", [this] { console->askModbusAddress(); }, "248", kOutOfRange},
        {"modbus open cancel", [this] { console->askModbusAddress(); }, std::nullopt, {}},
    };
    for (const Case& c : cases) {
        dialogs.shown.clear();
        dialogs.inputs = {c.answer};
        c.run();
        settle();
        ASSERT_FALSE(dialogs.shown.isEmpty()) << c.name;
        EXPECT_EQ(dialogs.shown.mid(1), c.message.isEmpty() ? QStringList{} : QStringList{c.message})
            << c.name;
    }
    EXPECT_EQ(deviceLine->jobs, jobsBefore) << "nothing was sent";
    EXPECT_EQ(deviceLine->port, 1);
    EXPECT_FALSE(console->view.modbusEnabled);

    // The Modbus address of a controller: a read first, then the box; 248 is refused, nothing written.
    dialogs.shown.clear();
    dialogs.inputs = {QStringLiteral("248")};
    command([this] { console->changeModbusAddress(); });
    EXPECT_EQ(dialogs.shown, (QStringList{"Modbus: Новый адрес 1...247", kOutOfRange}));
    EXPECT_EQ(dialogs.inputInitials.back(), "2") << "the box starts with the address read";
    EXPECT_EQ(cell(kMbAddressAddress), 2);

    // A port in range becomes the port of the caption (and of the project).
    dialogs.shown.clear();
    dialogs.inputs = {QStringLiteral("7")};
    console->choosePort();
    EXPECT_EQ(deviceLine->port, 7);
    EXPECT_EQ(console->view.caption, "Vextor (v2.00 и выше)     Порт  COM7");
}

TEST_F(DeviceOnLine, AfterAnAddressChangeTheNextCommandsGoToTheNewAddress) {
    linkTo(3);
    dialogs.shown.clear();
    dialogs.inputs = {QStringLiteral("12")};
    command([this] { console->changeZarnetAddress(); });
    EXPECT_EQ(dialogs.shown, QStringList{"Zarnet: Новый адрес 1...126"});
    EXPECT_EQ(dialogs.inputInitials.back(), "1");
    EXPECT_EQ(console->deviceAddress(), 12);
    EXPECT_EQ(console->view.identity, "Vextor  v2,01  Адрес - 12");

    // No new link: the clock and the delay go to 12 at once.
    command([this] { console->readClock(); });
    EXPECT_EQ(console->view.dateText.size(), 8);
    EXPECT_EQ(console->view.timeText.size(), 8);
    console->openReplyDelay();
    console->view.delayText = QStringLiteral("35");
    command([this] { console->writeReplyDelay(); });
    EXPECT_EQ(console->view.sentLabel, t::kSent);
    console->openReplyDelay();
    EXPECT_TRUE(console->view.delayText.isEmpty());
    command([this] { console->readReplyDelay(); });
    EXPECT_EQ(console->view.delayText, "35");
    EXPECT_EQ(deviceLine->targets.back().zarnetAddress, 12);
    EXPECT_TRUE(dialogs.shown.size() == 1) << dialogs.shown.join(QLatin1Char('|')).toStdString();

    // The old address is gone.
    dialogs.shown.clear();
    linkTo(3);
    EXPECT_EQ(dialogs.shown.last(), t::kNoAnswer);
}

TEST_F(DeviceOnLine, TheClockIsWrittenFromItsEntriesAndAnImpossibleOneSendsNothing) {
    linkTo(3);
    console->openClock();
    EXPECT_TRUE(console->view.clockVisible);
    console->view.timeText = QStringLiteral("07:05:09");
    console->view.dateText = QStringLiteral("31-12-09");
    command([this] { console->writeClock(); });
    EXPECT_EQ(console->view.sentLabel, t::kSent);
    console->hideSentLabel();
    console->view.timeText.clear();
    console->view.dateText.clear();
    command([this] { console->readClock(); });
    EXPECT_EQ(console->view.dateText, "31-12-09");
    EXPECT_TRUE(console->view.timeText.startsWith("07:05:")) << console->view.timeText.toStdString();

    const int jobsBefore = deviceLine->jobs;
    for (const auto& [time, date] : std::vector<std::pair<QString, QString>>{{"25:00:00", "01-01-20"},
                                                                             {"12:60:00", "01-01-20"},
                                                                             {"12:00:00", "31-02-21"},
                                                                             {"12:00:00", "29-02-21"},
                                                                             {"7:5:9", "01-01-20"},
                                                                             {"12:00:00", ""},
                                                                             {"ab:cd:ef", "01-01-20"}}) {
        dialogs.shown.clear();
        console->view.timeText = time;
        console->view.dateText = date;
        console->writeClock();
        EXPECT_EQ(dialogs.shown, QStringList{t::kBadValue})
            << time.toStdString() << " " << date.toStdString();
    }
    EXPECT_EQ(deviceLine->jobs, jobsBefore);
    // A leap day exists.
    console->view.timeText = QStringLiteral("12:00:00");
    console->view.dateText = QStringLiteral("29-02-24");
    dialogs.shown.clear();
    command([this] { console->writeClock(); });
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(console->view.sentLabel, t::kSent);

    // The computer's clock fills both entries the same way.
    console->takeComputerClock(QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)));
    EXPECT_EQ(console->view.timeText, "05:06:07");
    EXPECT_EQ(console->view.dateText, "04-03-26");
}

TEST_F(DeviceOnLine, StatusResetAndTheSwitchToModbusAndBack) {
    linkTo(3);
    command([this] { console->readStatus(); });
    EXPECT_EQ(monitorShown, 1);

    dialogs.shown.clear();
    command([this] { console->reset(); });
    EXPECT_EQ(dialogs.shown, QStringList{t::kResetOk});

    // The Modbus address of the controller: read, asked and written.
    dialogs.shown.clear();
    dialogs.inputs = {QStringLiteral("17")};
    command([this] { console->changeModbusAddress(); });
    EXPECT_EQ(dialogs.shown, (QStringList{"Modbus: Новый адрес 1...247", t::kOk}));
    EXPECT_EQ(cell(kMbAddressAddress), 17);

    // Over Modbus the controller talks at the speed and frame of its line byte.
    const uint8_t mbParams = cell(kMbParamsAddress);
    dialogs.shown.clear();
    command([this] { console->switchToModbus(); });
    EXPECT_EQ(dialogs.shown, QStringList{t::kOk});
    EXPECT_EQ(cell(kProtocolSelectorAddress), kSwitchToModbus);
    // The controller takes its new protocol when it restarts; then it answers Modbus only.
    command([this] { console->reset(); });
    dialogs.shown.clear();
    linkTo(3);
    EXPECT_EQ(dialogs.shown.last(), t::kNoAnswer);
    dialogs.shown.clear();
    command([this] { console->switchToModbus(); });
    EXPECT_EQ(dialogs.shown, QStringList{t::kFailed});
    dialogs.shown.clear();
    command([this] { console->changeModbusAddress(); });
    EXPECT_EQ(dialogs.shown, QStringList{t::kModbusAddressNotRead});

    // Back over Modbus at the address just written, then the device window links again.
    const bool back = direct<bool>(
        [](LineAccess& a) {
            const auto request = modbusSwitchToZarnetRequest(17);
            uint8_t reply[256] = {};
            uint8_t length = 0;
            return a.modbus.ModbusExchange(request.data(), static_cast<uint8_t>(request.size()), reply,
                                           length);
        },
        3, kProtocolModbus, mbParams);
    EXPECT_TRUE(back);
    dialogs.shown.clear();
    linkTo(3);
    EXPECT_EQ(dialogs.shown, QStringList{"Zarnet: Адрес"});
    EXPECT_TRUE(console->view.identityVisible);
}

TEST_F(DeviceOnLine, ASilentControllerGivesTheWindowsFailureTexts) {
    linkTo(3);
    // The controller moves away behind the window's back.
    ASSERT_TRUE(direct<bool>([](LineAccess& a) { return ChangeDeviceAddress(a.link, 40); }));
    dialogs.shown.clear();
    console->view.delayText = QStringLiteral("5");
    command([this] { console->writeReplyDelay(); });
    EXPECT_EQ(console->view.sentLabel, t::kAnyError);
    console->hideReplyDelay();
    EXPECT_TRUE(console->view.sentLabel.isEmpty());
    command([this] { console->readReplyDelay(); });
    EXPECT_EQ(console->view.sentLabel, t::kAnyError);
    console->view.dateText = QStringLiteral("01-01-20");
    console->view.timeText = QStringLiteral("10:00:00");
    command([this] { console->readClock(); });
    EXPECT_EQ(console->view.dateText, "01-01-20") << "a failed read leaves the entries";
    command([this] { console->reset(); });
    command([this] { console->switchToModbus(); });
    EXPECT_EQ(dialogs.shown, (QStringList{t::kReadError, t::kAnyError, t::kFailed}));
    EXPECT_EQ(monitorShown, 0);
}

TEST_F(DeviceOnLine, ASecondPressWhileACommandWaitsIsIgnored) {
    linkTo(3);
    const int jobsBefore = deviceLine->jobs;
    dialogs.shown.clear();
    console->reset();
    console->reset();
    console->readClock();
    settle();
    EXPECT_EQ(deviceLine->jobs, jobsBefore + 2);
    EXPECT_EQ(dialogs.shown, QStringList{t::kResetOk});
}

TEST_F(DeviceOnLine, ParametersReadTheConfigurationAndShowTheEditor) {
    linkTo(3);
    console->readConfiguration();
    EXPECT_TRUE(console->view.readingConfiguration);
    settle();
    EXPECT_FALSE(console->view.readingConfiguration);
    ASSERT_TRUE(imageRead.has_value());
    EXPECT_EQ(imageRead->MB_Address, 2);
    EXPECT_EQ(configurationShown, 1);
    EXPECT_EQ(dialogs.shown, QStringList{"Zarnet: Адрес"});
}

TEST_F(DeviceOnLine, TheModbusMenuReadsTheEventLogIntoAFileAndShowsIt) {
    linkTo(3);
    dialogs.inputs = {QStringLiteral("5")};
    console->askModbusAddress();
    EXPECT_TRUE(console->view.modbusEnabled);
    dialogs.inputs = {QStringLiteral("x")};
    console->askModbusAddress();
    dialogs.inputs = {std::nullopt};
    console->askModbusAddress();
    EXPECT_EQ(dialogs.inputInitials.mid(1), (QStringList{"0", "5", "5"}));

    PanelLog panel;
    console->eventProgress = &panel;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.blb"));
    dialogs.saveFiles = {path};
    dialogs.shown.clear();
    command([this] { console->readEventsFromDevice(); });
    EXPECT_EQ(QFileInfo(path).size(), 682 * 9);
    EXPECT_EQ(eventsShown, QStringList{path});
    EXPECT_EQ(dialogs.shown, QStringList{t::kEventsFileCaption}) << "a complete read says nothing";
    EXPECT_EQ(panel.title, "Чтение \"Журнала событий\"");
    EXPECT_EQ(panel.maximum, 682);
    EXPECT_EQ(panel.position, 682);
    EXPECT_EQ(panel.counter, "681");
    EXPECT_TRUE(panel.ended);
    EXPECT_FALSE(console->view.eventsReading);

    // The fast read, ticked in the dialog, gives the same file, and the box stays ticked next time.
    const QByteArray perRecord = readAll(path);
    const QString fastPath = dir.filePath(QStringLiteral("fast.blb"));
    dialogs.saveFiles = {fastPath};
    dialogs.saveOptions = {true};
    size_t sent = 0;
    worker->watchFrames(
        [&sent](std::vector<LinkFrame> frames) {
            for (const LinkFrame& f : frames)
                sent += f.direction == FrameDirection::Sent;
        },
        10000);
    command([this] { console->readEventsFromDevice(); });
    worker->watchFrames({}, 0);
    EXPECT_EQ(readAll(fastPath), perRecord);
    EXPECT_GT(sent, 0u);
    EXPECT_LT(sent, 682u / 10) << "ranges of 27 records per request, not one each";
    EXPECT_EQ(dialogs.saveOptionTexts, (QStringList{QString::fromUtf8(events::texts::kFastReadOption),
                                                    QString::fromUtf8(events::texts::kFastReadOption)}));

    // A cancelled file dialog reads nothing.
    const int jobsBefore = deviceLine->jobs;
    command([this] { console->readEventsFromDevice(); });
    EXPECT_EQ(deviceLine->jobs, jobsBefore);
}

// The search runs as direct jobs of a slice each; a pick fills the address the next link starts
// from, and a linked controller that the search asked is still served after it.
TEST_F(DeviceOnLine, TheSearchRunsInSlicesAndAPickFillsTheAddress) {
    linkTo(3);
    int offered = 0;
    console->scanFinished = [&] { ++offered; };
    console->scanOptions.first = 1;
    console->scanOptions.last = 20;
    const int jobsBefore = deviceLine->jobs;
    console->scanLine();
    EXPECT_TRUE(console->view.scanning);
    ASSERT_TRUE(waitFor([this] { return !console->view.scanning; }));
    EXPECT_EQ(deviceLine->jobs - jobsBefore, 3) << "8 + 8 + 4 addresses";
    EXPECT_EQ(deviceLine->targets.back().portNumber, 1);
    EXPECT_EQ(offered, 1);
    ASSERT_EQ(console->lastFound().size(), 1u);
    EXPECT_EQ(console->lastFound()[0], (FoundController{3, 32, 201, 3, uint16_t(200)}));
    EXPECT_EQ(DeviceConsole::foundText(console->lastFound()[0]),
              "Адрес 3:  Vextor  v2,01:3, конфигурация вер. 2,00");
    EXPECT_TRUE(dialogs.shown.mid(1).isEmpty()) << dialogs.shown.join('|').toStdString();

    // The window's link to 3 goes on: its next command is answered.
    command([this] { console->readStatus(); });
    EXPECT_EQ(monitorShown, 1);

    // Picking the controller already linked keeps the link; picking another ends it and fills the
    // address the next link box starts from.
    console->pickFound(3);
    EXPECT_TRUE(console->view.linked);
    console->pickFound(17);
    EXPECT_FALSE(console->view.linked);
    EXPECT_FALSE(console->view.identityVisible);
    EXPECT_EQ(console->deviceAddress(), 17);
    EXPECT_EQ(console->view.addressText, "Адрес прибора: 17");
    dialogs.inputs = {std::nullopt};
    console->linkAskedAddress();
    EXPECT_EQ(dialogs.inputInitials.back(), "17");

    // Nobody in the range: told; a stopped search is not.
    dialogs.shown.clear();
    console->scanOptions.first = 4;
    console->scanOptions.last = 12;
    console->scanLine();
    ASSERT_TRUE(waitFor([this] { return !console->view.scanning; }));
    EXPECT_EQ(dialogs.shown, QStringList{t::kNothingFound});
    dialogs.shown.clear();
    console->scanOptions.last = 127;
    console->scanLine();
    console->stopScan();
    ASSERT_TRUE(waitFor([this] { return !console->view.scanning; }));
    EXPECT_LT(console->view.scanAsked, kMaxZarnetLinkAddress - 4);
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(offered, 1);

    // Closing the window ends a search that has finds without offering them.
    console->scanOptions.first = 1;
    console->scanLine();
    ASSERT_TRUE(waitFor([this] { return console->view.scanAsked >= DeviceConsole::kScanSlice; }));
    console->close();
    ASSERT_TRUE(waitFor([this] { return !console->view.scanning; }));
    EXPECT_EQ(offered, 1);
}

} // namespace
} // namespace vextor
