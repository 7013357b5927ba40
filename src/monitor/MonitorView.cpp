#include "MonitorView.h"

#include "link/NumericConversions.h"
#include "texts.h"

namespace vextor::monitor {

namespace t = monitor_texts;

void ErrorLabel::count(int errors) {
    if (errors <= 0)
        return;
    errors_ += errors;
    visible_ = true;
}

void ErrorLabel::reset() {
    errors_ = 0;
    visible_ = false;
}

QString ErrorLabel::text() const {
    return visible_ ? t::kErrorLabelHead + QString::number(errors_) : t::kErrorLabelStart;
}

QString valueText(float value) {
    return formatFixed(value, 5, 2);
}

QString MonitorView::waitCounterText() const {
    return waitCounterShown ? QString::number(waitCounter) : t::kWaitCounterStart;
}

void MonitorView::apply(const MonitorRecord& r) {
    for (size_t k = 0; k < analogInText.size(); ++k)
        if (r.analogIn[k])
            analogInText[k] = valueText(*r.analogIn[k]);
    for (size_t k = 0; k < analogOutText.size(); ++k)
        if (r.analogOut[k])
            analogOutText[k] = valueText(*r.analogOut[k]);
    for (size_t k = 0; k < discreteInLamp.size(); ++k)
        if (r.discreteIn[k])
            discreteInLamp[k] = *r.discreteIn[k] ? Lamp::Lime : Lamp::Grey;
    for (size_t k = 0; k < discreteOutLamp.size(); ++k)
        if (r.discreteOut[k])
            discreteOutLamp[k] = *r.discreteOut[k] ? Lamp::Red : Lamp::Grey;

    const SlaveNews& s = r.slave;
    if (s.inputOn)
        slaveInputLamp = *s.inputOn ? Lamp::Lime : Lamp::Grey;
    if (s.outputOn)
        slaveOutputLamp = *s.outputOn ? Lamp::Red : Lamp::Grey;
    if (s.analogIn)
        slaveAnalogInText = valueText(*s.analogIn);
    else if (s.analogInError)
        slaveAnalogInText = t::kSlaveValueError;
    if (s.analogOut)
        slaveAnalogOutText = valueText(*s.analogOut);
    if (s.noAnswerShown)
        slaveNoAnswerShown = *s.noAnswerShown;

    noEventCounter = r.noEventCounter;
    if (r.waitCounted) {
        waitCounter = r.waitCounter;
        waitCounterShown = true;
    }
    for (const PolledEvent& e : r.events)
        eventLines.append(e.line);
    while (eventLines.size() > kMaxEventLines)
        eventLines.removeFirst();
    errorLabel.count(r.errors);
    if (r.steps % 2 != 0)
        activityLit = !activityLit;
}

} // namespace vextor::monitor
