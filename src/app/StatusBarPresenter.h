#pragma once
// What the main window's status bar says, worked out from the project, the line's word and the clock;
// the window only draws it. Panels: 0 the port, 1 the active link, 2 the work mode, 3 the identified
// controller, 4 the connection text (running while the link is up), 5 the date and time.
#include "line/LineTypes.h"
#include "project/Project.h"

#include <QDateTime>
#include <QString>
#include <array>
#include <optional>

namespace vextor {

class StatusBarPresenter {
public:
    static constexpr int kPanels = 6;

    // Panels 0, 1, 2 and 5.
    static QString portPanel(const ProjectModel& model);
    static QString linkPanel(const Project& project);
    static QString modePanel(uint8_t workMode);
    static QString clockPanel(const QDateTime& now);
    // Panel 3: the identity while the link is up, empty otherwise.
    static QString identityPanel(bool linkUp, const LineStatus& status);
    // Panel 4 without a link.
    static QString noLinkPanel();

    // One step of the running connection text (ten a second while the link is up): the text for
    // panel 4, nothing without a link or on the step that restarts the sweep. One sweep runs right and
    // back in 17 steps.
    std::optional<QString> runStringTick(bool linkUp);
    void restartRunString() { step_ = 1; }
    // The 26-character running text of one step (1..16); empty for any other step.
    static QString runStringText(int step);

private:
    int step_ = 1;
};

} // namespace vextor
