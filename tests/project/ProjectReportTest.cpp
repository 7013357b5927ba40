// What the command-line tool shows of a project and how it finds a device's link by name.
#include "project/ProjectReport.h"
#include "ProjectTestSupport.h"

#include <gtest/gtest.h>

namespace vextor {
namespace {

TEST(ProjectReport, ModbusLineByteInWords) {
    struct Case {
        uint8_t params;
        int baud;
        QString frame, order;
    } cases[] = {
        {0x01, 9600, "10 бит/1 стоп", "мантисса/порядок"},
        {0x10, 4800, "11 бит/2 стоп", "мантисса/порядок"},
        {0xA2, 19200, "11 бит/нечет/1 стоп", "порядок/мантисса"},
        {0x33, 38400, "11 бит/чет/1 стоп", "мантисса/порядок"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(mbBaudRate(c.params), c.baud);
        EXPECT_EQ(mbFrameText(c.params), c.frame);
        EXPECT_EQ(mbFloatOrderText(c.params), c.order);
    }
}

TEST(ProjectReport, ShowListsShownDevicesAndTheirFiles) {
    ProjectModel m;
    m.ProjectPath = "C:\\Plants\\South.prj";
    m.PortNumber = 3;
    m.MasterCount = 1;
    m.Master.ConfigFile = "/plant/m.bin";
    m.Master.EventsFile = "/plant/gone.blb";
    m.SlaveCount = 1;
    m.SlaveLineProtocol = 0;
    m.Slaves[1].Name = "Насосная";
    m.Slaves[1].MbParams = 0x92;
    m.Singles[0].Name = "hidden: no singles counted";
    const QStringList lines = projectShowLines(m, [](const QString& p) { return p == "/plant/m.bin"; });
    EXPECT_EQ(lines, QStringList({
                         "project South.prj, port COM3, protocol Zarnet",
                         "master \"Имя мастера 1\": Zarnet, Zarnet address 3, Modbus address 2, Modbus 9600 "
                         "baud, 10 бит/1 стоп, мантисса/порядок",
                         "  configuration: /plant/m.bin (exists)",
                         "  events: /plant/gone.blb (missing)",
                         "  visualisation: Нет файла визуализации мастера (no file)",
                         "slave 2 \"Насосная\": Modbus, Zarnet address 2, Modbus address 101, Modbus 19200 "
                         "baud, 11 бит/2 стоп, порядок/мантисса",
                         "  configuration: Нет файла конфигурации ведомого (no file)",
                         "  events: Нет файла событий ведомого (no file)",
                         "  visualisation: Нет файла визуализации ведомого (no file)",
                     }));
    EXPECT_EQ(projectShowLines(ProjectModel{}).last(), "no devices");
}

TEST(ProjectReport, FindDeviceByName) {
    ProjectModel m;
    m.PortNumber = 12;
    m.SlaveCount = 2;
    m.SlaveLineProtocol = 0;
    m.Slaves[0].Name = "Насос";
    m.Slaves[0].ModbusAddress = 55;
    m.SingleCount = 2;
    m.Singles[1].Name = " Насос ";
    m.Singles[1].ZarnetAddress = 9;

    const auto slave = findDevicesByName(m, "Насос");
    ASSERT_EQ(slave.size(), 1u);
    EXPECT_EQ(slave[0].device, (DeviceSlot{DeviceKind::Slave, 1}));
    EXPECT_EQ(slave[0].portNumber, 12);
    EXPECT_EQ(slave[0].protocol, 0) << "the slave line's protocol";
    EXPECT_EQ(slave[0].modbusAddress, 55);

    const auto single = findDevicesByName(m, " Насос ");
    ASSERT_EQ(single.size(), 1u);
    EXPECT_EQ(single[0].zarnetAddress, 9);
    EXPECT_EQ(single[0].protocol, 1);

    EXPECT_EQ(findDevicesByName(m, "  Насос").size(), 2u)
        << "blanks ignored only when nothing matches exactly";
    EXPECT_TRUE(findDevicesByName(m, "Котёл").empty());
}

} // namespace
} // namespace vextor
