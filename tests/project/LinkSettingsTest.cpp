// The rules of the link settings window: which record it edits, what it lets change, the input
// checks and the store.
#include "project/LinkSettings.h"
#include "project/LinkSettingsTexts.h"
#include "support/ScriptedDialogs.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <utility>

namespace vextor {
namespace {

namespace t = link_settings_texts;

class LinkSettingsRules : public ::testing::Test {
protected:
    ScriptedDialogs dialogs;
    Project project{dialogs};
    LinkSettings settings{project, dialogs};
};

TEST_F(LinkSettingsRules, PortNumberInputIsChecked) {
    struct Case {
        std::optional<QString> answer;
        uint8_t port;
        QStringList messages;
    };
    const Case cases[] = {
        {QStringLiteral("0"), 5, {QStringLiteral("     Значение вне диапазона     ")}},
        {QStringLiteral("100"), 5, {QStringLiteral("     Значение вне диапазона     ")}},
        {QStringLiteral("x"), 5, {QStringLiteral("     Ошибка ввода     ")}},
        {QStringLiteral("1,5"), 5, {QStringLiteral("     Ошибка ввода     ")}},
        {QString(), 5, {}},
        {std::nullopt, 5, {}},
        {QStringLiteral("99"), 99, {}},
        {QStringLiteral(" 12 "), 12, {}},
    };
    for (const Case& c : cases) {
        project.model.PortNumber = 5;
        settings.openPortMode();
        int portChanges = 0;
        settings.portChanged = [&] { ++portChanges; };
        dialogs.shown.clear();
        dialogs.inputs = {c.answer};

        settings.changePort();

        SCOPED_TRACE(c.answer.value_or(QStringLiteral("<cancel>")).toStdString());
        EXPECT_EQ(project.model.PortNumber, c.port);
        EXPECT_EQ(settings.view.portText, QStringLiteral("COM") + QString::number(c.port));
        EXPECT_EQ(dialogs.shown.mid(1), c.messages);
        EXPECT_EQ(portChanges, c.port != 5 ? 1 : 0);
    }
    EXPECT_EQ(dialogs.shown.front(), t::kCaption + QStringLiteral(": ") + t::kPortPrompt);
}

TEST_F(LinkSettingsRules, SlaveLineSettingsGoToAllEightSlaves) {
    project.model.SlaveCount = 1;
    project.model.Slaves[0].Name = QStringLiteral("В1");
    project.model.Slaves[3].MbParams = 0x0D; // bits 2-3 of a slot are its own
    ASSERT_TRUE(settings.openDevice(device_index::kSlaveLine));
    EXPECT_EQ(settings.view.caption, QStringLiteral("Cвязь с Линией Ведомых"));
    EXPECT_FALSE(settings.view.zarnetEnabled);
    EXPECT_FALSE(settings.view.modbusEnabled);
    EXPECT_TRUE(settings.view.lineEnabled);

    settings.setBaud(2); // "19200"
    for (const DeviceRecord& s : project.model.Slaves)
        EXPECT_EQ(s.MbParams & 0x03, 2);
    EXPECT_EQ(project.model.Slaves[3].MbParams, 0x0E);

    settings.setFrame(3);
    settings.setFloat(1);
    settings.chooseProtocol(kProtocolModbus);
    EXPECT_EQ(project.model.Slaves[7].MbParams, 0xB2);
    EXPECT_EQ(project.model.SlaveLineProtocol, kProtocolModbus);
}

TEST_F(LinkSettingsRules, ASlaveKeepsTheLineSettingsAndChangesOnlyItsAddresses) {
    project.model.SlaveLineProtocol = kProtocolModbus;
    project.model.Slaves[1].Name = QStringLiteral("Второй");
    project.model.Slaves[1].MbParams = 0x21;
    ASSERT_TRUE(settings.openDevice(3 + 2));

    EXPECT_EQ(settings.view.caption, QStringLiteral("Cвязь с Второй"));
    EXPECT_EQ(settings.view.protocol, kProtocolModbus); // the line's protocol page is shown
    EXPECT_FALSE(settings.view.protocolEnabled);
    EXPECT_FALSE(settings.view.lineEnabled);
    EXPECT_TRUE(settings.view.zarnetEnabled);
    EXPECT_TRUE(settings.view.protocolPageVisible);
    EXPECT_FALSE(settings.view.portPageVisible);

    // Even if a control fired, the slave's store never touches the line settings.
    settings.setBaud(3);
    settings.chooseProtocol(kProtocolZarnet);
    EXPECT_EQ(project.model.Slaves[1].MbParams, 0x21);
    EXPECT_EQ(project.model.SlaveLineProtocol, kProtocolModbus);

    dialogs.yesNo = {true};
    dialogs.inputs = {QStringLiteral("200")};
    settings.changeModbusAddress();
    EXPECT_EQ(project.model.Slaves[1].ModbusAddress, 200);
}

TEST_F(LinkSettingsRules, ZarnetAddressButtons) {
    project.model.Master.ZarnetAddress = 3;
    ASSERT_TRUE(settings.openDevice(device_index::kMaster));

    dialogs.yesNo = {false};
    settings.zarnetAddress127();
    EXPECT_EQ(project.model.Master.ZarnetAddress, 3);

    dialogs.yesNo = {true};
    settings.zarnetAddress127();
    EXPECT_EQ(project.model.Master.ZarnetAddress, 127);

    // 127 only by its button: the input box takes 1..126; a refused answer still stores the display.
    dialogs.shown.clear();
    dialogs.yesNo = {true};
    dialogs.inputs = {QStringLiteral("127")};
    settings.otherZarnetAddress();
    EXPECT_EQ(dialogs.shown.last(), QStringLiteral("     Значение вне диапазона     "));
    EXPECT_EQ(project.model.Master.ZarnetAddress, 127);

    dialogs.yesNo = {true};
    dialogs.inputs = {QStringLiteral("126")};
    settings.otherZarnetAddress();
    EXPECT_EQ(project.model.Master.ZarnetAddress, 126);
}

TEST_F(LinkSettingsRules, EverySingleHasItsOwnRecord) {
    project.model.SingleCount = 16;
    ASSERT_TRUE(settings.openDevice(25)); // single 14
    dialogs.yesNo = {true};
    dialogs.inputs = {QStringLiteral("77")};
    settings.otherZarnetAddress();
    settings.setFrame(2);

    EXPECT_EQ(project.model.Singles[13].ZarnetAddress, 77);
    EXPECT_EQ(project.model.Singles[13].MbParams, 0x21);
    EXPECT_EQ(project.model.Singles[14], slotDefaults(DeviceKind::Single, 15));

    EXPECT_FALSE(settings.openDevice(28));
    EXPECT_FALSE(settings.openDevice(0));
}

// The device list of the link settings window offers only what is there: adapters and real UARTs,
// the by-id links, and port-map bindings that exist; never the guessed default nor a binding to a
// device that has gone.
TEST(SerialDeviceList, OffersOnlyDevicesThatExist) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString dev = root.filePath(QStringLiteral("dev"));
    const QString sys = root.filePath(QStringLiteral("sys"));
    QDir().mkpath(dev + QStringLiteral("/serial/by-id"));
    const auto touch = [](const QString& path) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    };
    touch(dev + QStringLiteral("/ttyUSB0"));
    touch(dev + QStringLiteral("/ttyS0")); // a real UART
    touch(dev + QStringLiteral("/ttyS1")); // a legacy slot without hardware
    touch(dev + QStringLiteral("/pts-sim"));
    touch(dev + QStringLiteral("/bound-in-ini"));
    for (const auto& [name, driver] : {std::pair{"ttyS0", "pnp_serial"}, std::pair{"ttyS1", "serial8250"}}) {
        const QString d = QStringLiteral("%1/class/tty/%2/device").arg(sys, QLatin1String(name));
        QDir().mkpath(d);
        QDir().mkpath(sys + QStringLiteral("/drivers/") + QLatin1String(driver));
        QFile::link(sys + QStringLiteral("/drivers/") + QLatin1String(driver), d + QStringLiteral("/driver"));
    }
    const QString byId = dev + QStringLiteral("/serial/by-id/usb-Adapter_RS485-if00-port0");
    QFile::link(dev + QStringLiteral("/ttyUSB0"), byId);
    QFile::link(dev + QStringLiteral("/ttyUSB9"), dev + QStringLiteral("/serial/by-id/usb-Unplugged-port0"));

    const QString ini = root.filePath(QStringLiteral("configurator.ini"));
    {
        QSettings s(ini, QSettings::IniFormat);
        s.setValue(QStringLiteral("ports/COM8"), dev + QStringLiteral("/bound-in-ini"));
        s.setValue(QStringLiteral("ports/COM9"), dev + QStringLiteral("/ttyUSB5"));       // gone
        s.setValue(QStringLiteral("ports/COM10"), QStringLiteral("tcp://10.0.0.5:4001")); // over the network
    }
    qputenv("VEXTOR_SETTINGS", ini.toUtf8());
    qputenv("VEXTOR_COM5", (dev + QStringLiteral("/pts-sim")).toUtf8());
    qputenv("VEXTOR_COM6", (dev + QStringLiteral("/ttyUSB6")).toUtf8()); // gone
    const QStringList devices = listSerialDevices(dev, sys);
    qunsetenv("VEXTOR_COM5");
    qunsetenv("VEXTOR_COM6");
    qunsetenv("VEXTOR_SETTINGS");

    const QStringList expected{dev + QStringLiteral("/ttyUSB0"),
                               dev + QStringLiteral("/ttyS0"),
                               byId,
                               dev + QStringLiteral("/pts-sim"),
                               QStringLiteral("tcp://10.0.0.5:4001"),
                               dev + QStringLiteral("/bound-in-ini")};
    EXPECT_EQ(devices, expected);
}

// A port number resolves through VEXTOR_COM<n>, then the [ports] map, then /dev/ttyUSB<n-1>; a binding
// made in the window takes effect at once even where the variable binds the number for this run (the
// demo's line), and is kept in the map for the next start.
TEST(PortMap, ResolvesInOrderAndABindingTakesEffectAtOnce) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString ini = root.filePath(QStringLiteral("configurator.ini"));
    qputenv("VEXTOR_SETTINGS", ini.toUtf8());
    qunsetenv("VEXTOR_COM4");
    EXPECT_EQ(resolvePortPath(4), QStringLiteral("/dev/ttyUSB3"));
    ASSERT_TRUE(bindPortPath(4, QStringLiteral("/dev/ttyS0")));
    EXPECT_EQ(resolvePortPath(4), QStringLiteral("/dev/ttyS0"));
    EXPECT_FALSE(qEnvironmentVariableIsSet("VEXTOR_COM4")); // not set where it was not

    qputenv("VEXTOR_COM4", "/dev/pts/7");
    EXPECT_EQ(resolvePortPath(4), QStringLiteral("/dev/pts/7"));
    ASSERT_TRUE(bindPortPath(4, QStringLiteral("tcp://10.0.0.5:4001")));
    EXPECT_EQ(resolvePortPath(4), QStringLiteral("tcp://10.0.0.5:4001"));
    qunsetenv("VEXTOR_COM4");
    EXPECT_EQ(resolvePortPath(4), QStringLiteral("tcp://10.0.0.5:4001"));

    // A settings file that cannot be written (its folder is a file) is told.
    qputenv("VEXTOR_SETTINGS", (ini + QStringLiteral("/x.ini")).toUtf8());
    EXPECT_FALSE(bindPortPath(4, QStringLiteral("/dev/ttyS1")));
    qunsetenv("VEXTOR_SETTINGS");
}

} // namespace
} // namespace vextor
