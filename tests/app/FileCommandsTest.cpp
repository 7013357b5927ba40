// The tree's file commands: configuration and event files bound to their devices, dialogs,
// working-file texts, log lines and the revealed file node.
#include "app/FileCommands.h"
#include "config/ConfigFile.h"
#include "config/texts.h"
#include "project/ProjectTestSupport.h"

namespace vextor::test {
namespace {

class CountingObserver : public ConfigObserver {
public:
    int changed = 0, firstRows = 0, firstPage = 0;
    void configurationChanged(ConfigViews) override { ++changed; }
    void selectFirstRows() override { ++firstRows; }
    void showFirstPage() override { ++firstPage; }
};

class FileCommandsTest : public ::testing::Test, public ProjectFixture {
protected:
    FileCommandsTest() : commands(project, image, dialogs, &log, &observer, workingConfig, workingEvents) {
        loadDefaultConfiguration(image);
        project.model.ProjectPath = path("Plant.prj");
        addMaster();
        commands.hooks.setWorkMode = [this](uint8_t m) { modes.push_back(m); };
        commands.hooks.showEvents = [this](const QString& p) -> std::optional<QString> {
            shownEvents << p;
            return std::nullopt;
        };
        commands.hooks.queueReadEvents = [this](bool fast) {
            ++queued;
            fastReads += fast;
        };
    }

    static constexpr int kMasterConfig = 4;
    static constexpr int kMasterEvents = 5;

    ConfigImage image;
    CountingObserver observer;
    QString workingConfig = "Нет файла конфигурации";
    QString workingEvents = "Нет файла событий";
    FileCommands commands;
    std::vector<uint8_t> modes;
    QStringList shownEvents;
    int queued = 0;
    int fastReads = 0;
};

TEST_F(FileCommandsTest, SaveAsBindsTheFileAndOpenReadsItBack) {
    image.ArrSensors[0] = {0, 2, 1000.0f, 2.2f, 0.0f, {3, 2, 0x12, 0x34}};
    const QString file = path("Приточка.bin");
    dialogs.saveFiles.push_back(file);
    commands.saveConfigAsFile(kMasterConfig);

    EXPECT_EQ(QFileInfo(file).size(), kConfigFileSize);
    EXPECT_EQ(project.model.Master.ConfigFile, file);
    EXPECT_EQ(workingConfig, file);
    EXPECT_EQ(log.lines, QStringList{loggedConfigFile(texts::kLogSaveFile, file)});
    const TreeNode* node = project.tree.findCode(kMasterConfig);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->text, "Приточка.bin");
    EXPECT_TRUE(node->parent->expanded);
    EXPECT_TRUE(node->parent->parent->expanded);

    const ConfigImage saved = image;
    image.ArrSensors[0].KindSensor = kNoSensor;
    image.AdrNumAIn[0] = {1, 1};
    // The open dialog starts at the project directory with the device's own file.
    dialogs.openFiles.push_back(file);
    commands.openConfigFromFile(kMasterConfig);
    EXPECT_EQ(image, saved);
    EXPECT_EQ(observer.firstPage, 1);
    EXPECT_EQ(observer.firstRows, 1);
    EXPECT_EQ(modes, std::vector<uint8_t>{1});
    EXPECT_EQ(log.lines.last(), loggedConfigFile(texts::kLogOpenFile, file));
    EXPECT_EQ(commands.proposedPath(kMasterConfig), file);
    EXPECT_TRUE(dialogs.shown.endsWith("Открыть файл"));
}

TEST_F(FileCommandsTest, FailuresChangeNothing) {
    const DeviceRecord before = project.model.Master;
    const ConfigImage imageBefore = image;

    // A missing file on a double click.
    const QString missing = path("нет.bin");
    commands.openConfigFile(missing, kMasterConfig);
    EXPECT_EQ(dialogs.shown.last(), "Файла \"" + missing + "\" не существует!");

    // A save into a directory that does not exist.
    dialogs.saveFiles.push_back(path("no/such/dir/x.bin"));
    commands.saveConfigAsFile(kMasterConfig);
    EXPECT_TRUE(dialogs.shown.last().startsWith("Не удалось сохранить файл"));

    // A cancelled dialog, and the working-file save without a working file.
    commands.openConfigFromFile(kMasterConfig);
    EXPECT_FALSE(commands.saveWorkingFile());

    // An event file that is not there.
    commands.openEventsFile(path("none.blb"), kMasterEvents);
    EXPECT_EQ(dialogs.shown.last(), "Файла \"" + path("none.blb") + "\" не существует!");

    EXPECT_EQ(project.model.Master, before);
    EXPECT_EQ(image, imageBefore);
    EXPECT_TRUE(log.lines.isEmpty());
    EXPECT_EQ(workingConfig, "Нет файла конфигурации");
    EXPECT_EQ(workingEvents, "Нет файла событий");
    EXPECT_TRUE(modes.empty());
    EXPECT_TRUE(shownEvents.isEmpty());
}

// "Сравнить с файлом...": the open image against a file, shown through the hook or told as equal;
// a refused file is told in the load's words. Nothing is loaded, bound or logged.
TEST_F(FileCommandsTest, CompareShowsTheDifferencesAndChangesNothing) {
    std::vector<std::pair<std::vector<ConfigDifference>, QString>> shown;
    commands.hooks.showDifferences = [&](const std::vector<ConfigDifference>& d, const QString& p) {
        shown.emplace_back(d, p);
    };
    image.PresetTempAir = 21.5f;
    const QString same = path("same.bin"), other = path("other.bin"), cut = path("cut.bin");
    ASSERT_TRUE(saveConfigurationFile(image, same).success);
    ConfigImage changed = image;
    changed.NightBegin.Minute = 30;
    ASSERT_TRUE(saveConfigurationFile(changed, other).success);
    {
        QFile f(cut);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(configurationFileBytes(image).left(500));
    }
    const DeviceRecord before = project.model.Master;
    const ConfigImage imageBefore = image;
    dialogs.shown.clear();

    dialogs.openFiles = {other, same, cut};
    commands.compareWithFile(kMasterConfig);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].first, compareWithFileBytes(image, configurationFileBytes(changed)));
    ASSERT_EQ(shown[0].first.size(), 1u);
    EXPECT_EQ(shown[0].first[0].name, "NightBegin.Minute");
    EXPECT_EQ(shown[0].second, other);
    EXPECT_TRUE(dialogs.shown.endsWith("Сравнить с файлом..."));

    commands.compareWithFile(kMasterConfig);
    EXPECT_EQ(dialogs.shown.last(), "Конфигурации совпадают.");
    commands.compareWithFile(kMasterConfig);
    EXPECT_EQ(dialogs.shown.last(),
              "Файл \"" + cut + "\" не является файлом конфигурации: его длина 500 байт, а не 1153.");
    commands.compareWithFile(kMasterConfig); // cancelled
    EXPECT_EQ(shown.size(), 1u);

    EXPECT_EQ(image, imageBefore);
    EXPECT_EQ(project.model.Master, before);
    EXPECT_EQ(workingConfig, "Нет файла конфигурации");
    EXPECT_TRUE(log.lines.isEmpty());
    EXPECT_TRUE(modes.empty());
    EXPECT_EQ(observer.changed, 0);
}

TEST_F(FileCommandsTest, WorkingFileBarSavesIntoTheShownFile) {
    const QString file = path("cfg.bin");
    workingConfig = file;
    image.MB_Address = 77;
    EXPECT_TRUE(commands.saveWorkingFile());
    const QByteArray bytes = readAll(file);
    ASSERT_EQ(bytes.size(), kConfigFileSize);
    EXPECT_EQ(static_cast<uint8_t>(bytes[0]), 77);
    EXPECT_EQ(log.lines, QStringList{loggedConfigFile(texts::kLogSaveFile, file)});
}

TEST_F(FileCommandsTest, ProposedPathTakesTheFileNameOfAWindowsPath) {
    project.model.Master.EventsFile = "C:\\Old\\Plant\\log.blb";
    EXPECT_EQ(commands.proposedPath(kMasterEvents), path("log.blb"));
    EXPECT_EQ(commands.proposedPath(kMasterConfig), dir.path() + "/");
}

TEST_F(FileCommandsTest, EventReadAsksForTheFileThenQueuesTheTask) {
    project.MarkCode = 2;
    project.LinkUp = true;
    bool visualStopped = false;
    commands.hooks.confirmStopVisual = [&] { return visualStopped; };
    dialogs.shown.clear();

    commands.readEventsFromDevice(kMasterEvents); // the monitor keeps running
    EXPECT_TRUE(dialogs.shown.isEmpty());
    visualStopped = true;
    commands.readEventsFromDevice(kMasterEvents); // the dialog is cancelled
    EXPECT_EQ(queued, 0);

    const QString file = path("events.blb");
    dialogs.saveFiles.push_back(file);
    commands.readEventsFromDevice(kMasterEvents);
    EXPECT_EQ(queued, 1);
    EXPECT_EQ(fastReads, 0);
    EXPECT_EQ(project.model.Master.EventsFile, file);

    // The fast read's box reaches the task, and starts ticked the next time.
    dialogs.saveFiles = {file, file};
    dialogs.saveOptions = {true};
    commands.readEventsFromDevice(kMasterEvents);
    commands.readEventsFromDevice(kMasterEvents);
    EXPECT_EQ(fastReads, 2);
    EXPECT_EQ(dialogs.saveOptionTexts.back(), "Быстрое чтение (по 27 записей за запрос)");
    queued = 1;
    EXPECT_EQ(project.tree.findCode(kMasterEvents)->text, "events.blb");

    // Not the marked device: nothing to read.
    project.MarkCode = 0;
    commands.readEventsFromDevice(kMasterEvents);
    EXPECT_EQ(queued, 1);

    commands.eventsRead(file);
    EXPECT_EQ(workingEvents, file);
    EXPECT_EQ(shownEvents, QStringList{file});
    EXPECT_EQ(modes, std::vector<uint8_t>{2});
}

TEST_F(FileCommandsTest, OpeningAnEventFileShowsItInTheEventsView) {
    const QString file = QStringLiteral(VEXTOR_FIXTURES "/events/sample.blb");
    dialogs.openFiles.push_back(file);
    commands.openEventsFromFile(kMasterEvents);
    EXPECT_EQ(project.model.Master.EventsFile, file);
    EXPECT_EQ(workingEvents, file);
    EXPECT_EQ(shownEvents, QStringList{file});
    EXPECT_EQ(modes, std::vector<uint8_t>{2});
    EXPECT_EQ(log.lines, QStringList{logged("открытие файла - ", file)});

    // A file the viewer cannot read: its reason is shown and the mode stays.
    commands.hooks.showEvents = [](const QString&) -> std::optional<QString> {
        return QString("нет доступа");
    };
    commands.openEventsFile(file, kMasterEvents);
    EXPECT_EQ(dialogs.shown.last(), "нет доступа");
    EXPECT_EQ(modes.size(), 1u);
}

} // namespace
} // namespace vextor::test
