#pragma once
// The tab " Общие " without its widgets: the season and day starts, the line timing, the analog
// output ranges and overload checks and the counter factors; show fills the entries from ConfigImage,
// "Применить" validates them in order and stores them, the group " Ведомые " with them.
#include "ConfigImage.h"
#include "GeneralFields.h"
#include "SlavesEditor.h"
#include "link/EditField.h"
#include "link/NumericConversions.h"

#include <QDate>
#include <array>
#include <optional>

namespace vextor {

struct GeneralControls {
    DateField& summerDate;
    TimeField& summerTime;
    DateField& winterDate;
    TimeField& winterTime;
    TimeField& dayTime;
    TimeField& nightTime;
    EditField& delayFlowCtrl;
    EditField& quantityAttemptLink;
    EditField& timeNoAsking;
    FlagField& dac1Range;
    FlagField& dac2Range;
    FlagField& overload1;
    FlagField& overload2;
    EditField& dac1Percent;
    EditField& dac1Time;
    EditField& dac2Percent;
    EditField& dac2Time;
    std::array<EditField*, 4> counters;
};

struct PlainGeneralControls {
    PlainDateField summerDate, winterDate;
    PlainTimeField summerTime, winterTime, dayTime, nightTime;
    PlainEditField delayFlowCtrl, quantityAttemptLink, timeNoAsking, dac1Percent, dac1Time, dac2Percent,
        dac2Time;
    PlainFlagField dac1Range, dac2Range, overload1, overload2;
    std::array<PlainEditField, 4> counters;
    GeneralControls controls() {
        return {summerDate,    summerTime,
                winterDate,    winterTime,
                dayTime,       nightTime,
                delayFlowCtrl, quantityAttemptLink,
                timeNoAsking,  dac1Range,
                dac2Range,     overload1,
                overload2,     dac1Percent,
                dac1Time,      dac2Percent,
                dac2Time,      {&counters[0], &counters[1], &counters[2], &counters[3]}};
    }
};

// The date a season start names, or nothing when its bytes form no date.
std::optional<QDate> seasonDate(const DateTimePoint& p);

class GeneralTab {
public:
    GeneralTab(ConfigImage& image, GeneralControls controls, SlavesEditor& slaves);
    void showGeneral();
    void applyGeneral();

private:
    ConfigImage& image_;
    GeneralControls c_;
    SlavesEditor& slaves_;
};

} // namespace vextor
