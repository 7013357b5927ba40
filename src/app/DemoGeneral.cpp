#include "DemoGeneral.h"

#include "config/CalendarTab.h"
#include "config/ConditionsTab.h"

namespace vextor {

namespace {

void holiday(ConfigImage& image, int year, int month, int day) {
    if (!calendarDayOff(image, year, month, day))
        toggleCalendarDay(image, year, month, day);
}

ConditionRecord condition(uint8_t kind) {
    ConditionRecord r;
    r.Kind = kind;
    return r;
}

} // namespace

void addDemoGeneralConfiguration(ConfigImage& im) {
    // The heater valve runs on drive 1 with its own three-point outputs, the heating valve on drive 2.
    im.DC1FullTime = 120;
    im.DC1MinTime = 5;
    im.DC1LuftTime = 8;
    im.DC2FullTime = 90;
    im.DC2MinTime = 4;
    im.DC2LuftTime = 6;
    im.DCFlags = 0x05;

    im.SummerBegin = {6, 30, 0, 15, 4, 26};
    im.WinterBegin = {6, 30, 0, 1, 10, 26};
    im.DayBegin = {6, 0, 0};
    im.NightBegin = {21, 30, 0};
    im.DelayFlowCtrl = 10;
    im.QuantityAttemptLink = 4;
    im.TimeNoAsking = 60;
    im.Options |= 0x0011; // output 1 at 2-10 V with its overload control
    im.DAC1erProcent = 80;
    im.DAC1erTime = 45;
    im.DAC2erProcent = 60;
    im.DAC2erTime = 30;
    im.KoefCounters = {0.01f, 0.1f, 10.0f, 1.0f};

    // Two controllers of the family on the slave line, as in the demo project.
    im.Slaves[0] = {1, 32, 1};
    im.Slaves[1] = {2, 32, 1};
    im.Slaves[2] = {9, 9, 1};

    // Twelve months from January 2026 with the public holidays.
    buildDefaultCalendar(im, QDate(2026, 1, 1));
    for (int d = 1; d <= 8; ++d)
        holiday(im, 2026, 1, d);
    holiday(im, 2026, 2, 23);
    holiday(im, 2026, 3, 9);
    holiday(im, 2026, 5, 1);
    holiday(im, 2026, 5, 11);
    holiday(im, 2026, 6, 12);
    holiday(im, 2026, 11, 4);
    holiday(im, 2026, 12, 31);

    auto& c = im.Conditions;
    // 1: outdoor air above 25 °C switches the cooler pump D5 on.
    c[0] = condition(0);
    c[0].AdrInput1 = 0;
    c[0].NumInput1 = 3;
    c[0].Flags = kConditionHasOutput | kConditionNumberOperand;
    c[0].Notch = 25.0f;
    c[0].NumOutput = 5 | kDiscreteOutput;
    c[0].IfValueOutput = 1;
    c[0].Priority = 0x21;
    // 2: the duct and room temperatures differ by more than 8 °C: analog output 2 to 7,5 V.
    c[1] = condition(2);
    c[1].NumInput1 = 1;
    c[1].NumInput2 = 6;
    c[1].Notch = 8.0f;
    c[1].Flags = kConditionHasOutput;
    c[1].NumOutput = 2;
    c[1].IfValueOutput = 75;
    c[1].ElseValueOutput = 20;
    c[1].Priority = 0x31;
    // 3: the fire input held for 00:00:30 stops the supply fan (D3).
    c[2] = condition(8);
    c[2].NumInput1 = 25;
    c[2].AdrInput2 = 0x00;
    c[2].NumInput2 = 0x0F;
    c[2].Flags = kConditionHasOutput;
    c[2].NumOutput = 3 | kDiscreteOutput;
    c[2].IfValueOutput = 0;
    c[2].ElseValueOutput = 1;
    c[2].Priority = 0xF0;
    // 4: the filter alarm blinks 00:00:02 on, 00:00:02 off.
    c[3] = condition(11);
    c[3].NumInput1 = 0x01;
    c[3].NumInput2 = 0x01;
    c[3].Flags = kConditionHasOutput | kConditionDepends | 2;
    c[3].NumOutput = 19 | kDiscreteOutput;
    c[3].IfValueOutput = 1;
    c[3].Priority = 0x10;
    // 5: the pumps change over every 168 hours.
    c[4] = condition(14);
    c[4].NumInput1 = 168;
    c[4].NumInput2 = 168;
    c[4].Flags = kConditionHasOutput;
    c[4].AdrOutput = 1;
    c[4].NumOutput = 4 | kDiscreteOutput;
    c[4].IfValueOutput = 1;
    // 6: while condition 1 holds, the glycol temperature between 20,5 and 25,0 °C sets output A3.
    c[5] = condition(15);
    c[5].NumInput1 = 11;
    c[5].AdrInput2 = c[5].NumInput2 = 255;
    setConditionSetPoints(c[5], 205, 250);
    c[5].Flags = kConditionHasOutput | kConditionDepends | 0;
    c[5].NumOutput = 3;
    c[5].IfValueOutput = 100;
    c[5].ElseValueOutput = 0;
    c[5].Priority = 0x22;
    // 7: a counting trigger on input 21 toggles D6.
    c[6] = condition(13);
    c[6].NumInput1 = 21;
    c[6].Flags = kConditionHasOutput;
    c[6].NumOutput = 6 | kDiscreteOutput;
    for (int i = 7; i < kConditionCount; ++i) {
        c[i] = condition(kNoConditionKind);
        c[i].AdrInput1 = c[i].AdrInput2 = c[i].AdrOutput = 255;
    }
}

} // namespace vextor
