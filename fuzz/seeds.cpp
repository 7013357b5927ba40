// Writes the fuzz targets' starting inputs: the test fixtures of each file kind, and hand-made
// replies of a controller that answers well (with their CRCs computed here, so they stay right when
// the frame changes).
//
//   vextor-fuzz-seeds FIXTURES_DIR OUT_DIR     one folder per target under OUT_DIR
#include "app/FormIni.h"
#include "link/ModbusMaster.h"
#include "link/ZarnetLink.h"
#include "monitor/ChartSettings.h"
#include "project/ProjectFile.h"

#include <QDir>
#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <vector>

using namespace vextor;
using Bytes = std::vector<uint8_t>;

namespace {

QString outDir;
int written = 0;

void put(const char* target, const QString& name, const QByteArray& bytes) {
    const QDir dir(outDir + QLatin1Char('/') + QLatin1String(target));
    QDir().mkpath(dir.path());
    QFile f(dir.filePath(name));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(f.fileName()));
        std::exit(1);
    }
    ++written;
}

QByteArray bytesOf(const Bytes& b) {
    return QByteArray(reinterpret_cast<const char*>(b.data()), static_cast<qsizetype>(b.size()));
}

QByteArray fixture(const QString& fixtures, const char* path) {
    QFile f(fixtures + QLatin1Char('/') + QLatin1String(path));
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read the fixture %s\n", qPrintable(f.fileName()));
        std::exit(1);
    }
    return f.readAll();
}

// A device-protocol reply: address, length, code, data, CRC; scrambled with key when key is not 0.
Bytes zarnetReply(uint8_t address, uint8_t code, Bytes data = {}, uint8_t key = 0) {
    Bytes f{static_cast<uint8_t>(address | (key ? 0x80 : 0)), 0, code};
    f.insert(f.end(), data.begin(), data.end());
    for (size_t i = 2; i < f.size(); ++i)
        f[i] ^= key;
    f[1] = static_cast<uint8_t>(f.size());
    f.push_back(ZarnetCrc8(f.data(), f.size()));
    return f;
}

// The scripts of the targets that take several replies: head bytes, then each reply after its length.
Bytes script(Bytes head, std::initializer_list<Bytes> replies) {
    for (const Bytes& r : replies) {
        head.push_back(static_cast<uint8_t>(r.size()));
        head.insert(head.end(), r.begin(), r.end());
    }
    return head;
}

Bytes withModbusCrc(Bytes f) {
    const uint16_t crc = ModbusCrc16(f.data(), f.size());
    f.push_back(static_cast<uint8_t>(crc));
    f.push_back(static_cast<uint8_t>(crc >> 8));
    return f;
}

Bytes floatBytes(float v) {
    Bytes b(4);
    std::memcpy(b.data(), &v, 4);
    return b;
}

Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

// The address and nonce the device-protocol targets use.
constexpr uint8_t kAddress = 5;
constexpr uint8_t kNonce = 0x5A;

void zarnetSeeds() {
    const auto r = [](uint8_t code, Bytes data = {}) { return zarnetReply(kAddress, code, std::move(data)); };
    const Bytes analog = cat({{0x04, 1, 3, 0}, floatBytes(21.5f), {2, 0, 0}, {3, 3, 0}, floatBytes(-4.25f)});
    const Bytes inner = {2, 5, 0x1A, 0, 1};
    const struct {
        const char* name;
        Bytes input;
    } seeds[] = {
        {"version", script({0, 0, 0}, {r(0x00, {32, 201, 0, 3})})},
        {"version_scrambled",
         script({0, 0x33, 0}, {zarnetReply(kAddress, 0x00, {32, 201, 0, 3}, 0x33 ^ kNonce)})},
        {"session_key", script({1, 0, 0x33}, {r(0x12, {0x33, 0x33})})},
        {"address", script({2, 0, 7}, {zarnetReply(7, 0x10, {7, 7})})},
        {"reset", script({3, 0, 0}, {r(0x18)})},
        {"status", script({4, 0, 0}, {r(0x1A, {1})})},
        {"read_delay", script({5, 0, 0}, {r(0x3E, {0x14, 2, 0})})},
        {"write_delay", script({6, 0, 2}, {r(0x3E, {0x14, 2})})},
        {"read_clock", script({7, 0, 0}, {r(0x36, {9, 5, 7, 1, 2, 24})})},
        {"write_clock", script({8, 0, 9}, {r(0x2A, {9, 1})})},
        {"read_memory", script({9, 0, 3}, {r(0x44, {0, 1, 2, 3, 4})})},
        {"write_memory", script({10, 0, 3}, {r(0x42, {0, 0})})},
        {"poll_event", script({11, 0, 0}, {r(0x0C, {0, 84, 1, 9, 5, 7, 1, 2, 24})})},
        {"poll_input_change", script({11, 0, 0}, {r(0x0E, {0, 0, 3, 0x45})})},
        {"poll_nothing", script({11, 0, 0}, {r(0x02, {0, 0})})},
        {"read_channels", script({12, 0, 0}, {r(0x58, analog)})},
        {"output_state", script({13, 0, 1}, {r(0x16, {1, 1})})},
        {"output_value", script({14, 0, 1}, {r(0x16, {1, 0x80})})},
        {"transit_send", script({15, 0, 0}, {r(0xFE, {0, 0})})},
        {"transit_status", script({16, 0, 0}, {r(0xFC, {0x55})})},
        {"transit_fetch", script({17, 0, 0}, {r(0xFA, inner)})},
        {"slave_read",
         script({18, 0, 3}, {r(0xFE, {0, 0}), r(0xFC, {0x55}), r(0xFA, {2, 8, 0x44, 0, 1, 2, 3, 4})})},
        {"slave_write", script({19, 0, 0}, {r(0xFE, {0, 0}), r(0xFC, {0x55}), r(0xFA, {2, 5, 0x42, 0, 0})})},
        {"frame", script({20, 0, 0}, {r(0x1A, {1})})},
    };
    for (const auto& s : seeds)
        put("zarnet_replies", QLatin1String(s.name), bytesOf(s.input));
}

void modbusSeeds() {
    put("modbus_reply", QStringLiteral("identify"),
        bytesOf(cat({{0, 1}, withModbusCrc({1, 0x03, 6, 0, 32, 0, 201, 0, 105})})));
    put("modbus_reply", QStringLiteral("switch"),
        bytesOf(cat({{1, 1}, withModbusCrc({1, 0x06, 0xEA, 0x60, 0x55, 0xAA})})));
    put("modbus_reply", QStringLiteral("exception"),
        bytesOf(cat({{2, 1, 0x03, 0, 0}, withModbusCrc({1, 0x83, 2})})));
    put("modbus_reply", QStringLiteral("other_function"),
        bytesOf(cat({{2, 1, 0x10, 0, 0}, withModbusCrc({1, 0x10, 0xEA, 0x60, 0, 1})})));
}

void channelSeeds() {
    const auto r = [](uint8_t code, Bytes data = {}) { return zarnetReply(1, code, std::move(data)); };
    const Bytes ai = cat({{0x04},
                          {1, 3, 0},
                          floatBytes(21.5f),
                          {2, 0, 0},
                          {3, 3, 0},
                          floatBytes(18.0f),
                          {4, 3, 0},
                          floatBytes(55.0f),
                          {5, 3, 0},
                          floatBytes(40.0f),
                          {6, 3, 0},
                          floatBytes(-5.0f)});
    const Bytes ao = cat({{0x05}, {1, 3, 0}, floatBytes(4.5f), {2, 3, 0}, floatBytes(10.0f)});
    const Bytes di = {0x02, 1, 1, 0, 1, 2, 1, 0, 0, 3, 1, 0, 1, 4, 1, 0, 0, 5, 1, 0, 0, 6, 1, 0, 1};
    const Bytes dout = {0x0C, 1, 1, 0, 0, 2, 1, 0, 1, 3, 1, 0, 0, 4, 1, 0, 0, 5, 1, 0, 1, 6, 1, 0, 0};
    const Bytes slaveAi = cat({{2, 11, 0x58, 0x04, 1, 3, 0}, floatBytes(19.5f)});
    put("channel_records", QStringLiteral("own_channels"),
        bytesOf(script({0xFF, 0xFF, 0x00},
                       {r(0x02, {0, 0}), r(0x58, ai), r(0x58, ao), r(0x58, di), r(0x58, dout)})));
    put("channel_records", QStringLiteral("event_and_slave"),
        bytesOf(
            script({0x01, 0x00, 0x81}, {r(0x0C, {0, 84, 1, 9, 5, 7, 1, 2, 24}),
                                        r(0x58, cat({{0x04}, {1, 3, 0}, floatBytes(20.0f)})), r(0xFE, {0, 0}),
                                        r(0xFC, {0}), r(0xFC, {0x55}), r(0xFA, slaveAi)})));
    put("channel_records", QStringLiteral("slave_inputs"),
        bytesOf(script({0x00, 0x00, 0x0C}, {r(0x02, {0, 0}), r(0xFE, {0, 0}), r(0xFC, {0x55}),
                                            r(0xFA, {2, 9, 0x58, 0x02, 1, 1, 0, 1}), r(0xFE, {0, 0}),
                                            r(0xFC, {0x55}), r(0xFA, {2, 9, 0x58, 0x0C, 1, 1, 0, 1})})));
}

void fileSeeds(const QString& fixtures) {
    const QByteArray config = fixture(fixtures, "config/whole_file.bin");
    put("config_file", QStringLiteral("whole"), config);
    put("config_file", QStringLiteral("short"), config.left(200));

    put("event_file", QStringLiteral("sample"), fixture(fixtures, "events/sample.blb"));

    put("project_file", QStringLiteral("reset"), fixture(fixtures, "project/reset.prj"));
    put("project_file", QStringLiteral("malformed"), fixture(fixtures, "project/malformed_line21.prj"));
    ProjectModel plant;
    plant.ProjectPath = QStringLiteral("/tmp/plant.prj");
    plant.MasterCount = 1;
    plant.Master.Name = QStringLiteral("Котельная");
    plant.Master.ConfigFile = QStringLiteral("/tmp/boiler.bin");
    plant.SlaveCount = 2;
    plant.Slaves[0].Name = QStringLiteral("Насос");
    plant.SingleCount = 1;
    plant.Singles[0].Name = QStringLiteral("Приток");
    put("project_file", QStringLiteral("devices"), formatProjectFile(plant));

    const QString form = QDir(outDir).filePath(QStringLiteral("Form.ini"));
    writeFormIni(form, FormGeometry{});
    QFile f(form);
    f.open(QIODevice::ReadOnly);
    const QByteArray geometry = f.readAll();
    f.close();
    QFile::remove(form);
    put("form_ini", QStringLiteral("design"), geometry);
    put("form_ini", QStringLiteral("short"), geometry.left(20));

    monitor::ChartSettings chart = monitor::defaultChartSettings();
    chart.traces[2].multiplier = 0.5f;
    chart.traces[2].plot = true;
    put("colors_ini", QStringLiteral("default"), monitor::encodeColorsIni(monitor::defaultChartSettings()));
    put("colors_ini", QStringLiteral("scaled"), monitor::encodeColorsIni(chart));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FIXTURES_DIR OUT_DIR\n", argv[0]);
        return 2;
    }
    const QString fixtures = QString::fromLocal8Bit(argv[1]);
    outDir = QString::fromLocal8Bit(argv[2]);
    zarnetSeeds();
    modbusSeeds();
    channelSeeds();
    fileSeeds(fixtures);
    std::printf("%d seeds in %s\n", written, argv[2]);
    return 0;
}
