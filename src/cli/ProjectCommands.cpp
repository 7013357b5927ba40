// Projects: listing one, and taking a device's link settings from it.
#include "CliContext.h"

#include "project/ProjectFile.h"
#include "project/ProjectReport.h"

#include <QFileInfo>

namespace vextor::cli {
namespace {

ProjectModel loadProject(const QString& path) {
    const ProjectFileRead read = ReadProjectFile(path);
    if (!read.usable())
        throw UsageError{read.message(path)};
    if (read.status == ProjectFileRead::Status::Short)
        fail(read.message(path));
    return read.model;
}

int project(CliContext&, QStringList& args) {
    if (args.size() != 2 || args[0] != QStringLiteral("show"))
        throw UsageError{QStringLiteral("project needs: show FILE.prj")};
    const ProjectModel model = loadProject(args[1]);
    for (const QString& line : projectShowLines(model, [](const QString& p) { return QFileInfo::exists(p); }))
        out(line);
    return ExitOk;
}

} // namespace

void applyProjectOptions(CliContext& ctx, QStringList& args) {
    const auto projectPath = takeOption(args, QStringLiteral("--project"));
    const auto deviceName = takeOption(args, QStringLiteral("--device"));
    if (!projectPath && !deviceName)
        return;
    if (!projectPath || !deviceName)
        throw UsageError{QStringLiteral("--project and --device go together")};
    const ProjectModel model = loadProject(*projectPath);
    const auto found = findDevicesByName(model, *deviceName);
    if (found.empty())
        throw UsageError{QStringLiteral("no device named \"%1\" in %2").arg(*deviceName, *projectPath)};
    if (found.size() > 1)
        throw UsageError{QStringLiteral("%1 devices are named \"%2\" in %3")
                             .arg(found.size())
                             .arg(*deviceName, *projectPath)};
    const DeviceLinkInfo& d = found.front();
    if (ctx.portPath.isEmpty()) {
        ctx.comNumber = d.portNumber;
        ctx.portPath = resolvePortPath(d.portNumber);
    }
    ctx.address = d.zarnetAddress;
    ctx.modbusAddress = d.modbusAddress;
    ctx.mbParams = d.mbParams;
}

std::vector<Command> projectCommands() {
    return {
        {"project", project, "project show FILE.prj         every device with its link settings and files"}};
}

} // namespace vextor::cli
