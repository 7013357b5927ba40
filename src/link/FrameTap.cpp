#include "FrameTap.h"

#include "Hooks.h"

#include <utility>

namespace vextor {

FrameTap::FrameTap(Observer observer) : observer_(std::move(observer)), startMs_(clock().nowMs()) {}

void FrameTap::sent(const uint8_t* bytes, size_t count, const char* command, uint8_t code) {
    LinkFrame frame;
    frame.direction = FrameDirection::Sent;
    frame.command = command;
    frame.code = code;
    tell(std::move(frame), bytes, count);
}

void FrameTap::received(const uint8_t* bytes, size_t count, const char* command, uint8_t code,
                        FrameVerdict verdict, bool scrambled) {
    LinkFrame frame;
    frame.direction = FrameDirection::Received;
    frame.verdict = verdict;
    frame.scrambled = scrambled;
    frame.command = command;
    frame.code = code;
    tell(std::move(frame), bytes, count);
}

void FrameTap::tell(LinkFrame frame, const uint8_t* bytes, size_t count) {
    if (!observer_)
        return;
    frame.ms = clock().nowMs() - startMs_;
    frame.bytes = QByteArray(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(count));
    observer_(frame);
}

const char* zarnetCommandName(const uint8_t* payload, size_t count) {
    if (count == 0)
        return nullptr;
    switch (payload[0]) {
    case 0x01:
        return "PollEvent";
    case 0x03:
        return "AcknowledgeEvent";
    case 0x0D:
        return "GetDeviceVersion";
    case 0x0F:
        return "ChangeDeviceAddress";
    case 0x11:
        return "SendSessionKey";
    case 0x15:
        // An analog output's value is marked by 0x80 where a discrete output's state stands.
        return count >= 3 && payload[2] == 0x80 ? "SetOutputValue" : "SetOutputState";
    case 0x17:
        return "ResetDevice";
    case 0x19:
        return "GetDeviceStatus";
    case 0x29:
        return "WriteDeviceClock";
    case 0x35:
        return "ReadDeviceClock";
    case 0x3D:
        return "WriteReplyDelay";
    case 0x3F:
        return "ReadReplyDelay";
    case 0x41:
        return "WriteMemory";
    case 0x43:
        return "ReadMemory";
    case 0x57:
        return "ReadChannels";
    case 0xF9:
        return "TransitFetch";
    case 0xFB:
        return "TransitStatus";
    case 0xFD:
        return "TransitSend";
    default:
        return nullptr;
    }
}

const char* modbusFunctionName(uint8_t function) {
    switch (function) {
    case 0x03:
        return "ReadHoldingRegisters";
    case 0x06:
        return "WriteSingleRegister";
    default:
        return nullptr;
    }
}

QString frameCommandText(const LinkFrame& frame) {
    if (frame.command)
        return QString::fromLatin1(frame.command);
    return QStringLiteral("0x") +
           QString::number(frame.code, 16).rightJustified(2, QLatin1Char('0')).toUpper();
}

QString frameVerdictText(const LinkFrame& frame) {
    QString text;
    switch (frame.verdict) {
    case FrameVerdict::None:
        return text;
    case FrameVerdict::Good:
        text = QStringLiteral("good");
        break;
    case FrameVerdict::BadCrc:
        text = QStringLiteral("bad CRC");
        break;
    case FrameVerdict::WrongAddress:
        text = QStringLiteral("wrong address");
        break;
    case FrameVerdict::Short:
        text = QStringLiteral("short");
        break;
    case FrameVerdict::BadLength:
        text = QStringLiteral("bad length");
        break;
    case FrameVerdict::NoReply:
        text = QStringLiteral("no reply");
        break;
    }
    if (frame.scrambled)
        text += QStringLiteral(", scrambled");
    return text;
}

QString frameHexText(const LinkFrame& frame) {
    if (frame.bytes.isEmpty())
        return QStringLiteral("-");
    return QString::fromLatin1(frame.bytes.toHex(' ').toUpper());
}

QString frameLine(const LinkFrame& frame) {
    QString line =
        QString::number(frame.ms) +
        (frame.direction == FrameDirection::Sent ? QStringLiteral(" tx ") : QStringLiteral(" rx ")) +
        frameHexText(frame) + QStringLiteral(" | ") + frameCommandText(frame);
    if (frame.direction == FrameDirection::Received)
        line += QStringLiteral(" | ") + frameVerdictText(frame);
    return line;
}

} // namespace vextor
