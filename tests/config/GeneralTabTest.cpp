// "ДУ приводов ", " Общие " and " Ведомые " headless: what each entry stores, refusals, the bits
// of Options the tab leaves alone, and the slave line's family rules.
#include "config/GeneralTab.h"
#include "config/DriveControlTab.h"
#include "link/UserDialogs.h"
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace vextor {
namespace {

class DriveControlTest : public ::testing::Test {
protected:
    DriveControlTest() : tab(image, fields.controls()) {
        loadDefaultConfiguration(image);
        setValidationDialogs(&dialogs);
        tab.showDriveControl();
    }
    ~DriveControlTest() override { setValidationDialogs(nullptr); }
    ConfigImage image;
    ScriptedDialogs dialogs;
    PlainDriveControlControls fields;
    DriveControlTab tab;
};

TEST_F(DriveControlTest, EachTimeGoesToItsOwnDriveAndFlagsFollowTheBoxes) {
    image.DC1LuftTime = 11;
    image.DC2LuftTime = 22;
    image.DCFlags = 0xE4; // bits 5-7 are not the tab's: dropped on apply
    tab.showDriveControl();
    EXPECT_EQ(fields.times[2].text(), "11");
    EXPECT_EQ(fields.times[5].text(), "22");
    EXPECT_TRUE(fields.flags[2].isChecked());
    EXPECT_FALSE(fields.flags[0].isChecked());

    const char* entries[6] = {"255", "255", "0", "1", "2", "3"};
    for (int i = 0; i < 6; ++i)
        fields.times[i].setText(entries[i]);
    for (auto& f : fields.flags)
        f.setChecked(false);
    fields.flags[3].setChecked(true);
    tab.applyDriveControl();
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(image.DCFlags, 0x08);
    EXPECT_EQ(image.DC1FullTime, 255);
    EXPECT_EQ(image.DC1MinTime, 255);
    EXPECT_EQ(image.DC1LuftTime, 0);
    EXPECT_EQ(image.DC2FullTime, 1);
    EXPECT_EQ(image.DC2MinTime, 2);
    EXPECT_EQ(image.DC2LuftTime, 3);

    fields.flags[3].setChecked(false);
    fields.times[1].setText("256");
    fields.times[4].setText("-1"); // later entries keep their values without a second message
    tab.applyDriveControl();
    EXPECT_EQ(dialogs.shown, QStringList{"Значение 256 вне допустимого диапазона!"});
    EXPECT_EQ(image.DCFlags, 0);
    EXPECT_EQ(image.DC1MinTime, 255);
    EXPECT_EQ(image.DC2MinTime, 2);
}

class GeneralTabTest : public ::testing::Test {
protected:
    GeneralTabTest() : slaves(image, slaveFields.controls()), tab(image, fields.controls(), slaves) {
        loadDefaultConfiguration(image);
        setValidationDialogs(&dialogs);
        tab.showGeneral();
    }
    ~GeneralTabTest() override { setValidationDialogs(nullptr); }
    ConfigImage image;
    ScriptedDialogs dialogs;
    PlainGeneralControls fields;
    PlainSlaveControls slaveFields;
    SlavesEditor slaves;
    GeneralTab tab;
};

TEST_F(GeneralTabTest, SeasonsStoreTwoDigitYearsAndNoSeconds) {
    EXPECT_EQ(fields.summerDate.date(), QDate(2015, 5, 3));
    EXPECT_EQ(fields.winterDate.date(), QDate(2015, 9, 1));
    EXPECT_EQ(fields.nightTime.time(), QTime(19, 0));
    EXPECT_EQ(fields.counters[0].text(), "1,0000");

    image.SummerBegin = {};
    fields.summerDate.setDate(QDate(2015, 5, 3));
    fields.summerTime.setTime(QTime(7, 0, 30));
    fields.winterDate.setDate(QDate(2031, 10, 31));
    fields.winterTime.setTime(QTime(23, 59, 59));
    fields.dayTime.setTime(QTime(6, 15, 45));
    tab.applyGeneral();
    EXPECT_EQ(image.SummerBegin, (DateTimePoint{7, 0, 0, 3, 5, 15}));
    EXPECT_EQ(image.WinterBegin, (DateTimePoint{23, 59, 0, 31, 10, 31}));
    EXPECT_EQ(image.DayBegin, (TimeOfDay{6, 15, 0}));
    tab.showGeneral();
    EXPECT_EQ(fields.winterDate.date(), QDate(2031, 10, 31));
}

TEST_F(GeneralTabTest, BytesThatFormNoDateShowEmptyAndStayUntilTheEngineerEntersOne) {
    image.SummerBegin = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    image.NightBegin = {0xFF, 0xFF, 0xFF};
    tab.showGeneral();
    EXPECT_EQ(fields.summerDate.date(), std::nullopt);
    EXPECT_EQ(fields.summerTime.time(), QTime(0, 0));
    EXPECT_EQ(fields.nightTime.time(), QTime(0, 0));
    const DateTimePoint before = image.SummerBegin;
    tab.applyGeneral();
    EXPECT_EQ(image.SummerBegin.Day, before.Day);
    EXPECT_EQ(image.SummerBegin.Month, before.Month);
    EXPECT_EQ(image.SummerBegin.Year, before.Year);
    fields.summerDate.setDate(QDate(2020, 4, 1));
    tab.applyGeneral();
    EXPECT_EQ(image.SummerBegin, (DateTimePoint{0, 0, 0, 1, 4, 20}));
}

TEST_F(GeneralTabTest, OutputLimitsAndOnlyTheTabsOptionBits) {
    const struct {
        const char* percent;
        const char* time;
        bool refused;
    } cases[] = {{"100", "255", false}, {"101", "30", true}, {"0", "256", true}};
    for (const auto& c : cases) {
        dialogs.shown.clear();
        image.DAC1erProcent = 7;
        image.DAC1erTime = 7;
        fields.dac1Percent.setText(c.percent);
        fields.dac1Time.setText(c.time);
        tab.applyGeneral();
        EXPECT_EQ(dialogs.shown.size(), c.refused ? 1 : 0) << c.percent << " " << c.time;
        if (!c.refused) {
            EXPECT_EQ(image.DAC1erProcent, 100);
            EXPECT_EQ(image.DAC1erTime, 255);
        }
    }

    image.Options = 0xFFCC; // every bit but the tab's own four
    tab.showGeneral();
    fields.dac1Range.setChecked(true);
    fields.overload2.setChecked(true);
    tab.applyGeneral();
    EXPECT_EQ(image.Options, 0xFFCC | 0x0001 | 0x0020);
    fields.dac1Range.setChecked(false);
    fields.overload2.setChecked(false);
    tab.applyGeneral();
    EXPECT_EQ(image.Options, 0xFFCC);

    fields.counters[2].setText("0,00000001"); // would come back from the controller as 0
    tab.applyGeneral();
    EXPECT_EQ(image.KoefCounters[2], 1.0f);
    EXPECT_FALSE(dialogs.shown.isEmpty());
}

TEST_F(GeneralTabTest, SlaveRowsStoreAddressTypeAndLineSettings) {
    slaves.addSlaveDevice(6); // Toshiba
    slaves.addSlaveDevice(6);
    slaves.addSlaveDevice(6);
    slaveFields.address[2].setText("5");
    slaveFields.address[0].setText("1");
    slaveFields.address[1].setText("2");
    slaveFields.frame[2].setCurrentIndex(3);
    slaves.frameChanged(2);
    slaveFields.baud[1].setCurrentIndex(2);
    slaves.baudChanged(1);
    for (int i = 0; i < kSlaveCount; ++i) {
        EXPECT_EQ(slaveFields.baud[i].currentIndex(), 2) << i;
        EXPECT_EQ(slaveFields.frame[i].currentIndex(), 3) << i;
    }
    tab.applyGeneral();
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join('|').toStdString();
    EXPECT_EQ(image.Slaves[2], (SlaveRecord{5, 67, 0x32}));
    EXPECT_EQ(image.Slaves[7], (SlaveRecord{0, 255, 0x32}));

    // A device added but given no address is refused at the apply.
    slaves.addSlaveDevice(6);
    tab.applyGeneral();
    EXPECT_EQ(dialogs.shown, QStringList{"Значение 0 вне допустимого диапазона!"});
    EXPECT_EQ(image.Slaves[3].Type, 255);

    // A type code the list does not name shows "Нет" and is stored as an empty slot.
    image.Slaves[0] = {7, 33, 0x01};
    slaves.showSlaves();
    EXPECT_EQ(slaveFields.type[0].currentIndex(), kSlaveTypeNone);
    EXPECT_FALSE(slaves.rows()[0].addressEnabled);
    dialogs.shown.clear();
    slaveFields.address[3].setText("4");
    tab.applyGeneral();
    EXPECT_EQ(image.Slaves[0], (SlaveRecord{0, 255, 0x01}));
    EXPECT_EQ(slaveFields.address[0].text(), "0");
}

TEST_F(GeneralTabTest, AddButtonsFollowTheFamilyRules) {
    using Buttons = std::array<bool, kSlaveButtonCount>;
    slaves.addSlaveDevice(2); // Lintra
    EXPECT_EQ(slaves.addButtons(), (Buttons{true, true, false, true, true, false, false, false}));
    EXPECT_EQ(slaveFields.frame[0].currentIndex(), 0);
    EXPECT_EQ(slaveFields.baud[0].currentIndex(), 1);
    EXPECT_EQ(slaves.rows()[0], (SlaveRowState{true, true, false}));
    slaves.removeLastSlave();
    EXPECT_TRUE(slaves.addButtons()[2]);
    slaves.removeLastSlave(); // on an empty list every button comes back
    EXPECT_EQ(slaves.addButtons(), (Buttons{true, true, true, true, true, true, true, true}));

    for (int i = 0; i < 5; ++i)
        slaves.addSlaveDevice(7); // Danfoss
    EXPECT_EQ(slaves.addButtons(), (Buttons{false, false, false, false, false, false, false, true}));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(slaveFields.type[i].currentIndex(), 7);
    EXPECT_NE(slaveFields.type[4].currentIndex(), 7); // other makes use slots 1 to 4 only
    EXPECT_EQ(slaves.rows()[0], (SlaveRowState{true, true, true}));

    // After a load the buttons follow what the rows hold.
    image.Slaves[0] = {3, 65, 0x01};
    for (int i = 1; i < kSlaveCount; ++i)
        image.Slaves[i] = {0, 255, 0x01};
    slaves.showSlaves();
    slaves.updateAddButtons();
    EXPECT_FALSE(slaves.addButtons()[6]);
    EXPECT_FALSE(slaves.addButtons()[4]);
}

} // namespace
} // namespace vextor
