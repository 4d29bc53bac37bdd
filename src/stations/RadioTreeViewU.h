#pragma once
// The station tree control: groups of stations on a QTreeWidget. Top-level
// nodes are groups carrying "kind,file name"; nodes below carry a station ID
// (0 or more) or a negative sub-group value. Each node keeps an image index
// into the tree's icon list and a state index that is only stored and saved.

#include <QIcon>
#include <QTreeWidget>

#include <string>
#include <utility>
#include <vector>

// A node below the top level, and the base of group nodes. The caption is
// kept as the bytes of the tree files and shown as UTF-8.
class TRadioTreeNode : public QTreeWidgetItem {
public:
    static constexpr int NodeType = QTreeWidgetItem::UserType + 1;

    TRadioTreeNode(std::string caption, int imageIndex, int stateIndex, int number);

    const std::string &Caption() const { return caption_; }
    void SetCaption(std::string caption);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    int StateIndex() const { return stateIndex_; }
    void SetStateIndex(int index) { stateIndex_ = index; }
    // Station ID (>= 0) or sub-group value (< 0); 0 for a group node.
    int Number() const { return number_; }
    void SetNumber(int number) { number_ = number; }

    QVariant data(int column, int role) const override;
    void setData(int column, int role, const QVariant &value) override;

protected:
    TRadioTreeNode(std::string caption, int imageIndex, int stateIndex, int number, int type);

private:
    std::string caption_;
    int imageIndex_;
    int stateIndex_;
    int number_;
};

// A top-level node: a group with its kind and group file.
class TRadioGroupNode : public TRadioTreeNode {
public:
    static constexpr int NodeType = QTreeWidgetItem::UserType + 2;

    TRadioGroupNode(std::string caption, int imageIndex, int stateIndex, std::string groupData);

    // "kind,file name" as in the group list.
    const std::string &GroupData() const { return groupData_; }
    void SetGroupData(std::string data) { groupData_ = std::move(data); }

private:
    std::string groupData_;
};

class TRadioTreeView : public QTreeWidget {
    Q_OBJECT
public:
    explicit TRadioTreeView(QWidget *parent = nullptr);

    // --- Icons --------------------------------------------------------------
    // The tree's image list (the skin's tree icons); starts with built-in ones.
    void SetImages(std::vector<QIcon> images);
    int ImageCount() const { return static_cast<int>(images_.size()); }
    QIcon Image(int index) const;
    // The image of a new top-level group: one more than the highest image
    // index at the top level, but no more than the last icon.
    int NextTopLevelImageIndex() const;

    // --- Nodes --------------------------------------------------------------
    static TRadioTreeNode *Node(QTreeWidgetItem *item);
    static const TRadioTreeNode *Node(const QTreeWidgetItem *item);
    TRadioTreeNode *TopNode(int index) const { return Node(topLevelItem(index)); }
    // The node at a position counted over every node in pre-order (children
    // of collapsed nodes included); nullptr when out of range.
    TRadioTreeNode *NodeAt(int index) const;
    int NodeCount() const;
    // The top-level ancestor (the node itself at the top level).
    static TRadioTreeNode *RootOf(QTreeWidgetItem *item);
    static bool IsStation(const QTreeWidgetItem *item);
    // A group loaded from its file, or one that never had a file to load:
    // it no longer shows an expand button without having children.
    static bool IsLoaded(const QTreeWidgetItem *group);

    static int StationIdOf(const QTreeWidgetItem *item);
    static void SetStationId(QTreeWidgetItem *item, int id);
    // Replaces a top-level node's data by kind text + "," + file name.
    static void SetGroupData(QTreeWidgetItem *item, const std::string &kindText, const std::string &fileName);
    // The kind of the item's group data (-1 when it is not a number or the
    // item is no group); `fileName` receives the text after the comma.
    static int GroupKindOf(const QTreeWidgetItem *item, std::string *fileName = nullptr);

    // --- Lines of the tree files -------------------------------------------
    // Clears the tree and adds one group per line; each shows an expand
    // button until its file is read.
    void LoadGroupList(const std::vector<std::string> &lines);
    void SaveGroupList(std::vector<std::string> &lines) const;
    // Builds the node's subtree from group file lines; the first line gives
    // the node's own icon and state.
    void LoadSubtree(const std::vector<std::string> &lines, QTreeWidgetItem *group);
    void SaveSubtree(std::vector<std::string> &lines, const QTreeWidgetItem *node) const;
    // False when the file cannot be read to its end; the nodes read are kept.
    bool LoadSubtreeFile(const std::string &fileName, QTreeWidgetItem *group);
    bool SaveSubtreeFile(const std::string &fileName, const QTreeWidgetItem *node) const;

Q_SIGNALS:
    // After every repaint: the vertical scroll range and position in rows.
    // maxPos is the top row of the last page (0 with nothing to scroll).
    void OnVertScroll(TRadioTreeView *sender, int minPos, int maxPos, int curPos);
    void OnResize(TRadioTreeView *sender);

protected:
    bool viewportEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void EmitVertScroll();

    std::vector<QIcon> images_;
};

// Visits the node's descendants in pre-order with their depth below it (1
// for its children), without recursion, so any nesting is safe. Stops when
// `visit` returns false.
template <class TVisit>
void ForEachDescendant(const QTreeWidgetItem *node, TVisit visit)
{
    std::vector<std::pair<const QTreeWidgetItem *, int>> stack{{node, 0}};
    while (!stack.empty()) {
        auto &[parent, next] = stack.back();
        if (next >= parent->childCount()) {
            stack.pop_back();
            continue;
        }
        const QTreeWidgetItem *child = parent->child(next++);
        if (!visit(child, static_cast<int>(stack.size())))
            return;
        stack.emplace_back(child, 0);
    }
}

// The tree's icons before a skin supplies its own: station, sub-group,
// favourites, recently played, television, own library, genre, country,
// composite, internet radio.
std::vector<QIcon> BuiltInTreeIcons();
