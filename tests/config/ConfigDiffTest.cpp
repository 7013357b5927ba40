// Two configurations compared field by field: what counts as a difference, how it is named and
// shown, and which files are taken.
#include "config/ConfigDiff.h"
#include "config/ConfigDump.h"
#include "config/ConfigFile.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using namespace vextor;

namespace {

ConfigImage defaults() {
    ConfigImage im;
    loadDefaultConfiguration(im);
    return im;
}

// An image that differs from the defaults in several sections, with a kind-0 sensor.
ConfigImage edited() {
    ConfigImage im = defaults();
    im.ArrSensors[0] = {0, 2, 1000.0f, 2.2f, 0.0f, {3, 2, 0x12, 0x34}};
    im.PresetTempAir = 21.5f;
    im.PIDKoef[1].KInt = 0.125f;
    im.Conditions[5].Kind = 3;
    im.Calendars[2][6] = 0x81;
    return im;
}

std::string text(const std::vector<ConfigDifference>& d) {
    std::string s;
    for (const ConfigDifference& x : d)
        s += (x.name + " | " + x.section + " | " + x.valueA + " | " + x.valueB + "\n").toStdString();
    return s;
}

} // namespace

namespace vextor {
void PrintTo(const ConfigDifference& d, std::ostream* os) {
    *os << (d.name + " | " + d.section + " | " + d.valueA + " | " + d.valueB).toStdString();
}
} // namespace vextor

TEST(ConfigDiff, AnImageEqualsItselfAndTheFileSavedFromIt) {
    for (const ConfigImage& im : {defaults(), edited()}) {
        EXPECT_TRUE(compareConfigurations(im, im).empty());
        EXPECT_TRUE(compareWithFileBytes(im, configurationFileBytes(im)).empty());
    }
}

// One field changed in each kind of field, through a saved file: exactly that field is listed, by
// the dump's name, under its heading, with the dump's values.
TEST(ConfigDiff, OneChangedFieldOfEachKind) {
    struct Case {
        const char* kind;
        std::function<void(ConfigImage&)> change;
        ConfigDifference expected;
    };
    const Case cases[] = {
        {"float",
         [](ConfigImage& im) { im.PresetTempAir = 22.5f; },
         {"PresetTempAir", "Уставка Т канальная", "24,00000", "22,50000"}},
        {"float in a row",
         [](ConfigImage& im) { im.PIDKoef[1].KInt = 0.125f; },
         {"PIDKoef[1].KInt", "Массив коэф. ПИД регулятора СОт, СГВС, ТП, Рекупер", "0,00000", "0,12500"}},
        {"sensor characteristic",
         [](ConfigImage& im) { im.ArrSensors[4].Rline = 0.385f; },
         {"ArrSensors[4].Rline", "Аналоговые датчики", "0", "0,385"}},
        {"byte",
         [](ConfigImage& im) { im.AdrNumAIn[3].Num = 7; },
         {"AdrNumAIn[3].Num", "Аналоговые входы", "0", "7"}},
        {"flags",
         [](ConfigImage& im) { im.Options = 0x0104; },
         {"Options", "Опции: Набор флагов", "0", "260"}},
        {"time",
         [](ConfigImage& im) { im.NightBegin.Hour = 23; },
         {"NightBegin.Hour", "Начало ночи", "19", "23"}},
        {"calendar",
         [](ConfigImage& im) { im.Calendars[4][11] = 0x5A; },
         {"Calendars[i,12].Byte[4]", "Массив Календаря", "60", "5A"}},
    };
    const ConfigImage a = defaults();
    for (const Case& c : cases) {
        ConfigImage b = a;
        c.change(b);
        const auto d = compareWithFileBytes(a, configurationFileBytes(b));
        EXPECT_EQ(d, std::vector<ConfigDifference>{c.expected}) << c.kind << ":\n" << text(d);
    }
}

// Values that show alike but differ are a difference, shown with every digit.
TEST(ConfigDiff, ValuesThatRoundAlikeShowEveryDigit) {
    ConfigImage a = defaults(), b = defaults();
    b.PresetTempAir = 24.000002f;
    const auto d = compareConfigurations(a, b);
    ASSERT_EQ(d.size(), 1u) << text(d);
    EXPECT_EQ(d[0].valueA.toStdString(), "24");
    EXPECT_EQ(d[0].valueB.toStdString(), "24,000002");
}

// A sensor that turns into a kind-0 one changes its tail: the float on one side, the four raw bytes
// on the other, each where its side has it.
TEST(ConfigDiff, SensorTailOfAnotherKindStandsOnItsOwnSide) {
    ConfigImage a = defaults(), b = defaults();
    a.ArrSensors[2].KindSensor = 1;
    a.ArrSensors[2].FValue = 1.25f;
    b.ArrSensors[2] = {0, 0, 0.0f, 0.0f, 0.0f, {4, 2, 0, 0xEE}};
    const auto d = compareConfigurations(a, b);
    const std::vector<ConfigDifference> expected = {
        {"ArrSensors[2].KindSensor", "Аналоговые датчики", "1", "0"},
        {"ArrSensors[2].FValue", "Аналоговые датчики", "1,25", ""},
        {"ArrSensors[2].Byte[0]", "Аналоговые датчики", "", "4"},
        {"ArrSensors[2].Byte[1]", "Аналоговые датчики", "", "2"},
        {"ArrSensors[2].Byte[2]", "Аналоговые датчики", "", "0"},
        {"ArrSensors[2].Byte[3]", "Аналоговые датчики", "", "238"},
    };
    EXPECT_EQ(d, expected) << text(d);
    // The other way round the sides swap.
    const auto back = compareConfigurations(b, a);
    ASSERT_EQ(back.size(), 6u) << text(back);
    EXPECT_EQ(back[1], (ConfigDifference{"ArrSensors[2].Byte[0]", "Аналоговые датчики", "4", ""}));
    EXPECT_EQ(back[5], (ConfigDifference{"ArrSensors[2].FValue", "Аналоговые датчики", "", "1,25"}));
}

// Fields pair up by name, so no two fields of the walk may share one.
TEST(ConfigDiff, EveryFieldHasANameOfItsOwn) {
    for (const ConfigImage& im : {defaults(), edited()}) {
        QSet<QString> names;
        for (const DumpField& f : configurationDumpFields(im)) {
            EXPECT_FALSE(names.contains(f.name)) << f.name.toStdString();
            names.insert(f.name);
        }
    }
}

// What a file cannot hold never differs from it, and the seasons' Year bytes (never written to a
// controller) count only between images, not against the controller.
TEST(ConfigDiff, OnlyWhatBothSidesCanHoldIsCompared) {
    ConfigImage image = defaults();
    image.Zarnet_Modbus = 0x55;
    image.KfDAC1 = 1.5f;
    image.SoundOn = 1;
    image.AdrNumAOut[6] = {4, 4};
    EXPECT_TRUE(compareWithFileBytes(image, configurationFileBytes(defaults())).empty());

    ConfigImage controller = defaults(), file = defaults();
    controller.SummerBegin.Year = 0;
    file.SummerBegin.Year = 15;
    const auto both = compareWithFileBytes(controller, configurationFileBytes(file));
    ASSERT_EQ(both.size(), 1u) << text(both);
    EXPECT_EQ(both[0].name, "SummerBegin.Year");
    EXPECT_TRUE(
        compareWithFileBytes(controller, configurationFileBytes(file), FirstSide::Controller).empty());
    file.SummerBegin.Day = 2;
    const auto day = compareWithFileBytes(controller, configurationFileBytes(file), FirstSide::Controller);
    ASSERT_EQ(day.size(), 1u) << text(day);
    EXPECT_EQ(day[0].name, "SummerBegin.Day");
}

// Only a whole configuration file is taken; the refusal names the file.
TEST(ConfigDiff, OnlyWholeFilesAreRead) {
    QTemporaryDir dir;
    const QByteArray whole = configurationFileBytes(edited());
    struct Case {
        const char* name;
        QByteArray bytes;
        ComparisonFile::Status status;
        const char* message;
    };
    const Case cases[] = {
        {"whole.bin", whole, ComparisonFile::Status::Read, ""},
        {"short.bin", whole.left(1000), ComparisonFile::Status::WrongSize, "его длина 1000 байт, а не 1153"},
        {"empty.bin", {}, ComparisonFile::Status::WrongSize, "его длина 0 байт, а не 1153"},
        {"long.bin", whole + QByteArray(6000, 'x'), ComparisonFile::Status::WrongSize,
         "его длина 7153 байт, а не 1153"},
    };
    for (const Case& c : cases) {
        const QString path = dir.filePath(c.name);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.bytes);
        f.close();
        const ComparisonFile read = readComparisonFile(path);
        EXPECT_EQ(read.status, c.status) << c.name;
        if (read.read()) {
            EXPECT_EQ(read.bytes, whole);
            continue;
        }
        const QString message = comparisonRefusalText(read, path);
        EXPECT_TRUE(message.startsWith("Файл \"" + path + "\" не является файлом конфигурации"))
            << message.toStdString();
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.message))) << message.toStdString();
    }
    const QString missing = dir.filePath("missing.bin");
    const ComparisonFile none = readComparisonFile(missing);
    EXPECT_EQ(none.status, ComparisonFile::Status::Missing);
    EXPECT_EQ(comparisonRefusalText(none, missing), "Файла \"" + missing + "\" не существует!");
}
