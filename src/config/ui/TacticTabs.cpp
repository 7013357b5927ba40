#include "TacticTabs.h"

#include "ConfigWindow.h"
#include "heating/THeatingTab.h"
#include "hotwater/THotWaterTab.h"
#include "process/TProcessTab.h"
#include "recuperation/TRecuperationTab.h"
#include "texts.h"
#include "ventilation/TVentilationTab.h"

namespace vextor {

void addTacticTabs(ConfigWindow& window, ConfigImage& image) {
    auto* ventilation = new TVentilationTab(image);
    auto* heating = new THeatingTab(image);
    // Both tabs show MinTempBackWater; a refresh of " СПВ " sets the heating tab's copy as well.
    ventilation->editor().minTempBackWaterDuplicate = &heating->minTempBackWaterField();
    window.addEditor(cfg_texts::kSupplyVentilation, ventilation, ventilation);
    window.addEditor(cfg_texts::kHeating, heating, heating);
    auto* hotWater = new THotWaterTab(image);
    window.addEditor(cfg_texts::kHotWater, hotWater, hotWater);
    auto* process = new TProcessTab(image);
    window.addEditor(cfg_texts::kProcess, process, process);
    auto* recuperation = new TRecuperationTab(image);
    window.addEditor(cfg_texts::kRecuperation, recuperation, recuperation);
}

} // namespace vextor
