#pragma once
// The main window: the frame of the whole program. It owns the run's shared objects (the two
// ports, the link, the configuration image, the project and its task loop), creates the other
// windows once at start, and keeps status bar, shown mode window and active link in step with the
// model through the one-second refresh.
#include "FormIni.h"
#include "ResponsivePort.h"
#include "config/ConfigImage.h"
#include "link/ModbusMaster.h"
#include "link/ZarnetLink.h"
#include "project/DeviceTasks.h"
#include "project/FileCommands.h"
#include "project/Project.h"
#include "project/ProjectLog.h"

#include <QMainWindow>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QPlainTextEdit;
class QSplitter;
class QToolButton;

namespace vextor {

class ProjectTreeView;
class QtUserDialogs;
class TBBFrm;
class TFAbout;
class TFCfg;
class TFLink;
class TFLinkMore;
class TFProgress;

class TFormMainIDE : public QMainWindow, public ProjectLog {
public:
    struct Options {
        QString programDir;             // where Form.ini and the default project path live
        UserDialogs* dialogs = nullptr; // the Qt dialogs unless given
        // Runs once, right after the first refresh reset the project (the demo opens its project).
        std::function<void()> afterFirstTick;
    };

    explicit TFormMainIDE(Options options, QWidget* parent = nullptr);
    ~TFormMainIDE() override;

    // The run's shared objects.
    ResponsivePort zarnetPort{PortRole::Zarnet};
    ResponsivePort modbusPort{PortRole::Modbus};
    ZarnetLink link{&zarnetPort};
    ModbusMaster modbus{&modbusPort};
    ConfigImage image;

    Project& project() { return *project_; }
    DeviceTasks& tasks() { return *tasks_; }
    UserDialogs& dialogs() { return *dialogs_; }
    FileCommands& files() { return *files_; }

    // Main-window state.
    QString WorkingConfigFile;
    QString WorkingEventsFile;
    QString WorkingVisualFile;

    // SysTimer's handler.
    void RefreshTick();
    // ProjectLog.
    void addLine(const QString& line) override;

    // Windows and controls, for the application and its tests.
    ProjectTreeView* tree() const { return tree_; }
    TFCfg* configWindow() const { return cfg_; }
    TBBFrm* eventViewer() const { return viewer_; }
    TFLink* linkWindow() const { return linkWindow_; }
    TFLinkMore* linkMore() const { return linkMore_; }
    TFProgress* progressWindow() const { return progress_; }
    TFAbout* aboutBox() const { return about_; }
    QString statusText(int panel) const;
    const QLabel* statusPanel(int panel) const { return panels_.at(panel); }
    QString logText() const;
    QString workingFileText() const;
    bool saveButtonEnabled() const;
    // The mode window in front, nullptr when the client area is empty.
    QWidget* shownModeWindow() const;
    QToolButton* modeButton(int i) const { return modeButtons_.at(i); }
    QTimer& sysTimer() { return SysTimer; }
    QTimer& tasksTimer() { return TimerTasks; }

    FormGeometry currentGeometry() const;
    void applyGeometry(const FormGeometry& g);
    QString formIniPath() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Options options_;
    std::unique_ptr<QtUserDialogs> ownDialogs_;
    UserDialogs* dialogs_;
    std::unique_ptr<Project> project_;
    LinkImageBinding binding_{link, image};
    std::unique_ptr<DeviceTasks> tasks_;
    std::unique_ptr<FileCommands> files_;
    bool firstTick_ = true;
    bool closeRequested_ = false;

    QTimer SysTimer;
    QTimer TimerTasks;
    QTimer TimerRunString;
    QTimer TimerFormAbout;

    // Windows.
    QMdiArea* mdi_ = nullptr;
    TBBFrm* viewer_ = nullptr;
    QMdiSubWindow* viewerSub_ = nullptr;
    TFLink* linkWindow_ = nullptr;
    TFAbout* about_ = nullptr;
    TFLinkMore* linkMore_ = nullptr;
    TFCfg* cfg_ = nullptr;
    QMdiSubWindow* cfgSub_ = nullptr;
    TFProgress* progress_ = nullptr;

    // Controls.
    QSplitter* sideSplitter_ = nullptr;
    QSplitter* logSplitter_ = nullptr;
    QWidget* modePanel_ = nullptr;
    QWidget* treePanel_ = nullptr;
    std::array<QToolButton*, 5> modeButtons_{};
    ProjectTreeView* tree_ = nullptr;
    QComboBox* filter_ = nullptr;
    QPlainTextEdit* log_ = nullptr;
    QLabel* workingFile_ = nullptr;
    QToolButton* saveWorkingFile_ = nullptr;
    QWidget* panelStrip_ = nullptr;
    std::array<QLabel*, 7> panels_{};
    QList<QAction*> projectReplacing_;

    void buildMenus();
    void buildToolBar();
    QWidget* buildModePanel();
    QWidget* buildTreePanel();
    QWidget* buildClientArea();
    void buildStatusBar();
    void createWindows();
    void installProjectHooks();
    void installTaskHooks();

    void setWorkMode(uint8_t mode);
    void showModeWindow();
    void connectionDisplay();
    void fitStatusPanels();
    void busyChanged(bool busy);
    bool refuseWhileBusy() const;
    void treeChanged();

    // Files from the tree.
    void openConfigFile(const QString& path, int code);
    void openConfigFromFile(int code);
    void saveConfigAsFile(int code);
    void openEventsFile(const QString& path, int code);
    void openEventsFromFile(int code);
    void readEventsFromDevice(int code);
    void saveWorkingFile();
    QString projectDirectory() const;
};

} // namespace vextor
