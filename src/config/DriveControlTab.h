#pragma once
// The tab "ДУ приводов " without its widgets: the full, minimum and backlash times of the two
// actuators and the DCFlags bits; show fills the entries from ConfigImage, "Применить" validates them
// in order and stores them.
#include "ConfigImage.h"
#include "link/EditField.h"
#include "link/NumericConversions.h"

#include <array>

namespace vextor {

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

} // namespace vextor
