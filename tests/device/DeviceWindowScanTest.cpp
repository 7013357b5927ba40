// The device window's search for controllers, offscreen: the menu entry starts it, its panel shows
// while it runs, and a pick in the list of finds fills the window's address. The line is a double of
// the window's seam that runs each job at once on two virtual controllers.
#include "device/DeviceConsole.h"
#include "device/texts.h"
#include "device/ui/DeviceWindow.h"
#include "link/ModbusMaster.h"
#include "link/PosixSerialPort.h"
#include "link/ZarnetLink.h"
#include "sim/VirtualLine.h"
#include "support/NoPauseClock.h"
#include "support/ScriptedDialogs.h"
#include "support/WaitFor.h"

#include <QAction>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace vextor {
namespace {

namespace t = device_texts;
using testing::waitFor;

// Runs every job on the virtual line as the line worker would (port opened and closed around it,
// the target's address), and tells its end from the event loop as the worker's answer arrives.
class VirtualDeviceLine : public DeviceLine {
public:
    explicit VirtualDeviceLine(QString path) : path_(std::move(path)) {}
    void run(const DirectTarget& target, std::function<bool(LineAccess&)> op,
             std::function<void(DirectEnd)> done) override {
        ++jobs;
        DirectEnd end;
        end.ran = port_.open(path_, LineSettings{}) == PortOk;
        if (end.ran) {
            link_.DeviceAddress = target.zarnetAddress;
            LineAccess access{link_, modbus_, {}};
            end.ok = op(access);
            port_.close();
        }
        QTimer::singleShot(0, [done = std::move(done), end] { done(end); });
    }
    void readConfiguration(const DirectTarget&, std::function<void(DirectEnd)>) override {}
    std::shared_ptr<TransferProgress> progressOnWindow(TransferProgress&) override {
        return std::make_shared<NullProgress>();
    }
    int portNumber() const override { return 1; }
    void setPortNumber(int) override {}
    int jobs = 0;

private:
    QString path_;
    PosixSerialPort port_{PortRole::Zarnet};
    ZarnetLink link_{&port_};
    ModbusMaster modbus_;
};

TEST(DeviceWindowScan, APickInTheListOfFindsFillsTheAddress) {
    testing::NoPauseClock pacing;
    VirtualLine line;
    for (uint8_t address : {3, 17}) {
        auto settings = virtualVextor(address, address);
        settings.eventIntervalMs = 0;
        ASSERT_TRUE(line.addController(settings));
    }
    QString error;
    ASSERT_TRUE(line.start(error)) << error.toStdString();
    VirtualDeviceLine deviceLine(line.portPath());
    ScriptedDialogs dialogs;
    DeviceConsole console(dialogs, deviceLine);
    console.scanOptions.last = 20;
    DeviceWindow window(console);
    window.show();

    QAction* search = window.action(t::kScanItem);
    ASSERT_NE(search, nullptr);
    search->trigger();
    EXPECT_FALSE(window.scanPanel()->isHidden());
    EXPECT_FALSE(search->isEnabled()) << "one search at a time";
    ASSERT_TRUE(waitFor([&] { return window.foundDialog() != nullptr; }));
    EXPECT_TRUE(window.scanPanel()->isHidden());
    EXPECT_TRUE(search->isEnabled());
    EXPECT_EQ(deviceLine.jobs, 3);
    EXPECT_TRUE(dialogs.shown.isEmpty());

    QDialog* found = window.foundDialog();
    EXPECT_EQ(found->windowTitle(), t::kFoundCaption);
    QListWidget* list = window.foundList();
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), "Адрес 3:  Vextor  v2,01:3, конфигурация вер. 2,00");
    EXPECT_EQ(list->item(1)->text(), "Адрес 17:  Vextor  v2,01:3, конфигурация вер. 2,00");
    EXPECT_TRUE(window.addressLabel()->isHidden());

    list->setCurrentRow(1);
    QPushButton* pick = nullptr;
    for (QPushButton* b : found->findChildren<QPushButton*>())
        if (b->text() == t::kFoundPick)
            pick = b;
    ASSERT_NE(pick, nullptr);
    pick->click();
    EXPECT_EQ(console.deviceAddress(), 17);
    EXPECT_FALSE(window.addressLabel()->isHidden());
    EXPECT_EQ(window.addressLabel()->text(), "Адрес прибора: 17");
    ASSERT_TRUE(waitFor([&] { return window.foundDialog() == nullptr; })) << "the list closes with the pick";
}

} // namespace
} // namespace vextor
