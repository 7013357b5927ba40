#include "StatusBarPresenter.h"

#include "line/TaskTexts.h"
#include "link/ModbusParams.h"
#include "project/ProjectLog.h"
#include "project/ProjectModel.h"
#include "project/ProjectReport.h"
#include "texts.h"

namespace vextor {

namespace t = main_texts;

namespace {

constexpr int kRunStringSteps = 16;

// The step's position of the text in the 26-character line: 1..9 out, 10..16 back; step 9 jumps
// to the far end.
int leadingBlanks(int step) {
    if (step >= 1 && step <= 8)
        return step - 1;
    if (step == 9)
        return 9;
    if (step >= 10 && step <= 16)
        return 17 - step;
    return -1;
}

} // namespace

QString StatusBarPresenter::portPanel(const ProjectModel& model) {
    return t::kCom + QString::number(model.PortNumber);
}

QString StatusBarPresenter::linkPanel(const Project& project) {
    const ProjectModel& m = project.model;
    if (m.ActiveProtocol == kProtocolZarnet)
        return t::kZarnetPanel + QString::number(project.activeZarnetAddress());
    if (m.ActiveProtocol == kProtocolModbus) {
        const uint8_t p = project.activeMbParams();
        return t::kModbusPanel + QString::number(project.activeModbusAddress()) + t::kPanelSeparator +
               QString::number(mbBaudRate(p)) + t::kPanelSeparator + mbFrameText(p) + t::kPanelSeparator +
               mbFloatOrderText(p);
    }
    return {};
}

QString StatusBarPresenter::modePanel(uint8_t workMode) {
    switch (workMode) {
    case work_mode::kDevice:
        return t::kModeDevice;
    case work_mode::kEvents:
        return t::kModeEvents;
    case work_mode::kConfiguration:
        return t::kModeConfig;
    case work_mode::kMonitor:
        return t::kModeVisual;
    default:
        return {};
    }
}

QString StatusBarPresenter::clockPanel(const QDateTime& now) {
    // The same date and time as the log lines: the log line's text ends after its action.
    return logActionLine(now, QString(), QString()).trimmed();
}

QString StatusBarPresenter::identityPanel(bool linkUp, const LineStatus& status) {
    return linkUp ? status.versionPanel : QString();
}

QString StatusBarPresenter::noLinkPanel() {
    return task_texts::kNoLink;
}

std::optional<QString> StatusBarPresenter::runStringTick(bool linkUp) {
    if (!linkUp)
        return std::nullopt;
    if (step_ < 1 || step_ > kRunStringSteps) {
        step_ = 1;
        return std::nullopt;
    }
    return runStringText(step_++);
}

QString StatusBarPresenter::runStringText(int step) {
    const int lead = leadingBlanks(step);
    if (lead < 0)
        return {};
    return QString(lead, QLatin1Char(' ')) + task_texts::kLinkEstablished +
           QString(9 - lead, QLatin1Char(' '));
}

} // namespace vextor
