#include "DriveControlTab.h"

#include "GeneralTexts.h"
#include "link/NumericConversions.h"

namespace vextor {

namespace t = general_texts;

DriveControlTab::DriveControlTab(ConfigImage& image, DriveControlControls controls)
    : image_(image), c_(controls) {}

void DriveControlTab::showDriveControl() {
    const uint8_t times[6] = {image_.DC1FullTime, image_.DC1MinTime, image_.DC1LuftTime,
                              image_.DC2FullTime, image_.DC2MinTime, image_.DC2LuftTime};
    for (size_t i = 0; i < c_.times.size(); ++i)
        c_.times[i]->setText(QString::number(times[i]));
    for (size_t i = 0; i < c_.flags.size(); ++i)
        c_.flags[i]->setChecked(image_.DCFlags & (1u << i));
}

void DriveControlTab::applyDriveControl() {
    resetValueErrors();
    image_.DCFlags = 0;
    for (size_t i = 0; i < c_.flags.size(); ++i)
        if (c_.flags[i]->isChecked())
            image_.DCFlags = static_cast<uint8_t>(image_.DCFlags | (1u << i));
    uint8_t* times[6] = {&image_.DC1FullTime, &image_.DC1MinTime, &image_.DC1LuftTime,
                         &image_.DC2FullTime, &image_.DC2MinTime, &image_.DC2LuftTime};
    for (size_t i = 0; i < c_.times.size(); ++i)
        *times[i] = static_cast<uint8_t>(checkInteger(*c_.times[i], t::kByteMin, t::kByteMax, *times[i]));
}

} // namespace vextor
