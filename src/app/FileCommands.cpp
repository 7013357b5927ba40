#include "FileCommands.h"

#include "FileCommandTexts.h"
#include "config/ConfigFile.h"
#include "config/texts.h"
#include "events/EventFile.h"
#include "events/texts.h"
#include "project/ProjectPaths.h"

#include <QFileInfo>

namespace vextor {

namespace {

bool isPlaceholder(const QString& text) {
    for (DeviceKind kind : {DeviceKind::Master, DeviceKind::Slave, DeviceKind::Single})
        for (FileRole role : {FileRole::Config, FileRole::Events, FileRole::Visual})
            if (text == noFileText(kind, role))
                return true;
    return text == file_command_texts::kNoWorkingConfig || text == file_command_texts::kNoWorkingEvents ||
           text == file_command_texts::kNoWorkingVisual;
}

} // namespace

FileCommands::FileCommands(Project& project, ConfigImage& image, UserDialogs& dialogs, ProjectLog* log,
                           ConfigObserver* observer, QString& workingConfigFile, QString& workingEventsFile)
    : project_(project), image_(image), dialogs_(dialogs), log_(log), observer_(observer),
      workingConfigFile_(workingConfigFile), workingEventsFile_(workingEventsFile) {}

DeviceRecord* FileCommands::recordOf(int code, NodeRole role) {
    const auto ref = decodeNodeCode(code);
    if (!ref || ref->role != role)
        return nullptr;
    return &project_.model.record(ref->device);
}

QString FileCommands::proposedPath(int code) const {
    const QString dir = directoryPart(project_.model.ProjectPath);
    const auto ref = decodeNodeCode(code);
    if (!ref || !isFileRole(ref->role))
        return dir;
    const DeviceRecord& r = project_.model.record(ref->device);
    const FileRole role = fileRoleOf(ref->role);
    if (!hasFile(r, ref->device.kind, role))
        return dir;
    return joinPath(dir, fileNamePart(fileField(r, role)));
}

void FileCommands::bindFile(int code, NodeRole role, const QString& path) {
    if (DeviceRecord* r = recordOf(code, role))
        fileField(*r, fileRoleOf(role)) = path;
    project_.RebuildTree();
    project_.RevealFileNode(code);
    if (hooks.treeChanged)
        hooks.treeChanged();
}

void FileCommands::logLine(const QString& line) {
    if (log_ && !line.isEmpty())
        log_->addLine(line);
}

void FileCommands::setWorkMode(uint8_t mode) {
    if (hooks.setWorkMode)
        hooks.setWorkMode(mode);
}

// --- configuration files ---

void FileCommands::openConfigFile(const QString& path, int code) {
    const ConfigFileResult r = loadConfigurationFile(image_, path, observer_, project_.now());
    if (!r.success) {
        dialogs_.message(r.errorText);
        return;
    }
    bindFile(code, NodeRole::ConfigFile, path);
    workingConfigFile_ = path;
    setWorkMode(work_mode::kConfiguration);
    logLine(r.logLine);
    if (!r.warningText.isEmpty())
        dialogs_.message(r.warningText);
}

void FileCommands::openConfigFromFile(int code) {
    const QString path = dialogs_.openFile(file_command_texts::kOpenConfigCaption,
                                           QString::fromUtf8(texts::kConfigFileFilter), proposedPath(code));
    if (!path.isEmpty())
        openConfigFile(path, code);
}

void FileCommands::saveConfigAsFile(int code) {
    const QString path =
        dialogs_.saveFile(file_command_texts::kSaveConfigCaption, QString::fromUtf8(texts::kConfigFileFilter),
                          proposedPath(code), QString::fromUtf8(texts::kConfigFileSuffix));
    if (path.isEmpty())
        return;
    const ConfigFileResult r = saveConfigurationFile(image_, path, project_.now());
    if (!r.success) {
        // The device keeps the file it had: a path that holds no configuration is not bound.
        dialogs_.message(r.errorText);
        return;
    }
    bindFile(code, NodeRole::ConfigFile, path);
    workingConfigFile_ = path;
    logLine(r.logLine);
}

void FileCommands::compareWithFile(int code) {
    const QString path = dialogs_.openFile(file_command_texts::kCompareConfigCaption,
                                           QString::fromUtf8(texts::kConfigFileFilter), proposedPath(code));
    if (path.isEmpty())
        return;
    const ComparisonFile file = readComparisonFile(path);
    if (!file.read()) {
        dialogs_.message(comparisonRefusalText(file, path));
        return;
    }
    const std::vector<ConfigDifference> differences = compareWithFileBytes(image_, file.bytes);
    if (differences.empty()) {
        dialogs_.message(file_command_texts::kConfigurationsEqual);
        return;
    }
    if (hooks.showDifferences)
        hooks.showDifferences(differences, path);
}

bool FileCommands::saveWorkingFile() {
    const QString path = workingConfigFile_;
    if (path.isEmpty() || isPlaceholder(path))
        return false;
    const ConfigFileResult r = saveConfigurationFile(image_, path, project_.now());
    if (!r.success) {
        dialogs_.message(r.errorText);
        return false;
    }
    logLine(r.logLine);
    return true;
}

// --- event files ---

void FileCommands::openEventsFile(const QString& path, int code) {
    if (!QFileInfo(path).isFile()) {
        dialogs_.message(events::missingEventFileText(path));
        return;
    }
    bindFile(code, NodeRole::EventsFile, path);
    workingEventsFile_ = path;
    if (hooks.showEvents) {
        if (const auto error = hooks.showEvents(path)) {
            dialogs_.message(*error);
            return;
        }
    }
    setWorkMode(work_mode::kEvents);
    logLine(logActionLine(project_.now(), QString::fromUtf8(events::texts::kLogOpening), path));
}

void FileCommands::openEventsFromFile(int code) {
    const QString path = dialogs_.openFile(file_command_texts::kOpenEventsCaption,
                                           QString::fromUtf8(events::texts::kFileFilter), proposedPath(code));
    if (!path.isEmpty())
        openEventsFile(path, code);
}

void FileCommands::readEventsFromDevice(int code) {
    // The task reads the marked controller: only its event file node offers the read.
    if (!recordOf(code, NodeRole::EventsFile) || code != project_.markedNodeCode(NodeRole::EventsFile))
        return;
    if (hooks.confirmStopVisual && !hooks.confirmStopVisual())
        return;
    // The box starts as the engineer last left it.
    const QString path = dialogs_.saveFileWithOption(
        file_command_texts::kReadEventsCaption, QString::fromUtf8(events::texts::kFileFilter),
        proposedPath(code), QString::fromUtf8(events::texts::kFileExtension),
        QString::fromUtf8(events::texts::kFastReadOption), fastEventRead_);
    if (path.isEmpty())
        return;
    bindFile(code, NodeRole::EventsFile, path);
    if (hooks.queueReadEvents)
        hooks.queueReadEvents(fastEventRead_);
}

void FileCommands::eventsRead(const QString& path) {
    workingEventsFile_ = path;
    if (hooks.showEvents) {
        if (const auto error = hooks.showEvents(path))
            dialogs_.message(*error);
    }
    setWorkMode(work_mode::kEvents);
}

} // namespace vextor
