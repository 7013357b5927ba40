#pragma once
// The " Технол. Процесс" tab: the technological process, its set point and PID set, bound to the headless
// ProcessTab over ConfigImage.
#include "config/ui/tactics/TacticWidgets.h"

#include <memory>

namespace vextor {

class TProcessTab : public TSetPointTab {
public:
    explicit TProcessTab(ConfigImage& image, QWidget* parent = nullptr);
    ~TProcessTab() override;
    ProcessTab& editor() { return *editor_; }
    void configurationChanged(ConfigViews views) override;

private:
    std::unique_ptr<ProcessTab> editor_;
};

} // namespace vextor
