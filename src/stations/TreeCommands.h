#pragma once
// What the station list window's commands do to the station tree: playing the
// selected, next and previous station, the recently played and favourites
// groups, copy, cut, paste, merge, moving a node, adding, renaming and
// deleting groups and stations under the group kinds' rules, sorting, search
// and the station menu. The window adds the face, the menus and the input.
//
// Node pointers kept here (playing, copied, found) are forgotten whenever
// their node goes away through these commands or a reload.

#include "stations/TreeFiles.h"

#include <QColor>

#include <functional>
#include <string>

class QMenu;
class QTreeWidgetItem;
class TRadioTreeView;

// Rules of the group kinds, from a node's top-level ancestor.
bool IsLockedNode(const QTreeWidgetItem *item);
// Its root is a user group, or it lies below a group with editable content
// (favourites, recently played and the other kinds -99 ... -51).
bool IsEditableNode(const QTreeWidgetItem *item);
// `item` is `ancestor` or lies inside its subtree.
bool IsInSubtree(const QTreeWidgetItem *item, const QTreeWidgetItem *ancestor);

enum TPlayMode { pmSelected = 0, pmNext = 1, pmPrevious = 2 };
enum TFindDirection { fdDown, fdUp };

class TTreeCommands {
public:
    explicit TTreeCommands(TRadioTreeView &tree);
    TTreeCommands(const TTreeCommands &) = delete;
    TTreeCommands &operator=(const TTreeCommands &) = delete;

    TTreeFiles &Files() { return files_; }
    TRadioTreeView &Tree() { return tree_; }

    // --- Whole tree -----------------------------------------------------------
    // Forgets every node held here, reloads, and makes the station at
    // nodeIndex the playing one. Returns the number of nodes.
    int ReloadTree(int rootIndex, int nodeIndex);
    TTreePosition RootIndexOf() const { return TTreeFiles::RootIndexOf(playing_); }
    void SaveTree() { files_.SaveTree(); }

    // --- Playing ----------------------------------------------------------------
    // Moves the playing node (the selected node, or the next or previous
    // station, loading and expanding groups on the way) and returns its
    // station ID; 0 when the new playing node is no station or there is none.
    // A station that starts this way is filed in the recently played group.
    int PlayStation(TPlayMode mode);
    QTreeWidgetItem *Playing() const { return playing_; }
    // Text colour of the playing node.
    void SetPlayingColor(const QColor &color);
    // Puts the station first in the recently played group (at most 100).
    void AddRecent(QTreeWidgetItem *station);

    // --- Predicates -------------------------------------------------------------
    static bool IsRemovable(const QTreeWidgetItem *item) { return IsEditableNode(item); }

    // --- Copy, cut, paste, merge, move --------------------------------------------
    // Copies `source` with its subtree to `target` (nullptr: the end of the
    // top level) by the copy rules; the new node, or nullptr when refused.
    QTreeWidgetItem *CopySubtree(QTreeWidgetItem *source, QTreeWidgetItem *target);
    void Copy(QTreeWidgetItem *item);
    // Only a removable node can be cut.
    void Cut(QTreeWidgetItem *item);
    QTreeWidgetItem *Copied() const { return copied_; }
    bool CutMark() const { return cutMark_; }
    // The copied node to `target`; a cut node is then removed. The new node.
    QTreeWidgetItem *Paste(QTreeWidgetItem *target);
    // Merges the copied node's content into `target`, reusing children with
    // the same caption and number. `cancelled` is asked before each node.
    bool Merge(QTreeWidgetItem *target, const std::function<bool()> &cancelled = {});
    // Whether a drag of `dragged` may end on `target` (nullptr: empty area).
    bool CanMove(QTreeWidgetItem *dragged, QTreeWidgetItem *target) const;
    bool MoveNode(QTreeWidgetItem *dragged, QTreeWidgetItem *target);

    // --- Favourites -------------------------------------------------------------
    QTreeWidgetItem *FavoritesGroup() const;
    QTreeWidgetItem *AddFavorite(QTreeWidgetItem *item);
    bool RemoveFavorite(QTreeWidgetItem *item);

    // --- Adding, renaming, deleting -------------------------------------------------
    // A removable node with its subtree.
    bool Delete(QTreeWidgetItem *item);
    // A new group by the selected node: a sub-group inside it, or a new user
    // group at the top level. The new node, or nullptr inside a locked group.
    QTreeWidgetItem *AddGroup(const std::string &name);
    bool RenameGroup(const std::string &name);
    // Operations of the station editor; each saves the tree at once.
    bool AddStationNode(int id, const std::string &name);
    void RenameStationNodes(int id, const std::string &name);
    void DeleteStationNodes(int id);

    // --- Sorting and expanding ----------------------------------------------------
    void Sort(QTreeWidgetItem *item);
    void SortSubtree(QTreeWidgetItem *item);
    void SortAll();
    void ExpandAll();

    // --- Search -------------------------------------------------------------------
    // Walks from the selected node through the whole tree (loading groups) to
    // the first caption that equals (exact) or contains the text; it becomes
    // the selected and found node.
    bool FindInTree(const std::string &text, TFindDirection direction, bool matchCase, bool exact);
    QTreeWidgetItem *Found() const { return found_; }
    void ClearFindMarks() { found_ = nullptr; }

    // --- Menus and channels ---------------------------------------------------------
    // Mirrors the loaded tree in `menu` when the tree changed since the menu
    // was built (or the menu is empty). Station entries carry their ID as
    // data and call `onStation` with it.
    void BuildStationMenu(QMenu *menu, const std::function<void(int id)> &onStation);
    // The first ten stations of the channels group, loading it.
    struct TChannel {
        int Id;
        std::string Caption;
    };
    std::vector<TChannel> ChannelsFromTree();

    // Marks the tree changed: saved at the next SaveTree, menus rebuilt.
    void MarkChanged();

private:
    void SetPlaying(QTreeWidgetItem *item);
    void ForgetNodesIn(QTreeWidgetItem *item);
    void DeleteForgetting(QTreeWidgetItem *item);
    QTreeWidgetItem *NextNode(QTreeWidgetItem *item, bool loadGroups);
    QTreeWidgetItem *PrevNode(QTreeWidgetItem *item, bool loadGroups);
    QTreeWidgetItem *LastNode(bool loadGroups);
    QTreeWidgetItem *NewGroupOrSubgroup(QTreeWidgetItem *parent, int index, const std::string &caption,
                                        int image, int number);
    void ScrollToPlaying();

    TRadioTreeView &tree_;
    TTreeFiles files_;
    QTreeWidgetItem *playing_ = nullptr;
    QTreeWidgetItem *copied_ = nullptr;
    QTreeWidgetItem *found_ = nullptr;
    bool cutMark_ = false;
    QColor playingColor_{0, 174, 239};
    unsigned generation_ = 1; // bumped by every change the station menus mirror
};
