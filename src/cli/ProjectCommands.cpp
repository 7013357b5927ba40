// Projects: listing one, and taking a device's link settings from it.
#include "CliContext.h"
#include "link/LocalPath.h"

#include "link/AddressLimits.h"
#include "project/ProjectFile.h"
#include "project/ProjectReport.h"

namespace vextor::cli {

// Names and paths are free text: a control character in them must not reach the terminal as it is
// (a NUL would cut the line, an escape sequence would steer the terminal).
QString escapeControls(const QString& line) {
    QString shown;
    shown.reserve(line.size());
    for (const QChar c : line) {
        const auto category = c.category();
        if (category == QChar::Other_Control || category == QChar::Other_Format)
            shown += c.unicode() < 0x100 ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'))
                                         : QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
}

ProjectModel loadProject(const QString& path) {
    const ProjectFileRead read = ReadProjectFile(path);
    if (!read.usable())
        throw UsageError{read.message(path)};
    if (read.status == ProjectFileRead::Status::Short)
        fail(read.message(path));
    return read.model;
}

namespace {

int project(CliContext& ctx, QStringList& args) {
    keepPositionals(ctx, args);
    if (args.size() != 2 || args[0] != QStringLiteral("show"))
        throw UsageError{QStringLiteral("project needs: show FILE.prj")};
    const ProjectModel model = loadProject(args[1]);
    for (const QString& line : projectShowLines(model, [](const QString& p) { return localPathExists(p); }))
        out(escapeControls(line));
    return ExitOk;
}

} // namespace

void applyProjectOptions(CliContext& ctx, QStringList& args, bool addressGiven) {
    const auto projectPath = takeOption(args, QStringLiteral("--project"));
    const auto deviceName = takeOption(args, QStringLiteral("--device"));
    if (!projectPath && !deviceName)
        return;
    if (!projectPath)
        throw UsageError{QStringLiteral("--device needs --project FILE.prj")};
    if (!deviceName) {
        // for-each takes the whole project; any other command asks for a device when it opens the port.
        ctx.projectPath = *projectPath;
        return;
    }
    const ProjectModel model = loadProject(*projectPath);
    const auto found = findDevicesByName(model, *deviceName);
    if (found.empty())
        throw UsageError{QStringLiteral("no device named \"%1\" in %2").arg(*deviceName, *projectPath)};
    if (found.size() > 1)
        throw UsageError{QStringLiteral("%1 devices are named \"%2\" in %3")
                             .arg(found.size())
                             .arg(*deviceName, *projectPath)};
    const DeviceLinkInfo& d = found.front();
    // A project file is text anyone can edit: its numbers get the checks the options get, or an
    // address of 200 would go out as 72.
    auto outOfRange = [&](const char* what, int value, int min, int max) {
        return UsageError{QStringLiteral("%1 gives \"%2\" the %3 %4: it must be from %5 to %6")
                              .arg(*projectPath, *deviceName, QLatin1String(what))
                              .arg(value)
                              .arg(min)
                              .arg(max)};
    };
    if (ctx.portPath.isEmpty()) {
        if (d.portNumber < kMinPortNumber || d.portNumber > kMaxPortNumber)
            throw outOfRange("port number", d.portNumber, kMinPortNumber, kMaxPortNumber);
        ctx.comNumber = d.portNumber;
        ctx.portPath = resolvePortPath(d.portNumber);
    }
    if (!addressGiven && (d.zarnetAddress < kMinZarnetAddress || d.zarnetAddress > kMaxZarnetLinkAddress))
        throw outOfRange("address", d.zarnetAddress, kMinZarnetAddress, kMaxZarnetLinkAddress);
    ctx.address = d.zarnetAddress;
    ctx.modbusAddress = d.modbusAddress;
    ctx.mbParams = d.mbParams;
}

std::vector<Command> projectCommands() {
    return {
        {"project", project, "project show FILE.prj         every device with its link settings and files"}};
}

} // namespace vextor::cli
