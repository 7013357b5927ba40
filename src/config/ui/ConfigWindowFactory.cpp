#include "ConfigWindowFactory.h"

#include "ConfigWindow.h"
#include "assignment/AssignmentPage.h"
#include "calendar/CalendarPage.h"
#include "conditions/ConditionsPage.h"
#include "general/DriveControlPage.h"
#include "general/GeneralPage.h"
#include "heating/HeatingPage.h"
#include "hotwater/HotWaterPage.h"
#include "process/ProcessPage.h"
#include "recuperation/RecuperationPage.h"
#include "sensors/SensorsPage.h"
#include "texts.h"
#include "ventilation/SupplyVentilationPage.h"

namespace vextor {

namespace t = cfg_texts;

namespace {

template <class Page> void add(ConfigWindow& window, const QString& caption, Page* page) {
    window.addEditor(caption, page, page);
}

} // namespace

ConfigWindow* makeConfigWindow(ConfigImage& image, UserDialogs& dialogs, QWidget* parent) {
    auto* window = new ConfigWindow(parent);
    add(*window, t::kSensors, new SensorsPage(image, dialogs));
    add(*window, t::kAnalogInOut, new AssignmentPage(image, AssignmentPage::Kind::Analog));
    add(*window, t::kDiscreteInOut, new AssignmentPage(image, AssignmentPage::Kind::Discrete));
    auto* ventilation = new SupplyVentilationPage(image);
    auto* heating = new HeatingPage(image);
    // Both tabs show MinTempBackWater; a refresh of " СПВ " sets the heating tab's copy as well.
    ventilation->editor().minTempBackWaterDuplicate = &heating->minTempBackWaterField();
    add(*window, t::kSupplyVentilation, ventilation);
    add(*window, t::kHeating, heating);
    add(*window, t::kHotWater, new HotWaterPage(image));
    add(*window, t::kProcess, new ProcessPage(image));
    add(*window, t::kRecuperation, new RecuperationPage(image));
    add(*window, t::kDriveControl, new DriveControlPage(image));
    add(*window, t::kGeneral, new GeneralPage(image));
    add(*window, t::kConditions, new ConditionsPage(image, dialogs));
    add(*window, t::kCalendar, new CalendarPage(image));
    return window;
}

} // namespace vextor
