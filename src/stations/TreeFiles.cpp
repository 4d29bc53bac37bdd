#include "stations/TreeFiles.h"

#include "app/GlobalUnit.h"
#include "appearance/LanguageU.h"
#include "stations/RadioTreeViewU.h"
#include "stations/TreeFileFormat.h"

#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace {

constexpr int ManualUpdateMessage = 145; // "Manually update data"

class TWaitCursor {
public:
    TWaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor &) = delete;
    TWaitCursor &operator=(const TWaitCursor &) = delete;
};

} // namespace

TTreeFiles::TTreeFiles(TRadioTreeView &tree) : tree_(tree)
{
    expandConnection_ = QObject::connect(&tree, &QTreeWidget::itemExpanded, &tree, [this](QTreeWidgetItem *item) {
        if (!item->parent())
            LoadGroup(item);
    });
}

TTreeFiles::~TTreeFiles() { QObject::disconnect(expandConnection_); }

void TTreeFiles::MigrateTreeFile() { ::MigrateTreeFile(DataPath()); }

std::string TTreeFiles::DataFolder() const { return loadedFrom_.empty() ? DataPath() : loadedFrom_; }

void TTreeFiles::LoadTree()
{
    loadedFrom_ = DataPath();
    std::vector<std::string> lines;
    ReadTextLines(SystemGroupListName(loadedFrom_), lines);
    ReadTextLines(UserGroupListName(loadedFrom_), lines);
    if (CurLng() == "chs")
        lines.push_back("11/-1/" + std::to_string(ManualUpdateGroupKind) + "/" + Msg(ManualUpdateMessage) + "=");
    tree_.LoadGroupList(lines);
}

int TTreeFiles::ReloadTree(int rootIndex, int nodeIndex, TRadioTreeNode **playing)
{
    if (playing)
        *playing = nullptr;
    LoadTree();
    if (QTreeWidgetItem *root = tree_.NodeAt(rootIndex))
        LoadGroup(root);
    if (TRadioTreeNode *node = tree_.NodeAt(nodeIndex); node && TRadioTreeView::IsStation(node)) {
        tree_.setCurrentItem(node);
        node->setExpanded(true);
        tree_.scrollToItem(node);
        if (playing)
            *playing = node;
    }
    const int count = tree_.NodeCount();
    tree_.setEnabled(count > 0);
    return count;
}

std::string TTreeFiles::GroupFileName(QTreeWidgetItem *group) const
{
    std::string name;
    TRadioTreeView::GroupKindOf(group, &name);
    return GroupFilePath(DataFolder(), name);
}

void TTreeFiles::LoadGroup(QTreeWidgetItem *item)
{
    TRadioTreeNode *group = TRadioTreeView::RootOf(item);
    if (!group || TRadioTreeView::IsLoaded(group))
        return;
    const std::string fileName = GroupFileName(group);
    if (!fileName.empty() && access(fileName.c_str(), F_OK) == 0) {
        TWaitCursor wait;
        tree_.LoadSubtreeFile(fileName, group);
    }
    group->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
    MenuRebuild = true;
}

void TTreeFiles::LoadAllGroups()
{
    for (int i = 0; i < tree_.topLevelItemCount(); ++i)
        LoadGroup(tree_.topLevelItem(i));
}

void TTreeFiles::SaveGroupLists()
{
    const std::string dataPath = DataFolder();
    std::vector<std::string> lines, systemLines, userLines;
    tree_.SaveGroupList(lines);
    SplitGroupLists(lines, systemLines, userLines);
    WriteTextLines(SystemGroupListName(dataPath), systemLines);
    WriteTextLines(UserGroupListName(dataPath), userLines);
}

bool TTreeFiles::SaveGroupFile(QTreeWidgetItem *group)
{
    if (!group || group->parent() || !TRadioTreeView::IsLoaded(group))
        return false;
    const int kind = TRadioTreeView::GroupKindOf(group);
    if (IsLockedGroupKind(kind) || kind == ManualUpdateGroupKind)
        return false;
    const std::string fileName = GroupFileName(group);
    return !fileName.empty() && tree_.SaveSubtreeFile(fileName, group);
}

void TTreeFiles::SaveTree()
{
    if (Changed) {
        SaveGroupLists();
        const std::string dataPath = DataFolder();
        std::vector<std::string> inUse;
        for (int i = 0; i < tree_.topLevelItemCount(); ++i)
            inUse.push_back(GroupFileName(tree_.topLevelItem(i)));
        for (const auto &name : FilesToDelete) {
            // Another group may still name the same file.
            const std::string path = GroupFilePath(dataPath, name);
            if (!path.empty() && std::find(inUse.begin(), inUse.end(), path) == inUse.end())
                std::remove(path.c_str());
        }
        FilesToDelete.clear();
    }
    for (int i = 0; i < tree_.topLevelItemCount(); ++i) {
        QTreeWidgetItem *group = tree_.topLevelItem(i);
        const int kind = TRadioTreeView::GroupKindOf(group);
        if ((kind == RecentGroupKind && RecentChanged) || (kind == FavoritesGroupKind && FavoritesChanged) || Changed)
            SaveGroupFile(group); // write errors leave the old file; nothing to tell the user
    }
    Changed = false;
    RecentChanged = false;
    FavoritesChanged = false;
}

void TTreeFiles::DeleteNode(QTreeWidgetItem *node)
{
    if (!node)
        return;
    if (!node->parent()) {
        std::string name;
        TRadioTreeView::GroupKindOf(node, &name);
        if (!name.empty())
            FilesToDelete.push_back(name);
    }
    delete node;
    Changed = true;
}

std::string TTreeFiles::NewUserGroupFileName() const
{
    std::vector<std::string> taken;
    for (int i = 0; i < tree_.topLevelItemCount(); ++i) {
        std::string name;
        TRadioTreeView::GroupKindOf(tree_.topLevelItem(i), &name);
        taken.push_back(std::move(name));
    }
    return ::NewUserGroupFileName(taken);
}

TTreePosition TTreeFiles::RootIndexOf(QTreeWidgetItem *playing)
{
    TTreePosition position;
    TRadioTreeNode *root = TRadioTreeView::RootOf(playing);
    if (!root)
        return position;
    position.RootIndex = root->treeWidget() ? root->treeWidget()->indexOfTopLevelItem(root) : 0;
    // A group itself playing maps to its own place, not to its first child.
    position.NodeIndex = position.RootIndex;
    if (playing == root)
        return position;
    ForEachDescendant(root, [&](const QTreeWidgetItem *child, int) {
        ++position.NodeIndex;
        return child != playing;
    });
    return position;
}
