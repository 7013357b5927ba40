// The "Проект" commands and the working file check, on real files in a temporary directory.
#include "ProjectTestSupport.h"
#include "link/Cp1251.h"
#include "project/ProjectFile.h"
#include "project/texts.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace vextor {
namespace {

namespace t = project_texts;
using test::fixturePath;
using test::ProjectFixture;
using test::readAll;

TEST(CreateProject, MakesItsDirectoryAndWritesTheEmptyProject) {
    ProjectFixture f;
    Project& p = f.project;
    f.addMaster();
    f.addSlaves(2);
    p.MarkCode = 2;
    p.LinkUp = true;
    int tasksCleared = 0, tabsRefreshed = 0;
    p.hooks.replaced = [&](bool created) {
        ++tasksCleared;
        tabsRefreshed += created;
    };

    // A directory whose name holds ".prj" keeps it; only the file name's suffix goes.
    ASSERT_TRUE(QDir(f.dir.path()).mkdir("old.prj.d"));
    const QString chosen = f.path("old.prj.d/Plant.prj");
    const QString created = f.path("old.prj.d/Plant/Plant.prj");
    f.dialogs.saveFiles.push_back(chosen);
    p.CreateProject();

    EXPECT_TRUE(QFileInfo(f.path("old.prj.d/Plant")).isDir());
    EXPECT_EQ(p.model.ProjectPath, created);
    EXPECT_EQ(p.tree.root()->text, "Plant.prj");
    EXPECT_EQ(p.tree.topLevel.size(), 1u);
    EXPECT_TRUE(p.tree.root()->children.empty());
    EXPECT_EQ(p.MarkCode, 0);
    EXPECT_FALSE(p.LinkUp);
    EXPECT_EQ(tasksCleared, 1);
    EXPECT_EQ(tabsRefreshed, 1);
    EXPECT_EQ(f.log.lines, QStringList({created, f.logged("создание проекта - ", created)}));

    // The file holds the empty project that the tree shows.
    QByteArray expected = readAll(fixturePath("reset.prj"));
    expected.replace(0, int(strlen("Project1.prj")), "Plant.prj");
    EXPECT_EQ(readAll(created), expected);

    // The same name again: the directory exists, nothing changes.
    f.addSingles(1);
    f.dialogs.saveFiles.push_back(chosen);
    p.CreateProject();
    EXPECT_EQ(f.dialogs.shown.back(), "Ошибка в создании директории!");
    EXPECT_EQ(p.model.SingleCount, 1);
    EXPECT_EQ(f.log.lines.size(), 2);

    // A missing parent fails with its message; a cancelled dialog says nothing and changes nothing.
    f.dialogs.saveFiles.push_back(f.path("nowhere/Plant.prj"));
    p.CreateProject();
    EXPECT_EQ(f.dialogs.shown.back(), "Ошибка в создании директории!");
    const qsizetype shown = f.dialogs.shown.size();
    p.CreateProject();
    EXPECT_EQ(f.dialogs.shown.size(), shown + 1); // the dialog's own caption only
    EXPECT_EQ(p.model.SingleCount, 1);
}

TEST(OpenProject, MalformedFileChangesNothing) {
    ProjectFixture f;
    Project& p = f.project;
    f.addSingles(2);
    p.MarkCode = 500;
    p.LinkUp = true;
    p.model.PortNumber = 3;
    p.RebuildTree();
    const ProjectModel before = p.model;
    const QStringList treeBefore = [&] {
        QStringList s;
        p.tree.forEach([&](TreeNode& n) { s << n.text; });
        return s;
    }();

    const QString bad = fixturePath("malformed_line21.prj");
    f.dialogs.openFiles.push_back(bad);
    p.OpenProject();
    EXPECT_EQ(f.dialogs.shown.back(),
              "Ошибка чтения файла проекта " + bad + ": в строке 21 ожидается число. Проект не изменён.");
    EXPECT_EQ(p.model, before);
    EXPECT_EQ(p.MarkCode, 500);
    EXPECT_TRUE(p.LinkUp);
    QStringList treeAfter;
    p.tree.forEach([&](TreeNode& n) { treeAfter << n.text; });
    EXPECT_EQ(treeAfter, treeBefore);
    EXPECT_TRUE(f.log.lines.isEmpty());

    f.dialogs.openFiles.push_back(f.path("absent.prj"));
    p.OpenProject();
    EXPECT_EQ(f.dialogs.shown.back(), "Указанного файла не существует.");
    EXPECT_EQ(p.model, before);
}

TEST(OpenProject, ReplacesTheProjectAndDropsTheMark) {
    ProjectFixture f;
    Project& p = f.project;
    // A file written elsewhere: master and one slave, no working files.
    ProjectModel other;
    other.ProjectPath = "D:\\Plants\\North.prj";
    other.PortNumber = 4;
    other.ActiveZarnetAddress = 17;
    other.MasterCount = 1;
    other.Master.Name = "Север";
    other.SlaveCount = 1;
    other.Slaves[0].Name = "Насосная";
    const QString path = f.path("North.prj");
    ASSERT_TRUE(WriteProjectFile(path, other).ok);

    f.addSingles(1);
    p.MarkCode = 500;
    p.LinkUp = true;
    int tasksCleared = 0;
    p.hooks.replaced = [&](bool created) { tasksCleared += !created; };
    f.dialogs.openFiles.push_back(path);
    p.OpenProject();

    other.ProjectPath = path;
    EXPECT_EQ(p.model, other);
    EXPECT_EQ(p.activeZarnetAddress(), 17);
    EXPECT_EQ(p.MarkCode, 0);
    EXPECT_FALSE(p.LinkUp);
    EXPECT_EQ(tasksCleared, 1);
    EXPECT_EQ(p.tree.root()->text, "North.prj");
    EXPECT_NE(p.tree.findCode(100), nullptr);
    EXPECT_EQ(p.tree.findCode(500), nullptr);
    EXPECT_EQ(f.log.lines, QStringList({f.logged("открытие проекта - ", path)}));
    EXPECT_EQ(f.dialogs.shown.back(), "Открыть") << "nothing missing, nothing asked";
}

TEST(SaveProject, SaveAndSaveAsWriteAndLog) {
    ProjectFixture f;
    Project& p = f.project;
    ASSERT_TRUE(QDir(f.dir.path()).mkdir("Project"));
    f.addMaster();
    p.SaveProject();
    const QString first = p.model.ProjectPath;
    EXPECT_EQ(parseProjectFile(readAll(first)).model.MasterCount, 1);

    const QString second = f.path("Copy.prj");
    test::writeBytes(second, "keep me");
    f.dialogs.saveFiles.push_back(second);
    f.dialogs.yesNo.push_back(false);
    p.SaveProjectAs();
    EXPECT_EQ(f.dialogs.shown.back(), "Указанный файл уже существует. Перезаписать?");
    EXPECT_FALSE(f.dialogs.saveConfirmsOverwrite) << "the dialog must not ask the same question first";
    EXPECT_EQ(readAll(second), "keep me");
    EXPECT_EQ(p.model.ProjectPath, first);

    f.dialogs.saveFiles.push_back(second);
    f.dialogs.yesNo.push_back(true);
    p.SaveProjectAs();
    EXPECT_EQ(p.model.ProjectPath, second);
    EXPECT_EQ(p.tree.root()->text, "Copy.prj");
    EXPECT_EQ(readAll(second).left(10), "Copy.prj\r\n");

    // A save that cannot be written is reported, not logged, and the project keeps its file.
    f.dialogs.saveFiles.push_back(f.path("missing/dir/Third.prj"));
    p.SaveProjectAs();
    EXPECT_TRUE(f.dialogs.shown.back().startsWith("Ошибка записи файла проекта "));
    EXPECT_EQ(p.model.ProjectPath, second);
    EXPECT_EQ(f.log.lines, QStringList({f.logged("сохранение проекта - ", first),
                                        f.logged("проект сохранен как - ", second)}));
}

// A project moved together with its working files: the paths inside still name the old place.
struct MovedProject : ProjectFixture {
    QString projectPath = path("Plant.prj");
    MovedProject() {
        ProjectModel m;
        m.MasterCount = 1;
        m.Master.Name = "Котельная";
        m.Master.ConfigFile = "C:\\Work\\Plant\\master.bin";
        m.Master.EventsFile = "/old/place/master.blb";
        m.Master.VisualFile = "/old/place/master.vis"; // no node: not checked
        m.SingleCount = 1;
        m.Singles[0].Name = "ИТП";
        m.Singles[0].ConfigFile = "C:\\Work\\Plant\\itp.bin";
        EXPECT_TRUE(WriteProjectFile(projectPath, m).ok);
        test::writeBytes(path("master.bin"), "x");
        test::writeBytes(path("master.blb"), "x");
    }
};

TEST(CheckProjectPaths, MovedFilesAreFoundInTheProjectDirectory) {
    MovedProject f;
    test::writeBytes(f.path("itp.bin"), "x");
    f.dialogs.yesNoCancel.push_back(Answer::Yes);
    ASSERT_TRUE(f.project.openProjectFile(f.projectPath));
    EXPECT_EQ(f.dialogs.shown,
              QStringList({"Один или несколько рабочих файлов проекта не найдены!\nПроизвести поиск файлов в "
                           "директории проекта?",
                           "Все рабочие файлы найдены!"}));
    const ProjectModel& m = f.project.model;
    EXPECT_EQ(m.Master.ConfigFile, f.path("master.bin"));
    EXPECT_EQ(m.Master.EventsFile, f.path("master.blb"));
    EXPECT_EQ(m.Singles[0].ConfigFile, f.path("itp.bin"));
    EXPECT_EQ(m.Master.VisualFile, "/old/place/master.vis");
    EXPECT_EQ(m.FileState, FileStateTable{});
    EXPECT_EQ(f.project.tree.findCode(4)->text, "master.bin");
    EXPECT_FALSE(f.project.tree.findCode(4)->red);

    f.project.applyFilter(3);
    EXPECT_EQ(f.dialogs.shown.back(), "Несуществующие пути не обнаружены!");
}

TEST(CheckProjectPaths, AnswersForFilesThatStayMissing) {
    struct Case {
        Answer search;
        std::optional<bool> forget;
        QStringList questions;
        QString itpConfig;
        bool itpRed;
    } cases[] = {
        {Answer::Yes, true, {t::kAskSearchFiles, t::kAskForgetAfterSearch}, t::kNoConfigSingle, false},
        {Answer::Yes,
         false,
         {t::kAskSearchFiles, t::kAskForgetAfterSearch},
         "C:\\Work\\Plant\\itp.bin",
         true},
        {Answer::No, true, {t::kAskSearchFiles, t::kAskForget}, t::kNoConfigSingle, false},
        {Answer::No, false, {t::kAskSearchFiles, t::kAskForget}, "C:\\Work\\Plant\\itp.bin", true},
        {Answer::Cancel, std::nullopt, {t::kAskSearchFiles}, "C:\\Work\\Plant\\itp.bin", true},
    };
    for (const Case& c : cases) {
        MovedProject f;
        f.dialogs.yesNoCancel.push_back(c.search);
        if (c.forget)
            f.dialogs.yesNo.push_back(*c.forget);
        ASSERT_TRUE(f.project.openProjectFile(f.projectPath));
        EXPECT_EQ(f.dialogs.shown, c.questions);
        const ProjectModel& m = f.project.model;
        EXPECT_EQ(m.Singles[0].ConfigFile, c.itpConfig);
        const TreeNode* itp = f.project.tree.findCode(502);
        EXPECT_EQ(itp->red, c.itpRed);
        EXPECT_EQ(itp->parent->expanded, c.itpRed) << "a file still missing is revealed";
        // Found files are relocated only when the search was asked for.
        EXPECT_EQ(m.Master.ConfigFile == f.path("master.bin"), c.search == Answer::Yes);

        // "Проверить пути" never claims all is well while a file is missing.
        f.dialogs.yesNoCancel.push_back(Answer::Cancel);
        f.project.applyFilter(3);
        EXPECT_EQ(f.dialogs.shown.back() == t::kNoMissingPaths, !c.itpRed);
    }
}

TEST(CheckFile, PlaceholdersAreNeverChecked) {
    ProjectFixture f;
    Project& p = f.project;
    p.hooks.fileExists = [](const QString&) { return false; };
    p.model.fileState({DeviceKind::Master, 0}, FileRole::Config) = kFileMissingBit | 0x10;
    EXPECT_FALSE(p.CheckFile(4)) << "placeholder: the word stays as it is";
    EXPECT_EQ(p.model.fileState({DeviceKind::Master, 0}, FileRole::Config), kFileMissingBit | 0x10);
    p.model.Master.ConfigFile = "/x.bin";
    p.hooks.fileExists = [](const QString&) { return true; };
    EXPECT_FALSE(p.CheckFile(4));
    EXPECT_EQ(p.model.fileState({DeviceKind::Master, 0}, FileRole::Config), 0x10u) << "only bit 0 changes";
    EXPECT_FALSE(p.CheckFile(3)) << "not a file code";
}

// Before a project is closed or replaced: a question only when the engineer changed something, and
// the answer decides whether anything may close.
TEST(UnsavedChanges, AskedOnlyAfterAnEditAndTheAnswerDecides) {
    ProjectFixture f;
    Project& p = f.project;
    p.model.ProjectPath = f.path("Plant.prj");
    p.SaveProject();
    f.dialogs.shown.clear();

    // Marking a device and switching the work mode are no edits.
    f.addMaster();
    p.SaveProject();
    f.dialogs.shown.clear();
    p.MarkCode = 2;
    p.ApplyMarkedLink();
    p.model.WorkMode = 2;
    EXPECT_TRUE(p.settleUnsavedChanges());
    EXPECT_TRUE(f.dialogs.shown.isEmpty());

    struct Case {
        Answer answer;
        bool mayClose;
        bool saved;
    };
    const Case cases[] = {
        {Answer::Cancel, false, false}, {Answer::No, true, false}, {Answer::Yes, true, true}};
    for (const Case& c : cases) {
        p.model.Master.Name = QStringLiteral("Котельная ") + QString::number(int(c.answer));
        f.dialogs.shown.clear();
        f.dialogs.yesNoCancel.push_back(c.answer);
        EXPECT_EQ(p.settleUnsavedChanges(), c.mayClose);
        EXPECT_EQ(f.dialogs.shown, QStringList{QStringLiteral("Сохранить изменения проекта?")});
        EXPECT_EQ(p.hasUnsavedChanges(), !c.saved);
        if (c.saved) {
            EXPECT_EQ(ReadProjectFile(p.model.ProjectPath).model.Master.Name, p.model.Master.Name);
        }
        p.SaveProject();
    }
}

} // namespace
} // namespace vextor
