#include "ServicePanel.h"

#include "link/NumberInput.h"
#include "texts.h"

#include "link/AddressLimits.h"
#include "link/ControllerMemory.h"
#include "link/Hooks.h"
#include "link/ModbusParams.h"
#include "link/ZarnetCommands.h"

#include <array>
#include <memory>

namespace vextor {

namespace t = device_texts;

namespace {
constexpr int kMaxReplyDelay = 255;
} // namespace

ServicePanel::ServicePanel(UserDialogs& dialogs, ServiceLine& line) : dialogs_(dialogs), line_(line) {
    const QDateTime now = QDateTime::currentDateTime();
    view.date = now.date();
    view.time = now.time();
}

void ServicePanel::showMarkedDevice() {
    const auto marked = line_.markedLink();
    if (!marked)
        return;
    view.zarnetAddressText = QString::number(marked->zarnetAddress);
    view.replyDelayText.clear();
    showModbusSettings(marked->modbusAddress, marked->mbParams);
}

void ServicePanel::runOnce(TaskTurn turn, std::function<bool(LineAccess&)> op,
                           std::function<void(bool)> done) {
    // A second press while the same operation waits for the line is no second request: it would only
    // repeat the frame and the message.
    if (!pending_.insert(turn).second)
        return;
    line_.run(turn, std::move(op), [this, turn, done = std::move(done)](bool ok) {
        pending_.erase(turn);
        done(ok);
    });
}

void ServicePanel::showModbusSettings(uint8_t address, uint8_t mbParams) {
    view.modbusAddressText = QString::number(address);
    view.speedIndex = mbBaudIndex(mbParams);
    view.frameIndex = mbFrameIndex(mbParams);
    view.floatIndex = mbFloatOrderIndex(mbParams);
    changed();
}

void ServicePanel::changed() {
    if (viewChanged)
        viewChanged();
}

void ServicePanel::readClock() {
    auto clock = std::make_shared<std::array<uint8_t, 6>>();
    runOnce(
        TaskTurn::ReadClock, [clock](LineAccess& a) { return ReadDeviceClock(a.link, *clock); },
        [this, clock](bool ok) {
            const std::array<uint8_t, 6>& c = *clock;
            const QTime time(c[0], c[1], c[2]);
            const QDate date(2000 + c[5], c[4], c[3]);
            // A clock the controller cannot hold (a month 13 after a flat battery) is no reading.
            if (!ok || !time.isValid() || !date.isValid()) {
                dialogs_.message(t::kReadError);
                return;
            }
            view.time = time;
            view.date = date;
            changed();
        });
}

void ServicePanel::takeComputerClock(const QDateTime& now) {
    view.date = now.date();
    view.time = now.time();
    changed();
}

void ServicePanel::writeClock() {
    const std::array<uint8_t, 6> clock = {
        static_cast<uint8_t>(view.time.hour()),   static_cast<uint8_t>(view.time.minute()),
        static_cast<uint8_t>(view.time.second()), static_cast<uint8_t>(view.date.day()),
        static_cast<uint8_t>(view.date.month()),  static_cast<uint8_t>(view.date.year() % 100)};
    runOnce(
        TaskTurn::WriteClock, [clock](LineAccess& a) { return WriteDeviceClock(a.link, clock); },
        [this](bool ok) { dialogs_.message(ok ? t::kWriteDone : t::kWriteError); });
}

uint8_t ServicePanel::modbusParamsByte() const {
    return composeMbParams(0, view.speedIndex, view.frameIndex, view.floatIndex);
}

std::optional<uint8_t> ServicePanel::modbusAddress() const {
    bool ok = false;
    const int value = view.modbusAddressText.trimmed().toInt(&ok);
    // Anything outside the Modbus range would be cut to its low byte on the way.
    if (!ok || value < kMinModbusAddress || value > kMaxModbusAddress)
        return std::nullopt;
    return static_cast<uint8_t>(value);
}

void ServicePanel::storeModbusInProject() {
    const auto address = modbusAddress();
    if (!address) {
        dialogs_.message(t::kBadValue);
        return;
    }
    auto marked = line_.markedLink();
    if (!marked)
        return;
    marked->modbusAddress = *address;
    marked->mbParams = modbusParamsByte();
    line_.storeMarkedLink(*marked);
    if (linkChanged)
        linkChanged();
}

void ServicePanel::readModbusParams() {
    auto bytes = std::make_shared<std::array<uint8_t, 2>>();
    runOnce(
        TaskTurn::ReadModbusParams,
        [bytes](LineAccess& a) {
            const bool params = ReadMemory(a.link, &(*bytes)[0], kMbParamsAddress, 1);
            sleepMs(kRequestPauseMs);
            const bool address = ReadMemory(a.link, &(*bytes)[1], kMbAddressAddress, 1);
            sleepMs(kRequestPauseMs);
            return params && address;
        },
        [this, bytes](bool ok) {
            if (ok) {
                showModbusSettings((*bytes)[1], (*bytes)[0]);
                dialogs_.message(t::kReadDone);
                // The project keeps the controller's settings as read.
                storeModbusInProject();
            } else {
                // Nothing was read: the project keeps its own settings. Taking the page's fields here
                // would put defaults in place of the real ones, and over a Modbus link, where this read
                // always fails, the link would be lost for good.
                dialogs_.message(t::kReadError);
            }
        });
}

void ServicePanel::writeModbusParams() {
    const auto address = modbusAddress();
    if (!address) {
        dialogs_.message(t::kBadValue);
        return;
    }
    const uint8_t params = modbusParamsByte();
    runOnce(
        TaskTurn::WriteModbusParams,
        [params, address = *address](LineAccess& a) {
            const bool paramsWritten = WriteMemory(a.link, &params, kMbParamsAddress, 1);
            sleepMs(kRequestPauseMs);
            const bool addressWritten = paramsWritten && WriteMemory(a.link, &address, kMbAddressAddress, 1);
            sleepMs(kRequestPauseMs);
            return addressWritten;
        },
        [this](bool ok) {
            if (ok) {
                dialogs_.message(t::kWriteDonePlain);
                line_.queue(LineTask::Reset);
            } else {
                dialogs_.message(t::kWriteError);
            }
            storeModbusInProject();
        });
}

void ServicePanel::readReplyDelay() {
    auto delay = std::make_shared<uint16_t>(0);
    runOnce(
        TaskTurn::ReadReplyDelay, [delay](LineAccess& a) { return ReadReplyDelay(a.link, *delay); },
        [this, delay](bool ok) {
            if (!ok) {
                dialogs_.message(t::kReadError);
                return;
            }
            view.replyDelayText = QString::number(*delay);
            changed();
        });
}

void ServicePanel::changeReplyDelay() {
    if (!dialogs_.askYesNo(t::kAskWriteDelay, t::kCaption))
        return;
    const auto delay =
        askWholeNumber(dialogs_, t::kDelayPrompt, view.replyDelayText.toInt(), 0, kMaxReplyDelay);
    if (!delay)
        return;
    view.replyDelayText = QString::number(*delay);
    changed();
    runOnce(
        TaskTurn::WriteReplyDelay,
        [value = static_cast<uint16_t>(*delay)](LineAccess& a) { return WriteReplyDelay(a.link, value); },
        [this](bool ok) {
            dialogs_.message(ok ? t::kWriteDone : t::kWriteError);
            if (ok)
                line_.queue(LineTask::Reset);
        });
}

void ServicePanel::changeZarnetAddress() {
    if (!dialogs_.askYesNo(t::kAskWriteAddress, t::kCaption))
        return;
    const auto address = askWholeNumber(dialogs_, t::kAddressPrompt, view.zarnetAddressText.toInt(),
                                        kMinZarnetAddress, kMaxZarnetAddress);
    if (!address)
        return;
    const auto value = static_cast<uint8_t>(*address);
    runOnce(
        TaskTurn::WriteZarnetAddress, [value](LineAccess& a) { return ChangeDeviceAddress(a.link, value); },
        [this, value](bool ok) {
            if (!ok) {
                dialogs_.message(t::kWriteError);
                return;
            }
            dialogs_.message(t::kWriteDone);
            view.zarnetAddressText = QString::number(value);
            changed();
            // The project now reaches the controller at its new address.
            if (auto marked = line_.markedLink()) {
                marked->zarnetAddress = value;
                line_.storeMarkedLink(*marked);
                if (linkChanged)
                    linkChanged();
            }
            line_.queue(LineTask::Reset);
        });
}

void ServicePanel::chooseSound(int index) {
    if (index != 0 && index != 1)
        return;
    view.soundIndex = index;
    const uint8_t value = index == 0 ? 1 : 0;
    runOnce(
        TaskTurn::Sound, [value](LineAccess& a) { return WriteMemory(a.link, &value, kSoundAddress, 1); },
        [this, index](bool ok) {
            if (ok) {
                dialogs_.message(index == 0 ? t::kSoundOn : t::kSoundOff);
                line_.queue(LineTask::Reset);
                return;
            }
            dialogs_.message(t::kWriteError);
            view.soundIndex = -1;
            changed();
        });
}

void ServicePanel::reset() {
    if (confirmStopVisual && !confirmStopVisual())
        return;
    line_.queue(LineTask::Reset);
}

void ServicePanel::switchToModbus() {
    if (confirmStopVisual && !confirmStopVisual())
        return;
    // The project learns the controller's Modbus settings before the switch makes them the link's.
    readModbusParams();
    line_.queue(LineTask::SwitchToModbus);
}

void ServicePanel::switchToZarnet() {
    line_.queue(LineTask::SwitchToZarnet);
}

} // namespace vextor
