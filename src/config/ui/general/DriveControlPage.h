#pragma once
// The tab "ДУ приводов ": the full, minimum and backlash times of the two actuators and the
// discrete-control flags, bound to the headless DriveControlTab over ConfigImage.
#include "config/ConfigObserver.h"
#include "config/DriveControlTab.h"
#include "link/EditField.h"

#include <QWidget>
#include <array>
#include <memory>
#include <vector>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace vextor {

class DriveControlPage : public QWidget, public ConfigObserver {
public:
    explicit DriveControlPage(ConfigImage& image, QWidget* parent = nullptr);
    ~DriveControlPage() override;

    DriveControlTab& editor() { return *editor_; }
    void configurationChanged(ConfigViews views) override;
    void selectFirstRows() override {}
    void showFirstPage() override {}
    void setTransferRunning(bool running) override;

    // Full, Min and Luft Time of drive 1, then of drive 2.
    QLineEdit* timeEdit(int i) const { return times_[i]; }
    QCheckBox* flagBox(int bit) const { return flags_[bit]; }
    QPushButton* applyButton() const { return apply_; }

private:
    std::array<QLineEdit*, 6> times_{};
    std::array<QCheckBox*, 5> flags_{};
    QPushButton* apply_ = nullptr;
    std::vector<std::unique_ptr<EditField>> timeFields_;
    std::vector<std::unique_ptr<FlagField>> flagFields_;
    std::unique_ptr<DriveControlTab> editor_;
};

} // namespace vextor
