// Identification and the service commands of one controller.
#include "CliContext.h"

#include "config/ConfigImage.h"
#include "link/AddressLimits.h"
#include "link/ModbusMaster.h"
#include "link/NumericConversions.h"
#include "link/ZarnetCommands.h"

#include <QDateTime>
#include <QRegularExpression>
#include <algorithm>

namespace vextor::cli {
namespace {

int identify(CliContext& ctx, QStringList& args) {
    noExtraArgs(ctx, args);
    if (!ctx.openZarnet())
        return ExitPort;
    if (!ctx.connect())
        return ExitNoAnswer;
    auto& link = ctx.link;
    uint8_t panelType = 0, panelBuild = 0;
    uint16_t panel = kNoPanelVersion;
    if (!ctx.attempt([&] { return GetDeviceVersion(link, 1, panelType, panel, panelBuild); }))
        panel = kNoPanelVersion;
    uint8_t cfg[2] = {0xFF, 0xFF};
    const bool cfgRead = ctx.attempt([&] { return ReadMemory(link, cfg, kCfgVersionAddress, 2); });
    const uint16_t cfgVersion = wordFromImage(cfg);
    out(QStringLiteral("type=%1").arg(link.DeviceType));
    out(QStringLiteral("firmware=") + formatHundredths(link.FirmwareVersion));
    out(QStringLiteral("build=%1").arg(link.FirmwareBuild));
    out(QStringLiteral("panel=") +
        (panel == kNoPanelVersion ? QStringLiteral("none") : formatHundredths(panel)));
    out(QStringLiteral("config=") +
        (!cfgRead || cfgVersion == kNoCfgVersion ? QStringLiteral("none") : formatHundredths(cfgVersion)));
    return ExitOk;
}

// Opens, identifies and runs one command; the failure text is printed when it returns false.
int withController(CliContext& ctx, const QString& failure, const std::function<bool(ZarnetLink&)>& body) {
    if (!ctx.openZarnet())
        return ExitPort;
    if (!ctx.connect())
        return ExitNoAnswer;
    if (!body(ctx.link)) {
        fail(failure);
        return ExitNoAnswer;
    }
    return ExitOk;
}

int status(CliContext& ctx, QStringList& args) {
    noExtraArgs(ctx, args);
    return withController(
        ctx, QStringLiteral("the controller did not answer the status request"), [](ZarnetLink& l) {
            uint8_t s = 0;
            if (!GetDeviceStatus(l, s))
                return false;
            out(QStringLiteral("status=0x") + QStringLiteral("%1").arg(s, 2, 16, QLatin1Char('0')).toUpper());
            out(QStringLiteral("calibration=") +
                ((s & 0x80) ? QStringLiteral("running") : QStringLiteral("no")));
            return true;
        });
}

int reset(CliContext& ctx, QStringList& args) {
    noExtraArgs(ctx, args);
    return withController(ctx, QStringLiteral("the controller did not confirm the reset"), [](ZarnetLink& l) {
        if (!ResetDevice(l))
            return false;
        out(QStringLiteral("reset=ok"));
        return true;
    });
}

QString clockText(const std::array<uint8_t, 6>& c) {
    return intToStrPad(c[0], 2) + ':' + intToStrPad(c[1], 2) + ':' + intToStrPad(c[2], 2) + ' ' +
           intToStrPad(c[3], 2) + '.' + intToStrPad(c[4], 2) + '.' + intToStrPad(c[5], 2);
}

int clockCommand(CliContext& ctx, QStringList& args) {
    const auto set = takeOption(args, QStringLiteral("--set"));
    noExtraArgs(ctx, args);
    std::array<uint8_t, 6> value{};
    if (set) {
        QDateTime t = *set == QStringLiteral("now")
                          ? QDateTime::currentDateTime()
                          : QDateTime::fromString(*set, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (!t.isValid() || t.date().year() < 2000 || t.date().year() > 2099)
            throw UsageError{
                QStringLiteral("--set takes now or \"YYYY-MM-DD HH:MM:SS\" (years 2000 to 2099)")};
        value = {uint8_t(t.time().hour()), uint8_t(t.time().minute()), uint8_t(t.time().second()),
                 uint8_t(t.date().day()),  uint8_t(t.date().month()),  uint8_t(t.date().year() - 2000)};
    }
    return withController(ctx, QStringLiteral("the controller did not answer the clock request"),
                          [&](ZarnetLink& l) {
                              if (set) {
                                  if (!WriteDeviceClock(l, value))
                                      return false;
                                  out(clockText(value));
                                  return true;
                              }
                              std::array<uint8_t, 6> c{};
                              if (!ReadDeviceClock(l, c))
                                  return false;
                              out(clockText(c));
                              return true;
                          });
}

int replyDelay(CliContext& ctx, QStringList& args) {
    const auto set = takeOption(args, QStringLiteral("--set"));
    noExtraArgs(ctx, args);
    const uint16_t value =
        set ? static_cast<uint16_t>(parseIntArg(*set, 0, 65535, QStringLiteral("--set"))) : 0;
    return withController(ctx, QStringLiteral("the controller did not answer the reply-delay request"),
                          [&](ZarnetLink& l) {
                              uint16_t d = value;
                              if (set ? !WriteReplyDelay(l, value) : !ReadReplyDelay(l, d))
                                  return false;
                              out(QStringLiteral("reply-delay=%1").arg(d));
                              return true;
                          });
}

int address(CliContext& ctx, QStringList& args) {
    const auto set = takeOption(args, QStringLiteral("--set"));
    noExtraArgs(ctx, args);
    if (!set)
        throw UsageError{QStringLiteral("address needs --set N")};
    const uint8_t a = static_cast<uint8_t>(
        parseIntArg(*set, kMinZarnetAddress, kMaxZarnetLinkAddress, QStringLiteral("--set")));
    return withController(ctx, QStringLiteral("the controller did not confirm the new address"),
                          [&](ZarnetLink& l) {
                              if (!ChangeDeviceAddress(l, a))
                                  return false;
                              l.DeviceAddress = a;
                              out(QStringLiteral("address=%1").arg(a));
                              return true;
                          });
}

int readMemory(CliContext& ctx, QStringList& args) {
    keepPositionals(ctx, args);
    if (args.size() != 2)
        throw UsageError{QStringLiteral("read-memory needs ADDR COUNT")};
    const uint32_t start = static_cast<uint32_t>(parseIntArg(args[0], 0, 0xFFFFFF, QStringLiteral("ADDR")));
    const uint32_t count = static_cast<uint32_t>(parseIntArg(args[1], 1, 65536, QStringLiteral("COUNT")));
    if (start + count > 0x1000000)
        throw UsageError{QStringLiteral("the range passes the end of the 24-bit address space")};
    std::vector<uint8_t> data(count);
    const int rc = withController(
        ctx, QStringLiteral("the controller did not answer a memory read"), [&](ZarnetLink& l) {
            for (uint32_t done = 0; done < count;) {
                const uint8_t n = static_cast<uint8_t>(std::min<uint32_t>(128, count - done));
                if (!ReadMemory(l, data.data() + done, start + done, n))
                    return false;
                done += n;
            }
            return true;
        });
    if (rc != ExitOk)
        return rc;
    for (uint32_t row = 0; row < count; row += 16) {
        QString line = QStringLiteral("%1:").arg(start + row, 6, 16, QLatin1Char('0'));
        for (uint32_t i = row; i < std::min(count, row + 16); ++i)
            line += QStringLiteral(" %1").arg(data[i], 2, 16, QLatin1Char('0'));
        out(line.toUpper());
    }
    return ExitOk;
}

int writeMemory(CliContext& ctx, QStringList& args) {
    keepPositionals(ctx, args);
    if (args.size() < 2)
        throw UsageError{QStringLiteral("write-memory needs ADDR and at least one hex byte")};
    const uint32_t start = static_cast<uint32_t>(parseIntArg(args[0], 0, 0xFFFFFF, QStringLiteral("ADDR")));
    // Every byte is exactly two hex digits; several may stand together ("beef") or apart.
    static const QRegularExpression bytesShape(QStringLiteral("^([0-9A-Fa-f]{2})+$"));
    std::vector<uint8_t> data;
    for (int i = 1; i < args.size(); ++i) {
        for (const QString& word :
             args[i].split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
            if (!bytesShape.match(word).hasMatch())
                throw UsageError{
                    QStringLiteral("\"%1\" is not a run of hex bytes of two digits each").arg(word)};
            for (int k = 0; k < word.size(); k += 2)
                data.push_back(static_cast<uint8_t>(word.mid(k, 2).toUInt(nullptr, 16)));
        }
    }
    if (data.empty())
        throw UsageError{QStringLiteral("write-memory needs at least one hex byte")};
    if (start + data.size() > 0x1000000)
        throw UsageError{QStringLiteral("the range passes the end of the 24-bit address space")};
    return withController(
        ctx, QStringLiteral("the controller did not confirm a memory write"), [&](ZarnetLink& l) {
            for (size_t done = 0; done < data.size();) {
                const uint8_t n = static_cast<uint8_t>(std::min<size_t>(128, data.size() - done));
                if (!WriteMemory(l, data.data() + done, start + static_cast<uint32_t>(done), n))
                    return false;
                done += n;
            }
            out(QStringLiteral("written=%1").arg(data.size()));
            return true;
        });
}

int toModbus(CliContext& ctx, QStringList& args) {
    noExtraArgs(ctx, args);
    if (!ctx.openZarnet())
        return ExitPort;
    const uint8_t mark = kSwitchToModbus;
    if (!WriteMemory(ctx.link, &mark, kProtocolSelectorAddress, 1)) {
        fail(QStringLiteral("Ошибка перехода!"));
        return ExitNoAnswer;
    }
    out(QStringLiteral("Переход выполнен!"));
    if (!ResetDevice(ctx.link)) {
        fail(QStringLiteral("Сброс не выполнен!"));
        return ExitNoAnswer;
    }
    out(QStringLiteral("Сброс выполнен!"));
    return ExitOk;
}

struct ModbusTarget {
    uint8_t address;
    uint8_t params;
};

ModbusTarget modbusTarget(CliContext& ctx, QStringList& args) {
    const auto a = takeOption(args, QStringLiteral("--modbus-address"));
    const auto p = takeOption(args, QStringLiteral("--mb-params"));
    noExtraArgs(ctx, args);
    if (!a && ctx.modbusAddress < 0)
        throw UsageError{QStringLiteral("--modbus-address N is needed")};
    if (!a && (ctx.modbusAddress < kMinModbusAddress || ctx.modbusAddress > kMaxModbusAddress))
        throw UsageError{QStringLiteral("the project's Modbus address %1 must be from %2 to %3")
                             .arg(ctx.modbusAddress)
                             .arg(kMinModbusAddress)
                             .arg(kMaxModbusAddress)};
    ModbusTarget t;
    t.address = static_cast<uint8_t>(
        a ? parseIntArg(*a, kMinModbusAddress, kMaxModbusAddress, QStringLiteral("--modbus-address"))
          : ctx.modbusAddress);
    t.params = static_cast<uint8_t>(p ? parseIntArg(*p, 0, 255, QStringLiteral("--mb-params"))
                                      : (ctx.mbParams >= 0 ? ctx.mbParams : 1));
    return t;
}

int modbusIdentify(CliContext& ctx, QStringList& args) {
    const ModbusTarget t = modbusTarget(ctx, args);
    if (!ctx.openModbus(t.params))
        return ExitPort;
    const auto req = modbusIdentifyRequest(t.address);
    uint8_t reply[256] = {};
    uint8_t length = 0;
    const auto identity = ctx.modbus.ModbusExchange(req.data(), 6, reply, length)
                              ? modbusIdentityFromReply(reply, length)
                              : std::nullopt;
    if (!identity) {
        fail(QStringLiteral("no Modbus answer from address %1 on %2").arg(t.address).arg(ctx.portPath));
        return ExitNoAnswer;
    }
    out(QStringLiteral("type=%1").arg(identity->deviceType));
    out(QStringLiteral("firmware=") + formatHundredths(identity->firmware));
    out(QStringLiteral("panel=") +
        (identity->panel == 0 ? QStringLiteral("none") : formatHundredths(identity->panel)));
    return ExitOk;
}

int toZarnet(CliContext& ctx, QStringList& args) {
    const ModbusTarget t = modbusTarget(ctx, args);
    if (!ctx.openModbus(t.params))
        return ExitPort;
    const auto req = modbusSwitchToZarnetRequest(t.address);
    uint8_t reply[256] = {};
    uint8_t length = 0;
    if (!ctx.modbus.ModbusExchange(req.data(), 6, reply, length)) {
        fail(QStringLiteral("Переход не выполнен!"));
        return ExitNoAnswer;
    }
    if (reply[1] != req[1]) {
        fail(QStringLiteral("Ошибка перехода!"));
        return ExitNoAnswer;
    }
    out(QStringLiteral("Переход выполнен!"));
    return ExitOk;
}

} // namespace

std::vector<Command> deviceCommands() {
    return {
        {"identify", identify,
         "identify                      type, firmware, build, panel and configuration version"},
        {"status", status, "status                        the status byte"},
        {"reset", reset, "reset                         restart the controller"},
        {"clock", clockCommand, "clock [--set now|\"YYYY-MM-DD HH:MM:SS\"]   read or set the clock"},
        {"reply-delay", replyDelay, "reply-delay [--set N]         read or set the delay before reply"},
        {"address", address, "address --set N               change the device-protocol address (1..127)"},
        {"read-memory", readMemory, "read-memory ADDR COUNT        hex dump of device memory"},
        {"write-memory", writeMemory, "write-memory ADDR HEX...      write bytes into device memory"},
        {"to-modbus", toModbus,
         "to-modbus                     switch the controller to Modbus RTU and restart it"},
        {"modbus-identify", modbusIdentify,
         "modbus-identify --modbus-address N [--mb-params B]   identify over Modbus RTU"},
        {"to-zarnet", toZarnet,
         "to-zarnet --modbus-address N [--mb-params B]   switch back to the device protocol"},
    };
}

} // namespace vextor::cli
