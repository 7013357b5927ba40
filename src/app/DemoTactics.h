#pragma once
// The demo master's tactics: a supply air handling unit with a water heater and a cooler, weather-
// compensated heating, hot water, a duct-pressure process and a rotary heat recuperator.
namespace vextor {

struct ConfigImage;

// Puts the tactic fields into image. Of the shared KindSystems and Options it sets only the bits of
// the tactic tabs and leaves the rest as they are.
void applyDemoTactics(ConfigImage& image);

} // namespace vextor
