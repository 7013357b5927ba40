#include "TacticTabs.h"

#include "ConfigWindow.h"
#include "heating/HeatingPage.h"
#include "hotwater/HotWaterPage.h"
#include "process/ProcessPage.h"
#include "recuperation/RecuperationPage.h"
#include "texts.h"
#include "ventilation/SupplyVentilationPage.h"

namespace vextor {

void addTacticTabs(ConfigWindow& window, ConfigImage& image) {
    auto* ventilation = new SupplyVentilationPage(image);
    auto* heating = new HeatingPage(image);
    // Both tabs show MinTempBackWater; a refresh of " СПВ " sets the heating tab's copy as well.
    ventilation->editor().minTempBackWaterDuplicate = &heating->minTempBackWaterField();
    window.addEditor(cfg_texts::kSupplyVentilation, ventilation, ventilation);
    window.addEditor(cfg_texts::kHeating, heating, heating);
    auto* hotWater = new HotWaterPage(image);
    window.addEditor(cfg_texts::kHotWater, hotWater, hotWater);
    auto* process = new ProcessPage(image);
    window.addEditor(cfg_texts::kProcess, process, process);
    auto* recuperation = new RecuperationPage(image);
    window.addEditor(cfg_texts::kRecuperation, recuperation, recuperation);
}

} // namespace vextor
