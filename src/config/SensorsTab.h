#pragma once
// The "Датчики" tab without its widgets: the six own sensor channels of ConfigImage shown as a grid,
// the selected channel's entries, and "Применить" storing them back. The widget binds its entries
// to the EditField and ChoiceField seams and redraws from grid() and panel() when told to.
#include "ConfigImage.h"
#include "link/EditField.h"
#include "link/NumericConversions.h"

#include <QString>
#include <array>
#include <functional>

namespace vextor {

class UserDialogs;

// Positions of the kind choice: 0..5 are the kinds, 6 stands for no sensor.
inline constexpr int kNoSensorItem = 6;

enum class SensorGroup { None, Resistance, Lm235, Range };

// What the tab shows besides the entry texts.
struct SensorPanel {
    SensorGroup group = SensorGroup::None;
    bool materialVisible = false; // the material list belongs to the resistance thermometer only
    bool shuntVisible = false;    // current inputs only
    QString rangeTitle;           // title of the range group
    bool applyEnabled = false;    // a channel has been selected
    bool operator==(const SensorPanel&) const = default;
};

struct SensorGridRow {
    QString number, type, execution;
    bool operator==(const SensorGridRow&) const = default;
};

// The tab's entries. The lines resistance has one entry in the resistance group and one in the
// LM235 group, as on screen.
struct SensorControls {
    EditField& number; // read-only: the selected channel, 1..6
    ChoiceField& kind;
    EditField& r0;
    ChoiceField& wiring;
    EditField& resistanceLines;
    ChoiceField& material;
    EditField& voltage;
    EditField& lm235Lines;
    EditField& min;
    EditField& max;
    EditField& shunt;
};

// Headless entries for tests and scripts.
struct PlainSensorControls {
    PlainEditField number, r0, resistanceLines, voltage, lm235Lines, min, max, shunt;
    PlainChoiceField kind, wiring, material;
    SensorControls controls() {
        return {number, kind, r0, wiring, resistanceLines, material, voltage, lm235Lines, min, max, shunt};
    }
};

// The resistance class a thermometer's R0 gives: 0 (50 Ω), 1 (100 Ω), 2 (1000 Ω) or 3 (5000 Ω).
uint8_t resistanceClass(float r0);

// Whether a float survives the trip through the controller: its plausibility rule gives back only
// 0 and magnitudes from 2^-25 up to below 131072.
bool floatFitsImage(float x);

// checkSingle, and then a value the controller could not give back is refused with the range
// message as well, so that what is written is what is read.
float checkImageSingle(EditField& field, const QString& minText, const QString& maxText, float current);

// Sets a record's kind. The last four bytes hold a float for every kind but 0 and raw bytes for
// kind 0; crossing between the two keeps the bytes themselves.
void setSensorKind(SensorRecord& record, uint8_t kind);

class SensorsTab {
public:
    SensorsTab(ConfigImage& image, SensorControls controls, UserDialogs& dialogs);

    // The texts and choices a freshly created tab shows: channel 1, "Нет датчика", the default
    // entries.
    void setDefaults();

    // Rebuilds the grid from ArrSensors. A three-wire thermometer's second line is forced to no
    // sensor in the image.
    void showSensorTable();
    // Row 1..6 of the grid; anything else is ignored.
    void selectSensor(int row);
    // The kind choice changed: show that kind's group, filled from the selected channel's record.
    void kindChanged();
    // "Применить": validate the shown entries in order and store them, then rebuild the grid.
    void applySensor();

    int selectedRow() const { return selected_; }
    const std::array<SensorGridRow, kSensorCount>& grid() const { return grid_; }
    const SensorPanel& panel() const { return panel_; }

    // Told after the grid or the panel changed, so a widget can redraw.
    std::function<void()> gridChanged;
    std::function<void()> panelChanged;

private:
    ConfigImage& image_;
    SensorControls c_;
    UserDialogs& dialogs_;
    int selected_ = 1;
    std::array<SensorGridRow, kSensorCount> grid_;
    SensorPanel panel_;

    SensorRecord& selectedRecord();
    void showGroup(int kindItem);
    void fillGroup(int kindItem, const SensorRecord& r);
    void setPanel(const SensorPanel& p);
};

} // namespace vextor
