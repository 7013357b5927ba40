// The "Проект" menu commands and the check of the working files named in the project.
#include "Project.h"
#include "ProjectFile.h"
#include "ProjectPaths.h"
#include "texts.h"

#include <QDir>
#include <QFileInfo>

namespace vextor {

namespace t = project_texts;

ProjectModel Project::modelForSaving() const {
    ProjectModel m = model;
    m.ActiveZarnetAddress = activeZarnetAddress();
    m.ActiveModbusAddress = activeModbusAddress();
    m.ActiveMbParams = activeMbParams();
    return m;
}

void Project::CreateProject() {
    // The chosen name only names the new directory: there is nothing to overwrite.
    const QString chosen = dialogs_.saveFile(t::kDialogCreate, t::kProjectFilter,
                                             directoryPart(model.ProjectPath), t::kProjectSuffix, false);
    // A cancelled dialog is no failure: nothing to say.
    if (chosen.isEmpty())
        return;
    const QString directory = withoutExtension(chosen);
    // One level only, and never into an existing directory: a project directory is its own.
    if (directory.isEmpty() || QFileInfo::exists(directory) || !QDir().mkdir(directory)) {
        dialogs_.message(t::kMkdirFailed);
        return;
    }
    const QString path = joinPath(directory, fileNamePart(chosen));
    logLine(path);

    // The new file holds the empty project the tree shows, never the previous project's devices.
    ResetProject();
    call(hooks.replaced, true);
    ClearMark();
    model.ProjectPath = path;
    const ProjectFileWrite written = WriteProjectFile(path, modelForSaving());
    if (written.ok) {
        markSaved();
        logAction(t::kLogCreate, path);
    } else
        dialogs_.message(written.message);
    setRootText();
    RebuildTree();
    CollapseToDevices();
}

void Project::OpenProject() {
    const QString chosen =
        dialogs_.openFile(t::kDialogOpen, t::kProjectFilter, directoryPart(model.ProjectPath));
    if (chosen.isEmpty())
        return;
    openProjectFile(chosen);
}

bool Project::openProjectFile(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        dialogs_.message(t::kFileMissing);
        return false;
    }
    // The whole file is read before anything changes, so a bad file never mixes two projects.
    ProjectFileRead read = ReadProjectFile(path);
    if (!read.usable()) {
        dialogs_.message(read.message(path));
        return false;
    }
    model = std::move(read.model);
    model.ProjectPath = path;
    setActiveLink(model.ActiveZarnetAddress, model.ActiveModbusAddress, model.ActiveMbParams);
    if (read.status == ProjectFileRead::Status::Short)
        dialogs_.message(read.message(path));
    logAction(t::kLogOpen, path);
    markSaved();
    call(hooks.replaced, false);
    ClearMark();
    RebuildTree();
    CollapseToDevices();
    CheckProjectPaths();
    return true;
}

void Project::SaveProject() {
    const ProjectFileWrite written = WriteProjectFile(model.ProjectPath, modelForSaving());
    if (written.ok) {
        markSaved();
        logAction(t::kLogSave, model.ProjectPath);
    } else {
        dialogs_.message(written.message);
    }
}

namespace {

// What the engineer edits: devices, their names, files and links, the port. The work mode, the file
// checks and the active link (which follows the mark) change by themselves and ask for no save.
ProjectModel editedPart(ProjectModel m) {
    m.WorkMode = 0;
    m.FileState = {};
    m.ActiveProtocol = 0;
    m.ActiveZarnetAddress = 0;
    m.ActiveModbusAddress = 0;
    m.ActiveMbParams = 0;
    return m;
}

} // namespace

void Project::markSaved() {
    saved_ = editedPart(model);
}

bool Project::hasUnsavedChanges() const {
    return editedPart(model) != saved_;
}

bool Project::settleUnsavedChanges() {
    if (!hasUnsavedChanges())
        return true;
    switch (dialogs_.askYesNoCancel(t::kAskSaveChanges, t::kCaption)) {
    case Answer::Yes:
        SaveProject();
        // A save that failed has told why; the project stays open with its changes.
        return !hasUnsavedChanges();
    case Answer::No:
        return true;
    case Answer::Cancel:
        break;
    }
    return false;
}

void Project::SaveProjectAs() {
    // The overwrite question below is the only one the engineer gets.
    const QString chosen = dialogs_.saveFile(t::kDialogSaveAs, t::kProjectFilter,
                                             directoryPart(model.ProjectPath), t::kProjectSuffix, false);
    if (chosen.isEmpty())
        return;
    if (QFileInfo::exists(chosen) && !ask(t::kAskOverwrite))
        return;
    ProjectModel m = modelForSaving();
    m.ProjectPath = chosen;
    const ProjectFileWrite written = WriteProjectFile(chosen, m);
    if (!written.ok) {
        // The project keeps naming the file it came from: nothing was saved under the new name.
        dialogs_.message(written.message);
        return;
    }
    model.ProjectPath = chosen;
    markSaved();
    setRootText();
    logAction(t::kLogSaveAs, chosen);
}

// ---------------------------------------------------------------- working files

bool Project::CheckFile(int code) {
    const auto ref = decodeNodeCode(code);
    if (!ref || !isFileRole(ref->role))
        return false;
    const FileRole role = fileRoleOf(ref->role);
    const DeviceKind kind = ref->device.kind;
    const DeviceRecord& r = model.record(ref->device);
    if (!hasFile(r, kind, role))
        return false;
    uint32_t& word = model.fileState(ref->device, role);
    if (exists(fileField(r, role))) {
        word &= ~kFileMissingBit;
        return false;
    }
    word |= kFileMissingBit;
    return true;
}

void Project::revealMissingFiles() {
    CollapseToDevices();
    forEachSlot([this](DeviceSlot d) {
        for (FileRole role : {FileRole::Config, FileRole::Events, FileRole::Visual})
            if (model.fileState(d, role) & kFileMissingBit)
                ExpandToFile(nodeCode(d, nodeRoleOf(role)));
    });
}

bool Project::CheckProjectPaths() {
    std::vector<int> fileCodes;
    tree.forEach([&fileCodes](TreeNode& n) {
        const auto ref = decodeNodeCode(n.code);
        if (ref && isFileRole(ref->role))
            fileCodes.push_back(n.code);
    });
    bool missing = false;
    for (int code : fileCodes)
        missing = CheckFile(code) || missing;
    repaintTree();
    if (!missing)
        return false;

    revealMissingFiles();
    switch (dialogs_.askYesNoCancel(t::kAskSearchFiles, t::kCaption)) {
    case Answer::Yes:
        if (RelocateMissingFiles(model.ProjectPath)) {
            dialogs_.message(t::kAllFilesFound);
            RebuildTree();
            CollapseToDevices();
        } else {
            RebuildTree();
            revealMissingFiles();
            if (ask(t::kAskForgetAfterSearch)) {
                ForgetMissingFiles();
                RebuildTree();
                CollapseToDevices();
            } else {
                RebuildTree();
                revealMissingFiles();
            }
        }
        break;
    case Answer::No:
        if (ask(t::kAskForget))
            ForgetMissingFiles();
        RebuildTree();
        revealMissingFiles();
        break;
    case Answer::Cancel:
        RebuildTree();
        revealMissingFiles();
        break;
    }
    return true;
}

bool Project::RelocateMissingFiles(const QString& projectPath) {
    const QString directory = directoryPart(projectPath);
    bool all = true;
    forEachSlot([&](DeviceSlot d) {
        for (FileRole role : {FileRole::Config, FileRole::Events, FileRole::Visual}) {
            uint32_t& word = model.fileState(d, role);
            if (!(word & kFileMissingBit))
                continue;
            QString& field = fileField(model.record(d), role);
            const QString candidate = joinPath(directory, fileNamePart(field));
            if (exists(candidate)) {
                field = candidate;
                word &= ~kFileMissingBit;
            } else {
                all = false;
            }
        }
    });
    return all;
}

void Project::ForgetMissingFiles() {
    forEachSlot([this](DeviceSlot d) {
        for (FileRole role : {FileRole::Config, FileRole::Events, FileRole::Visual}) {
            uint32_t& word = model.fileState(d, role);
            if (!(word & kFileMissingBit))
                continue;
            fileField(model.record(d), role) = noFileText(d.kind, role);
            word &= ~kFileMissingBit;
        }
    });
}

} // namespace vextor
