#pragma once
// What the demo's virtual master holds, as bytes: the demo shows the configurator reading a real
// plant from a controller, so the plant lives in the controller's memory, not in the configurator.
#include "sim/SimMemory.h"

#include <array>
#include <cstdint>

namespace vextor {

// Device addresses 3..1193 of the demo master, compiled in from resources/demo_master.bin: a supply
// air handling unit with a water heater, a cooler and a rotary recuperator, weather-compensated
// heating, hot water at 55 °C and a duct pressure of 250 Pa; six sensors of every kind (Pt and Cu
// resistance thermometers, 4-20 mA, 0-10 V, LM235), both valve drives, two controllers and a
// device on the slave line, the calendar of 2026 with its public holidays and seven conditions.
// To change it, start vextor-sim --load-config FILE --dump-memory DUMP with the new plant's
// configuration file and take bytes 3..1193 of DUMP (dd bs=1 skip=3 count=1191).
extern const std::array<uint8_t, sim::kImageSize> kDemoMasterImage;

} // namespace vextor
