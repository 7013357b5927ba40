#pragma once
// The group " Ведомые " of the tab " Общие " without its widgets: the eight devices on the
// controller's own slave line, their addresses, types and the line settings, and the rules of which
// makes may share the line.
#include "ConfigImage.h"
#include "link/EditField.h"
#include "link/NumericConversions.h"

#include <array>
#include <functional>

namespace vextor {

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

} // namespace vextor
