#pragma once
// One serial line: the device-protocol port or the Modbus port. The interface is the operating
// system seam; PosixSerialPort implements it on termios + poll(), tests use a scripted double.
#include <QString>
#include <cstddef>
#include <cstdint>

namespace vextor {

// The value returned by an open (one bit: the sequence stops at its first failure), and the
// reply-read failure set by the exchanges.
enum PortErrorBits : uint32_t {
    PortOk = 0,
    PortErrGetState = 1,
    PortErrSetState = 2,
    PortErrQueues = 4,
    PortErrGetTimeouts = 8,
    PortErrSetTimeouts = 16,
    PortErrGetMask = 32,
    PortErrSetMask = 64,
    PortErrOpenDevice = 128,
    PortErrReplyRead = 512,
};

// Why the operating system refused the device, so callers can tell the engineer what to do.
enum class OpenFailure { None, NotFound, PermissionDenied, Busy, NotSerial, Other };

// Whether the driver hands received bytes on at once. A USB adapter otherwise holds them up to its
// latency timer (16 ms on common chips), which adds to every reply at 9600 baud.
enum class LowLatency : uint8_t {
    Unknown,     // the port has not been opened yet
    On,          // the driver delivers at once (asked for at the open, or already so)
    Unsupported, // the driver has no such mode (a pseudo-terminal, a network bridge)
};

struct ReadTimeouts {
    uint32_t interval = 0;   // R_TOInterval: longest gap between two received bytes, ms
    uint32_t constant = 0;   // R_TOConstant: fixed part of the total read time-out, ms
    uint32_t multiplier = 0; // R_TOMultiplier: per requested byte, ms
};

inline constexpr ReadTimeouts kZarnetTimeouts{100, 700, 1};
inline constexpr ReadTimeouts kModbusTimeouts{20, 100, 1};

enum class PortRole {
    Zarnet, // a failed OS open surfaces as error 1; the parity-check flag is only ever switched on
    Modbus, // a failed OS open returns 128 at once; the parity-check flag follows the parity
};

struct LineSettings {
    uint32_t baudRate = 9600;
    uint8_t parity = 0;   // 0 none, 1 odd, 2 even
    uint8_t stopBits = 0; // 0 one stop bit, 2 two stop bits
};

class SerialPort {
public:
    explicit SerialPort(PortRole role)
        : role_(role), timeouts_(role == PortRole::Zarnet ? kZarnetTimeouts : kModbusTimeouts) {}
    virtual ~SerialPort() = default;
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    PortRole role() const { return role_; }
    const ReadTimeouts& timeouts() const { return timeouts_; }
    void setTimeouts(const ReadTimeouts& t) { timeouts_ = t; }

    // Opens and configures the device; returns PortErrorBits (also kept in lastError()).
    // A port that is already open is never overwritten: opening the same device again joins the
    // open handle (one more user, the line settings are applied again), opening another device
    // while one is open is refused with 1. Whatever a failed open half-opened is released.
    virtual uint32_t open(const QString& deviceName, const LineSettings& line) = 0;
    // Purges both directions and closes; false when nothing was open. With several users the
    // handle stays open for the others and close() returns true.
    virtual bool close() = 0;
    virtual bool isOpen() const = 0;
    virtual QString deviceName() const = 0;

    // Discards pending received bytes, then pending bytes to send.
    virtual void purge() = 0;
    // Writes all bytes, blocking until handed to the driver.
    virtual bool write(const uint8_t* data, size_t count) = 0;
    // Reads up to count bytes under the read time-outs: returns when count bytes arrived, when no
    // byte followed within the interval after at least one, or when constant + multiplier * count
    // ms have passed since the call. Returns the number of bytes read (possibly 0).
    virtual size_t read(uint8_t* data, size_t count) = 0;

    uint32_t lastError() const { return lastError_; }
    void setLastError(uint32_t e) { lastError_ = e; }
    OpenFailure openFailure() const { return openFailure_; }
    // The operating system's reason for the last failed open, for messages.
    QString openFailureText() const { return openFailureText_; }
    // What the last successful open got of the driver's low-latency mode; kept after the close.
    LowLatency lowLatency() const { return lowLatency_; }

protected:
    PortRole role_;
    ReadTimeouts timeouts_;
    uint32_t lastError_ = 0;
    OpenFailure openFailure_ = OpenFailure::None;
    QString openFailureText_;
    LowLatency lowLatency_ = LowLatency::Unknown;
};

// "COM" + n up to 9, "\\.\COM" + n from 10: the name the engineer sees and the project stores.
QString ComPortName(int portNumber);

// Resolves a port number to a device path on this machine: the environment variable
// VEXTOR_COM<n>, then the [ports] section of the user settings file, then /dev/ttyUSB<n-1>.
QString resolvePortPath(int portNumber);
// Binds a port number to a device path in the user settings file. Where VEXTOR_COM<n> binds the
// number for this run (the demo's own line, or the engineer's shell), the variable takes the new
// path too, or the choice would not take effect until the next start. False when the settings file
// could not be written.
bool bindPortPath(int portNumber, const QString& devicePath);
// The user settings file (VEXTOR_SETTINGS overrides the default location).
QString userSettingsPath();
// The folder of the user settings file, where the program keeps its other small files of the user's
// (the window geometry, the chart settings).
QString userConfigFolder();

// One line for the engineer: why the port could not be opened and what to do about it.
QString describeOpenFailure(const SerialPort& port, const QString& devicePath);

} // namespace vextor
