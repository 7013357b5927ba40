#pragma once
// The main window's toolbar and mode-button pictures, drawn at run time like the program's icon.
// Looking them up in the desktop's icon theme took longer than building the rest of the window, and
// the theme's stand-ins for a monitor and a network were 16-pixel pictures blown up to 32.
#include <QIcon>

namespace vextor {

enum class ToolIcon { OpenProject, Save, Configuration, Events, Monitor, Link, Device };

QIcon toolIcon(ToolIcon which);

} // namespace vextor
