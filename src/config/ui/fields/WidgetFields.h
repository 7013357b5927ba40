#pragma once
// The widgets behind the field seams live with the link's widgets, where every window can reach them.
#include "link/ui/WidgetFields.h"
