#pragma once
// The diagnostic text of the whole configuration image: every field on a line of its own with its
// device address, name and current value, grouped under section headings. Built from scratch on
// every call.
#include "ConfigImage.h"

#include <QStringList>

namespace vextor {

QStringList configurationDumpLines(const ConfigImage& image);

} // namespace vextor
