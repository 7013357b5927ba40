#pragma once
// Builds the configuration window with every configuration tab of its first page in place, each a
// view over the one image. The service pages of "Системная конфигурация" are the caller's: they run
// on the line and are added to the window afterwards.
class QWidget;

namespace vextor {

class ConfigWindow;
class UserDialogs;
struct ConfigImage;

ConfigWindow* makeConfigWindow(ConfigImage& image, UserDialogs& dialogs, QWidget* parent = nullptr);

} // namespace vextor
