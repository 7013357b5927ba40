#pragma once
// The tabs "ДУ приводов " and " Общие " with its group " Ведомые ", without their widgets: show
// fills the entries from ConfigImage, "Применить" validates them in order and stores them.
#include "link/EditField.h"
#include "ConfigImage.h"
#include "GeneralFields.h"
#include "link/NumericConversions.h"

#include <QString>
#include <array>
#include <functional>

namespace vextor {

// ---------------------------------------------------------------- "ДУ приводов "

struct DriveControlControls {
    // Full, Min and Luft Time of drive 1, then of drive 2.
    std::array<EditField*, 6> times;
    // DCFlags bits 0..4.
    std::array<FlagField*, 5> flags;
};

struct PlainDriveControlControls {
    std::array<PlainEditField, 6> times;
    std::array<PlainFlagField, 5> flags;
    DriveControlControls controls() {
        DriveControlControls c{};
        for (size_t i = 0; i < times.size(); ++i)
            c.times[i] = &times[i];
        for (size_t i = 0; i < flags.size(); ++i)
            c.flags[i] = &flags[i];
        return c;
    }
};

class DriveControlTab {
public:
    DriveControlTab(ConfigImage& image, DriveControlControls controls);
    void showDriveControl();
    void applyDriveControl();

private:
    ConfigImage& image_;
    DriveControlControls c_;
};

// ---------------------------------------------------------------- " Ведомые "

// Positions of the type list.
inline constexpr int kSlaveTypeNone = 8;
inline constexpr int kSlaveButtonCount = 8;
inline constexpr uint8_t kEmptySlaveType = 255;

// The type code of a list position (255 for "Нет") and the position of a code ("Нет" for codes
// the list does not name).
uint8_t slaveTypeCode(int index);
int slaveTypeIndex(uint8_t code);
// Devices of other makes share the line only with their own kind, in slots 1 to 4.
inline bool isOtherMake(int index) {
    return index >= 5 && index <= 7;
}
inline bool isOwnMake(int index) {
    return index >= 0 && index <= 4;
}

struct SlaveRowControls {
    EditField* address;
    ChoiceField* type;
    ChoiceField* frame;
    ChoiceField* baud;
};

struct SlaveRowState {
    bool addressEnabled = false;
    bool typeEnabled = false;
    bool settingsEnabled = false; // the frame and baud lists
    bool operator==(const SlaveRowState&) const = default;
};

struct PlainSlaveControls {
    std::array<PlainEditField, kSlaveCount> address;
    std::array<PlainChoiceField, kSlaveCount> type, frame, baud;
    std::array<SlaveRowControls, kSlaveCount> controls() {
        std::array<SlaveRowControls, kSlaveCount> c{};
        for (int i = 0; i < kSlaveCount; ++i)
            c[i] = {&address[i], &type[i], &frame[i], &baud[i]};
        return c;
    }
};

class SlavesEditor {
public:
    SlavesEditor(ConfigImage& image, std::array<SlaveRowControls, kSlaveCount> rows);

    void showSlaves();
    // Stores the eight rows; an occupied row's address is validated 1..127.
    void applySlaves();
    // A button of "Добавить прибор" (type list position 0..7).
    void addSlaveDevice(int index);
    // "Удалить последний".
    void removeLastSlave();
    void updateAddButtons();
    // The line settings are common to the whole line: the item chosen in one row goes to all.
    void frameChanged(int row);
    void baudChanged(int row);

    const std::array<SlaveRowState, kSlaveCount>& rows() const { return state_; }
    const std::array<bool, kSlaveButtonCount>& addButtons() const { return buttons_; }
    std::function<void()> stateChanged;

private:
    ConfigImage& image_;
    std::array<SlaveRowControls, kSlaveCount> c_;
    std::array<SlaveRowState, kSlaveCount> state_{};
    std::array<bool, kSlaveButtonCount> buttons_{};

    int typeOf(int row) const;
    void enableRow(int row);
    void notify();
};

// ---------------------------------------------------------------- " Общие "

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

// Options bits this tab owns; every other bit belongs to the tactic tabs.
inline constexpr uint16_t kOptionDac1Range = 0x0001;
inline constexpr uint16_t kOptionDac2Range = 0x0002;
inline constexpr uint16_t kOptionDac1Overload = 0x0010;
inline constexpr uint16_t kOptionDac2Overload = 0x0020;

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
