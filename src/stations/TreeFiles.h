#pragma once
// The station tree's files for the station list window: the two group lists
// ("treesys.dat" for the maker's groups, "treeuser.dat" for the user's) and
// one group file per group, read when the group is first opened and written
// back when it changed. A loaded tree reads and writes the data folder it was
// loaded from, so a language switch cannot file it under the new language.

#include <QMetaObject>

#include <string>
#include <vector>

class QTreeWidgetItem;
class TRadioTreeNode;
class TRadioTreeView;

// Where the playing station sits, as saved in the settings.
struct TTreePosition {
    int RootIndex = 0; // position of its group among the top-level nodes
    int NodeIndex = 0; // its pre-order position once only that group is loaded
};

class TTreeFiles {
public:
    // Loads a group when it is first expanded.
    explicit TTreeFiles(TRadioTreeView &tree);
    ~TTreeFiles();
    TTreeFiles(const TTreeFiles &) = delete;
    TTreeFiles &operator=(const TTreeFiles &) = delete;

    // What needs saving. Commands that change the tree set these.
    bool Changed = false;          // group lists and every loaded, unlocked group
    bool RecentChanged = false;    // the recently played group (-97)
    bool FavoritesChanged = false; // the favourites group (-99)
    // Set whenever a group file is read; the station menu clears it when it
    // rebuilds itself.
    bool MenuRebuild = false;
    // Group files of deleted top-level groups, removed at the next save.
    std::vector<std::string> FilesToDelete;

    // Converts an older "tree.dat" (once, when the list window is created).
    void MigrateTreeFile();
    // Both group lists of the current language's data folder into the tree,
    // the maker's groups first; in "chs" the manual update node last.
    void LoadTree();
    // Clears and reloads the tree, loads the group at rootIndex and makes the
    // station at nodeIndex (a pre-order index) the selected one, which
    // `playing` receives (nullptr when there is none). Callers drop every node
    // pointer they hold first. Returns the number of nodes; the tree is
    // enabled only when it has some.
    int ReloadTree(int rootIndex, int nodeIndex, TRadioTreeNode **playing = nullptr);
    // Reads the group file of the item's group unless it was read already.
    void LoadGroup(QTreeWidgetItem *item);
    void LoadAllGroups();

    // Rewrites both group lists (the manual update node is not saved).
    void SaveGroupLists();
    // Writes a group's file. Refuses (false) a group that was never loaded,
    // whose file would lose its content, a locked group and a group whose file
    // name is unusable; false also when the write fails (the old file stays).
    bool SaveGroupFile(QTreeWidgetItem *group);
    // Saves what the flags say changed, removes the files of deleted groups,
    // and clears the flags.
    void SaveTree();

    // Removes a node with its subtree; a top-level group's file is deleted at
    // the next save. Marks the tree changed.
    void DeleteNode(QTreeWidgetItem *node);
    // "tree_user<k>.dat" with the smallest k no top-level group uses.
    std::string NewUserGroupFileName() const;

    // The position of the playing node (all 0 without one).
    static TTreePosition RootIndexOf(QTreeWidgetItem *playing);

private:
    std::string DataFolder() const;
    std::string GroupFileName(QTreeWidgetItem *group) const;

    TRadioTreeView &tree_;
    std::string loadedFrom_; // data folder of the last LoadTree
    QMetaObject::Connection expandConnection_;
};
