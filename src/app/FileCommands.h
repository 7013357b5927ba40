#pragma once
// The configuration-file and event-file commands of the project tree: "Открыть файл", "Сохранить
// файл как...", the double click on a file node, the working-file bar's save button, and the event
// read from the marked controller. They bind the chosen file to its device, keep the main window's
// working-file texts, write the log lines and open the file node in the tree. Everything shown to
// the user goes through UserDialogs; the windows are reached through the hooks, so the commands
// run headless.
#include "config/ConfigDiff.h"
#include "config/ConfigImage.h"
#include "config/ConfigObserver.h"
#include "link/UserDialogs.h"
#include "project/Project.h"
#include "project/ProjectLog.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace vextor {

struct FileCommandHooks {
    // Decode the event file into the viewer; the file layer's reason when it cannot be read (the
    // viewer then keeps what it showed).
    std::function<std::optional<QString>(const QString& path)> showEvents;
    // Switch the main window's working mode (1 configuration, 2 events).
    std::function<void(uint8_t mode)> setWorkMode;
    // Asked before an event read is queued; false keeps the live monitor running and queues nothing.
    std::function<bool()> confirmStopVisual;
    // Raise the event read of the task loop; fast: the engineer ticked the fast read.
    std::function<void(bool fast)> queueReadEvents;
    // The tree was rebuilt: redraw its view.
    std::function<void()> treeChanged;
    // Show the fields in which the open configuration (A) differs from the file (B).
    std::function<void(const std::vector<ConfigDifference>& differences, const QString& path)>
        showDifferences;
};

class FileCommands {
public:
    FileCommands(Project& project, ConfigImage& image, UserDialogs& dialogs, ProjectLog* log,
                 ConfigObserver* observer, QString& workingConfigFile, QString& workingEventsFile);

    FileCommandHooks hooks;

    // --- configuration files (code: the device's configuration file node) ---
    // Double click: load that file into the image.
    void openConfigFile(const QString& path, int code);
    // "Открыть файл": the open dialog, then the load.
    void openConfigFromFile(int code);
    // "Сохранить файл как...": the save dialog, then the save; the file becomes the device's.
    void saveConfigAsFile(int code);
    // "Сравнить с файлом...": the open dialog, then the open configuration against that file. The
    // image and the device's file stay as they are; the file is not bound to the device.
    void compareWithFile(int code);
    // The working-file bar: write the image into the configuration file shown there. False when
    // there is none or the save failed (the reason was shown).
    bool saveWorkingFile();

    // --- event files (code: the device's event file node) ---
    void openEventsFile(const QString& path, int code);
    void openEventsFromFile(int code);
    // "Считать из прибора": the save dialog first, then the read is queued for the next task tick.
    void readEventsFromDevice(int code);
    // The task loop replaced the event file: show it.
    void eventsRead(const QString& path);

    // The start of a file dialog: the project's directory, with the device's file name when it
    // has one.
    QString proposedPath(int code) const;

private:
    Project& project_;
    ConfigImage& image_;
    UserDialogs& dialogs_;
    ProjectLog* log_;
    ConfigObserver* observer_;
    QString& workingConfigFile_;
    QString& workingEventsFile_;
    bool fastEventRead_ = false;

    DeviceRecord* recordOf(int code, NodeRole role);
    void bindFile(int code, NodeRole role, const QString& path);
    void logLine(const QString& line);
    void setWorkMode(uint8_t mode);
};

} // namespace vextor
