#pragma once
// The five tactic tabs of the configuration window: " СПВ ", " СОт ", " СГВС ", " Технол. Процесс" and
// " Рекуперация ", built over the image and put into their pages of the window.
namespace vextor {

class ConfigWindow;
struct ConfigImage;

void addTacticTabs(ConfigWindow& window, ConfigImage& image);

} // namespace vextor
