#include "stations/TreeCommands.h"

#include "stations/RadioTreeViewU.h"
#include "stations/TreeFileFormat.h"

#include <QMenu>
#include <QScrollBar>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr int MaxRecentCount = 100;
constexpr int EditableKindLow = -99, EditableKindHigh = -51;
const char *const MenuGenerationProperty = "orvaneTreeGeneration";

int RootKind(const QTreeWidgetItem *item)
{
    return TRadioTreeView::GroupKindOf(TRadioTreeView::RootOf(const_cast<QTreeWidgetItem *>(item)));
}

// Nodes nobody may put anything into: locked groups and the manual update
// node, which is never saved.
bool IsClosedNode(const QTreeWidgetItem *item)
{
    return IsLockedNode(item) || RootKind(item) == ManualUpdateGroupKind;
}

bool IsSubgroup(const QTreeWidgetItem *item) { return item->parent() && !TRadioTreeView::IsStation(item); }

// A group's top-level ancestor holds group data; every other group has a
// place below the top level.
TRadioTreeNode *CopyOfNode(const QTreeWidgetItem *item)
{
    const TRadioTreeNode *node = TRadioTreeView::Node(item);
    return new TRadioTreeNode(node->Caption(), node->ImageIndex(), node->StateIndex(), node->Number());
}

const std::string &CaptionOf(const QTreeWidgetItem *item) { return TRadioTreeView::Node(item)->Caption(); }

QTreeWidgetItem *ChildWith(const QTreeWidgetItem *parent, int number, const std::string &caption)
{
    for (int i = 0; i < parent->childCount(); ++i) {
        const TRadioTreeNode *child = TRadioTreeView::Node(parent->child(i));
        if (child->Number() == number && child->Caption() == caption)
            return parent->child(i);
    }
    return nullptr;
}

void ExpandParents(QTreeWidgetItem *item)
{
    for (QTreeWidgetItem *p = item ? item->parent() : nullptr; p; p = p->parent())
        p->setExpanded(true);
}

std::vector<QTreeWidgetItem *> Descendants(QTreeWidgetItem *node)
{
    std::vector<QTreeWidgetItem *> list;
    ForEachDescendant(node, [&](const QTreeWidgetItem *child, int) {
        list.push_back(const_cast<QTreeWidgetItem *>(child));
        return true;
    });
    return list;
}

// Top-level groups never carry "=" in their captions: the group list would
// read the rest as the group's file name.
std::string GroupCaption(std::string name, bool topLevel)
{
    if (topLevel)
        std::replace(name.begin(), name.end(), '=', ' ');
    return name;
}

} // namespace

bool IsLockedNode(const QTreeWidgetItem *item) { return item && IsLockedGroupKind(RootKind(item)); }

bool IsEditableNode(const QTreeWidgetItem *item)
{
    if (!item)
        return false;
    const int kind = RootKind(item);
    return IsUserGroupKind(kind) || (item->parent() && kind >= EditableKindLow && kind <= EditableKindHigh);
}

bool IsInSubtree(const QTreeWidgetItem *item, const QTreeWidgetItem *ancestor)
{
    for (const QTreeWidgetItem *p = item; p && ancestor; p = p->parent())
        if (p == ancestor)
            return true;
    return false;
}

TTreeCommands::TTreeCommands(TRadioTreeView &tree) : tree_(tree), files_(tree) {}

void TTreeCommands::MarkChanged()
{
    files_.Changed = true;
    ++generation_;
}

// --- Node bookkeeping ------------------------------------------------------------

void TTreeCommands::SetPlayingColor(const QColor &color)
{
    playingColor_ = color;
    SetPlaying(playing_);
}

void TTreeCommands::SetPlaying(QTreeWidgetItem *item)
{
    if (playing_)
        playing_->setData(0, Qt::ForegroundRole, QVariant());
    playing_ = item;
    if (playing_)
        playing_->setData(0, Qt::ForegroundRole, playingColor_);
}

void TTreeCommands::ForgetNodesIn(QTreeWidgetItem *item)
{
    for (QTreeWidgetItem **held : {&playing_, &copied_, &found_})
        if (IsInSubtree(*held, item))
            *held = nullptr;
}

void TTreeCommands::DeleteForgetting(QTreeWidgetItem *item)
{
    ForgetNodesIn(item);
    files_.DeleteNode(item);
    ++generation_;
}

int TTreeCommands::ReloadTree(int rootIndex, int nodeIndex)
{
    playing_ = copied_ = found_ = nullptr;
    cutMark_ = false;
    TRadioTreeNode *playing = nullptr;
    const int count = files_.ReloadTree(rootIndex, nodeIndex, &playing);
    SetPlaying(playing);
    ++generation_;
    return count;
}

// --- Walking ------------------------------------------------------------------------

QTreeWidgetItem *TTreeCommands::NextNode(QTreeWidgetItem *item, bool loadGroups)
{
    if (loadGroups && !item->parent())
        files_.LoadGroup(item);
    if (item->childCount() > 0)
        return item->child(0);
    for (QTreeWidgetItem *p = item; p; p = p->parent()) {
        QTreeWidgetItem *parent = p->parent();
        const int next = (parent ? parent->indexOfChild(p) : tree_.indexOfTopLevelItem(p)) + 1;
        if (next < (parent ? parent->childCount() : tree_.topLevelItemCount()))
            return parent ? parent->child(next) : tree_.topLevelItem(next);
    }
    return nullptr;
}

QTreeWidgetItem *TTreeCommands::PrevNode(QTreeWidgetItem *item, bool loadGroups)
{
    QTreeWidgetItem *parent = item->parent();
    const int index = parent ? parent->indexOfChild(item) : tree_.indexOfTopLevelItem(item);
    if (index == 0)
        return parent;
    QTreeWidgetItem *node = parent ? parent->child(index - 1) : tree_.topLevelItem(index - 1);
    if (loadGroups && !node->parent())
        files_.LoadGroup(node);
    while (node->childCount() > 0)
        node = node->child(node->childCount() - 1);
    return node;
}

QTreeWidgetItem *TTreeCommands::LastNode(bool loadGroups)
{
    const int count = tree_.topLevelItemCount();
    if (count == 0)
        return nullptr;
    QTreeWidgetItem *node = tree_.topLevelItem(count - 1);
    if (loadGroups)
        files_.LoadGroup(node);
    while (node->childCount() > 0)
        node = node->child(node->childCount() - 1);
    return node;
}

// --- Playing --------------------------------------------------------------------------

int TTreeCommands::PlayStation(TPlayMode mode)
{
    if (tree_.topLevelItemCount() == 0)
        return 0;
    QTreeWidgetItem *candidate = nullptr;
    auto openGroup = [&](QTreeWidgetItem *group) {
        files_.LoadGroup(group);
        group->setExpanded(true);
    };
    if (mode == pmSelected) {
        candidate = tree_.currentItem();
    } else if (mode == pmNext) {
        QTreeWidgetItem *start;
        if (!playing_ || playing_ == LastNode(false)) {
            start = tree_.topLevelItem(0);
            tree_.scrollToTop();
        } else if (TRadioTreeView::IsStation(playing_)) {
            start = NextNode(playing_, true);
        } else {
            openGroup(playing_);
            start = playing_;
        }
        for (QTreeWidgetItem *n = start; n && !candidate; n = NextNode(n, true)) {
            if (TRadioTreeView::IsStation(n))
                candidate = n;
            else
                openGroup(n);
        }
    } else {
        QTreeWidgetItem *start;
        if (playing_ && playing_ != tree_.topLevelItem(0)) {
            if (TRadioTreeView::IsStation(playing_)) {
                start = PrevNode(playing_, true);
            } else {
                openGroup(playing_);
                start = playing_;
            }
        } else {
            start = LastNode(true);
            ExpandParents(start);
            tree_.scrollToBottom();
        }
        for (QTreeWidgetItem *n = start; n && !candidate; n = PrevNode(n, true)) {
            if (TRadioTreeView::IsStation(n)) {
                candidate = n;
            } else {
                openGroup(n);
                tree_.verticalScrollBar()->setValue(tree_.verticalScrollBar()->value() - 1);
            }
        }
    }
    SetPlaying(candidate);
    if (!candidate || !TRadioTreeView::IsStation(candidate))
        return 0;
    ExpandParents(candidate);
    ScrollToPlaying();
    AddRecent(candidate);
    return TRadioTreeView::StationIdOf(candidate);
}

void TTreeCommands::ScrollToPlaying()
{
    const QRect row = tree_.visualItemRect(playing_);
    if (!tree_.viewport()->rect().contains(row))
        tree_.scrollToItem(playing_, QAbstractItemView::PositionAtCenter);
}

void TTreeCommands::AddRecent(QTreeWidgetItem *station)
{
    QTreeWidgetItem *recent = nullptr;
    for (int i = 0; i < tree_.topLevelItemCount() && !recent; ++i)
        if (TRadioTreeView::GroupKindOf(tree_.topLevelItem(i)) == RecentGroupKind)
            recent = tree_.topLevelItem(i);
    if (!recent || TRadioTreeView::RootOf(station) == recent)
        return;
    // Loaded first, so that the newest is first and no station is listed twice
    // whether or not the group was opened before.
    files_.LoadGroup(recent);
    const int id = TRadioTreeView::StationIdOf(station);
    auto remove = [this](QTreeWidgetItem *item) {
        ForgetNodesIn(item);
        delete item;
    };
    for (int i = recent->childCount() - 1; i >= 0; --i)
        if (TRadioTreeView::IsStation(recent->child(i)) && TRadioTreeView::StationIdOf(recent->child(i)) == id)
            remove(recent->child(i));
    TRadioTreeNode *node = CopyOfNode(station);
    recent->insertChild(0, node);
    while (recent->childCount() > MaxRecentCount)
        remove(recent->child(recent->childCount() - 1));
    files_.RecentChanged = true;
    ++generation_;
}

// --- Copy, cut, paste, merge, move ---------------------------------------------

QTreeWidgetItem *TTreeCommands::NewGroupOrSubgroup(QTreeWidgetItem *parent, int index, const std::string &caption,
                                                   int image, int number)
{
    QTreeWidgetItem *node;
    if (parent) {
        node = new TRadioTreeNode(GroupCaption(caption, false), image, -1, number);
        parent->insertChild(index, node);
    } else {
        node = new TRadioGroupNode(GroupCaption(caption, true), tree_.NextTopLevelImageIndex(), -1,
                                   std::to_string(NewUserGroupKind) + "," + files_.NewUserGroupFileName());
        tree_.insertTopLevelItem(index, node);
    }
    return node;
}

QTreeWidgetItem *TTreeCommands::CopySubtree(QTreeWidgetItem *source, QTreeWidgetItem *target)
{
    if (!source || (target && target != source && IsInSubtree(target, source)))
        return nullptr;
    if (target == source && source->isExpanded())
        return nullptr;
    files_.LoadGroup(source);
    if (target)
        files_.LoadGroup(target);
    if (target == source && source->childCount() == 0)
        return nullptr;

    QTreeWidgetItem *parent = nullptr;
    int index = tree_.topLevelItemCount();
    auto before = [&](QTreeWidgetItem *t) {
        parent = t->parent();
        index = parent ? parent->indexOfChild(t) : tree_.indexOfTopLevelItem(t);
    };
    auto inside = [&](QTreeWidgetItem *t) {
        parent = t;
        index = t->childCount();
    };
    if (target) { // without one: the end of the top level
        const bool into = !TRadioTreeView::IsStation(target) &&
                          (target->isExpanded() || target->childCount() == 0 ||
                           (!target->parent() && TRadioTreeView::IsStation(source)));
        into ? inside(target) : before(target);
    }
    const TRadioTreeNode *s = TRadioTreeView::Node(source);
    QTreeWidgetItem *copy = source->parent() ? NewGroupOrSubgroup(parent, index, s->Caption(), s->ImageIndex(), s->Number())
                                             : NewGroupOrSubgroup(parent, index, s->Caption(), 1, -1);
    std::vector<QTreeWidgetItem *> parents{copy};
    ForEachDescendant(source, [&](const QTreeWidgetItem *child, int depth) {
        parents.resize(static_cast<size_t>(depth));
        TRadioTreeNode *node = CopyOfNode(child);
        parents.back()->addChild(node);
        parents.push_back(node);
        return true;
    });
    ++generation_;
    return copy;
}

void TTreeCommands::Copy(QTreeWidgetItem *item)
{
    if (!item)
        return;
    copied_ = item;
    cutMark_ = false;
}

void TTreeCommands::Cut(QTreeWidgetItem *item)
{
    if (!IsRemovable(item))
        return;
    copied_ = item;
    cutMark_ = true;
}

QTreeWidgetItem *TTreeCommands::Paste(QTreeWidgetItem *target)
{
    if (!copied_ || !target || IsClosedNode(target))
        return nullptr;
    QTreeWidgetItem *copy = CopySubtree(copied_, target);
    if (copy && cutMark_) {
        if (IsRemovable(copied_))
            DeleteForgetting(copied_);
        copied_ = nullptr;
    }
    cutMark_ = false;
    if (copy) {
        MarkChanged();
        tree_.setCurrentItem(copy);
    }
    return copy;
}

bool TTreeCommands::Merge(QTreeWidgetItem *target, const std::function<bool()> &cancelled)
{
    QTreeWidgetItem *source = copied_;
    if (!source || !target || IsInSubtree(target, source) || TRadioTreeView::IsStation(target) ||
        IsClosedNode(target))
        return false;
    files_.LoadGroup(source);
    files_.LoadGroup(target);
    // The walk is fixed before it starts: nodes merged into the source's own
    // subtree (when the target holds the source) are not walked again.
    std::vector<std::pair<QTreeWidgetItem *, QTreeWidgetItem *>> merged{{source, target}};
    bool stopped = false;
    for (QTreeWidgetItem *node : Descendants(source)) {
        if (cancelled && cancelled()) {
            stopped = true;
            break;
        }
        // Cancelling runs events; a command may have removed the nodes.
        if (copied_ != source || !target->treeWidget())
            return false;
        auto it = std::find_if(merged.begin(), merged.end(), [&](const auto &m) { return m.first == node->parent(); });
        QTreeWidgetItem *into = it->second;
        const TRadioTreeNode *n = TRadioTreeView::Node(node);
        QTreeWidgetItem *same = ChildWith(into, n->Number(), n->Caption());
        if (!same) {
            same = new TRadioTreeNode(n->Caption(), n->ImageIndex(), n->StateIndex(), n->Number());
            into->addChild(same);
        }
        merged.emplace_back(node, same);
    }
    if (cutMark_ && !stopped) {
        if (IsRemovable(source))
            DeleteForgetting(source);
        copied_ = nullptr;
    }
    cutMark_ = false;
    MarkChanged();
    return true;
}

bool TTreeCommands::CanMove(QTreeWidgetItem *dragged, QTreeWidgetItem *target) const
{
    if (!dragged)
        return false;
    if (!target)
        return !dragged->parent();
    if (IsInSubtree(target, dragged))
        return false;
    if (!dragged->parent())
        return !target->parent();
    return !IsLockedNode(dragged) && !IsClosedNode(target);
}

bool TTreeCommands::MoveNode(QTreeWidgetItem *dragged, QTreeWidgetItem *target)
{
    if (!CanMove(dragged, target))
        return false;
    if (!dragged->parent()) {
        tree_.takeTopLevelItem(tree_.indexOfTopLevelItem(dragged));
        tree_.insertTopLevelItem(target ? tree_.indexOfTopLevelItem(target) : tree_.topLevelItemCount(), dragged);
    } else {
        files_.LoadGroup(target);
        const bool beforeTarget = TRadioTreeView::IsStation(target) ||
                                  (IsSubgroup(target) && target->childCount() > 0 && !target->isExpanded());
        QTreeWidgetItem *oldParent = dragged->parent();
        oldParent->takeChild(oldParent->indexOfChild(dragged));
        if (beforeTarget)
            target->parent()->insertChild(target->parent()->indexOfChild(target), dragged);
        else
            target->addChild(dragged);
    }
    MarkChanged();
    return true;
}

// --- Favourites ------------------------------------------------------------------

QTreeWidgetItem *TTreeCommands::FavoritesGroup() const
{
    for (int i = 0; i < tree_.topLevelItemCount(); ++i)
        if (TRadioTreeView::GroupKindOf(tree_.topLevelItem(i)) == FavoritesGroupKind)
            return tree_.topLevelItem(i);
    return nullptr;
}

QTreeWidgetItem *TTreeCommands::AddFavorite(QTreeWidgetItem *item)
{
    QTreeWidgetItem *favorites = FavoritesGroup();
    if (!item || (favorites && TRadioTreeView::RootOf(item) == favorites))
        return nullptr;
    // Opened first, so that a group lands inside the favourites rather than
    // beside them as a group of its own.
    if (favorites) {
        files_.LoadGroup(favorites);
        favorites->setExpanded(true);
    }
    QTreeWidgetItem *copy = CopySubtree(item, favorites);
    if (!copy)
        return nullptr;
    files_.FavoritesChanged = true;
    if (!favorites)
        MarkChanged(); // a new group in the group list
    return copy;
}

bool TTreeCommands::RemoveFavorite(QTreeWidgetItem *item)
{
    QTreeWidgetItem *favorites = FavoritesGroup();
    if (!item || !favorites || item == favorites || TRadioTreeView::RootOf(item) != favorites || !IsRemovable(item))
        return false;
    DeleteForgetting(item);
    files_.FavoritesChanged = true;
    return true;
}

// --- Adding, renaming, deleting --------------------------------------------------------

bool TTreeCommands::Delete(QTreeWidgetItem *item)
{
    if (!IsRemovable(item))
        return false;
    DeleteForgetting(item);
    return true;
}

QTreeWidgetItem *TTreeCommands::AddGroup(const std::string &name)
{
    QTreeWidgetItem *selected = tree_.currentItem();
    QTreeWidgetItem *node;
    if (selected && (selected->parent() || TRadioTreeView::IsLoaded(selected) && selected->childCount() == 0 ||
                     selected->isExpanded())) {
        if (IsClosedNode(selected))
            return nullptr;
        files_.LoadGroup(selected);
        QTreeWidgetItem *parent = selected;
        int index = selected->childCount();
        if (TRadioTreeView::IsStation(selected) || (!selected->isExpanded() && selected->childCount() > 0)) {
            parent = selected->parent();
            index = parent ? parent->indexOfChild(selected) : 0;
        }
        if (!parent)
            parent = selected; // a top-level group always takes the sub-group
        node = NewGroupOrSubgroup(parent, std::min(index, parent->childCount()), name, 1, -1);
    } else {
        node = NewGroupOrSubgroup(nullptr, selected ? tree_.indexOfTopLevelItem(selected) : tree_.topLevelItemCount(),
                                  name, 0, 0);
    }
    tree_.setCurrentItem(node);
    MarkChanged();
    return node;
}

bool TTreeCommands::RenameGroup(const std::string &name)
{
    QTreeWidgetItem *selected = tree_.currentItem();
    if (!IsEditableNode(selected) || TRadioTreeView::IsStation(selected))
        return false;
    TRadioTreeView::Node(selected)->SetCaption(GroupCaption(name, !selected->parent()));
    MarkChanged();
    return true;
}

bool TTreeCommands::AddStationNode(int id, const std::string &name)
{
    QTreeWidgetItem *selected = tree_.currentItem();
    if (!selected || IsClosedNode(selected))
        return false;
    QTreeWidgetItem *parent = selected;
    int index;
    if (TRadioTreeView::IsStation(selected)) {
        parent = selected->parent();
        index = parent->indexOfChild(selected);
    } else {
        files_.LoadGroup(selected);
        index = selected->childCount();
    }
    if (ChildWith(parent, id, name))
        return false;
    auto *node = new TRadioTreeNode(name, 0, -1, id);
    parent->insertChild(index, node);
    tree_.setCurrentItem(node);
    MarkChanged();
    files_.SaveTree();
    return true;
}

namespace {

// Every station node with the ID in groups that are not locked, in pre-order.
std::vector<QTreeWidgetItem *> StationNodes(TRadioTreeView &tree, TTreeFiles &files, int id)
{
    std::vector<QTreeWidgetItem *> found;
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        QTreeWidgetItem *group = tree.topLevelItem(i);
        if (IsClosedNode(group))
            continue;
        files.LoadGroup(group);
        for (QTreeWidgetItem *node : Descendants(group))
            if (TRadioTreeView::IsStation(node) && TRadioTreeView::StationIdOf(node) == id)
                found.push_back(node);
    }
    return found;
}

} // namespace

void TTreeCommands::RenameStationNodes(int id, const std::string &name)
{
    for (QTreeWidgetItem *node : StationNodes(tree_, files_, id))
        TRadioTreeView::Node(node)->SetCaption(name);
    MarkChanged();
    files_.SaveTree();
}

void TTreeCommands::DeleteStationNodes(int id)
{
    const std::vector<QTreeWidgetItem *> nodes = StationNodes(tree_, files_, id);
    // Backwards, so that a node inside another doomed node goes first.
    for (auto it = nodes.rbegin(); it != nodes.rend(); ++it)
        DeleteForgetting(*it);
    if (!nodes.empty())
        MarkChanged();
    files_.SaveTree();
}

// --- Sorting and expanding ------------------------------------------------------------

namespace {

void SortChildren(QTreeWidgetItem *parent)
{
    QList<QTreeWidgetItem *> children = parent->takeChildren();
    std::stable_sort(children.begin(), children.end(), [](QTreeWidgetItem *a, QTreeWidgetItem *b) {
        return QString::fromStdString(CaptionOf(a)).localeAwareCompare(QString::fromStdString(CaptionOf(b))) < 0;
    });
    parent->addChildren(children);
}

void SortRecursively(QTreeWidgetItem *node)
{
    SortChildren(node);
    for (QTreeWidgetItem *child : Descendants(node))
        SortChildren(child);
}

} // namespace

void TTreeCommands::Sort(QTreeWidgetItem *item)
{
    if (!item)
        return;
    files_.LoadGroup(item);
    SortChildren(item);
    if (!IsLockedNode(item))
        MarkChanged();
}

void TTreeCommands::SortSubtree(QTreeWidgetItem *item)
{
    if (!item)
        return;
    files_.LoadGroup(item);
    SortRecursively(item);
    ++generation_;
}

void TTreeCommands::SortAll()
{
    // The top level is the invisible root's children.
    SortRecursively(tree_.invisibleRootItem());
    if (!IsLockedNode(tree_.currentItem()))
        MarkChanged();
}

void TTreeCommands::ExpandAll()
{
    files_.LoadAllGroups();
    tree_.setUpdatesEnabled(false);
    tree_.expandAll();
    tree_.setUpdatesEnabled(true);
}

// --- Search -------------------------------------------------------------------------

bool TTreeCommands::FindInTree(const std::string &text, TFindDirection direction, bool matchCase, bool exact)
{
    if (text.empty() || tree_.topLevelItemCount() == 0)
        return false;
    const bool down = direction == fdDown;
    QTreeWidgetItem *selected = tree_.currentItem();
    QTreeWidgetItem *node;
    if (selected) {
        files_.LoadGroup(selected);
        node = down ? NextNode(selected, true) : PrevNode(selected, true);
    } else {
        node = down ? tree_.topLevelItem(0) : LastNode(true);
    }
    const Qt::CaseSensitivity cs = matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const QString wanted = QString::fromStdString(text);
    for (; node; node = down ? NextNode(node, true) : PrevNode(node, true)) {
        const QString caption = QString::fromStdString(CaptionOf(node));
        if (exact ? caption.compare(wanted, cs) == 0 : caption.contains(wanted, cs)) {
            found_ = node;
            ExpandParents(node);
            tree_.setCurrentItem(node);
            return true;
        }
    }
    return false;
}

// --- Menus and channels ------------------------------------------------------------------

namespace {

void AddMenuNode(QMenu *menu, QTreeWidgetItem *item, const std::function<void(int)> &onStation)
{
    const QString caption = QString::fromStdString(CaptionOf(item)).replace('&', "&&");
    const int tag = item->parent() ? TRadioTreeView::StationIdOf(item) : 0;
    if (item->childCount() > 0) {
        QMenu *sub = menu->addMenu(caption);
        sub->menuAction()->setData(tag);
        for (int i = 0; i < item->childCount(); ++i)
            AddMenuNode(sub, item->child(i), onStation);
        return;
    }
    QAction *action = menu->addAction(caption);
    action->setData(tag);
    if (TRadioTreeView::IsStation(item))
        QObject::connect(action, &QAction::triggered, menu, [onStation, tag] { onStation(tag); });
}

} // namespace

void TTreeCommands::BuildStationMenu(QMenu *menu, const std::function<void(int id)> &onStation)
{
    if (files_.MenuRebuild) {
        files_.MenuRebuild = false;
        ++generation_;
    }
    if (!menu->isEmpty() && menu->property(MenuGenerationProperty).toUInt() == generation_)
        return;
    menu->clear();
    qDeleteAll(menu->findChildren<QMenu *>(Qt::FindDirectChildrenOnly));
    for (int i = 0; i < tree_.topLevelItemCount(); ++i)
        AddMenuNode(menu, tree_.topLevelItem(i), onStation);
    menu->setProperty(MenuGenerationProperty, generation_);
}

std::vector<TTreeCommands::TChannel> TTreeCommands::ChannelsFromTree()
{
    std::vector<TChannel> channels;
    for (int i = 0; i < tree_.topLevelItemCount(); ++i) {
        QTreeWidgetItem *group = tree_.topLevelItem(i);
        if (TRadioTreeView::GroupKindOf(group) != ChannelsGroupKind)
            continue;
        files_.LoadGroup(group);
        for (int n = 0; n < std::min(group->childCount(), 10); ++n)
            channels.push_back({TRadioTreeView::StationIdOf(group->child(n)), CaptionOf(group->child(n))});
        break;
    }
    return channels;
}
