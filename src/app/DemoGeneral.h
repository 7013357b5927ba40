#pragma once
// The demo master's drive control, general parameters, slave line, calendar and condition block.
#include "config/ConfigImage.h"

namespace vextor {

void addDemoGeneralConfiguration(ConfigImage& image);

} // namespace vextor
