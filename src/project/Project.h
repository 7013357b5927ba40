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

// What the project asks of the other windows. Any hook may be left empty.
struct ProjectHooks {
    std::function<void()> loadDefaultConfiguration; // on every reset of the project
    std::function<void()> resetWorkingFiles;        // working-file texts back to their placeholders
    std::function<void()> refreshConfigurationTabs; // after a new project replaced the image
    std::function<void()> clearAllTasks;            // the task queue of the old project is void
    std::function<void()> focusTree;
    std::function<void(int code, int deviceIndex)> openLinkSettings;
    std::function<void(const QString& path, int code)> openConfigFile;
    std::function<void(const QString& path, int code)> openEventsFile;
    // Popup items on file nodes; code is the file node's code.
    std::function<void(int code)> queueReadConfig;
    std::function<void(int code)> queueWriteConfig;
    std::function<void(int code)> openConfigFromFile;
    std::function<void(int code)> saveConfigAsFile;
    std::function<void(int code)> readEventsFromDevice;
    std::function<void(int code)> openEventsFromFile;
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
    ReadEventsFromDevice,
    OpenEventsFile,
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

    void Add_Master_Vextor();
    void Add_Slave_Vextor();
    void Add_Single_Vextor();
    void Delete_Master_Vextor(int tag);
    // Starts renaming the device node with that code; false when there is none.
    bool Edit_Master_Vextor(int tag);
    // Ends a rename. A name the project file could not hold is refused with a message (false).
    bool TreeView1Edited(int code, const QString& text);

    void ApplyMarkedLink();
    // The shared way to drop the mark: no node marked, MarkCode 0, LinkUp false, the tree focused.
    void ClearMark();
    void TreeView1DblClick(TreeNode* node);

    std::vector<MenuItem> popupItems(const TreeNode* selected) const;
    void runMenuItem(const MenuItem& item);

    static const QStringList& filterItems();
    void ComboBox1Change(int index);

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
