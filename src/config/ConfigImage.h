#pragma once
// The controller's configuration as one typed record, addressed by the byte addresses 3..1193 of its
// parameter memory. Every tab of the configuration window, the transfer, the configuration file and
// the dump move values in and out of this record; the byte layout lives in ConfigLayout.h only.
#include "link/ControllerMemory.h"

#include <array>
#include <cstdint>

namespace vextor {

// First and last device address covered by the image.
inline constexpr uint32_t kImageFirstAddress = 3;
inline constexpr uint32_t kImageLastAddress = 1193;
inline constexpr uint32_t kImageEnd = kImageLastAddress + 1; // one past the last address

// A sensor kind of 0 (resistance thermometer) keeps the last four bytes of its record raw.
inline constexpr uint8_t kRawSensorKind = 0;
inline constexpr uint8_t kNoSensor = 255;

struct SensorRecord {
    uint8_t KindSensor = kNoSensor; // 0..5; anything above 5 means no sensor
    uint8_t TypeClb = 0;
    float Rbegin = 0;
    float Rline = 0;
    // Used when KindSensor is not 0.
    float FValue = 0;
    // Used when KindSensor is 0: Byte[0] number of wires, Byte[1] material index, two more bytes kept
    // exactly as the controller holds them.
    std::array<uint8_t, 4> Byte{};
    bool operator==(const SensorRecord&) const = default;
};

// One row of an assignment table: device address and channel number on that device.
struct AdrNum {
    uint8_t Adr = 0;
    uint8_t Num = 0;
    bool operator==(const AdrNum&) const = default;
};

struct DateTimePoint {
    uint8_t Hour = 0, Minute = 0, Second = 0, Day = 0, Month = 0;
    uint8_t Year = 0; // two digits; read from the controller, never written to it
    bool operator==(const DateTimePoint&) const = default;
};

struct TimeOfDay {
    uint8_t Hour = 0, Minute = 0, Second = 0;
    bool operator==(const TimeOfDay&) const = default;
};

// One point of a characteristic table: (argument, value).
struct CurvePoint {
    int8_t Arg = 0;
    int8_t Value = 0;
    bool operator==(const CurvePoint&) const = default;
};

struct SlaveRecord {
    uint8_t Address = 0;
    uint8_t Type = 0;
    uint8_t Options = 0;
    bool operator==(const SlaveRecord&) const = default;
};

struct PIDRecord {
    float KProp = 0;
    float KInt = 0;
    float KDif = 0;
    float StartIntError = 0;
    uint8_t PeriodDif = 0; // 1..31
    bool operator==(const PIDRecord&) const = default;
};

struct ConditionRecord {
    uint8_t Kind = 0;
    uint8_t AdrInput1 = 0;
    uint8_t NumInput1 = 0;
    uint8_t AdrInput2 = 0;
    uint8_t NumInput2 = 0;
    uint8_t AdrOutput = 0;
    uint8_t NumOutput = 0;
    uint8_t IfValueOutput = 0;
    uint8_t ElseValueOutput = 0;
    uint8_t Flags = 0;
    uint8_t Priority = 0;
    uint8_t Memo = 0;
    float Notch = 0; // taken as it is, without the plausibility check
    bool operator==(const ConditionRecord&) const = default;
};

inline constexpr int kSensorCount = 6;
inline constexpr int kAnalogInCount = 14;
inline constexpr int kAnalogOutCount = 6; // rows that belong to the image
inline constexpr int kAnalogOutRows = 8;  // rows the table has room for
inline constexpr int kDiscreteInCount = 32;
inline constexpr int kDiscreteOutCount = 32;
inline constexpr int kSlaveCount = 8;
inline constexpr int kSPVPIDCount = 3;
inline constexpr int kPIDCount = 4;
inline constexpr int kConditionCount = 32;
inline constexpr int kCalendarBytes = 5;
inline constexpr int kCalendarMonths = 12;

struct ConfigImage {
    // 3..5: the controller's own RS-485 port.
    uint8_t MB_Params = 0;
    uint8_t Zarnet_Modbus = 0;
    uint8_t MB_Address = 0;

    // 6..65: factory calibration constants; kept only for the dump, nothing fills them.
    float Rmin50 = 0, Rmax50 = 0, Rmin100 = 0, Rmax100 = 0, Rmin1000 = 0, Rmax1000 = 0;
    float KfDAC1 = 0, KfDAC2 = 0, KfRetDAC1 = 0, KfRetDAC2 = 0;
    float KoefU1 = 0, KoefI5 = 0, KoefU10 = 0, KoefI20 = 0, Rmax5000 = 0;

    std::array<SensorRecord, kSensorCount> ArrSensors{};
    std::array<AdrNum, kAnalogInCount> AdrNumAIn{};
    std::array<AdrNum, kAnalogOutRows> AdrNumAOut{}; // rows 6 and 7 never reach the controller or a file
    std::array<AdrNum, kDiscreteInCount> AdrNumDIn{};
    std::array<AdrNum, kDiscreteOutCount> AdrNumDut{};

    // 318..345
    DateTimePoint SummerBegin{};
    DateTimePoint WinterBegin{};
    TimeOfDay DayBegin{};
    uint8_t DelayOnVent1 = 0;
    TimeOfDay NightBegin{};
    uint8_t DelayOnVent2 = 0;
    uint8_t TimeHeatDoor = 0;
    uint8_t DelayFlowCtrl = 0;
    int8_t TminGlick = 0;
    uint8_t KindSystems = 0;
    uint16_t Options = 0;
    uint8_t QuantityAttemptLink = 0;
    uint8_t TimeNoAsking = 0;

    // 346..431
    float PresetTempAir = 0;
    float PresetTempWarming = 0;
    float PresetTempWaterHWP = 0;
    float PresetAnyParam = 0;
    float DeltaTNightDay = 0;
    float DeltaTWeekend = 0;
    float CorrTHeat = 0;
    float SPVCascadeKoef = 0;
    float SHCascadeKoef = 0;
    float Histeresis = 0;
    uint8_t TempOffPumpH = 0;
    uint8_t TempOffPumpC = 0;
    uint16_t TimeTempOffPumpH = 0;
    uint16_t TimeTempOffPumpC = 0;
    uint8_t MinTempBackWater = 0;
    uint8_t PresetTempBWNight = 0;
    uint8_t PresetTimeWarming = 0;
    int8_t TempDownNotch = 0;
    uint16_t TimeDownNotch = 0;
    uint8_t BotBorderForHeating = 0;
    uint8_t BotBorderForCooling = 0;
    int8_t RecupWinterDeltaTmin = 0;
    uint8_t RecupWinterUmin = 0;
    int8_t RecupWinterDeltaTmax = 0;
    uint8_t RecupWinterUmax = 0;
    int8_t RecupSummerDeltaTmin = 0;
    uint8_t RecupSummerUmin = 0;
    int8_t RecupSummerDeltaTmax = 0;
    uint8_t RecupSummerUmax = 0;
    std::array<CurvePoint, 4> TempStTempBW{};
    std::array<CurvePoint, 4> TempStTempH{};
    std::array<CurvePoint, 4> TempBWDeltaT{};

    // 432..493
    uint8_t DC1FullTime = 0;
    uint8_t DC1MinTime = 0;  // units of 0.2 s
    uint8_t DC1LuftTime = 0; // units of 0.2 s
    uint8_t DC2FullTime = 0;
    uint8_t DC2MinTime = 0;
    uint8_t DC2LuftTime = 0;
    uint8_t DCFlags = 0;
    uint8_t DAC1erProcent = 0;
    uint8_t DAC1erTime = 0;
    uint8_t DAC2erProcent = 0;
    uint8_t DAC2erTime = 0;
    uint8_t SoundOn = 0;
    std::array<SlaveRecord, kSlaveCount> Slaves{};
    uint8_t DefaultSpeedInVent = 0;
    uint8_t DefaultSpeedOutVent = 0;
    uint8_t MaxQuantityHeat = 0;
    uint8_t TimeWorkPump = 0;
    float KoefOutVent = 0;
    std::array<float, 4> KoefCounters{};

    // 494..619
    std::array<PIDRecord, kSPVPIDCount> SPVPIDKoef{}; // heater by day, heater by night, cooler by day
    std::array<PIDRecord, kPIDCount> PIDKoef{};       // heating, hot water, process, recuperation

    // 620..1131
    std::array<ConditionRecord, kConditionCount> Conditions{};

    // 1132..1191: Calendars[k][m] is byte k (0..4) of month m (0..11); the controller holds the
    // months one after another, five bytes each.
    std::array<std::array<uint8_t, kCalendarMonths>, kCalendarBytes> Calendars{};

    // 1192..1193
    uint16_t CfgVersion = 0;

    bool operator==(const ConfigImage&) const = default;
};

// The default configuration: what the program starts with and what a new project gets. Every field
// outside the default set becomes 0.
void loadDefaultConfiguration(ConfigImage& image);

// The image bytes of device addresses address..address+count-1 as they go to the controller:
// floats stored plainly, reserved bytes 0, both Year bytes 0, a kind-0 sensor's raw bytes as kept.
// Addresses outside 3..1193 give 0.
void encodeRange(const ConfigImage& image, uint32_t address, uint32_t count, uint8_t* out);

// Takes the bytes of device addresses address..address+count-1 into the image. Only fields lying
// wholly inside the range change; reserved bytes are dropped. Floats pass the plausibility rule
// (except a condition's Notch), a TempDownNotch byte of 0xFF is taken as 30, and a kind-0 sensor
// keeps its last four bytes raw (the kind is taken from the image after the range's own kind byte).
void decodeBlock(ConfigImage& image, uint32_t address, uint32_t count, const uint8_t* in);

} // namespace vextor
