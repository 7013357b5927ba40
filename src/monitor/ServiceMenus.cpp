#include "ServiceMenus.h"

#include "OutputCommands.h"
#include "link/NumericConversions.h"
#include "link/ZarnetCommands.h"
#include "link/texts.h"
#include "texts.h"

#include <cmath>
#include <memory>

namespace vextor::monitor {

namespace t = monitor_texts;

std::optional<uint8_t> ServiceMenus::byteEntry(const QString& text) {
    long long v = 0;
    if (!parseInteger(text.trimmed(), v) || v < 0 || v > 255) {
        dialogs_.message(QString::fromUtf8(link_texts::kFormatError));
        return std::nullopt;
    }
    return static_cast<uint8_t>(v);
}

std::optional<float> ServiceMenus::singleEntry(const QString& text) {
    double v = 0;
    if (!parseNumber(text.trimmed(), v) || !std::isfinite(static_cast<float>(v))) {
        dialogs_.message(QString::fromUtf8(link_texts::kFormatError));
        return std::nullopt;
    }
    return static_cast<float>(v);
}

void ServiceMenus::countError() {
    if (communicationError)
        communicationError();
}

bool ServiceMenus::setDiscreteOutput(const QString& address, const QString& number, bool on,
                                     std::function<void()> close) {
    const auto a = byteEntry(address);
    if (!a)
        return false;
    const auto n = byteEntry(number);
    if (!n)
        return false;
    if (*a > 0) {
        slaveCommand(slaveOutputStateCommand(*a, *n, on), std::move(close));
        return true;
    }
    // The controller's own output: it answers with an echo, and nothing is shown either way.
    controller_.run([n = *n, on](ZarnetLink& link) { SetOutputState(link, n, on ? 1 : 0); }, {});
    if (close)
        close();
    return true;
}

bool ServiceMenus::setAnalogOutput(const QString& address, const QString& number, const QString& volts,
                                   std::function<void()> close) {
    const auto a = byteEntry(address);
    if (!a)
        return false;
    const auto n = byteEntry(number);
    if (!n)
        return false;
    const auto v = singleEntry(volts);
    if (!v)
        return false;
    if (*a > 0) {
        slaveCommand(slaveOutputValueCommand(*a, *n, *v), std::move(close));
        return true;
    }
    controller_.run([n = *n, v = *v](ZarnetLink& link) { SetOutputValue(link, n, v); }, {});
    if (close)
        close();
    return true;
}

void ServiceMenus::slaveCommand(std::vector<uint8_t> command, std::function<void()> close) {
    auto outcome = std::make_shared<SlaveCommandOutcome>();
    controller_.run([command = std::move(command),
                     outcome](ZarnetLink& link) { *outcome = runSlaveCommand(link, command); },
                    [this, outcome, close = std::move(close)](bool ran) {
                        // Whether the slave echoed the output is not shown: the answer having come is enough.
                        if (!ran || outcome->result == SlaveCommandResult::Failed) {
                            countError();
                            return;
                        }
                        if (close)
                            close();
                    });
}

bool ServiceMenus::writeParameter(Parameter parameter, const QString& value, std::function<void()> close) {
    const auto v = singleEntry(value);
    if (!v)
        return false;
    if (close)
        close();
    const uint32_t address =
        parameter == Parameter::HotWaterTemperature ? kHotWaterTemperatureAddress : kHotWaterKPropAddress;
    auto ok = std::make_shared<bool>(false);
    controller_.run(
        [address, v = *v, ok](ZarnetLink& link) { *ok = writeRunningSingle(link, address, v); },
        [this, ok](bool ran) { dialogs_.message(ran && *ok ? t::kOk : t::kParameterWriteError); });
    return true;
}

std::optional<int> ServiceMenus::conditionNumber(const QString& text) {
    long long n = 0;
    if (!parseInteger(text.trimmed(), n)) {
        dialogs_.message(QString::fromUtf8(link_texts::kFormatError));
        return std::nullopt;
    }
    if (n < 1 || n > kConditionCount) {
        dialogs_.message(t::kBadConditionNumber);
        return std::nullopt;
    }
    return static_cast<int>(n);
}

void ServiceMenus::readConditionSetPoint(const QString& number, std::function<void(const QString&)> show) {
    if (number.trimmed().isEmpty())
        return;
    const auto n = conditionNumber(number);
    if (!n)
        return;
    auto value = std::make_shared<std::optional<float>>();
    controller_.run([address = conditionSetPointAddress(*n),
                     value](ZarnetLink& link) { *value = readRunningSingle(link, address); },
                    [this, value, show = std::move(show)](bool ran) {
                        if (!ran || !*value) {
                            dialogs_.message(t::kParameterReadError);
                            return;
                        }
                        if (show)
                            show(formatFixed(**value, 5, 3));
                    });
}

void ServiceMenus::writeConditionSetPoint(const QString& number, const QString& value) {
    if (number.trimmed().isEmpty() || value.trimmed().isEmpty())
        return;
    const auto n = conditionNumber(number);
    if (!n)
        return;
    const auto v = singleEntry(value);
    if (!v)
        return;
    auto ok = std::make_shared<bool>(false);
    controller_.run(
        [address = conditionSetPointAddress(*n), v = *v, ok](ZarnetLink& link) {
            *ok = writeRunningSingle(link, address, v);
        },
        [this, ok](bool ran) { dialogs_.message(ran && *ok ? t::kOk : t::kParameterWriteError); });
}

void ServiceMenus::toggleSound(uint8_t held, std::function<void(uint8_t)> written) {
    const uint8_t next = (held & 1) ? 0 : 1;
    auto ok = std::make_shared<bool>(false);
    controller_.run([next, ok](ZarnetLink& link) { *ok = writeRunningSound(link, next); },
                    [this, next, ok, written = std::move(written)](bool ran) {
                        if (!ran || !*ok) {
                            dialogs_.message(t::kSoundError);
                            return;
                        }
                        // The image takes the new byte only once the controller holds it, so that a
                        // second try after a failure writes the same intent again.
                        if (written)
                            written(next);
                        dialogs_.message(t::kOk);
                    });
}

} // namespace vextor::monitor
