#pragma once
// The monitor's three service menus, headless: "Управление выходом" (an output of the controller or
// of a device on its slave line, set by hand), "Запись в ОЗУ" (single parameters of the running copy
// of the configuration, and the set point of one condition) and " Звук On/Off ". The panels hand
// their entries here as typed; an entry that is no number is told and nothing is sent.
//
// Nothing here talks to the controller itself: each command goes to the controller through
// ControllerAccess, and what it brings back is shown through the dialogs when it comes.
#include "link/UserDialogs.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace vextor {
class ZarnetLink;
}

namespace vextor::monitor {

// How the service menus reach the marked controller: the application runs each operation on the
// line; vextorctl and tests run it at once on a link of their own.
class ControllerAccess {
public:
    virtual ~ControllerAccess() = default;
    // op runs with the controller's link; done is told on the caller's thread whether it ran at all.
    virtual void run(std::function<void(ZarnetLink&)> op, std::function<void(bool ran)> done) = 0;
};

// Runs every operation at once on one link.
class DirectControllerAccess : public ControllerAccess {
public:
    explicit DirectControllerAccess(ZarnetLink& link) : link_(link) {}
    void run(std::function<void(ZarnetLink&)> op, std::function<void(bool ran)> done) override {
        op(link_);
        if (done)
            done(true);
    }

private:
    ZarnetLink& link_;
};

class ServiceMenus {
public:
    ServiceMenus(UserDialogs& dialogs, ControllerAccess& controller)
        : dialogs_(dialogs), controller_(controller) {}

    // A slave command failed: the monitor's communication error label counts it.
    std::function<void()> communicationError;

    // "Выполнить" of "Установка состояния дискретного выхода" and "Установка напряжения на ЦАПе".
    // Address 0 is the controller itself, any other a device on its slave line. close is called when
    // the panel closes: at once for the controller, when the slave's answer came for a slave. False
    // when an entry is no number: the panel stays open and nothing is sent.
    bool setDiscreteOutput(const QString& address, const QString& number, bool on,
                           std::function<void()> close);
    bool setAnalogOutput(const QString& address, const QString& number, const QString& volts,
                         std::function<void()> close);

    // "Запись" of the float panel of "Температура для ГВС" and "коэф. Проп.  для ГВС". close is called
    // once the value is taken.
    enum class Parameter { HotWaterTemperature, HotWaterKProp };
    bool writeParameter(Parameter parameter, const QString& value, std::function<void()> close);

    // "Чтение" and "Запись" of "Изменение уставки в блоке условий". show gets the value read, as the
    // value field shows it.
    void readConditionSetPoint(const QString& number, std::function<void(const QString&)> show);
    void writeConditionSetPoint(const QString& number, const QString& value);

    // " Звук On/Off ": writes the held SoundOn byte with bit 0 turned over; written gets the new byte
    // once the controller took it, for the configuration image to hold.
    void toggleSound(uint8_t held, std::function<void(uint8_t)> written);

private:
    UserDialogs& dialogs_;
    ControllerAccess& controller_;

    std::optional<uint8_t> byteEntry(const QString& text);
    std::optional<float> singleEntry(const QString& text);
    std::optional<int> conditionNumber(const QString& text);
    void slaveCommand(std::vector<uint8_t> command, std::function<void()> close);
    void countError();
};

} // namespace vextor::monitor
