#pragma once
// The one project of a run: its model, the marked device, the tree that shows it and the project
// commands. Everything the user is asked or told goes through UserDialogs, every log line through
// ProjectLog, and what belongs to other windows (configuration image, task loop, file windows)
// through the hooks, so the whole workspace runs headless.
#include "ProjectLog.h"
#include "ProjectModel.h"
#include "ProjectTree.h"
#include "link/UserDialogs.h"

#include <QDateTime>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace vextor {

// Where the active link's addresses live while the program runs: the Zarnet address in the link,
// the Modbus address and line byte in the configuration image. Without a binding the project
// model's own fields are the active link (the command-line tool, tests).
class ActiveLinkBinding {
public:
    virtual ~ActiveLinkBinding() = default;
    virtual void store(uint8_t zarnetAddress, uint8_t modbusAddress, uint8_t mbParams) = 0;
    virtual void load(uint8_t& zarnetAddress, uint8_t& modbusAddress, uint8_t& mbParams) const = 0;
};

// What a tree node asks a window to do: a popup item that works on the line or on a file, or a double
// click on a file node (show its file) or a link node (its device's link settings).
struct TreeRequest;

// What the project asks of the other windows. Any hook may be left empty.
struct ProjectHooks {
    // The project was reset to the empty one: the image takes its defaults, the working files their
    // placeholders.
    std::function<void()> reset;
    // Another project replaced this one: what was queued for the old one is void. created: a new
    // empty project, whose image the tabs must show.
    std::function<void(bool created)> replaced;
    std::function<void(const TreeRequest& request)> request;
    std::function<void()> focusTree;
    // Whether a working file is present; the file system unless replaced.
    std::function<bool(const QString& path)> fileExists;
};

enum class MenuAction {
    AddMaster,
    AddSlave,
    AddSingle,
    Rename,
    Delete,
    ReadConfigFromDevice,
    WriteConfigToDevice,
    OpenConfigFile,
    SaveConfigFileAs,
    CompareConfigFile,
    ReadEventsFromDevice,
    OpenEventsFile,
    // Double clicks.
    ShowConfigFile,
    ShowEventsFile,
    OpenLinkSettings,
};

struct TreeRequest {
    MenuAction action;
    int code = 0;         // the node's code
    QString path;         // ShowConfigFile, ShowEventsFile: the node's file
    int deviceIndex = -1; // OpenLinkSettings: the device's index in the link settings
    bool operator==(const TreeRequest&) const = default;
};

struct MenuItem {
    QString caption;
    MenuAction action;
    int tag = 0; // the code of the node the menu was opened on
    bool operator==(const MenuItem&) const = default;
};

enum class FilterItem { ShowAll = 0, ShowDevices = 1, ShowProblems = 2, CheckPaths = 3, Nothing = 4 };

class Project {
public:
    // programDir is where the default project path points ("<programDir>/Project/Project1.prj").
    explicit Project(UserDialogs& dialogs, ProjectLog* log = nullptr, QString programDir = {});

    ProjectModel model;
    int MarkCode = 0;
    bool LinkUp = false;
    ProjectTree tree;
    ProjectHooks hooks;
    ActiveLinkBinding* activeLink = nullptr;
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };

    QString defaultProjectPath() const;

    // --- model and tree ---
    void ResetProject();
    void RebuildTree();
    // Drawing attributes and marks from the model, without rebuilding (after a file check).
    void repaintTree();
    void CollapseToDevices() { tree.collapseToDevices(); }
    void ExpandToFile(int code) { tree.expandToFile(code); }
    void RevealFileNode(int code) { tree.revealFileNode(code); }

    void addMaster();
    void addSlave();
    void addSingle();
    void deleteDevice(int tag);
    // Starts renaming the device node with that code; false when there is none.
    bool startRename(int tag);
    // Ends a rename. A name the project file could not hold is refused with a message (false).
    bool finishRename(int code, const QString& text);

    void ApplyMarkedLink();
    // The shared way to drop the mark: no node marked, MarkCode 0, LinkUp false, the tree focused.
    void ClearMark();
    void activateNode(TreeNode* node);

    std::vector<MenuItem> popupItems(const TreeNode* selected) const;
    void runMenuItem(const MenuItem& item);

    static const QStringList& filterItems();
    void applyFilter(int index);

    // --- lookups ---
    uint8_t activeZarnetAddress() const;
    uint8_t activeModbusAddress() const;
    uint8_t activeMbParams() const;
    void setActiveLink(uint8_t zarnetAddress, uint8_t modbusAddress, uint8_t mbParams);
    // The marked device, if the mark names one.
    std::optional<DeviceSlot> markedDevice() const;
    // The code of the marked device's node in that role (its configuration file node, say); -1 when
    // no device is marked.
    int markedNodeCode(NodeRole role) const;
    DeviceRecord* recordOfDeviceIndex(int deviceIndex);

    // --- project commands ---
    void CreateProject();
    void OpenProject();
    void SaveProject();
    void SaveProjectAs();
    // Whether the devices, names, files or links differ from what was last opened, created or saved.
    bool hasUnsavedChanges() const;
    // Before the project is closed, replaced or the program ends: asks whether to save the changes.
    // False when the engineer cancels (or the save failed): nothing may close then.
    bool settleUnsavedChanges();
    // "Открыть" after its dialog: false when nothing was opened.
    bool openProjectFile(const QString& path);
    // The model with the live active link, as "Сохранить" writes it.
    ProjectModel modelForSaving() const;

    bool CheckFile(int code);
    bool CheckProjectPaths();
    bool RelocateMissingFiles(const QString& projectPath);
    void ForgetMissingFiles();

private:
    UserDialogs& dialogs_;
    ProjectLog* log_;
    QString programDir_;
    ProjectModel saved_; // the edited part of the model as last opened, created or saved
    void markSaved();

    bool ask(const QString& question);
    void logAction(const QString& action, const QString& path);
    void logLine(const QString& line);
    bool exists(const QString& path) const;
    void setRootText();
    void markTreeNodes();
    void revealMissingFiles();
    void resetSlot(DeviceSlot d);
    template <class F> static void call(const F& f, auto&&... args) {
        if (f)
            f(std::forward<decltype(args)>(args)...);
    }
};

} // namespace vextor
