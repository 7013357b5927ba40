// The tree the project produces: layout, drawing attributes, expansion, popup items, double clicks
// and the filter list.
#include "ProjectTestSupport.h"
#include "project/texts.h"

#include <gtest/gtest.h>

namespace vextor {
namespace {

namespace t = project_texts;
using test::ProjectFixture;

// "text[code]" for a node and its subtree, children in brackets; shows the layout at a glance.
QString outline(const TreeNode& n) {
    QString s = n.text + "[" + QString::number(n.code) + "]";
    if (!n.children.empty()) {
        QStringList parts;
        for (const auto& c : n.children)
            parts << outline(*c);
        s += "{" + parts.join(", ") + "}";
    }
    return s;
}

QStringList topOutline(const ProjectTree& tree) {
    QStringList s;
    for (const auto& n : tree.topLevel)
        s << outline(*n);
    return s;
}

TEST(ProjectTree, LayoutFollowsTheModel) {
    ProjectFixture f;
    Project& p = f.project;
    f.addSingles(1);
    EXPECT_EQ(topOutline(p.tree),
              QStringList({"Project1.prj[1]{Имя одиночного 1 (Vextor одиночный 1)[500]{Связь[501], "
                           "Конфигурация[0]{Нет файла конфигурации одиночного[502]}, "
                           "События[0]{Нет файла событий одиночного[503]}}}"}));

    f.addMaster();
    f.addSlaves(1);
    p.model.Master.ConfigFile = "C:\\Work\\Plant\\master.bin";
    p.model.Slaves[0].EventsFile = "/srv/plant/slave.blb";
    p.RebuildTree();
    // Only the first group under the root is its child; later groups follow it at the top level.
    EXPECT_EQ(
        topOutline(p.tree),
        QStringList({"Project1.prj[1]{Имя мастера 1 (Vextor Мастер)[2]{Связь[3], "
                     "Конфигурация[0]{master.bin[4]}, События[0]{Нет файла событий мастера[5]}}}",
                     "Линия ведомых[8]{Связь[9], Имя ведомого 1 (Vextor ведомый 1)[100]{Связь[101], "
                     "Конфигурация[0]{Нет файла конфигурации ведомого[102]}, События[0]{slave.blb[103]}}}",
                     "Имя одиночного 1 (Vextor одиночный 1)[500]{Связь[501], "
                     "Конфигурация[0]{Нет файла конфигурации одиночного[502]}, "
                     "События[0]{Нет файла событий одиночного[503]}}"}));
}

TEST(ProjectTree, DrawingAttributesAndMark) {
    ProjectFixture f;
    Project& p = f.project;
    f.addMaster();
    p.model.fileState({DeviceKind::Master, 0}, FileRole::Events) = kFileMissingBit;
    p.MarkCode = 2;
    p.RebuildTree();
    struct Case {
        int code;
        bool bold, underline, red, marked;
    } cases[] = {
        {1, true, true, false, false},  {2, true, false, false, true}, {3, false, false, false, false},
        {4, false, true, false, false}, {5, false, true, true, false},
    };
    for (const Case& c : cases) {
        const TreeNode* n = p.tree.findCode(c.code);
        ASSERT_NE(n, nullptr) << c.code;
        EXPECT_EQ(n->bold, c.bold) << c.code;
        EXPECT_EQ(n->underline, c.underline) << c.code;
        EXPECT_EQ(n->red, c.red) << c.code;
        EXPECT_EQ(n->marked, c.marked) << c.code;
    }
    EXPECT_FALSE(p.tree.findCode(2)->children[1]->bold) << "group nodes are plain";
}

TEST(ProjectTree, ExpansionCommands) {
    ProjectFixture f;
    Project& p = f.project;
    f.addMaster();
    f.addSlaves(2);
    p.tree.expandAll();
    p.CollapseToDevices();
    QStringList open;
    p.tree.forEach([&](TreeNode& n) {
        if (n.expanded)
            open << n.text;
    });
    EXPECT_EQ(open, QStringList({"Project1.prj", "Линия ведомых"}));

    p.RevealFileNode(109); // slave 2's event file
    const TreeNode* file = p.tree.findCode(109);
    EXPECT_TRUE(file->parent->expanded);
    EXPECT_TRUE(file->parent->parent->expanded);
    EXPECT_FALSE(p.tree.findCode(2)->expanded);
    EXPECT_FALSE(p.tree.findCode(100)->expanded);
}

TEST(ProjectTree, PopupItemsByNodeAndLink) {
    ProjectFixture f;
    Project& p = f.project;
    f.addMaster();
    f.addSingles(5);
    p.MarkCode = 524; // single 5
    using L = QStringList;
    struct Case {
        int code;
        bool linkUp;
        L captions;
    } cases[] = {
        {1, false, L{"Добавить Vextor мастер", "Добавить Vextor ведомый", "Добавить Vextor одиночный"}},
        {524, true, L{"Редактировать", "Удалить"}},
        {525, true, L{}},
        {526, true,
         L{"Считать из прибора", "Записать в прибор", "Открыть файл", "Сохранить файл как...",
           "Сравнить с файлом..."}},
        {526, false, L{"Открыть файл", "Сохранить файл как...", "Сравнить с файлом..."}},
        {527, true, L{"Считать из прибора", "Открыть файл"}},
        {527, false, L{"Открыть файл"}},
        {4, true,
         L{"Открыть файл", "Сохранить файл как...", "Сравнить с файлом..."}}, // not the marked device
        {5, true, L{"Открыть файл"}},
    };
    for (const Case& c : cases) {
        p.LinkUp = c.linkUp;
        L captions;
        for (const MenuItem& item : p.popupItems(p.tree.findCode(c.code))) {
            captions << item.caption;
            EXPECT_EQ(item.tag, c.code);
        }
        EXPECT_EQ(captions, c.captions) << c.code << " linkUp " << c.linkUp;
    }
    EXPECT_TRUE(p.popupItems(nullptr).empty());
    EXPECT_TRUE(p.popupItems(p.tree.findCode(2)->children[1].get()).empty()) << "group node";

    // Items carry their action: the read goes to the task queue with the node's code.
    int queued = 0;
    p.hooks.request = [&](const TreeRequest& r) {
        if (r.action == MenuAction::ReadConfigFromDevice)
            queued = r.code;
    };
    p.LinkUp = true;
    p.runMenuItem(p.popupItems(p.tree.findCode(526)).front());
    EXPECT_EQ(queued, 526);
    f.dialogs.yesNo.push_back(true);
    p.runMenuItem(p.popupItems(p.tree.root()).at(1));
    EXPECT_EQ(p.model.SlaveCount, 1);
}

TEST(ProjectTree, DoubleClickOpensLinkSettingsAndFiles) {
    ProjectFixture f;
    Project& p = f.project;
    f.addMaster();
    f.addSlaves(1);
    f.addSingles(15);
    p.model.Singles[4].EventsFile = "/plant/single5.blb";
    p.model.Master.ConfigFile = "/plant/master.bin";
    std::vector<std::pair<int, int>> linkSettings;
    std::vector<std::pair<QString, int>> configs, events;
    p.hooks.request = [&](const TreeRequest& r) {
        if (r.action == MenuAction::OpenLinkSettings)
            linkSettings.emplace_back(r.code, r.deviceIndex);
        else if (r.action == MenuAction::ShowConfigFile)
            configs.emplace_back(r.path, r.code);
        else if (r.action == MenuAction::ShowEventsFile)
            events.emplace_back(r.path, r.code);
    };

    for (int code : {3, 9, 101, 579, 585, 527, 533, 4})
        p.activateNode(p.tree.findCode(code));
    EXPECT_EQ(linkSettings,
              (std::vector<std::pair<int, int>>{{3, 2}, {9, 3}, {101, 4}, {579, 25}, {585, 26}}));
    EXPECT_EQ(events,
              (std::vector<std::pair<QString, int>>{{"/plant/single5.blb", 527}, {t::kNoEventsSingle, 533}}));
    EXPECT_EQ(configs, (std::vector<std::pair<QString, int>>{{"/plant/master.bin", 4}}));
    EXPECT_EQ(f.dialogs.shown.size(), 17) << "no mark question outside device nodes";

    TreeNode* group = p.tree.findCode(2)->children[1].get();
    p.activateNode(group);
    EXPECT_TRUE(group->expanded);
    p.activateNode(group);
    EXPECT_FALSE(group->expanded);
}

TEST(ProjectTree, FilterList) {
    ProjectFixture f;
    Project& p = f.project;
    f.addMaster();
    f.addSingles(2);
    EXPECT_EQ(Project::filterItems(), QStringList({"Показать всё", "Показать Vextor", "Показать проблеммные ",
                                                   "Проверить пути", ""}));

    p.applyFilter(0);
    bool allOpen = true;
    p.tree.forEach([&](TreeNode& n) { allOpen = allOpen && n.expanded; });
    EXPECT_TRUE(allOpen);

    p.applyFilter(2);
    EXPECT_EQ(f.dialogs.shown.back(), "Проблеммы не обнаружены!");
    EXPECT_FALSE(p.tree.findCode(506)->expanded);

    p.model.fileState({DeviceKind::Single, 2}, FileRole::Events) = kFileMissingBit;
    const qsizetype shown = f.dialogs.shown.size();
    p.applyFilter(2);
    EXPECT_EQ(f.dialogs.shown.size(), shown);
    EXPECT_TRUE(p.tree.findCode(506)->expanded);
    EXPECT_TRUE(p.tree.findCode(509)->parent->expanded);
    EXPECT_FALSE(p.tree.findCode(2)->expanded);

    p.applyFilter(4); // the empty item
    EXPECT_EQ(f.dialogs.shown.size(), shown);
}

} // namespace
} // namespace vextor
