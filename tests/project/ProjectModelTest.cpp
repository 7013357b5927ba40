// Node codes, link-settings numbering, and the add / delete / rename / mark rules of the project.
#include "ProjectTestSupport.h"
#include "project/NodeCode.h"
#include "project/texts.h"

#include <gtest/gtest.h>

namespace vextor {
namespace {

namespace t = project_texts;
using test::ProjectFixture;

TEST(NodeCode, CodesDecodeToDeviceSlotAndRole) {
    struct Case {
        int code;
        std::optional<NodeRef> ref;
    } cases[] = {
        {0, std::nullopt},
        {1, std::nullopt},
        {2, NodeRef{{DeviceKind::Master, 0}, NodeRole::Device}},
        {6, NodeRef{{DeviceKind::Master, 0}, NodeRole::VisualFile}},
        {7, std::nullopt},
        {8, std::nullopt},
        {9, std::nullopt},
        {100, NodeRef{{DeviceKind::Slave, 1}, NodeRole::Device}},
        {105, std::nullopt}, // the unused sixth code of slave 1
        {145, NodeRef{{DeviceKind::Slave, 8}, NodeRole::EventsFile}},
        {147, std::nullopt},
        {503, NodeRef{{DeviceKind::Single, 1}, NodeRole::EventsFile}},
        {527, NodeRef{{DeviceKind::Single, 5}, NodeRole::EventsFile}},
        {590, NodeRef{{DeviceKind::Single, 16}, NodeRole::Device}},
        {595, std::nullopt},
        {596, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(decodeNodeCode(c.code), c.ref) << c.code;
        if (c.ref) {
            EXPECT_EQ(nodeCode(c.ref->device, c.ref->role), c.code);
        }
    }
}

TEST(NodeCode, LinkNodesAndDeviceIndexesAgree) {
    struct Case {
        int linkCode;
        int deviceIndex;
        std::optional<DeviceSlot> device;
        int fileRow;
    } cases[] = {
        {3, 2, DeviceSlot{DeviceKind::Master, 0}, 1},      {9, 3, std::nullopt, 0},
        {101, 4, DeviceSlot{DeviceKind::Slave, 1}, 2},     {143, 11, DeviceSlot{DeviceKind::Slave, 8}, 9},
        {501, 12, DeviceSlot{DeviceKind::Single, 1}, 10},  {579, 25, DeviceSlot{DeviceKind::Single, 14}, 23},
        {585, 26, DeviceSlot{DeviceKind::Single, 15}, 24}, {591, 27, DeviceSlot{DeviceKind::Single, 16}, 25},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(deviceIndexOfLinkNode(c.linkCode), c.deviceIndex) << c.linkCode;
        EXPECT_EQ(deviceOfIndex(c.deviceIndex), c.device) << c.deviceIndex;
        if (c.device) {
            EXPECT_EQ(deviceIndexOf(*c.device), c.deviceIndex);
            EXPECT_EQ(fileStateRowOf(*c.device), c.fileRow);
        }
    }
    EXPECT_EQ(deviceOfIndex(1), std::nullopt);
    EXPECT_EQ(deviceIndexOfLinkNode(100), std::nullopt);
}

TEST(ProjectModel, SlotDefaultsAndReset) {
    ProjectFixture f;
    Project& p = f.project;
    const ProjectModel& m = p.model;
    EXPECT_EQ(m.ProjectPath, f.dir.path() + "/Project/Project1.prj");
    EXPECT_EQ(m.Slaves[2].ZarnetAddress, 3);
    EXPECT_EQ(m.Slaves[2].ModbusAddress, 102);
    EXPECT_EQ(m.Slaves[2].TypeCode, 32);
    EXPECT_EQ(m.Slaves[2].EventsFile, t::kNoEventsSlave);
    EXPECT_EQ(m.Singles[15].ModbusAddress, 115);
    EXPECT_EQ(m.Singles[15].VisualFile, t::kNoVisualSingle);
    EXPECT_EQ(m.Master.ConfigFile, t::kNoConfigMaster);

    // A reset keeps the mark but forgets everything else, the tree included.
    f.addMaster();
    p.MarkCode = 2;
    p.LinkUp = true;
    p.model.PortNumber = 7;
    p.model.FileState[0][0] = 1;
    int defaultsLoaded = 0;
    p.hooks.reset = [&] { ++defaultsLoaded; };
    p.ResetProject();
    EXPECT_EQ(defaultsLoaded, 1);
    ProjectModel expected;
    expected.ProjectPath = m.ProjectPath;
    EXPECT_EQ(m, expected);
    EXPECT_EQ(p.MarkCode, 2);
    EXPECT_TRUE(p.LinkUp);
    ASSERT_EQ(p.tree.topLevel.size(), 1u);
    EXPECT_EQ(p.tree.root()->text, "Project1.prj");
    EXPECT_TRUE(p.tree.root()->children.empty());
    EXPECT_TRUE(p.tree.root()->expanded);
}

TEST(ProjectModel, AddingStopsAtTheLimitsWithTheirMessages) {
    struct Case {
        void (ProjectFixture::*add)(int);
        int tries;
        int limit;
        QString message;
    };
    const Case cases[] = {
        {&ProjectFixture::addSlaves, 9, 8, "В проекте не может быть больше 8 ведомых Vextor!"},
        {&ProjectFixture::addSingles, 17, 16, "В проекте не может быть больше 16 одиночных Vextor!"},
    };
    for (const Case& c : cases) {
        ProjectFixture f;
        (f.*c.add)(c.tries);
        const bool slaves = c.limit == 8;
        EXPECT_EQ(slaves ? f.project.model.SlaveCount : f.project.model.SingleCount, c.limit);
        EXPECT_EQ(f.dialogs.shown.back(), c.message);
        EXPECT_EQ(f.dialogs.shown.count(c.message), 1);
        const QString lastName = slaves ? f.project.model.Slaves[7].Name : f.project.model.Singles[15].Name;
        EXPECT_EQ(lastName, (slaves ? "Имя ведомого " : "Имя одиночного ") + QString::number(c.limit));
    }

    ProjectFixture f;
    f.addMaster();
    f.addMaster();
    EXPECT_EQ(f.project.model.MasterCount, 1);
    EXPECT_EQ(f.dialogs.shown, QStringList({"Добавить мастера?", "Добавить мастера?",
                                            "В проекте не может быть больше 1 мастера Vextor!"}));
    EXPECT_EQ(f.project.tree.findCode(2)->text, "Имя мастера 1 (Vextor Мастер)");

    // No leaves everything as it was.
    const ProjectModel before = f.project.model;
    f.dialogs.yesNo.push_back(false);
    f.project.addSingle();
    EXPECT_EQ(f.project.model, before);
}

TEST(ProjectModel, DeletingSlavesAndReusingTheirSlots) {
    ProjectFixture f;
    Project& p = f.project;
    f.addSlaves(3);
    p.model.SlaveLineProtocol = kProtocolModbus;
    for (auto& s : p.model.Slaves)
        s.MbParams = 0x93;

    f.dialogs.yesNo.push_back(true);
    p.deleteDevice(106); // slave 2
    EXPECT_EQ(f.dialogs.shown.back(), "Удалить Имя ведомого 2 ?");
    EXPECT_EQ(p.model.SlaveCount, 2);
    EXPECT_TRUE(p.model.Slaves[1].Name.isEmpty());
    EXPECT_EQ(p.model.Slaves[1].MbParams, 0x93) << "not the last slave: its line byte stays";
    EXPECT_EQ(p.model.Slaves[1].ModbusAddress, 101);
    EXPECT_EQ(p.model.SlaveLineProtocol, kProtocolModbus);
    EXPECT_EQ(p.tree.findCode(106), nullptr);

    f.addSlaves(1);
    EXPECT_EQ(p.model.Slaves[1].Name, "Имя ведомого 2");
    EXPECT_EQ(p.tree.findCode(106)->text, "Имя ведомого 2 (Vextor ведомый 2)");

    for (int code : {100, 106, 112}) {
        f.dialogs.yesNo.push_back(true);
        p.deleteDevice(code);
    }
    EXPECT_EQ(p.model.SlaveCount, 0);
    EXPECT_EQ(p.model.SlaveLineProtocol, kProtocolZarnet);
    EXPECT_EQ(p.model.Slaves[2].MbParams, 1) << "the last slave takes its default line byte";
    EXPECT_EQ(p.tree.findCode(8), nullptr) << "no slave line without slaves";
}

TEST(ProjectModel, DeletingTheMarkedDeviceDropsMarkAndLink) {
    struct Case {
        int deviceCode;
        QString question;
    } cases[] = {
        {2, "Удалить Имя мастера 1 (Vextor Мастер) ?"},
        {100, "Удалить Имя ведомого 1 ?"},
        {506, "Удалить Имя одиночного 2 ?"},
    };
    for (const Case& c : cases) {
        ProjectFixture f;
        Project& p = f.project;
        f.addMaster();
        f.addSlaves(1);
        f.addSingles(2);
        int focused = 0;
        p.hooks.focusTree = [&] { ++focused; };
        p.MarkCode = c.deviceCode;
        p.LinkUp = true;
        const auto d = decodeNodeCode(c.deviceCode)->device;
        p.model.fileState(d, FileRole::Config) = kFileMissingBit;

        f.dialogs.yesNo.push_back(false);
        p.deleteDevice(c.deviceCode);
        EXPECT_EQ(p.MarkCode, c.deviceCode);
        EXPECT_NE(p.tree.findCode(c.deviceCode), nullptr);

        f.dialogs.yesNo.push_back(true);
        p.deleteDevice(c.deviceCode);
        EXPECT_EQ(f.dialogs.shown.back(), c.question);
        EXPECT_EQ(p.MarkCode, 0);
        EXPECT_FALSE(p.LinkUp);
        EXPECT_EQ(focused, 1);
        EXPECT_EQ(p.tree.findCode(c.deviceCode), nullptr);
        EXPECT_EQ(p.model.record(d), slotDefaults(d.kind, d.slot));
        EXPECT_EQ(p.model.fileState(d, FileRole::Config), 0u) << "a new device in this slot starts clean";
    }
}

TEST(ProjectModel, Renaming) {
    ProjectFixture f;
    Project& p = f.project;
    f.addMaster();
    f.addSlaves(2);

    ASSERT_TRUE(p.startRename(106));
    EXPECT_TRUE(p.tree.editing);
    EXPECT_TRUE(p.finishRename(106, "  Насос (Vextor ведомый 2)"));
    EXPECT_FALSE(p.tree.editing);
    EXPECT_EQ(p.model.Slaves[1].Name, "  Насос (Vextor ведомый 2)") << "stored as typed, suffix included";
    EXPECT_EQ(p.tree.findCode(106)->text, "  Насос (Vextor ведомый 2) (Vextor ведомый 2)");

    // Names the project file could not hold are refused, and so is an empty one, which would make the
    // slot look free; the old name stays.
    for (const QString& bad :
         {QStringLiteral("Pump 日本"), QStringLiteral("two\nlines"), QString(), QStringLiteral("   ")}) {
        EXPECT_FALSE(p.finishRename(106, bad));
        EXPECT_EQ(f.dialogs.shown.back(), t::kBadNameChars);
        EXPECT_EQ(p.model.Slaves[1].Name, "  Насос (Vextor ведомый 2)");
    }
    EXPECT_FALSE(p.startRename(4)) << "only device nodes are renamed";
}

TEST(ProjectModel, MarkQuestionsAndActiveLink) {
    ProjectFixture f;
    Project& p = f.project;
    f.addMaster();
    f.addSlaves(1);
    f.addSingles(14);
    p.model.SlaveLineProtocol = kProtocolModbus;
    p.model.Slaves[0].ZarnetAddress = 40;
    p.model.Slaves[0].ModbusAddress = 41;
    p.model.Slaves[0].MbParams = 0x12;
    p.model.Singles[13].Protocol = kProtocolModbus;
    p.model.Singles[13].ModbusAddress = 77;
    p.ApplyMarkedLink(); // nothing is marked: nothing changes
    EXPECT_EQ(p.activeZarnetAddress(), 3);

    TreeNode* slave = p.tree.findCode(100);
    f.dialogs.yesNo.push_back(false);
    p.activateNode(slave);
    EXPECT_EQ(f.dialogs.shown.back(),
              "Установить метку на прибор  \"Имя ведомого 1 (Vextor ведомый 1)\" ?    ");
    EXPECT_EQ(p.MarkCode, 0);

    f.dialogs.yesNo.push_back(true);
    p.activateNode(slave);
    EXPECT_EQ(p.MarkCode, 100);
    EXPECT_TRUE(slave->marked);
    EXPECT_EQ(p.model.ActiveProtocol, kProtocolModbus);
    EXPECT_EQ(p.activeZarnetAddress(), 40);
    EXPECT_EQ(p.activeModbusAddress(), 41);
    EXPECT_EQ(p.activeMbParams(), 0x12);

    // Marking another device moves the mark; single 14's settings never come from single 15.
    TreeNode* single14 = p.tree.findCode(578);
    f.dialogs.yesNo.push_back(true);
    p.activateNode(single14);
    EXPECT_FALSE(slave->marked);
    EXPECT_TRUE(single14->marked);
    EXPECT_EQ(p.activeModbusAddress(), 77);
    EXPECT_EQ(p.model.ActiveProtocol, kProtocolModbus);
    EXPECT_EQ(p.recordOfDeviceIndex(25), &p.model.Singles[13]);

    p.LinkUp = true;
    f.dialogs.yesNo.push_back(true);
    p.activateNode(single14);
    EXPECT_EQ(f.dialogs.shown.back(),
              "Снять метку с прибора  \"Имя одиночного 14 (Vextor одиночный 14)\" ?    ");
    EXPECT_EQ(p.MarkCode, 0);
    EXPECT_FALSE(p.LinkUp);
    EXPECT_FALSE(single14->marked);
}

} // namespace
} // namespace vextor
