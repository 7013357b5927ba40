#include "DeviceConsole.h"

#include "texts.h"

#include "events/EventReader.h"
#include "events/texts.h"
#include "line/TaskTexts.h"
#include "link/AddressLimits.h"
#include "link/ControllerMemory.h"
#include "link/ControllerScan.h"
#include "link/Hooks.h"
#include "link/NumberInput.h"
#include "link/NumericConversions.h"
#include "link/ZarnetCommands.h"
#include "link/texts.h"

#include <QDateTime>
#include <QFileInfo>
#include <array>
#include <utility>

namespace vextor {

namespace t = device_texts;

namespace {

constexpr int kMaxReplyDelay = 255;
// The pause between the identification and the key, so a slow controller is ready for the key.
constexpr int kKeyPauseMs = 10;
// The controller's status bit that says it is calibrating its inputs.
constexpr uint8_t kCalibratingBit = 0x80;

QString twoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

QString joined(int a, int b, int c, QChar separator) {
    return twoDigits(a) + separator + twoDigits(b) + separator + twoDigits(c);
}

// Characters 1-2, 4-5 and 7-8 of an entry such as "07:05:09" or "31-12-09", as numbers; nullopt
// when any of them is not two digits.
std::optional<std::array<int, 3>> threePairs(const QString& entry) {
    const QString text = entry.trimmed();
    if (text.size() != 8)
        return std::nullopt;
    std::array<int, 3> numbers{};
    for (int i = 0; i < 3; ++i) {
        const QChar hi = text[3 * i];
        const QChar lo = text[3 * i + 1];
        if (!hi.isDigit() || !lo.isDigit() || hi.unicode() > '9' || lo.unicode() > '9')
            return std::nullopt;
        numbers[static_cast<size_t>(i)] = (hi.unicode() - '0') * 10 + (lo.unicode() - '0');
    }
    return numbers;
}

} // namespace

DeviceConsole::DeviceConsole(UserDialogs& dialogs, DeviceLine& line)
    : dialogs_(dialogs), line_(line), random_(std::random_device{}()) {
    view.caption = captionFor(line_.portNumber());
}

QString DeviceConsole::captionFor(int portNumber) {
    return t::kWindowCaption + t::kCaptionPortPart + QString::number(portNumber);
}

void DeviceConsole::portChanged() {
    const QString caption = captionFor(line_.portNumber());
    if (caption == view.caption)
        return;
    view.caption = caption;
    changed();
}

DirectTarget DeviceConsole::target() const {
    DirectTarget target;
    target.portNumber = line_.portNumber();
    target.protocol = kProtocolZarnet;
    target.zarnetAddress = deviceAddress_;
    return target;
}

void DeviceConsole::changed() {
    if (viewChanged)
        viewChanged();
}

void DeviceConsole::run(DeviceCommand command, std::function<bool(LineAccess&)> op,
                        std::function<void(DirectEnd)> done) {
    // A second press while the same command waits for the line would only repeat its frame and its
    // message.
    if (!pending_.insert(command).second)
        return;
    line_.run(target(), std::move(op), [this, command, done = std::move(done)](DirectEnd end) {
        pending_.erase(command);
        done(std::move(end));
    });
}

bool DeviceConsole::ran(const DirectEnd& end) {
    if (end.ran)
        return true;
    // A job the line dropped (the program is closing) has nothing to tell; a port that did not open
    // or a job that broke says why.
    if (!end.error.isEmpty())
        dialogs_.message(end.error);
    return false;
}

void DeviceConsole::showSent(bool ok) {
    view.sentLabel = ok ? t::kSent : t::kAnyError;
    changed();
}

// ---------------------------------------------------------------- port and link

void DeviceConsole::choosePort() {
    const auto number = askWholeNumber(dialogs_, t::kPortCaption, t::kPortPrompt,
                                       QString::number(line_.portNumber()), kMinPortNumber, kMaxPortNumber);
    if (!number)
        return;
    line_.setPortNumber(*number);
    portChanged();
}

void DeviceConsole::linkAnyAddress() {
    view.portEnabled = false;
    changed();
    link(static_cast<uint8_t>(kZarnetAnyAddress));
}

void DeviceConsole::linkAskedAddress() {
    view.portEnabled = false;
    view.identityVisible = false;
    changed();
    const auto address =
        askWholeNumber(dialogs_, t::kZarnetCaption, t::kLinkAddressPrompt, QString::number(deviceAddress_),
                       kMinZarnetAddress, kMaxZarnetLinkAddress);
    if (address)
        link(static_cast<uint8_t>(*address));
}

void DeviceConsole::link(uint8_t address) {
    if (pending(DeviceCommand::Link))
        return;
    deviceAddress_ = address;
    // The identity will name the address; a picked find's line would only repeat or contradict it.
    view.addressText.clear();
    struct Reply {
        bool identified = false;
        bool keyTaken = false;
        uint8_t type = 0;
        uint16_t version = 0;
        uint8_t build = 0;
    };
    auto reply = std::make_shared<Reply>();
    const auto nonce = static_cast<uint8_t>(std::uniform_int_distribution<int>(0, 255)(random_));
    run(
        DeviceCommand::Link,
        [reply, nonce](LineAccess& a) {
            reply->identified = GetDeviceVersion(a.link, 0, reply->type, reply->version, reply->build);
            if (!reply->identified)
                return false;
            sleepMs(kKeyPauseMs);
            const auto key = static_cast<uint8_t>(nonce ^ QTime::currentTime().second());
            reply->keyTaken = SendSessionKey(a.link, key);
            return reply->keyTaken;
        },
        [this, reply](DirectEnd end) {
            if (end.noPort) {
                // The port would not open: no version query was made.
                dialogs_.message(t::kNoAnswer);
                return;
            }
            if (!ran(end))
                return;
            // The port opened for this link; a controller that did not answer right after it
            // opened is told as no connection at all.
            const bool wasOpen = std::exchange(portOpen_, true);
            if (!reply->identified) {
                if (!wasOpen)
                    dialogs_.message(t::kNoLink);
                dialogs_.message(t::kNoAnswer);
                return;
            }
            firmwareVersion_ = reply->version;
            firmwareBuild_ = reply->build;
            if (!reply->keyTaken) {
                dialogs_.message(t::kKeyNotSent);
                return;
            }
            showIdentity();
        });
}

void DeviceConsole::showIdentity() {
    view.readingConfiguration = false;
    view.identity = t::kIdentityHead + formatHundredths(firmwareVersion_) + QLatin1Char(':') +
                    QString::number(firmwareBuild_) + t::kIdentityAddress + QString::number(deviceAddress_);
    view.identityVisible = true;
    view.linked = true;
    changed();
}

void DeviceConsole::askDisplayBoard() {
    view.resetEnabled = true;
    changed();
    auto version = std::make_shared<uint16_t>(0);
    run(
        DeviceCommand::DisplayBoard,
        [version](LineAccess& a) {
            uint8_t type = 0, build = 0;
            return GetDeviceVersion(a.link, 1, type, *version, build);
        },
        [this, version](DirectEnd end) {
            if (!ran(end))
                return;
            if (!end.ok) {
                dialogs_.message(t::kAnyError);
                return;
            }
            view.displayBoard = t::kDisplayBoardVersion + formatHundredths(*version);
            changed();
        });
}

void DeviceConsole::close() {
    // A search ends with the window: its finds would be offered to nobody.
    if (scanStop_) {
        scanStop_->store(true);
        scanQuiet_ = true;
    }
    portOpen_ = false;
    view.portEnabled = true;
    changed();
}

// ---------------------------------------------------------------- configuration

void DeviceConsole::readConfiguration() {
    if (!pending_.insert(DeviceCommand::ReadConfiguration).second)
        return;
    view.readingConfiguration = true;
    changed();
    line_.readConfiguration(target(), [this](DirectEnd end) {
        pending_.erase(DeviceCommand::ReadConfiguration);
        view.readingConfiguration = false;
        changed();
        if (!ran(end))
            return;
        // A read that failed on the way still brought the blocks before the failure: the editor
        // shows them, after the engineer learned that the rest is the program's own.
        if (!end.ok)
            dialogs_.message(task_texts::kConfigReadError);
        showConfiguration();
    });
}

void DeviceConsole::showConfiguration() {
    if (hooks.showConfiguration)
        hooks.showConfiguration();
}

void DeviceConsole::changeZarnetAddress() {
    const auto address = askWholeNumber(dialogs_, t::kZarnetCaption, t::kNewZarnetPrompt,
                                        t::kNewZarnetDefault, kMinZarnetAddress, kMaxZarnetAddress);
    if (!address)
        return;
    const auto value = static_cast<uint8_t>(*address);
    run(
        DeviceCommand::ChangeZarnetAddress,
        [value](LineAccess& a) { return ChangeDeviceAddress(a.link, value); },
        [this, value](DirectEnd end) {
            if (!ran(end))
                return;
            if (!end.ok) {
                dialogs_.message(t::kAnyError);
                return;
            }
            // The controller answers at its new address from now on: so do the next commands.
            deviceAddress_ = value;
            view.identity = t::kIdentityHead + formatHundredths(firmwareVersion_) + t::kChangedAddress +
                            QString::number(value);
            changed();
        });
}

// ---------------------------------------------------------------- reply delay

void DeviceConsole::openReplyDelay() {
    view.delayText.clear();
    view.delayVisible = true;
    changed();
}

void DeviceConsole::hideReplyDelay() {
    view.delayVisible = false;
    view.sentLabel.clear();
    changed();
}

void DeviceConsole::readReplyDelay() {
    auto delay = std::make_shared<uint16_t>(0);
    run(
        DeviceCommand::ReadReplyDelay, [delay](LineAccess& a) { return ReadReplyDelay(a.link, *delay); },
        [this, delay](DirectEnd end) {
            if (!ran(end))
                return;
            if (!end.ok) {
                showSent(false);
                return;
            }
            view.delayText = QString::number(*delay);
            changed();
        });
}

void DeviceConsole::writeReplyDelay() {
    bool ok = false;
    const int delay = view.delayText.trimmed().toInt(&ok);
    if (!ok) {
        dialogs_.message(QString::fromUtf8(link_texts::kInputError));
        return;
    }
    if (delay < 0 || delay > kMaxReplyDelay) {
        dialogs_.message(QString::fromUtf8(link_texts::kOutOfRange));
        return;
    }
    run(
        DeviceCommand::WriteReplyDelay,
        [value = static_cast<uint16_t>(delay)](LineAccess& a) { return WriteReplyDelay(a.link, value); },
        [this](DirectEnd end) {
            if (ran(end))
                showSent(end.ok);
        });
}

// ---------------------------------------------------------------- clock

void DeviceConsole::openClock() {
    view.clockVisible = true;
    changed();
}

void DeviceConsole::hideClock() {
    view.clockVisible = false;
    changed();
}

void DeviceConsole::hideSentLabel() {
    if (view.sentLabel.isEmpty())
        return;
    view.sentLabel.clear();
    changed();
}

void DeviceConsole::readClock() {
    auto clock = std::make_shared<std::array<uint8_t, 6>>();
    run(
        DeviceCommand::ReadClock, [clock](LineAccess& a) { return ReadDeviceClock(a.link, *clock); },
        [this, clock](DirectEnd end) {
            if (!ran(end))
                return;
            const std::array<uint8_t, 6>& c = *clock;
            // A clock the controller cannot hold (a month 13 after a flat battery) is no reading: the
            // fields keep what they showed.
            if (!end.ok || !QTime::isValid(c[0], c[1], c[2]) || !QDate::isValid(2000 + c[5], c[4], c[3])) {
                dialogs_.message(t::kReadError);
                return;
            }
            view.timeText = joined(c[0], c[1], c[2], QLatin1Char(':'));
            view.dateText = joined(c[3], c[4], c[5], QLatin1Char('-'));
            changed();
        });
}

void DeviceConsole::takeComputerClock(const QDateTime& now) {
    const QTime time = now.time();
    const QDate date = now.date();
    view.timeText = joined(time.hour(), time.minute(), time.second(), QLatin1Char(':'));
    view.dateText = joined(date.day(), date.month(), date.year() - 2000, QLatin1Char('-'));
    changed();
}

void DeviceConsole::writeClock() {
    const auto time = threePairs(view.timeText);
    const auto date = threePairs(view.dateText);
    // A time or a date that does not exist would set the controller's clock to nonsense: nothing goes.
    if (!time || !date || !QTime::isValid((*time)[0], (*time)[1], (*time)[2]) ||
        !QDate::isValid(2000 + (*date)[2], (*date)[1], (*date)[0])) {
        dialogs_.message(t::kBadValue);
        return;
    }
    const std::array<uint8_t, 6> clock = {static_cast<uint8_t>((*time)[0]), static_cast<uint8_t>((*time)[1]),
                                          static_cast<uint8_t>((*time)[2]), static_cast<uint8_t>((*date)[0]),
                                          static_cast<uint8_t>((*date)[1]), static_cast<uint8_t>((*date)[2])};
    run(
        DeviceCommand::WriteClock, [clock](LineAccess& a) { return WriteDeviceClock(a.link, clock); },
        [this](DirectEnd end) {
            if (ran(end))
                showSent(end.ok);
        });
}

// ---------------------------------------------------------------- status, reset, Modbus

void DeviceConsole::readStatus() {
    auto status = std::make_shared<uint8_t>(0);
    run(
        DeviceCommand::Status, [status](LineAccess& a) { return GetDeviceStatus(a.link, *status); },
        [this, status](DirectEnd end) {
            if (!ran(end))
                return;
            if (!end.ok) {
                dialogs_.message(t::kAnyError);
                return;
            }
            if (*status & kCalibratingBit)
                dialogs_.message(t::kCalibrating);
            if (hooks.showMonitor)
                hooks.showMonitor();
        });
}

void DeviceConsole::reset() {
    run(
        DeviceCommand::Reset, [](LineAccess& a) { return ResetDevice(a.link); },
        [this](DirectEnd end) {
            if (ran(end))
                dialogs_.message(end.ok ? t::kResetOk : t::kAnyError);
        });
}

void DeviceConsole::switchToModbus() {
    run(
        DeviceCommand::SwitchToModbus,
        [](LineAccess& a) { return WriteMemory(a.link, &kSwitchToModbus, kProtocolSelectorAddress, 1); },
        [this](DirectEnd end) {
            if (ran(end))
                dialogs_.message(end.ok ? t::kOk : t::kFailed);
        });
}

void DeviceConsole::changeModbusAddress() {
    auto current = std::make_shared<uint8_t>(0);
    run(
        DeviceCommand::ChangeModbusAddress,
        [current](LineAccess& a) { return ReadMemory(a.link, current.get(), kMbAddressAddress, 1); },
        [this, current](DirectEnd end) {
            if (!ran(end))
                return;
            if (!end.ok) {
                dialogs_.message(t::kModbusAddressNotRead);
                return;
            }
            const auto address =
                askWholeNumber(dialogs_, t::kModbusCaption, t::kNewModbusPrompt, QString::number(*current),
                               kMinModbusAddress, kMaxModbusAddress);
            if (!address)
                return;
            run(
                DeviceCommand::ChangeModbusAddress,
                [value = static_cast<uint8_t>(*address)](LineAccess& a) {
                    return WriteMemory(a.link, &value, kMbAddressAddress, 1);
                },
                [this](DirectEnd written) {
                    if (ran(written))
                        dialogs_.message(written.ok ? t::kOk : t::kFailed);
                });
        });
}

void DeviceConsole::askModbusAddress() {
    view.portEnabled = false;
    changed();
    const auto address =
        askWholeNumber(dialogs_, t::kModbusOpenCaption, t::kLinkAddressPrompt,
                       QString::number(modbusDefault_), kMinModbusAddress, kMaxModbusAddress);
    if (!address)
        return;
    modbusDefault_ = *address;
    view.modbusEnabled = true;
    changed();
}

// ---------------------------------------------------------------- events

void DeviceConsole::readEventsFromDevice() {
    if (pending(DeviceCommand::ReadEvents))
        return;
    // The box starts as the engineer last left it.
    const QString path =
        dialogs_.saveFileWithOption(t::kEventsFileCaption, QString::fromUtf8(events::texts::kFileFilter),
                                    eventsDir_, QString::fromUtf8(events::texts::kFileExtension),
                                    QString::fromUtf8(events::texts::kFastReadOption), fastEventRead_);
    if (path.isEmpty())
        return;
    const events::EventReadMode mode =
        fastEventRead_ ? events::EventReadMode::Fast : events::EventReadMode::PerRecord;
    eventsDir_ = QFileInfo(path).absolutePath();
    std::shared_ptr<TransferProgress> progress;
    if (eventProgress)
        progress = line_.progressOnWindow(*eventProgress);
    else
        progress = std::make_shared<NullProgress>();
    auto result = std::make_shared<events::EventReadResult>();
    view.eventsReading = true;
    changed();
    run(
        DeviceCommand::ReadEvents,
        [path, progress, result, mode](LineAccess& a) {
            events::EventReadListener listener;
            listener.stopRequested = a.stopRequested;
            *result = events::readEventLog(a.link, path, events::EventReadPacing::DeviceWindow, *progress,
                                           listener, mode);
            return result->ok();
        },
        [this, path, result](DirectEnd end) {
            view.eventsReading = false;
            changed();
            if (!ran(end))
                return;
            if (const QString text = events::eventReadMessage(*result, events::EventReadPacing::DeviceWindow);
                !text.isEmpty())
                dialogs_.message(text);
            if (result->fileReplaced && hooks.showEvents)
                hooks.showEvents(path);
        });
}

// ---------------------------------------------------------------- search for controllers

QString DeviceConsole::foundText(const FoundController& found) {
    QString text = t::kFoundAddress + QString::number(found.address) + QStringLiteral(":  ");
    if (found.type != kVextorTypeCode)
        text += t::kFoundType + QString::number(found.type) + QLatin1Char(' ');
    text +=
        t::kIdentityHead + formatHundredths(found.firmware) + QLatin1Char(':') + QString::number(found.build);
    if (!found.cfgVersion)
        text += t::kFoundConfigUnread;
    else if (*found.cfgVersion == kNoCfgVersion)
        text += t::kFoundNoConfig;
    else
        text += t::kFoundConfig + formatHundredths(*found.cfgVersion);
    return text;
}

void DeviceConsole::scanLine() {
    if (pending(DeviceCommand::Scan) || view.scanning)
        return;
    scan_ = std::make_shared<ControllerScan>(scanOptions);
    scanStop_ = std::make_shared<std::atomic<bool>>(false);
    scanQuiet_ = false;
    view.scanning = true;
    view.scanAsked = 0;
    view.scanTotal = scan_->total();
    view.scanAddress = scan_->nextAddress();
    changed();
    scanSlice();
}

void DeviceConsole::scanSlice() {
    // One slice per direct job: the port is the job's for a few hundred milliseconds, and the task
    // loop's tick can come between two slices.
    auto scan = scan_;
    auto stop = scanStop_;
    run(
        DeviceCommand::Scan,
        [scan, stop](LineAccess& a) {
            scan->step(a.link, kScanSlice, [&a, stop] { return stop->load() || a.stopping(); });
            return true;
        },
        [this, scan, stop](DirectEnd end) {
            if (scan != scan_)
                return;
            if (!ran(end)) {
                // The port did not open (told by ran()) or the program closes: nothing to offer.
                endScan(false);
                return;
            }
            view.scanAsked = scan->asked();
            view.scanAddress = scan->nextAddress();
            if (scan->finished() || stop->load()) {
                endScan(true);
                return;
            }
            changed();
            scanSlice();
        });
}

void DeviceConsole::stopScan() {
    if (scanStop_)
        scanStop_->store(true);
}

void DeviceConsole::endScan(bool offer) {
    lastFound_ = scan_->found();
    lastStray_ = scan_->strayReplies();
    const bool stopped = scanStop_->load();
    scan_.reset();
    scanStop_.reset();
    view.scanning = false;
    changed();
    if (!offer || scanQuiet_)
        return;
    if (!lastFound_.empty()) {
        if (scanFinished)
            scanFinished();
    } else if (!stopped) {
        dialogs_.message(lastStray_ > 0 ? t::kNothingFound + QLatin1Char('\n') + t::kStrayReplies +
                                              QString::number(lastStray_)
                                        : t::kNothingFound);
    }
}

void DeviceConsole::pickFound(uint8_t address) {
    if (view.linked && address != deviceAddress_) {
        view.linked = false;
        view.identityVisible = false;
        view.displayBoard.clear();
    }
    deviceAddress_ = address;
    view.addressText = t::kPickedAddress + QString::number(address);
    changed();
}

void DeviceConsole::readProjectEvents() {
    if (hooks.readProjectEvents)
        hooks.readProjectEvents();
}

void DeviceConsole::openEventsFile() {
    if (hooks.openEventsFile)
        hooks.openEventsFile();
}

} // namespace vextor
