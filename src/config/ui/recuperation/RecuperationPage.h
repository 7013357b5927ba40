#pragma once
// The " Рекуперация " tab: the recuperator kind, the parameter entries that kind uses, captioned for
// it, and the PID set, bound to the headless RecuperationTab over ConfigImage.
#include "config/RecuperationTab.h"
#include "config/ui/fields/WidgetFields.h"
#include "config/ui/tactics/PidPanel.h"
#include "config/ui/tactics/TacticPage.h"

#include <memory>

class QButtonGroup;
class QGroupBox;
class QFormLayout;
class QLabel;
class QLineEdit;

namespace vextor {

class RecuperationPage : public TacticPage {
public:
    explicit RecuperationPage(ConfigImage& image, QWidget* parent = nullptr);
    ~RecuperationPage() override;

    RecuperationTab& editor() { return *editor_; }
    void configurationChanged(ConfigViews views) override;

    QButtonGroup* kinds() const { return kindGroup_; }
    QLineEdit* entry(RecupEntry e) const { return fields_[static_cast<size_t>(e)].widget(); }
    QLabel* caption(RecupEntry e) const { return captions_[static_cast<size_t>(e)]; }
    QGroupBox* parametersGroup() const { return parameters_; }
    QGroupBox* winterGroup() const { return winter_; }
    QGroupBox* summerGroup() const { return summer_; }
    QGroupBox* pidGroup() const { return pidBox_; }
    PidPanel* pid() const { return pid_; }

private:
    QButtonGroup* kindGroup_;
    ButtonGroupChoiceField kindField_;
    std::array<LineEditField, kRecupEntryCount> fields_;
    std::array<QLabel*, kRecupEntryCount> captions_{};
    std::array<QFormLayout*, kRecupEntryCount> forms_{};
    QFormLayout* winterForm_ = nullptr;
    QGroupBox* parameters_;
    QGroupBox* winter_;
    QGroupBox* summer_;
    QWidget* glycol_;
    QLabel* tubularNote_;
    QGroupBox* pidBox_;
    PidPanel* pid_;
    std::unique_ptr<RecuperationTab> editor_;

    void buildPage();
    void drawPanel();
};

} // namespace vextor
