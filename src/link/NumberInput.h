#pragma once
// The whole-number input box of the link and service windows.
#include "link/UserDialogs.h"

#include <QString>
#include <optional>

namespace vextor {

// Asks for a whole number in min..max with current as the default. A cancel or an empty answer
// changes nothing; a text that is no whole number or lies outside the range is told and refused.
std::optional<int> askWholeNumber(UserDialogs& dialogs, const QString& prompt, int current, int min, int max);
// The same under a caption of its own; initial is the text the box starts with.
std::optional<int> askWholeNumber(UserDialogs& dialogs, const QString& caption, const QString& prompt,
                                  const QString& initial, int min, int max);

} // namespace vextor
