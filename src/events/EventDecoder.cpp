#include "EventDecoder.h"

#include "texts.h"

namespace vextor::events {
namespace {

QString txt(const char* text) {
    return QString::fromUtf8(text);
}

// Two digits at least; a wider number is shown whole.
QString two(uint8_t v) {
    return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}

QString withOption(const char* before, uint8_t n, const char* after = "") {
    return txt(before) + QString::number(n) + txt(after);
}

} // namespace

QStringList eventColumnHeaders() {
    return {txt(texts::kHeaderNumber), txt(texts::kHeaderSource), txt(texts::kHeaderDate),
            txt(texts::kHeaderTime), txt(texts::kHeaderEvent)};
}

QString recordCountLabel(qint64 count) {
    return txt(texts::kRecordCount) + QString::number(count);
}

QString eventText(uint8_t code, uint8_t n) {
    using namespace texts;
    switch (code) {
    case 1:
        return txt(kMains);
    case 2:
        return txt(kBattery);
    case 7:
        return txt(kAddressChanged);
    case 8:
        return withOption(kBadAddress, n);
    case 9:
        return txt(kNewKey);
    case 11:
        return withOption(kConfigFromAddress, n);
    case 13:
        return txt(kConfigFromPanel);
    case 45:
        return withOption(kLoopBreak, n);
    case 82:
        return withOption(kDa, n, kDaError);
    case 83:
        return withOption(kDa, n, kDaOk);
    case 84:
        return withOption(kNewConfiguration, n);
    case 94:
        return txt(kHeaterWarmUp);
    case 95:
        return txt(kCoolingThreat);
    case 96:
        return txt(kFreezingThreat);
    case 97:
        return txt(kReturnWaterOverheat);
    case 98:
        return txt(kFilterDirty);
    case 99:
        return txt(kFanFailure);
    case 100:
        return txt(kSummerDay);
    case 101:
        return txt(kSummerNight);
    case 102:
        return txt(kWinterDay);
    case 103:
        return txt(kWinterNight);
    case 109:
        return withOption(kLoop, n, kLoopDisarmed);
    case 122:
        return withOption(kDac, n, kDaError);
    case 123:
        return withOption(kDac, n, kDaOk);
    case 127:
        return withOption(kOutputConnected, n);
    case 135:
        return txt(n == 1 ? kErrorCrc : kCode135Unknown);
    case 149:
        return withOption(kTamperAlarm, n);
    case 198:
        return txt(kSupplyLow);
    case 199:
        return txt(kSupplyOk);
    case 203:
        switch (n) {
        case 0:
            return txt(kStartByPower);
        case 1:
            return txt(kStartByWatchdog);
        case 2:
            return txt(kStartByCommand);
        default:
            return txt(kStartByOther);
        }
    case 224:
        return withOption(kBadSlaveReply, n);
    case 250:
        return withOption(kLinkLost, n);
    case 251:
        return withOption(kLinkRestored, n);
    default:
        return txt(kUnknownCode) + QString::number(code) + txt(kUnknownOption) + QString::number(n);
    }
}

EventRow decodeEventRecord(qint64 index, const EventRecord& r) {
    EventRow row;
    row.cells[ColNumber] = QString::number(index + 1);
    const char* error = nullptr;
    if (r.hour > 24 || r.minute > 60 || r.seconds() > 60)
        error = texts::kBadTime;
    else if (r.day > 31 || r.month > 12 || r.year > 99)
        error = texts::kBadDate;
    else if (r.source & 0x80)
        error = texts::kBadSource;
    if (error) {
        row.cells[ColEvent] = txt(error);
        return row;
    }
    row.cells[ColSource] =
        r.source == 0 ? txt(texts::kSourceOwn) : txt(texts::kSourceSlave) + QString::number(r.source);
    row.cells[ColDate] = two(r.day) + u'/' + two(r.month) + u'/' + two(r.year);
    row.cells[ColTime] = two(r.hour) + u':' + two(r.minute) + u':' + two(r.seconds());
    row.cells[ColEvent] =
        u'(' + QString::number(r.code) + QStringLiteral(")  ") + eventText(r.code, r.option);
    return row;
}

} // namespace vextor::events
