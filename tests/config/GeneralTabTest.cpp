// "ДУ приводов ", " Общие " and " Ведомые " headless: what each entry stores, refusals, the bits
// of Options the tab leaves alone, and the slave line's family rules.
#include "config/GeneralTab.h"
#include "FieldTable.h"
#include "config/DriveControlTab.h"
#include "config/OptionBits.h"
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

// Each of the six times and five flags against its own field.
TEST_F(DriveControlTest, EntriesAndTheirFields) {
    uint8_t ConfigImage::*const times[6] = {&ConfigImage::DC1FullTime, &ConfigImage::DC1MinTime,
                                            &ConfigImage::DC1LuftTime, &ConfigImage::DC2FullTime,
                                            &ConfigImage::DC2MinTime,  &ConfigImage::DC2LuftTime};
    std::vector<field_table::EntryRow> rows;
    for (int i = 0; i < 6; ++i) {
        const auto v = static_cast<uint8_t>(101 + i);
        rows.push_back(field_table::entry("time " + std::to_string(i), fields.times[static_cast<size_t>(i)],
                                          QString::number(v),
                                          [&, i, v](ConfigImage& im) { im.*times[i] = v; }));
    }
    std::vector<field_table::FlagRow> flags;
    for (int b = 0; b < 5; ++b)
        flags.push_back(
            {"DCFlags bit " + std::to_string(b), &fields.flags[static_cast<size_t>(b)],
             [b](ConfigImage& im, bool on) { setBits(im.DCFlags, static_cast<uint8_t>(1u << b), on); }});
    field_table::Tab table{image, dialogs, [&] { tab.showDriveControl(); }, [&] { tab.applyDriveControl(); }};
    table.checkEntries(rows);
    table.checkFlags(flags);
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

// Every entry of " Общие " and of its slave rows against its own field; the date and time entries
// through their own seams.
TEST_F(GeneralTabTest, EntriesAndTheirFields) {
    using field_table::entry;
    using field_table::EntryRow;
    const auto date = [](std::string name, PlainDateField& f, QString text,
                         std::function<void(ConfigImage&)> put) {
        return EntryRow{std::move(name), std::move(text), std::move(put),
                        [&f] { return f.date() ? f.date()->toString("dd.MM.yyyy") : QString(); },
                        [&f](const QString& t) { f.setDate(QDate::fromString(t, "dd.MM.yyyy")); }};
    };
    const auto time = [](std::string name, PlainTimeField& f, QString text,
                         std::function<void(ConfigImage&)> put) {
        return EntryRow{std::move(name), std::move(text), std::move(put),
                        [&f] { return f.time().toString("HH:mm"); },
                        [&f](const QString& t) { f.setTime(QTime::fromString(t, "HH:mm")); }};
    };
    std::vector<EntryRow> rows = {
        date("SummerBegin date", fields.summerDate, "11.04.2021",
             [](ConfigImage& im) {
                 im.SummerBegin.Day = 11, im.SummerBegin.Month = 4, im.SummerBegin.Year = 21;
             }),
        time("SummerBegin time", fields.summerTime, "05:12",
             [](ConfigImage& im) { im.SummerBegin.Hour = 5, im.SummerBegin.Minute = 12; }),
        date("WinterBegin date", fields.winterDate, "13.10.2023",
             [](ConfigImage& im) {
                 im.WinterBegin.Day = 13, im.WinterBegin.Month = 10, im.WinterBegin.Year = 23;
             }),
        time("WinterBegin time", fields.winterTime, "06:14",
             [](ConfigImage& im) { im.WinterBegin.Hour = 6, im.WinterBegin.Minute = 14; }),
        time("DayBegin", fields.dayTime, "07:15",
             [](ConfigImage& im) { im.DayBegin.Hour = 7, im.DayBegin.Minute = 15; }),
        time("NightBegin", fields.nightTime, "20:16",
             [](ConfigImage& im) { im.NightBegin.Hour = 20, im.NightBegin.Minute = 16; }),
        entry("DelayFlowCtrl", fields.delayFlowCtrl, "31", [](ConfigImage& im) { im.DelayFlowCtrl = 31; }),
        entry("QuantityAttemptLink", fields.quantityAttemptLink, "32",
              [](ConfigImage& im) { im.QuantityAttemptLink = 32; }),
        entry("TimeNoAsking", fields.timeNoAsking, "33", [](ConfigImage& im) { im.TimeNoAsking = 33; }),
        entry("DAC1erProcent", fields.dac1Percent, "34", [](ConfigImage& im) { im.DAC1erProcent = 34; }),
        entry("DAC1erTime", fields.dac1Time, "35", [](ConfigImage& im) { im.DAC1erTime = 35; }),
        entry("DAC2erProcent", fields.dac2Percent, "36", [](ConfigImage& im) { im.DAC2erProcent = 36; }),
        entry("DAC2erTime", fields.dac2Time, "37", [](ConfigImage& im) { im.DAC2erTime = 37; }),
    };
    for (int i = 0; i < 4; ++i) {
        const float k = 1.5f + static_cast<float>(i);
        rows.push_back(entry("KoefCounters[" + std::to_string(i) + "]",
                             fields.counters[static_cast<size_t>(i)], formatFixed(k, 6, 4),
                             [i, k](ConfigImage& im) { im.KoefCounters[static_cast<size_t>(i)] = k; }));
    }
    // Every slot holds a device of its own type, so that its address and type are taken.
    for (int i = 0; i < kSlaveCount; ++i) {
        const auto address = static_cast<uint8_t>(41 + i);
        rows.push_back(entry("Slaves[" + std::to_string(i) + "].Address",
                             slaveFields.address[static_cast<size_t>(i)], QString::number(address),
                             [i, address](ConfigImage& im) { im.Slaves[i].Address = address; }));
        const int type = (i + 1) % kSlaveButtonCount;
        PlainChoiceField& list = slaveFields.type[static_cast<size_t>(i)];
        rows.push_back({"Slaves[" + std::to_string(i) + "].Type", QString::number(type),
                        [i, type](ConfigImage& im) { im.Slaves[i].Type = slaveTypeCode(type); },
                        [&list] { return QString::number(list.currentIndex()); },
                        [&list](const QString& t) { list.setCurrentIndex(t.toInt()); }});
        const int baud = i % 4;
        PlainChoiceField& bauds = slaveFields.baud[static_cast<size_t>(i)];
        rows.push_back({"Slaves[" + std::to_string(i) + "] baud", QString::number(baud),
                        [i, baud](ConfigImage& im) {
                            im.Slaves[i].Options = static_cast<uint8_t>((im.Slaves[i].Options & 0xF0) | baud);
                        },
                        [&bauds] { return QString::number(bauds.currentIndex()); },
                        [&bauds](const QString& t) { bauds.setCurrentIndex(t.toInt()); }});
    }
    field_table::Tab table{image, dialogs, [&] { tab.showGeneral(); }, [&] { tab.applyGeneral(); }};
    table.prepare = [](ConfigImage& im) {
        for (int i = 0; i < kSlaveCount; ++i)
            im.Slaves[i] = {static_cast<uint8_t>(i + 1), slaveTypeCode(i), 0x13};
    };
    table.checkEntries(rows);
    table.checkFlags({
        {"DAC1 range", &fields.dac1Range,
         [](ConfigImage& im, bool on) { setBits(im.Options, kOptDac1Range, on); }},
        {"DAC2 range", &fields.dac2Range,
         [](ConfigImage& im, bool on) { setBits(im.Options, kOptDac2Range, on); }},
        {"DAC1 overload", &fields.overload1,
         [](ConfigImage& im, bool on) { setBits(im.Options, kOptDac1Overload, on); }},
        {"DAC2 overload", &fields.overload2,
         [](ConfigImage& im, bool on) { setBits(im.Options, kOptDac2Overload, on); }},
    });
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
