#pragma once
// The program's icon, drawn at run time so the program needs no image plugin: the same picture as
// the installed vextor-configurator.svg (a controller with its display showing a trace).
#include <QIcon>

namespace vextor {

QIcon appIcon();

} // namespace vextor
