#include "stations/RadioTreeViewU.h"

#include "stations/TreeFileFormat.h"

#include <QApplication>
#include <QEvent>
#include <QScrollBar>
#include <QStyle>
#include <QTreeWidgetItemIterator>

#include <algorithm>
#include <utility>

// --- Nodes --------------------------------------------------------------------

TRadioTreeNode::TRadioTreeNode(std::string caption, int imageIndex, int stateIndex, int number)
    : TRadioTreeNode(std::move(caption), imageIndex, stateIndex, number, NodeType)
{
}

TRadioTreeNode::TRadioTreeNode(std::string caption, int imageIndex, int stateIndex, int number, int type)
    : QTreeWidgetItem(type), caption_(std::move(caption)), imageIndex_(imageIndex), stateIndex_(stateIndex),
      number_(number)
{
}

void TRadioTreeNode::SetCaption(std::string caption)
{
    caption_ = std::move(caption);
    emitDataChanged();
}

void TRadioTreeNode::SetImageIndex(int index)
{
    imageIndex_ = index;
    emitDataChanged();
}

// Caption and icon are answered from the node's own fields rather than kept
// as item data, which keeps a station node small.
QVariant TRadioTreeNode::data(int column, int role) const
{
    if (column == 0) {
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return QString::fromStdString(caption_);
        if (role == Qt::DecorationRole) {
            if (const auto *view = qobject_cast<const TRadioTreeView *>(treeWidget()))
                return view->Image(imageIndex_);
            return {};
        }
    }
    return QTreeWidgetItem::data(column, role);
}

void TRadioTreeNode::setData(int column, int role, const QVariant &value)
{
    if (column == 0 && (role == Qt::DisplayRole || role == Qt::EditRole))
        SetCaption(value.toString().toStdString());
    else
        QTreeWidgetItem::setData(column, role, value);
}

TRadioGroupNode::TRadioGroupNode(std::string caption, int imageIndex, int stateIndex, std::string groupData)
    : TRadioTreeNode(std::move(caption), imageIndex, stateIndex, 0, NodeType), groupData_(std::move(groupData))
{
}

// --- Icons --------------------------------------------------------------------

std::vector<QIcon> BuiltInTreeIcons()
{
    const QStyle *style = QApplication::style();
    std::vector<QIcon> icons;
    for (auto pixmap : {QStyle::SP_MediaVolume, QStyle::SP_DirIcon, QStyle::SP_DialogApplyButton,
                        QStyle::SP_BrowserReload, QStyle::SP_ComputerIcon, QStyle::SP_DirHomeIcon,
                        QStyle::SP_FileDialogDetailedView, QStyle::SP_DriveNetIcon, QStyle::SP_FileDialogListView,
                        QStyle::SP_MediaPlay})
        icons.push_back(style->standardIcon(pixmap));
    return icons;
}

TRadioTreeView::TRadioTreeView(QWidget *parent) : QTreeWidget(parent), images_(BuiltInTreeIcons())
{
    setColumnCount(1);
    setHeaderHidden(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setIconSize(QSize(16, 16));
    // Thousands of rows of one height: fixed rows make layout and scrolling
    // cheap, and per-row scrolling gives the row positions OnVertScroll reports.
    setUniformRowHeights(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
}

void TRadioTreeView::SetImages(std::vector<QIcon> images)
{
    images_ = std::move(images);
    viewport()->update();
}

QIcon TRadioTreeView::Image(int index) const
{
    return index >= 0 && index < ImageCount() ? images_[static_cast<size_t>(index)] : QIcon();
}

int TRadioTreeView::NextTopLevelImageIndex() const
{
    int highest = -1;
    for (int i = 0; i < topLevelItemCount(); ++i)
        highest = std::max(highest, TopNode(i)->ImageIndex());
    return std::min(highest + 1, ImageCount() - 1);
}

// --- Nodes --------------------------------------------------------------------

TRadioTreeNode *TRadioTreeView::Node(QTreeWidgetItem *item)
{
    return item && (item->type() == TRadioTreeNode::NodeType || item->type() == TRadioGroupNode::NodeType)
               ? static_cast<TRadioTreeNode *>(item)
               : nullptr;
}

const TRadioTreeNode *TRadioTreeView::Node(const QTreeWidgetItem *item)
{
    return Node(const_cast<QTreeWidgetItem *>(item));
}

TRadioTreeNode *TRadioTreeView::NodeAt(int index) const
{
    if (index < 0)
        return nullptr;
    for (QTreeWidgetItemIterator it(const_cast<TRadioTreeView *>(this)); *it; ++it)
        if (index-- == 0)
            return Node(*it);
    return nullptr;
}

int TRadioTreeView::NodeCount() const
{
    int count = 0;
    for (QTreeWidgetItemIterator it(const_cast<TRadioTreeView *>(this)); *it; ++it)
        ++count;
    return count;
}

TRadioTreeNode *TRadioTreeView::RootOf(QTreeWidgetItem *item)
{
    if (!item)
        return nullptr;
    while (item->parent())
        item = item->parent();
    return Node(item);
}

bool TRadioTreeView::IsStation(const QTreeWidgetItem *item)
{
    const TRadioTreeNode *node = Node(item);
    return node && item->parent() && node->Number() >= 0;
}

bool TRadioTreeView::IsLoaded(const QTreeWidgetItem *group)
{
    return group->childCount() > 0 || group->childIndicatorPolicy() != QTreeWidgetItem::ShowIndicator;
}

int TRadioTreeView::StationIdOf(const QTreeWidgetItem *item)
{
    const TRadioTreeNode *node = Node(item);
    return node ? node->Number() : 0;
}

void TRadioTreeView::SetStationId(QTreeWidgetItem *item, int id)
{
    if (TRadioTreeNode *node = Node(item); node && item->type() == TRadioTreeNode::NodeType)
        node->SetNumber(id);
}

void TRadioTreeView::SetGroupData(QTreeWidgetItem *item, const std::string &kindText, const std::string &fileName)
{
    if (item && item->type() == TRadioGroupNode::NodeType)
        static_cast<TRadioGroupNode *>(item)->SetGroupData(kindText + "," + fileName);
}

int TRadioTreeView::GroupKindOf(const QTreeWidgetItem *item, std::string *fileName)
{
    if (!item || item->type() != TRadioGroupNode::NodeType) {
        if (fileName)
            fileName->clear();
        return -1;
    }
    const std::string &data = static_cast<const TRadioGroupNode *>(item)->GroupData();
    const auto comma = data.find(',');
    if (fileName)
        *fileName = comma == std::string::npos ? std::string() : data.substr(comma + 1);
    return ParseTreeNumber(data.substr(0, comma), -1);
}

// --- Lines of the tree files ------------------------------------------------

void TRadioTreeView::LoadGroupList(const std::vector<std::string> &lines)
{
    clear();
    QList<QTreeWidgetItem *> groups;
    groups.reserve(static_cast<qsizetype>(lines.size()));
    for (const auto &line : lines) {
        // A blank line (an editor's trailing newline) is no group.
        if (line.empty())
            continue;
        TGroupListEntry entry = ParseGroupListLine(line);
        auto *group = new TRadioGroupNode(std::move(entry.Caption), entry.ImageIndex, entry.StateIndex,
                                          entry.KindText + "," + entry.FileName);
        group->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
        groups.append(group);
    }
    addTopLevelItems(groups);
}

void TRadioTreeView::SaveGroupList(std::vector<std::string> &lines) const
{
    for (int i = 0; i < topLevelItemCount(); ++i) {
        const TRadioTreeNode *node = TopNode(i);
        TGroupListEntry entry;
        entry.ImageIndex = node->ImageIndex();
        entry.StateIndex = node->StateIndex();
        entry.Caption = node->Caption();
        if (node->type() == TRadioGroupNode::NodeType) {
            std::string rest = static_cast<const TRadioGroupNode *>(node)->GroupData();
            const auto comma = rest.find(',');
            entry.KindText = rest.substr(0, comma);
            if (comma != std::string::npos)
                entry.FileName = rest.substr(comma + 1);
        }
        lines.push_back(ComposeGroupListLine(entry));
    }
}

void TRadioTreeView::LoadSubtree(const std::vector<std::string> &lines, QTreeWidgetItem *group)
{
    TRadioTreeNode *target = Node(group);
    if (!target)
        return;
    TSubtree subtree = NestGroupFile(lines);
    if (subtree.HasHead) {
        target->SetImageIndex(subtree.Head.ImageIndex);
        target->SetStateIndex(subtree.Head.StateIndex);
        if (target->parent())
            target->SetNumber(subtree.Head.Number);
    }
    // The subtree is built apart from the view and attached in one step, so
    // the view takes in thousands of nodes as a single insertion.
    std::vector<TRadioTreeNode *> made;
    made.reserve(subtree.Nodes.size());
    QList<QTreeWidgetItem *> top;
    for (auto &entry : subtree.Nodes) {
        auto *node = new TRadioTreeNode(std::move(entry.Line.Caption), entry.Line.ImageIndex, entry.Line.StateIndex,
                                        entry.Line.Number);
        if (entry.Parent < 0)
            top.append(node);
        else
            made[static_cast<size_t>(entry.Parent)]->addChild(node);
        made.push_back(node);
    }
    target->addChildren(top);
}

void TRadioTreeView::SaveSubtree(std::vector<std::string> &lines, const QTreeWidgetItem *node) const
{
    const TRadioTreeNode *head = Node(node);
    if (!head)
        return;
    TGroupFileLine line;
    line.ImageIndex = head->ImageIndex();
    line.StateIndex = head->StateIndex();
    line.Number = node->parent() ? head->Number() : GroupKindOf(node);
    line.Caption = head->Caption();
    lines.push_back(ComposeGroupFileLine(line));
    ForEachDescendant(node, [&](const QTreeWidgetItem *child, int depth) {
        const TRadioTreeNode *childNode = Node(child);
        line.Depth = depth;
        line.ImageIndex = childNode->ImageIndex();
        line.StateIndex = childNode->StateIndex();
        line.Number = childNode->Number();
        line.Caption = childNode->Caption();
        lines.push_back(ComposeGroupFileLine(line));
        return true;
    });
}

bool TRadioTreeView::LoadSubtreeFile(const std::string &fileName, QTreeWidgetItem *group)
{
    std::vector<std::string> lines;
    const bool ok = ReadTextLines(fileName, lines);
    LoadSubtree(lines, group);
    return ok;
}

bool TRadioTreeView::SaveSubtreeFile(const std::string &fileName, const QTreeWidgetItem *node) const
{
    std::vector<std::string> lines;
    SaveSubtree(lines, node);
    return WriteTextLines(fileName, lines);
}

// --- Events -------------------------------------------------------------------

bool TRadioTreeView::viewportEvent(QEvent *event)
{
    const bool handled = QTreeWidget::viewportEvent(event);
    if (event->type() == QEvent::Paint)
        EmitVertScroll();
    return handled;
}

void TRadioTreeView::resizeEvent(QResizeEvent *event)
{
    QTreeWidget::resizeEvent(event);
    Q_EMIT OnResize(this);
}

void TRadioTreeView::EmitVertScroll()
{
    const QScrollBar *bar = verticalScrollBar();
    const int rowHeight = topLevelItemCount() > 0 ? visualItemRect(topLevelItem(0)).height() : 0;
    // The scroll bar counts rows: its maximum plus one page is the number of
    // rows when they do not all fit.
    const int maxPos =
        rowHeight > 0 ? std::max(0, bar->maximum() + bar->pageStep() - viewport()->height() / rowHeight) : 0;
    Q_EMIT OnVertScroll(this, bar->minimum(), maxPos, bar->value());
}
