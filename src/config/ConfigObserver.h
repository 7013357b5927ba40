#pragma once
// What the configuration window is told after the image changed under it (a read from the
// controller or a file load): which views to refill from ConfigImage, and the row selections that
// make the detail panes show the new values. The window implements it; core code only calls it.
#include <cstdint>

namespace vextor {

// One bit per view of the configuration window that shows image fields.
enum ConfigView : uint32_t {
    ViewModbus = 1u << 0,            // the Modbus controls: address, baud, frame, float order (MB_*)
    ViewSensors = 1u << 1,           // sensor grid
    ViewAnalogInputs = 1u << 2,      // AdrNumAIn
    ViewAnalogOutputs = 1u << 3,     // AdrNumAOut
    ViewDiscreteInputs = 1u << 4,    // AdrNumDIn
    ViewDiscreteOutputs = 1u << 5,   // AdrNumDut
    ViewSupplyVentilation = 1u << 6, // " СПВ "
    ViewHeating = 1u << 7,           // " СОт "
    ViewHotWater = 1u << 8,          // " СГВС "
    ViewProcess = 1u << 9,           // " Технол. Процесс"
    ViewRecuperation = 1u << 10,     // " Рекуперация "
    ViewDriveControl = 1u << 11,     // "ДУ приводов "
    ViewGeneral = 1u << 12,          // " Общие "
    ViewSlaves = 1u << 13,           // group " Ведомые "
    ViewConditions = 1u << 14,       // condition grid and its detail view
    ViewCalendar = 1u << 15,         // the twelve months of "Календарь"
    // Not a view: the calendar came from the controller or a file, so its days are drawn in their
    // colours from now on. Kept out of kAllConfigViews, which a project reset also sends.
    ViewCalendarLoaded = 1u << 16,
};
using ConfigViews = uint32_t;
inline constexpr ConfigViews kAllConfigViews = (1u << 16) - 1;

class ConfigObserver {
public:
    virtual ~ConfigObserver() = default;
    // Refill the given views from ConfigImage; ViewCalendarLoaded sets the calendar-loaded flag.
    virtual void configurationChanged(ConfigViews views) = 0;
    // Select the first row of the sensor grid, the four assignment grids and the condition grid.
    virtual void selectFirstRows() = 0;
    // Bring the first page of the configuration window to the front (after a file load).
    virtual void showFirstPage() = 0;
    // While a transfer replaces or sends the image, the editors' "Применить" commands are off: an
    // entry applied then would be overwritten by the read or miss the write.
    virtual void setTransferRunning(bool running) { (void)running; }
};

} // namespace vextor
