#pragma once
// The line's frame tap: every frame the link and the Modbus master put on the wire or take from it,
// told to one observer with its time, its bytes as on the wire, the command it belongs to and, for a
// reply, what became of it. A link or master without a tap tests one null pointer per frame and
// gathers nothing. The observer runs on the thread that makes the exchange (the line thread in the
// desktop program); it must not wait for anything there.
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace vextor {

enum class FrameDirection : uint8_t { Sent, Received };

// What became of a reply; a sent frame carries None.
enum class FrameVerdict : uint8_t {
    None,
    Good,
    BadCrc,
    WrongAddress,
    Short,     // fewer bytes than its length says, and then silence
    BadLength, // a device-protocol length byte no reply can have (0, or past the frame buffer)
    NoReply,
};

struct LinkFrame {
    int64_t ms = 0; // since the tap started, monotonic
    FrameDirection direction = FrameDirection::Sent;
    FrameVerdict verdict = FrameVerdict::None;
    // A device-protocol reply of a session with a key (bit 7 of its address byte): its data bytes are
    // scrambled on the wire, whether or not it could be decoded.
    bool scrambled = false;
    // The request's command name (a reply carries its request's), or nullptr for a code the program
    // does not send; code is the request's command or function code.
    const char* command = nullptr;
    uint8_t code = 0;
    QByteArray bytes;
};

class FrameTap {
public:
    using Observer = std::function<void(const LinkFrame&)>;
    // The tap's time starts here.
    explicit FrameTap(Observer observer);

    void sent(const uint8_t* bytes, size_t count, const char* command, uint8_t code);
    void received(const uint8_t* bytes, size_t count, const char* command, uint8_t code, FrameVerdict verdict,
                  bool scrambled);

private:
    void tell(LinkFrame frame, const uint8_t* bytes, size_t count);
    Observer observer_;
    int64_t startMs_;
};

// The names of the requests the program sends, from the request's payload (command code first) or
// the Modbus function code; nullptr for any other.
const char* zarnetCommandName(const uint8_t* payload, size_t count);
const char* modbusFunctionName(uint8_t function);

// The command name of a frame, "0x" and the code for one without a name.
QString frameCommandText(const LinkFrame& frame);
// "good", "bad CRC", ...; with ", scrambled" for a scrambled reply. Empty for a sent frame.
QString frameVerdictText(const LinkFrame& frame);
// The bytes in hex, separated by spaces; "-" for none.
QString frameHexText(const LinkFrame& frame);
// One line of the trace: milliseconds, tx or rx, the bytes, then " | " and the command, and for a
// reply " | " and the verdict:
//   1520 rx 01 09 5B 00 20 C9 00 03 4E | GetDeviceVersion | good
QString frameLine(const LinkFrame& frame);

} // namespace vextor
