#include "Project.h"

#include "ProjectFile.h"
#include "ProjectPaths.h"
#include "link/Cp1251.h"
#include "texts.h"

#include <QFileInfo>

namespace vextor {

namespace t = project_texts;
using namespace node_code;

Project::Project(UserDialogs& dialogs, ProjectLog* log, QString programDir)
    : dialogs_(dialogs), log_(log), programDir_(std::move(programDir)) {
    model.ProjectPath = defaultProjectPath();
    markSaved();
}

QString Project::defaultProjectPath() const {
    return joinPath(joinPath(programDir_, t::kDefaultProjectDir), t::kDefaultProjectFile);
}

bool Project::ask(const QString& question) {
    return dialogs_.askYesNo(question, t::kCaption);
}

void Project::logLine(const QString& line) {
    if (log_)
        log_->addLine(line);
}

void Project::logAction(const QString& action, const QString& path) {
    logLine(logActionLine(now(), action, path));
}

bool Project::exists(const QString& path) const {
    return hooks.fileExists ? hooks.fileExists(path) : QFileInfo(path).isFile();
}

// ---------------------------------------------------------------- model

void Project::ResetProject() {
    const QString path = defaultProjectPath();
    model = ProjectModel{};
    model.ProjectPath = path;
    call(hooks.reset);
    setActiveLink(model.ActiveZarnetAddress, model.ActiveModbusAddress, model.ActiveMbParams);
    tree.clear();
    tree.addTopLevel(fileNamePart(model.ProjectPath), kRoot)->expanded = true;
    repaintTree();
    markSaved();
}

uint8_t Project::activeZarnetAddress() const {
    uint8_t z = model.ActiveZarnetAddress, m = model.ActiveModbusAddress, p = model.ActiveMbParams;
    if (activeLink)
        activeLink->load(z, m, p);
    return z;
}

uint8_t Project::activeModbusAddress() const {
    uint8_t z = model.ActiveZarnetAddress, m = model.ActiveModbusAddress, p = model.ActiveMbParams;
    if (activeLink)
        activeLink->load(z, m, p);
    return m;
}

uint8_t Project::activeMbParams() const {
    uint8_t z = model.ActiveZarnetAddress, m = model.ActiveModbusAddress, p = model.ActiveMbParams;
    if (activeLink)
        activeLink->load(z, m, p);
    return p;
}

void Project::setActiveLink(uint8_t zarnetAddress, uint8_t modbusAddress, uint8_t mbParams) {
    model.ActiveZarnetAddress = zarnetAddress;
    model.ActiveModbusAddress = modbusAddress;
    model.ActiveMbParams = mbParams;
    if (activeLink)
        activeLink->store(zarnetAddress, modbusAddress, mbParams);
}

std::optional<DeviceSlot> Project::markedDevice() const {
    const auto ref = decodeNodeCode(MarkCode);
    if (!ref || ref->role != NodeRole::Device)
        return std::nullopt;
    return ref->device;
}

int Project::markedNodeCode(NodeRole role) const {
    const auto d = markedDevice();
    return d ? nodeCode(*d, role) : -1;
}

DeviceRecord* Project::recordOfDeviceIndex(int deviceIndex) {
    const auto d = deviceOfIndex(deviceIndex);
    return d ? &model.record(*d) : nullptr;
}

void Project::ApplyMarkedLink() {
    const auto d = markedDevice();
    if (!d)
        return;
    const DeviceRecord& r = model.record(*d);
    model.ActiveProtocol = model.protocolOf(*d);
    setActiveLink(r.ZarnetAddress, r.ModbusAddress, r.MbParams);
}

void Project::resetSlot(DeviceSlot d) {
    DeviceRecord& r = model.record(d);
    const uint8_t keptMbParams = r.MbParams;
    r = slotDefaults(d.kind, d.slot);
    // A slave leaves its line byte behind unless it was the last one on the line.
    if (d.kind == DeviceKind::Slave && model.SlaveCount != 0)
        r.MbParams = keptMbParams;
    // Check results of the old device must not colour the slot's next occupant red.
    model.FileState.at(fileStateRowOf(d) - 1) = FileStateRow{};
}

// ---------------------------------------------------------------- adding, deleting, renaming

void Project::addMaster() {
    if (!ask(t::kAskAddMaster))
        return;
    if (++model.MasterCount > kMaxMasters) {
        model.MasterCount = kMaxMasters;
        dialogs_.message(t::kLimitHead + QString::number(kMaxMasters) + t::kLimitMasterTail);
    }
    RebuildTree();
    CollapseToDevices();
}

void Project::addSlave() {
    if (!ask(t::kAskAddSlave))
        return;
    if (++model.SlaveCount > kMaxSlaves) {
        model.SlaveCount = kMaxSlaves;
        dialogs_.message(t::kLimitHead + QString::number(kMaxSlaves) + t::kLimitSlaveTail);
    } else {
        for (int i = 1; i <= kMaxSlaves; ++i) {
            DeviceRecord& r = model.record({DeviceKind::Slave, i});
            if (r.Name.isEmpty()) {
                r.Name = t::kDefaultSlaveName + QString::number(i);
                break;
            }
        }
    }
    RebuildTree();
    CollapseToDevices();
}

void Project::addSingle() {
    if (!ask(t::kAskAddSingle))
        return;
    if (++model.SingleCount > kMaxSingles) {
        model.SingleCount = kMaxSingles;
        dialogs_.message(t::kLimitHead + QString::number(kMaxSingles) + t::kLimitSingleTail);
    } else {
        for (int j = 1; j <= kMaxSingles; ++j) {
            DeviceRecord& r = model.record({DeviceKind::Single, j});
            if (r.Name.isEmpty()) {
                r.Name = t::kDefaultSingleName + QString::number(j);
                break;
            }
        }
    }
    RebuildTree();
    CollapseToDevices();
}

void Project::deleteDevice(int tag) {
    const auto ref = decodeNodeCode(tag);
    if (!ref || ref->role != NodeRole::Device)
        return;
    const DeviceSlot d = ref->device;
    const QString name = model.record(d).Name;
    const QString question = d.kind == DeviceKind::Master
                                 ? t::kAskDeleteHead + name + " " + t::kMasterSuffix + t::kAskDeleteTail
                                 : t::kAskDeleteHead + name + t::kAskDeleteTail;
    if (!ask(question))
        return;
    if (MarkCode == tag)
        ClearMark();
    switch (d.kind) {
    case DeviceKind::Master:
        model.MasterCount = 0;
        break;
    case DeviceKind::Slave:
        if (model.SlaveCount > 0)
            --model.SlaveCount;
        if (model.SlaveCount == 0)
            model.SlaveLineProtocol = kProtocolZarnet;
        break;
    case DeviceKind::Single:
        if (model.SingleCount > 0)
            --model.SingleCount;
        break;
    }
    resetSlot(d);
    RebuildTree();
    CollapseToDevices();
}

bool Project::startRename(int tag) {
    const auto ref = decodeNodeCode(tag);
    if (!ref || ref->role != NodeRole::Device || !tree.findCode(tag))
        return false;
    tree.editing = true;
    tree.editingCode = tag;
    return true;
}

bool Project::finishRename(int code, const QString& text) {
    tree.editing = false;
    tree.editingCode = 0;
    const auto ref = decodeNodeCode(code);
    if (!ref || ref->role != NodeRole::Device)
        return false;
    // An empty name would leave the slot looking free in the project file: refused like one the code
    // page cannot hold.
    if (text.trimmed().isEmpty() || text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')) ||
        !fitsCp1251(text)) {
        dialogs_.message(t::kBadNameChars);
        return false;
    }
    model.record(ref->device).Name = text;
    if (TreeNode* node = tree.findCode(code))
        node->text = text + " " + kindSuffix(ref->device.kind, ref->device.slot);
    return true;
}

// ---------------------------------------------------------------- tree

void Project::setRootText() {
    if (TreeNode* r = tree.root())
        r->text = fileNamePart(model.ProjectPath);
}

void Project::RebuildTree() {
    tree.clear();
    TreeNode* root = tree.addTopLevel(fileNamePart(model.ProjectPath), kRoot);
    auto addDeviceChildren = [this](TreeNode* device, DeviceSlot d) {
        const DeviceRecord& r = model.record(d);
        device->addChild(t::kLinkNode, nodeCode(d, NodeRole::Link));
        device->addChild(t::kConfigGroup, kGroup)
            ->addChild(fileNamePart(r.ConfigFile), nodeCode(d, NodeRole::ConfigFile));
        device->addChild(t::kEventsGroup, kGroup)
            ->addChild(fileNamePart(r.EventsFile), nodeCode(d, NodeRole::EventsFile));
    };
    // A group that comes after another goes to the top level, next to the root.
    auto addGroupNode = [this, root](const QString& text, int code) {
        return tree.holdsOnlyRoot() ? root->addChild(text, code) : tree.addTopLevel(text, code);
    };

    if (model.MasterCount == 1) {
        const DeviceSlot master{DeviceKind::Master, 0};
        if (model.Master.Name.isEmpty())
            model.Master.Name = model.displayName(master);
        TreeNode* node = root->addChild(model.Master.Name + " " + t::kMasterSuffix, kMasterDevice);
        addDeviceChildren(node, master);
    }
    if (model.SlaveCount != 0) {
        TreeNode* line = addGroupNode(t::kSlaveLine, kSlaveLine);
        line->addChild(t::kLinkNode, kSlaveLineLink);
        for (int i = 1; i <= kMaxSlaves; ++i) {
            const DeviceSlot d{DeviceKind::Slave, i};
            if (model.record(d).Name.isEmpty())
                continue;
            TreeNode* node =
                line->addChild(model.record(d).Name + " " + kindSuffix(d.kind, i), deviceNodeCode(d));
            addDeviceChildren(node, d);
        }
    }
    if (model.SingleCount != 0) {
        for (int j = 1; j <= kMaxSingles; ++j) {
            const DeviceSlot d{DeviceKind::Single, j};
            if (model.record(d).Name.isEmpty())
                continue;
            TreeNode* node =
                addGroupNode(model.record(d).Name + " " + kindSuffix(d.kind, j), deviceNodeCode(d));
            addDeviceChildren(node, d);
        }
    }
    repaintTree();
}

void Project::markTreeNodes() {
    tree.forEach([this](TreeNode& n) { n.marked = MarkCode != 0 && n.code == MarkCode; });
}

void Project::repaintTree() {
    markTreeNodes();
    tree.forEach([this](TreeNode& n) {
        const auto ref = decodeNodeCode(n.code);
        const bool isFile = ref && isFileRole(ref->role);
        n.bold = n.code == kRoot || (ref && ref->role == NodeRole::Device);
        n.underline = n.code == kRoot || isFile;
        n.red = isFile && model.fileState(ref->device, fileRoleOf(ref->role)) != 0;
    });
}

void Project::ClearMark() {
    MarkCode = 0;
    LinkUp = false;
    markTreeNodes();
    call(hooks.focusTree);
}

void Project::activateNode(TreeNode* node) {
    if (!node)
        return;
    node->expanded = !node->expanded;
    const auto ref = decodeNodeCode(node->code);
    if (ref && ref->role == NodeRole::Device) {
        const QString quoted = QLatin1Char('"') + node->text + QLatin1Char('"');
        if (!node->marked) {
            if (!ask(t::kAskMarkHead + quoted + t::kAskMarkTail)) {
                call(hooks.focusTree);
                return;
            }
            MarkCode = node->code;
            markTreeNodes();
            ApplyMarkedLink();
            call(hooks.focusTree);
        } else {
            if (!ask(t::kAskUnmarkHead + quoted + t::kAskMarkTail)) {
                call(hooks.focusTree);
                return;
            }
            ClearMark();
        }
    }
    if (node->text == t::kLinkNode) {
        if (const auto index = deviceIndexOfLinkNode(node->code))
            call(hooks.request, TreeRequest{MenuAction::OpenLinkSettings, node->code, {}, *index});
    }
    if (ref && ref->role == NodeRole::ConfigFile)
        call(hooks.request,
             TreeRequest{MenuAction::ShowConfigFile, node->code, model.record(ref->device).ConfigFile, -1});
    if (ref && ref->role == NodeRole::EventsFile)
        call(hooks.request,
             TreeRequest{MenuAction::ShowEventsFile, node->code, model.record(ref->device).EventsFile, -1});
}

std::vector<MenuItem> Project::popupItems(const TreeNode* selected) const {
    std::vector<MenuItem> items;
    if (!selected)
        return items;
    const int code = selected->code;
    if (code == kRoot) {
        items = {{t::kMenuAddMaster, MenuAction::AddMaster, code},
                 {t::kMenuAddSlave, MenuAction::AddSlave, code},
                 {t::kMenuAddSingle, MenuAction::AddSingle, code}};
        return items;
    }
    const auto ref = decodeNodeCode(code);
    if (!ref)
        return items;
    switch (ref->role) {
    case NodeRole::Device:
        items = {{t::kMenuRename, MenuAction::Rename, code}, {t::kMenuDelete, MenuAction::Delete, code}};
        break;
    case NodeRole::ConfigFile:
        if (LinkUp && code == markedNodeCode(NodeRole::ConfigFile)) {
            items.push_back({t::kMenuReadFromDevice, MenuAction::ReadConfigFromDevice, code});
            items.push_back({t::kMenuWriteToDevice, MenuAction::WriteConfigToDevice, code});
        }
        items.push_back({t::kMenuOpenFile, MenuAction::OpenConfigFile, code});
        items.push_back({t::kMenuSaveFileAs, MenuAction::SaveConfigFileAs, code});
        items.push_back({t::kMenuCompareFile, MenuAction::CompareConfigFile, code});
        break;
    case NodeRole::EventsFile:
        if (LinkUp && code == markedNodeCode(NodeRole::EventsFile))
            items.push_back({t::kMenuReadFromDevice, MenuAction::ReadEventsFromDevice, code});
        items.push_back({t::kMenuOpenFile, MenuAction::OpenEventsFile, code});
        break;
    case NodeRole::Link:
    case NodeRole::VisualFile:
        break;
    }
    return items;
}

void Project::runMenuItem(const MenuItem& item) {
    switch (item.action) {
    case MenuAction::AddMaster:
        return addMaster();
    case MenuAction::AddSlave:
        return addSlave();
    case MenuAction::AddSingle:
        return addSingle();
    case MenuAction::Rename:
        startRename(item.tag);
        return;
    case MenuAction::Delete:
        return deleteDevice(item.tag);
    case MenuAction::ReadConfigFromDevice:
    case MenuAction::WriteConfigToDevice:
    case MenuAction::OpenConfigFile:
    case MenuAction::SaveConfigFileAs:
    case MenuAction::CompareConfigFile:
    case MenuAction::ReadEventsFromDevice:
    case MenuAction::OpenEventsFile:
    case MenuAction::ShowConfigFile:
    case MenuAction::ShowEventsFile:
    case MenuAction::OpenLinkSettings:
        return call(hooks.request, TreeRequest{item.action, item.tag, {}, -1});
    }
}

const QStringList& Project::filterItems() {
    static const QStringList items{t::kFilterAll, t::kFilterDevices, t::kFilterProblems, t::kFilterCheckPaths,
                                   QString()};
    return items;
}

void Project::applyFilter(int index) {
    switch (static_cast<FilterItem>(index)) {
    case FilterItem::ShowAll:
        tree.expandAll();
        break;
    case FilterItem::ShowDevices:
        CollapseToDevices();
        break;
    case FilterItem::ShowProblems: {
        CollapseToDevices();
        bool any = false;
        forEachSlot([&](DeviceSlot d) {
            for (FileRole role : {FileRole::Config, FileRole::Events, FileRole::Visual}) {
                if (model.fileState(d, role) != 0) {
                    any = true;
                    ExpandToFile(nodeCode(d, nodeRoleOf(role)));
                }
            }
        });
        if (!any)
            dialogs_.message(t::kNoProblems);
        break;
    }
    case FilterItem::CheckPaths:
        if (!CheckProjectPaths())
            dialogs_.message(t::kNoMissingPaths);
        break;
    case FilterItem::Nothing:
        break;
    }
}

} // namespace vextor
