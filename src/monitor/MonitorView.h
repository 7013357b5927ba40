#pragma once
// What the monitor window shows, as plain data: the window applies each MonitorRecord here and draws
// the fields, lamps, labels and the event list from it. The communication error label lives here,
// on the window's side, because a click on it and the service menus' slave commands change it too.
#include "MonitorRecord.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

namespace vextor::monitor {

// "Ошибок связи N": hidden until the first error; a click sets the count to 0 and hides it.
class ErrorLabel {
public:
    void count(int errors = 1);
    void reset();
    int errors() const { return errors_; }
    bool visible() const { return visible_; }
    QString text() const;

private:
    int errors_ = 0;
    bool visible_ = false;
};

enum class Lamp { Grey, Lime, Red };

struct MonitorView {
    // The event list keeps this many lines; older ones go first.
    static constexpr int kMaxEventLines = 10000;

    std::array<QString, kAnalogInputs> analogInText;
    std::array<QString, kAnalogOutputs> analogOutText;
    std::array<Lamp, kDiscreteInputs> discreteInLamp{};   // lime when on
    std::array<Lamp, kDiscreteOutputs> discreteOutLamp{}; // red when on
    Lamp slaveInputLamp = Lamp::Grey;
    Lamp slaveOutputLamp = Lamp::Grey;
    QString slaveAnalogInText;
    QString slaveAnalogOutText;
    bool slaveNoAnswerShown = false;
    uint32_t noEventCounter = 0;
    uint32_t waitCounter = 0;      // as the wait label last showed it
    bool waitCounterShown = false; // the label shows "000000" until the first wait is counted
    QStringList eventLines;
    ErrorLabel errorLabel;
    bool activityLit = false; // the indicator's colour: green, or the window's

    void apply(const MonitorRecord& record);
    void clearEvents() { eventLines.clear(); }
    QString waitCounterText() const;
};

// A value as its field shows it: fixed point, two decimals, decimal comma.
QString valueText(float value);

} // namespace vextor::monitor
