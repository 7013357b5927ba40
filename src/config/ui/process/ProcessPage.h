#pragma once
// The " Технол. Процесс" tab: the technological process, its set point and PID set, bound to the headless
// ProcessTab over ConfigImage.
#include "config/ProcessTab.h"
#include "config/ui/tactics/SetPointPage.h"

#include <memory>

namespace vextor {

class ProcessPage : public SetPointPage {
public:
    explicit ProcessPage(ConfigImage& image, QWidget* parent = nullptr);
    ~ProcessPage() override;
    ProcessTab& editor() { return *editor_; }
    void configurationChanged(ConfigViews views) override;

private:
    std::unique_ptr<ProcessTab> editor_;
};

} // namespace vextor
