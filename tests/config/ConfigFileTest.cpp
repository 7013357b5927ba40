#include "config/ConfigFile.h"
#include "config/ConfigLayout.h"
#include "link/NumericConversions.h"
#include "support/FileBytes.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <map>
#include <string>
#include <sys/resource.h>

using namespace vextor;

namespace {

class RecordingObserver : public ConfigObserver {
public:
    QStringList calls;
    void configurationChanged(ConfigViews views) override {
        calls << QStringLiteral("changed %1").arg(views, 0, 16);
    }
    void selectFirstRows() override { calls << QStringLiteral("first rows"); }
    void showFirstPage() override { calls << QStringLiteral("first page"); }
};

ConfigImage sampleImage() {
    ConfigImage im;
    loadDefaultConfiguration(im);
    im.MB_Address = 17;
    im.MB_Params = 0x92;
    im.ArrSensors[0] = {0, 2, 100.0f, 0.00385f, 0, {3, 1, 0xAB, 0xCD}};
    im.ArrSensors[1] = {1, 4, -50.0f, 150.0f, 25.0f, {}};
    im.AdrNumDut[31] = {4, 32};
    im.SummerBegin = {6, 30, 0, 30, 3, 24};
    im.NightBegin = {22, 15, 0};
    im.DelayOnVent1 = 9;
    im.DelayOnVent2 = 8;
    im.Options = 0x4321;
    im.Histeresis = 1.5f;
    im.TempDownNotch = -1;
    im.TimeDownNotch = 0x0102;
    im.MaxQuantityHeat = 7;
    im.KoefOutVent = 0.75f;
    im.SPVPIDKoef[0] = {2.0f, 0.5f, 0.125f, 4.0f, 11};
    im.PIDKoef[3] = {3.0f, 1.5f, 0.25f, 8.0f, 21};
    im.Conditions[31] = {5, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, -0.5f};
    im.Calendars[4][11] = 0x5C;
    return im;
}

using vextor::testing::readAll;

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray b;
    for (int v : values)
        b.append(static_cast<char>(v));
    return b;
}

class ConfigFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
};

} // namespace

TEST_F(ConfigFileTest, SavedFileHasTheFileLayout) {
    const QString file = path("conf.bin");
    const QDateTime when(QDate(2024, 3, 5), QTime(14, 7, 9));
    const ConfigFileResult result = saveConfigurationFile(sampleImage(), file, when);
    ASSERT_TRUE(result.success) << result.errorText.toStdString();
    EXPECT_TRUE(result.errorText.isEmpty());
    EXPECT_TRUE(result.logLine.endsWith(QStringLiteral(" сохранение файла - ") + file));
    EXPECT_TRUE(
        result.logLine.startsWith(dateTimeFormats().toString(when.date(), QLocale::ShortFormat) + ' '));

    const QByteArray b = readAll(file);
    ASSERT_EQ(b.size(), 1153);
    const struct {
        int offset;
        QByteArray expected;
    } cases[] = {
        {0, bytes({17, 0x92})},                       // MB_Address first
        {2, bytes({0, 2, 0, 0, 0, 0, 0xC8, 0x42})},   // sensor 0: kind, type, 2 zeros, Rbegin
        {14, bytes({3, 1, 0xAB, 0xCD})},              // its raw tail at +12
        {18 + 12, bytes({0, 0, 0xC8, 0x41})},         // sensor 1's FValue 25.0
        {202 + 62, bytes({4, 32})},                   // AdrNumDut[31]
        {266, bytes({6, 30, 0, 30, 3, 24})},          // SummerBegin with its year
        {281, bytes({22, 15, 0, 9, 8})},              // NightBegin, then DelayOnVent1, 2
        {290, bytes({0x21, 0x43})},                   // Options
        {330, bytes({0, 0, 0xC0, 0x3F})},             // Histeresis 1.5
        {343, bytes({0xFF, 0x02, 0x01})},             // TempDownNotch -1, TimeDownNotch
        {417, bytes({7, 0, 0, 0, 0, 0, 0x40, 0x3F})}, // MaxQuantityHeat, 3 zeros, KoefOutVent
        {441, bytes({0, 0, 0, 0x40})},                // SPVPIDKoef[0].KProp 2.0
        {441 + 16, bytes({11, 0, 0, 0, 0, 0, 0, 0})}, // PeriodDif, 3 zeros, next record
        {501 + 60, bytes({0, 0, 0x40, 0x40})},        // PIDKoef[3].KProp 3.0
        {581 + 16 * 31, bytes({5, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0, 0, 0, 0xBF})},
        {1093, bytes({0x01, 0x83, 0xC1, 0x60, 0x30, 0x02})}, // January, then February
        {1152, bytes({0x5C})},                               // December's last byte
    };
    for (const auto& c : cases)
        EXPECT_EQ(b.mid(c.offset, c.expected.size()).toHex(' '), c.expected.toHex(' '))
            << "offset " << c.offset;
}

// The fields outside the file stay as they are in the program; everything else comes back.
TEST_F(ConfigFileTest, LoadRestoresTheSavedFieldsAndLeavesTheOthers) {
    const QString file = path("conf.bin");
    const ConfigImage saved = sampleImage();
    ASSERT_TRUE(saveConfigurationFile(saved, file).success);

    ConfigImage image;
    loadDefaultConfiguration(image);
    image.TimeWorkPump = 13;
    image.SoundOn = 1;
    image.Zarnet_Modbus = 0x55;
    image.AdrNumAOut[6] = {9, 9};
    image.CfgVersion = 200;
    image.KfDAC1 = 2.5f;
    RecordingObserver observer;
    const QDateTime when(QDate(2024, 3, 5), QTime(14, 7, 9));
    const ConfigFileResult result = loadConfigurationFile(image, file, &observer, when);

    ASSERT_TRUE(result.success);
    EXPECT_TRUE(result.warningText.isEmpty());
    EXPECT_TRUE(result.logLine.endsWith(QStringLiteral(" открытие файла - ") + file));
    ConfigImage expected = saved;
    expected.TimeWorkPump = 13;
    expected.SoundOn = 1;
    expected.Zarnet_Modbus = 0x55;
    expected.AdrNumAOut[6] = {9, 9};
    expected.CfgVersion = 200;
    expected.KfDAC1 = 2.5f;
    EXPECT_EQ(image, expected);
    EXPECT_EQ(image.ArrSensors[0].Byte, (std::array<uint8_t, 4>{3, 1, 0xAB, 0xCD}));
    // Every view, and the calendar marked as loaded (bit 16).
    EXPECT_EQ(observer.calls, (QStringList{QStringLiteral("first page"), QStringLiteral("changed 1ffff"),
                                           QStringLiteral("first rows")}));
}

// Older files may be shorter: the fields they reach are read, a field cut off is not, and the user
// is told how much was read.
TEST_F(ConfigFileTest, ShortFileFillsOnlyTheFieldsItReaches) {
    const struct {
        QByteArray content;
        void (*change)(ConfigImage&);
    } cases[] = {
        {bytes({9, 0x83}),
         [](ConfigImage& im) {
             im.MB_Address = 9;
             im.MB_Params = 0x83;
         }},
        // Kind, type and reserved bytes of sensor 0, then half of its Rbegin.
        {bytes({9, 0x83, 2, 5, 0xEE, 0xEE, 0x00, 0x00}),
         [](ConfigImage& im) {
             im.MB_Address = 9;
             im.MB_Params = 0x83;
             im.ArrSensors[0].KindSensor = 2;
             im.ArrSensors[0].TypeClb = 5;
         }},
        {QByteArray(), [](ConfigImage&) {}},
    };
    for (const auto& c : cases) {
        const QString file = path("short.bin");
        writeAll(file, c.content);
        ConfigImage image;
        loadDefaultConfiguration(image);
        image.ArrSensors[0].Rbegin = 7.0f;
        ConfigImage expected = image;
        c.change(expected);

        RecordingObserver observer;
        const ConfigFileResult result = loadConfigurationFile(image, file, &observer);
        EXPECT_TRUE(result.success);
        EXPECT_EQ(image, expected) << c.content.size() << " bytes";
        EXPECT_EQ(
            result.warningText,
            QStringLiteral("Файл \"%1\" короче файла конфигурации: прочитано %2 байт из 1153. Остальные "
                           "параметры не изменены.")
                .arg(file)
                .arg(c.content.size()));
        EXPECT_FALSE(result.logLine.isEmpty());
        EXPECT_EQ(observer.calls.size(), 3);
    }
}

// A longer file is not a configuration file (an event file picked by mistake): nothing changes and
// nothing is bound.
TEST_F(ConfigFileTest, LongerFileIsRefusedAndChangesNothing) {
    for (int size : {1154, 9 * 1000}) {
        const QString file = path("events.blb");
        writeAll(file, QByteArray(size, '\x07'));
        ConfigImage image;
        loadDefaultConfiguration(image);
        const ConfigImage before = image;
        RecordingObserver observer;
        const ConfigFileResult result = loadConfigurationFile(image, file, &observer);
        EXPECT_FALSE(result.success);
        EXPECT_EQ(result.errorText,
                  QStringLiteral("Файл \"%1\" не является файлом конфигурации: его длина %2 байт "
                                 "больше 1153. Конфигурация не изменена.")
                      .arg(file)
                      .arg(size));
        EXPECT_TRUE(result.logLine.isEmpty());
        EXPECT_EQ(image, before);
        EXPECT_TRUE(observer.calls.isEmpty());
    }
}

TEST_F(ConfigFileTest, MissingFileIsReportedAndChangesNothing) {
    const QString file = path("none.bin");
    ConfigImage image;
    loadDefaultConfiguration(image);
    const ConfigImage before = image;
    const ConfigFileResult result = loadConfigurationFile(image, file, nullptr);
    EXPECT_FALSE(result.success);
    EXPECT_EQ(result.errorText, QStringLiteral("Файла \"") + file + QStringLiteral("\" не существует!"));
    EXPECT_TRUE(result.logLine.isEmpty());
    EXPECT_EQ(image, before);
}

// A save that cannot be completed (here: the disk refuses more than 100 bytes) leaves the old file
// as it was and reports the failure instead of a log line.
TEST_F(ConfigFileTest, FailedSaveKeepsTheOldFile) {
    const QString file = path("conf.bin");
    const QByteArray old = QByteArray("old configuration");
    writeAll(file, old);

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const ConfigFileResult result = saveConfigurationFile(sampleImage(), file);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(result.success);
    EXPECT_TRUE(result.errorText.startsWith(QStringLiteral("Не удалось сохранить файл \"") + file + "\": "));
    EXPECT_TRUE(result.logLine.isEmpty());
    EXPECT_EQ(readAll(file), old);

    const ConfigFileResult noDir = saveConfigurationFile(sampleImage(), path("missing/conf.bin"));
    EXPECT_FALSE(noDir.success);
    EXPECT_FALSE(noDir.errorText.isEmpty());
}

namespace {

// Every field of an image by its name ("ArrSensors[1].Rline", "KoefCounters[2]", "Calendars[0].Byte[4]").
class FieldValues {
public:
    std::map<std::string, double> values;

    template <class T> void field(const layout::Field& f, const T& v) {
        if constexpr (std::is_same_v<T, layout::RawBytes>) {
            for (int k = 0; k < 4; ++k)
                values[name(f.name, k)] = v[k];
        } else {
            values[name(f.name, f.index)] = static_cast<double>(v);
        }
    }
    void reserved(uint32_t, uint32_t) {}
    template <class Body> void record(const char* name, int index, uint32_t, Body& body) {
        prefix_ = this->name(name, index) + '.';
        body();
        prefix_.clear();
    }

private:
    std::string name(const char* n, int index) const {
        std::string s = prefix_ + n;
        if (index >= 0)
            s.append("[").append(std::to_string(index)).append("]");
        return s;
    }
    std::string prefix_;
};

std::map<std::string, double> fieldValues(const ConfigImage& im) {
    FieldValues v;
    layout::visitImage(im, v);
    return v.values;
}

} // namespace

// A whole file with a value of its own in every field, written by the fixture script from the file
// table: each field must arrive in its own place (two fields swapped in the file order fail here),
// everything the file does not hold keeps its value, and saving gives the same bytes back.
TEST(ConfigFileFixture, EveryFieldOfAWholeFileLandsInItsOwnPlace) {
    QFile bin(QStringLiteral(VEXTOR_FIXTURES "/config/whole_file.bin"));
    QFile txt(QStringLiteral(VEXTOR_FIXTURES "/config/whole_file.txt"));
    ASSERT_TRUE(bin.open(QIODevice::ReadOnly) && txt.open(QIODevice::ReadOnly));
    const QByteArray bytes = bin.readAll();
    ASSERT_EQ(bytes.size(), kConfigFileSize);

    ConfigImage defaults;
    loadDefaultConfiguration(defaults);
    ConfigImage loaded = defaults;
    EXPECT_EQ(applyConfigurationFileBytes(loaded, bytes), kConfigFileSize);

    const auto before = fieldValues(defaults);
    const auto after = fieldValues(loaded);
    std::map<std::string, double> expected;
    for (const QByteArray& line : txt.readAll().split('\n')) {
        const int eq = line.indexOf(" = ");
        if (eq > 0)
            expected[line.left(eq).toStdString()] = line.mid(eq + 3).toDouble();
    }
    ASSERT_FALSE(expected.empty());
    for (const auto& [name, value] : expected) {
        ASSERT_TRUE(after.count(name)) << name << " is not a field of the image";
        EXPECT_EQ(after.at(name), value) << name;
        // The check above would pass for a field the load never touched.
        EXPECT_NE(before.count(name) ? before.at(name) : -1e9, value) << name << " has its default value";
    }
    for (const auto& [name, value] : after) {
        if (!expected.count(name)) {
            EXPECT_EQ(value, before.at(name)) << name << " is not in the file, so a load leaves it";
        }
    }

    EXPECT_EQ(configurationFileBytes(loaded), bytes);
}
