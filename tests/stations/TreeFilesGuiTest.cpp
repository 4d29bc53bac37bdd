// TTreeFiles: loading both group lists, lazy loading, saving what changed
// (and never an unloaded or locked group), deleting group files, reloading
// at a saved position, and whole-tree round trips through the data folder.
#include "TestSupport.h"
#include "TreeTestSupport.h"
#include "app/GlobalUnit.h"
#include "appearance/LanguageU.h"
#include "stations/RadioTreeViewU.h"
#include "stations/TreeFileFormat.h"
#include "stations/TreeFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>

namespace {

using Lines = std::vector<std::string>;

class TreeFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        oldAppPath_ = AppPath();
        oldLng_ = CurLng();
        SetAppPath(dir.Path());
        SetCurLng("eng");
        std::filesystem::create_directories(DataPath());
    }
    void TearDown() override
    {
        SetAppPath(oldAppPath_);
        SetCurLng(oldLng_);
    }

    std::string File(const std::string &name) const { return DataPath() + name; }
    void Write(const std::string &name, const std::string &bytes) const { WriteFileBytes(File(name), bytes); }
    std::string Read(const std::string &name) const { return ReadFileBytes(File(name)); }

    // A maker's list with a locked channels group, favourites, recently
    // played and a genre group, and a user list with two groups.
    void WriteSampleTree() const
    {
        Write("treesys.dat", "9/-1/-11/Channels=ch.dat\r\n2/-1/-99/Favorites=fav.dat\r\n"
                             "3/-1/-97/Recently Played=recent.dat\r\n6/-1/1/Genres=genre.dat\r\n");
        Write("treeuser.dat", "5/-1/-101/Mine=tree_user1.dat\r\n5/-1/-102/Other=tree_user2.dat\r\n");
        Write("ch.dat", "9/-1/-11/Channels\r\n\t0/-1/1/One\r\n\t0/-1/2/Two\r\n");
        Write("fav.dat", "2/-1/-99/Favorites\r\n\t0/-1/3/Three\r\n");
        Write("recent.dat", "3/-1/-97/Recently Played\r\n\t0/-1/4/Four\r\n");
        Write("genre.dat", "6/-1/1/Genres\r\n\t1/-1/-1/Jazz\r\n\t\t0/-1/5/Five\r\n\t\t0/-1/6/Six\r\n"
                           "\t1/-1/-1/Rock\r\n\t\t0/-1/7/Seven\r\n");
        Write("tree_user1.dat", "5/-1/-101/Mine\r\n\t0/-1/100001/My own\r\n");
        Write("tree_user2.dat", "5/-1/-102/Other\r\n\t1/-1/-1/Sub\r\n\t\t0/-1/8/Eight\r\n");
    }

    QTreeWidgetItem *Group(const std::string &caption) const
    {
        for (int i = 0; i < tree.topLevelItemCount(); ++i)
            if (tree.TopNode(i)->Caption() == caption)
                return tree.topLevelItem(i);
        ADD_FAILURE() << "no group " << caption;
        return nullptr;
    }

    TempDir dir;
    TRadioTreeView tree;
    TTreeFiles files{tree};

private:
    std::string oldAppPath_, oldLng_;
};

} // namespace

TEST_F(TreeFilesTest, LoadTreeReadsTheMakersGroupsFirst)
{
    WriteSampleTree();
    files.LoadTree();
    Lines captions;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        captions.push_back(tree.TopNode(i)->Caption());
    EXPECT_EQ(captions, (Lines{"Channels", "Favorites", "Recently Played", "Genres", "Mine", "Other"}));
    EXPECT_EQ(tree.NodeCount(), 6); // only the group lists are read
    EXPECT_FALSE(files.MenuRebuild);
}

TEST_F(TreeFilesTest, ChineseTreeEndsWithTheManualUpdateNodeThatIsNeverSaved)
{
    SetCurLng("chs");
    std::filesystem::create_directories(DataPath());
    WriteSampleTree();
    files.LoadTree();
    QTreeWidgetItem *last = tree.topLevelItem(tree.topLevelItemCount() - 1);
    EXPECT_EQ(TRadioTreeView::GroupKindOf(last), ManualUpdateGroupKind);
    EXPECT_EQ(TRadioTreeView::Node(last)->Caption(), Msg(145));
    EXPECT_EQ(TRadioTreeView::Node(last)->ImageIndex(), 11);

    files.Changed = true;
    files.SaveTree();
    EXPECT_EQ(Read("treesys.dat").find("/-96/"), std::string::npos);
    EXPECT_EQ(Read("treeuser.dat").find("/-96/"), std::string::npos);
    EXPECT_EQ(Read("treeuser.dat"), "5/-1/-101/Mine=tree_user1.dat\r\n5/-1/-102/Other=tree_user2.dat\r\n");
}

TEST_F(TreeFilesTest, MissingGroupListsGiveADisabledEmptyTree)
{
    EXPECT_EQ(files.ReloadTree(0, 0), 0);
    EXPECT_EQ(tree.topLevelItemCount(), 0);
    EXPECT_FALSE(tree.isEnabled());
}

TEST_F(TreeFilesTest, GroupLoadsWhenFirstExpanded)
{
    WriteSampleTree();
    files.LoadTree();
    QTreeWidgetItem *genres = Group("Genres");
    tree.expandItem(genres);
    EXPECT_TRUE(files.MenuRebuild);
    EXPECT_EQ(DumpSubtree(genres), (Lines{"0 6/-1/1,genre.dat/Genres", "1 1/-1/-1/Jazz", "2 0/-1/5/Five",
                                          "2 0/-1/6/Six", "1 1/-1/-1/Rock", "2 0/-1/7/Seven"}));
    // A second expansion reads nothing again.
    tree.collapseItem(genres);
    tree.expandItem(genres);
    EXPECT_EQ(genres->childCount(), 2);
}

TEST_F(TreeFilesTest, GroupWithoutFileLosesItsExpandButton)
{
    Write("treeuser.dat", "5/-1/-101/Gone=missing.dat\r\n5/-1/-101/Bad=../outside.dat\r\n");
    WriteFileBytes(dir / "Data/outside.dat", "5/-1/-101/X\r\n\t0/-1/1/Outside\r\n");
    files.LoadTree();
    files.LoadAllGroups();
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(tree.topLevelItem(i)->childCount(), 0);
        EXPECT_TRUE(TRadioTreeView::IsLoaded(tree.topLevelItem(i)));
        EXPECT_NE(tree.topLevelItem(i)->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    }
}

TEST_F(TreeFilesTest, LoadGroupOfAnyNodeLoadsItsRoot)
{
    WriteSampleTree();
    files.LoadTree();
    QTreeWidgetItem *other = Group("Other");
    files.LoadGroup(other);
    QTreeWidgetItem *sub = other->child(0);
    files.LoadGroup(sub); // already loaded: nothing is added
    EXPECT_EQ(DumpSubtree(other), (Lines{"0 5/-1/-102,tree_user2.dat/Other", "1 1/-1/-1/Sub", "2 0/-1/8/Eight"}));
}

TEST_F(TreeFilesTest, SaveTreeWritesOnlyLoadedUnlockedGroups)
{
    WriteSampleTree();
    files.LoadTree();
    files.LoadGroup(Group("Channels"));
    files.LoadGroup(Group("Mine"));
    Group("Channels")->addChild(new TRadioTreeNode("Added", 0, -1, 50));
    Group("Mine")->addChild(new TRadioTreeNode("Added", 0, -1, 51));
    // A rewrite of any other file would change it: the unloaded groups would
    // lose their content and the channels would gain a station.
    const Lines names = {"ch.dat", "fav.dat", "recent.dat", "genre.dat", "tree_user1.dat", "tree_user2.dat"};
    std::map<std::string, std::string> before;
    for (const auto &n : names)
        before[n] = Read(n);
    files.Changed = true;
    files.SaveTree();
    EXPECT_FALSE(files.Changed);
    EXPECT_EQ(Read("tree_user1.dat"), "5/-1/-101/Mine\r\n\t0/-1/100001/My own\r\n\t0/-1/51/Added\r\n");
    for (const auto &n : names) {
        if (n != "tree_user1.dat") {
            EXPECT_EQ(Read(n), before[n]) << n; // locked or never loaded: untouched
        }
    }
}

TEST_F(TreeFilesTest, RecentAndFavouritesFollowTheirOwnFlags)
{
    WriteSampleTree();
    files.LoadTree();
    files.LoadAllGroups();
    Group("Recently Played")->insertChild(0, new TRadioTreeNode("New", 0, -1, 9));
    Group("Favorites")->addChild(new TRadioTreeNode("Fav", 0, -1, 10));
    Group("Mine")->addChild(new TRadioTreeNode("Unsaved", 0, -1, 11));
    const std::string favBefore = Read("fav.dat");
    const std::string mineBefore = Read("tree_user1.dat");

    files.RecentChanged = true;
    files.SaveTree();
    EXPECT_EQ(Read("recent.dat"), "3/-1/-97/Recently Played\r\n\t0/-1/9/New\r\n\t0/-1/4/Four\r\n");
    EXPECT_EQ(Read("fav.dat"), favBefore);
    EXPECT_EQ(Read("tree_user1.dat"), mineBefore);
    EXPECT_FALSE(files.RecentChanged);

    files.FavoritesChanged = true;
    files.SaveTree();
    EXPECT_EQ(Read("fav.dat"), "2/-1/-99/Favorites\r\n\t0/-1/3/Three\r\n\t0/-1/10/Fav\r\n");
    EXPECT_EQ(Read("tree_user1.dat"), mineBefore);
    EXPECT_FALSE(files.FavoritesChanged);
}

TEST_F(TreeFilesTest, UnloadedRecentGroupIsNeverWrittenEmpty)
{
    WriteSampleTree();
    files.LoadTree();
    const std::string before = Read("recent.dat");
    files.RecentChanged = true;
    files.SaveTree();
    EXPECT_EQ(Read("recent.dat"), before);
    EXPECT_FALSE(files.SaveGroupFile(Group("Recently Played")));
}

TEST_F(TreeFilesTest, SaveGroupFileRefusals)
{
    Write("treesys.dat", "9/-1/-20/Locked=locked.dat\r\n5/-1/1/Escape=../../escape.dat\r\n5/-1/1/NoFile=\r\n");
    files.LoadTree();
    files.LoadAllGroups();
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(files.SaveGroupFile(tree.topLevelItem(i))) << i;
    EXPECT_FALSE(FileExists(File("locked.dat")));
    EXPECT_FALSE(FileExists(dir / "escape.dat"));
    EXPECT_FALSE(files.SaveGroupFile(nullptr));
}

TEST_F(TreeFilesTest, FailedGroupWriteKeepsTheOldFile)
{
    WriteSampleTree();
    files.LoadTree();
    files.LoadGroup(Group("Mine"));
    Group("Mine")->addChild(new TRadioTreeNode("Added", 0, -1, 51));
    std::filesystem::remove(File("tree_user1.dat"));
    std::filesystem::create_directories(File("tree_user1.dat/blocked"));
    EXPECT_FALSE(files.SaveGroupFile(Group("Mine")));
    EXPECT_TRUE(std::filesystem::is_directory(File("tree_user1.dat/blocked")));
    EXPECT_EQ(Group("Mine")->childCount(), 2); // the tree stays as it was
}

TEST_F(TreeFilesTest, DeletedGroupsFileGoesAtTheNextSave)
{
    WriteSampleTree();
    files.LoadTree();
    files.DeleteNode(Group("Other"));
    EXPECT_TRUE(files.Changed);
    EXPECT_TRUE(FileExists(File("tree_user2.dat"))); // not before the save
    files.SaveTree();
    EXPECT_FALSE(FileExists(File("tree_user2.dat")));
    EXPECT_TRUE(files.FilesToDelete.empty());
    EXPECT_EQ(Read("treeuser.dat"), "5/-1/-101/Mine=tree_user1.dat\r\n");
    EXPECT_TRUE(FileExists(File("tree_user1.dat")));
}

TEST_F(TreeFilesTest, FileStillNamedByAnotherGroupIsKept)
{
    Write("treeuser.dat", "5/-1/-101/A=shared.dat\r\n5/-1/-101/B=shared.dat\r\n");
    Write("shared.dat", "5/-1/-101/A\r\n\t0/-1/1/One\r\n");
    files.LoadTree();
    files.DeleteNode(tree.topLevelItem(0));
    files.SaveTree();
    EXPECT_EQ(Read("shared.dat"), "5/-1/-101/A\r\n\t0/-1/1/One\r\n");
}

TEST_F(TreeFilesTest, DeletingANodeBelowTheTopDeletesNoFile)
{
    WriteSampleTree();
    files.LoadTree();
    files.LoadGroup(Group("Other"));
    files.DeleteNode(Group("Other")->child(0));
    EXPECT_TRUE(files.FilesToDelete.empty());
    files.SaveTree();
    EXPECT_EQ(Read("tree_user2.dat"), "5/-1/-102/Other\r\n");
}

TEST_F(TreeFilesTest, NewUserGroupFileNameSkipsNamesInUse)
{
    WriteSampleTree();
    files.LoadTree();
    EXPECT_EQ(files.NewUserGroupFileName(), "tree_user3.dat");
    files.DeleteNode(Group("Mine"));
    EXPECT_EQ(files.NewUserGroupFileName(), "tree_user1.dat");
}

TEST_F(TreeFilesTest, ReloadTreeReopensOneGroupAndSelectsTheStation)
{
    WriteSampleTree();
    // Genres is the fourth group (root index 3); its Six is node 3 + 1 + 2.
    TRadioTreeNode *playing = nullptr;
    const int count = files.ReloadTree(3, 6, &playing);
    EXPECT_EQ(count, 6 + 5);
    ASSERT_NE(playing, nullptr);
    EXPECT_EQ(playing->Caption(), "Six");
    EXPECT_EQ(tree.currentItem(), playing);
    EXPECT_TRUE(playing->parent()->isExpanded());
    EXPECT_TRUE(tree.isEnabled());
    for (const char *unloaded : {"Channels", "Favorites", "Recently Played", "Mine", "Other"})
        EXPECT_FALSE(TRadioTreeView::IsLoaded(Group(unloaded))) << unloaded;
}

TEST_F(TreeFilesTest, ReloadTreeWithIndexesThatNameNoStation)
{
    WriteSampleTree();
    struct Case {
        int root, node, count;
    };
    // Out of range; a sub-group (Jazz, index 4); a group; nothing at all.
    for (const Case c : {Case{99, 99, 6}, Case{3, 4, 11}, Case{3, 3, 11}, Case{-1, -1, 6}}) {
        TRadioTreeNode *playing = reinterpret_cast<TRadioTreeNode *>(1);
        EXPECT_EQ(files.ReloadTree(c.root, c.node, &playing), c.count) << c.root << "," << c.node;
        EXPECT_EQ(playing, nullptr);
    }
}

TEST_F(TreeFilesTest, RootIndexOfLeadsReloadTreeBackToEveryStation)
{
    WriteSampleTree();
    files.LoadTree();
    files.LoadAllGroups();
    // Every station of the fully loaded tree, found again after a reload
    // that loads only its own group.
    std::vector<std::pair<int, std::string>> stations;
    std::vector<TTreePosition> positions;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        ForEachDescendant(tree.topLevelItem(i), [&](const QTreeWidgetItem *item, int) {
            if (TRadioTreeView::IsStation(item)) {
                stations.emplace_back(TRadioTreeView::StationIdOf(item), TRadioTreeView::Node(item)->Caption());
                positions.push_back(TTreeFiles::RootIndexOf(const_cast<QTreeWidgetItem *>(item)));
            }
            return true;
        });
    ASSERT_EQ(stations.size(), 9u);
    for (size_t k = 0; k < stations.size(); ++k) {
        TRadioTreeNode *playing = nullptr;
        files.ReloadTree(positions[k].RootIndex, positions[k].NodeIndex, &playing);
        ASSERT_NE(playing, nullptr) << stations[k].second;
        EXPECT_EQ(playing->Number(), stations[k].first);
        EXPECT_EQ(playing->Caption(), stations[k].second);
    }
}

TEST_F(TreeFilesTest, RootIndexOfWithoutStation)
{
    WriteSampleTree();
    files.LoadTree();
    EXPECT_EQ(TTreeFiles::RootIndexOf(nullptr).RootIndex, 0);
    EXPECT_EQ(TTreeFiles::RootIndexOf(nullptr).NodeIndex, 0);
    // A group as the playing node points at itself, never at its first child.
    const TTreePosition p = TTreeFiles::RootIndexOf(Group("Genres"));
    EXPECT_EQ(p.RootIndex, 3);
    EXPECT_EQ(p.NodeIndex, 3);
}

TEST_F(TreeFilesTest, WholeTreeSurvivesSaveAndReload)
{
    WriteSampleTree();
    files.LoadTree();
    files.LoadAllGroups();
    // Change every editable kind of group, add a user group with a fresh file.
    std::mt19937 rng(7);
    for (const char *name : {"Favorites", "Recently Played", "Genres", "Mine", "Other"}) {
        QTreeWidgetItem *g = Group(name);
        for (int i = 0; i < 20; ++i) {
            const int at = std::uniform_int_distribution<int>(0, g->childCount())(rng);
            g->insertChild(at, new TRadioTreeNode("S/" + std::to_string(i) + "=x", i % 12,
                                                  std::uniform_int_distribution<int>(-1, 4)(rng), 1000 + i));
        }
    }
    const std::string fileName = files.NewUserGroupFileName();
    auto *added = new TRadioGroupNode("New/Group", tree.NextTopLevelImageIndex(), 2, "-101," + fileName);
    tree.addTopLevelItem(added);
    added->addChild(new TRadioTreeNode("Sub", 1, -1, -1));
    added->child(0)->addChild(new TRadioTreeNode("Deep", 0, 3, 100002));
    Group("Channels")->addChild(new TRadioTreeNode("Never saved", 0, -1, 77));
    files.Changed = true;
    files.RecentChanged = true;
    files.FavoritesChanged = true;
    files.SaveTree();

    Lines expected = DumpTree(tree);
    // The locked channels group is not written back.
    expected.erase(std::find(expected.begin(), expected.end(), "1 0/-1/77/Never saved"));
    TRadioTreeView reloaded;
    TTreeFiles reloadedFiles(reloaded);
    reloadedFiles.LoadTree();
    reloadedFiles.LoadAllGroups();
    EXPECT_EQ(DumpTree(reloaded), expected);
    EXPECT_EQ(fileName, "tree_user3.dat");
    EXPECT_TRUE(FileExists(File(fileName)));
}

TEST_F(TreeFilesTest, TreeIsSavedWhereItWasLoadedFrom)
{
    WriteSampleTree();
    files.LoadTree();
    files.LoadGroup(Group("Mine"));
    Group("Mine")->addChild(new TRadioTreeNode("Added", 0, -1, 51));
    // The language changes before the old tree is saved.
    SetCurLng("chs");
    std::filesystem::create_directories(DataPath());
    files.Changed = true;
    files.SaveTree();
    EXPECT_TRUE(std::filesystem::is_empty(DataPath()));
    SetCurLng("eng");
    EXPECT_EQ(Read("tree_user1.dat"), "5/-1/-101/Mine\r\n\t0/-1/100001/My own\r\n\t0/-1/51/Added\r\n");
}
