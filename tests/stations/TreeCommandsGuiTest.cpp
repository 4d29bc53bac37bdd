// The station list window's tree commands on a small tree: next and
// previous, recently played, the group kinds' rules, copy and paste, moves,
// and tree files that reload as they were after any run of commands.

#include "PlayListFixture.h"

#include "stations/RadioTreeViewU.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QTreeWidgetItemIterator>
#include <QTimer>

#include <algorithm>
#include <random>

namespace {

class TreeCommands : public PlayListFixture {
protected:
    std::vector<int> Ids(const std::string &group)
    {
        std::vector<int> ids;
        QTreeWidgetItem *g = Node(group);
        for (int i = 0; g && i < g->childCount(); ++i)
            ids.push_back(TRadioTreeView::StationIdOf(g->child(i)));
        return ids;
    }
    // The tree's groups as blocks, in any order: the maker's groups always
    // load before the user's.
    std::vector<std::string> Groups()
    {
        std::vector<std::string> blocks;
        for (const std::string &line : Dump()) {
            if (line.empty() || line[0] != ' ')
                blocks.emplace_back();
            blocks.back() += line + "\n";
        }
        std::sort(blocks.begin(), blocks.end());
        return blocks;
    }
};

TEST_F(TreeCommands, NextWrapsAtTheEndAndPreviousRunsOutBeforeTheFirstStation)
{
    std::vector<int> played;
    for (int i = 0; i < 13; ++i)
        played.push_back(list_->NextItem(0));
    // The recently played group is walked too, but playing from it does not
    // file the station again.
    EXPECT_EQ(played, (std::vector<int>{1, 2, 3, 4, 5, 5, 4, 3, 2, 1, 6, 7, 1}));
    EXPECT_EQ(Ids("Recent"), (std::vector<int>{1, 7, 6, 5, 4, 3, 2}));

    EXPECT_EQ(list_->PrevItem(), 0); // before the first station of the first group
    EXPECT_EQ(list_->Commands().Playing(), nullptr);
    EXPECT_EQ(list_->PrevItem(), 7); // starts again from the tree's last node
    EXPECT_EQ(list_->PrevItem(), 6);
}

TEST_F(TreeCommands, NextAfterThePlayingNodeWasDeletedStartsFromTheTop)
{
    Select("S1");
    EXPECT_EQ(list_->PlayStation(0), 7);
    Select("Sub");
    Trigger("nDel");
    EXPECT_EQ(list_->Commands().Playing(), nullptr);
    EXPECT_EQ(list_->NextItem(0), 1);
}

TEST_F(TreeCommands, RecentlyPlayedKeepsTheNewestHundredEachOnce)
{
    std::string mine = "5/-1/-101/Mine\r\n";
    for (int id = 1000; id <= 1100; ++id)
        mine += "\t0/-1/" + std::to_string(id) + "/St" + std::to_string(id) + "\r\n";
    WriteFileBytes(DataPath() + "tree_user1.dat", mine);
    WriteFileBytes(DataPath() + "recent.dat", "3/-1/-97/Recent\r\n\t0/-1/1050/St1050\r\n");
    Reload(); // the recently played group is not loaded: it loads before filing
    for (int id = 1000; id <= 1100; ++id) {
        list_->Tree()->setCurrentItem(Node("Mine")->child(id - 1000));
        ASSERT_EQ(list_->PlayStation(0), id);
    }
    std::vector<int> expected;
    for (int id = 1100; id > 1000; --id)
        expected.push_back(id);
    EXPECT_EQ(Ids("Recent"), expected);

    list_->SaveTree();
    Reload();
    EXPECT_EQ(Ids("Recent"), expected);
}

TEST_F(TreeCommands, CommandsTheGroupKindsForbidChangeNothingAndSayNothing)
{
    // A prompt that should not have opened would block the test: close it.
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (QWidget *w = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "a dialog opened";
            w->close();
        }
    });
    guard.start(200);
    const std::vector<std::string> before = Dump();
    struct TCase {
        const char *Node, *Action;
    } cases[] = {
        {"Rock1", "nDel"},     {"Jazz", "nDel"},         {"One", "nDel"},          {"Channels", "nDel"},
        {"Favorites", "nDel"}, {"Recent", "nDel"},       {"Genre", "nDel"},        {"Jazz", "nModifyGroup"},
        {"Genre", "nModifyGroup"}, {"Favorites", "nModifyGroup"}, {"Two", "nAddGroup"}, {"Rock1", "nCut"},
        {"One", "nDelFavorite"}, {"Rock1", "nDelFavorite"},
    };
    for (const TCase &c : cases) {
        Select(c.Node);
        Trigger(c.Action);
        Select("Two"); // a paste into the locked channels group after each
        Trigger("nPaste");
        Trigger("nIncorporate");
        EXPECT_EQ(Dump(), before) << c.Node << " " << c.Action;
    }
    // Copying is allowed anywhere, pasting into a locked group is not.
    Select("M1");
    Trigger("nCopy");
    Select("One");
    Trigger("nPaste");
    Select("Channels");
    Trigger("nIncorporate");
    EXPECT_EQ(Dump(), before);
    EXPECT_TRUE(boxes_.empty()) << boxes_.front();
    EXPECT_FALSE(list_->Commands().Files().Changed);
    Select("One");
    EXPECT_FALSE(list_->Commands().AddStationNode(99, "X"));
}

TEST_F(TreeCommands, ADeletedCopiedNodeIsForgotten)
{
    for (const char *how : {"nCopy", "nCut"}) {
        Reload();
        Select("S1");
        Trigger(how);
        Select("Sub");
        Trigger("nDel");
        EXPECT_EQ(list_->Commands().Copied(), nullptr) << how;
        const std::vector<std::string> before = Dump();
        Select("M1");
        Trigger("nPaste");
        Select("Mine");
        Trigger("nIncorporate");
        EXPECT_EQ(Dump(), before) << how;
    }
}

TEST_F(TreeCommands, MovesRefuseDescendantsLockedGroupsAndStationTargets)
{
    TTreeCommands &c = list_->Commands();
    EXPECT_FALSE(c.MoveNode(Node("Mine"), Node("S1")));      // into its own subtree
    EXPECT_FALSE(c.MoveNode(Node("Sub"), Node("S1")));
    EXPECT_FALSE(c.MoveNode(Node("Sub"), Node("Sub")));
    EXPECT_FALSE(c.MoveNode(Node("M1"), Node("One")));       // a station of a locked group
    EXPECT_FALSE(c.MoveNode(Node("One"), Node("M1")));       // out of a locked group
    EXPECT_FALSE(c.MoveNode(Node("Mine"), Node("Rock1")));   // a group onto a station
    EXPECT_FALSE(c.MoveNode(Node("M1"), nullptr));           // never to the top level
    EXPECT_FALSE(c.Files().Changed);

    ASSERT_TRUE(c.MoveNode(Node("M1"), Node("Jazz")));       // a collapsed sub-group: before it
    ASSERT_TRUE(c.MoveNode(Node("S1"), Node("Rock1")));      // a station: before it
    ASSERT_TRUE(c.MoveNode(Node("Mine"), Node("Genre")));    // a group: before the group
    EXPECT_EQ(Dump(), (std::vector<std::string>{"Channels", " One 1", " Two 2", "Mine", " Sub -1", "Genre",
                                                 " M1 6", " Jazz -1", "  J1 3", "  J2 4", " S1 7", " Rock1 5",
                                                 "Favorites", "Recent"}));
}

TEST_F(TreeCommands, PasteFollowsTheCopyRules)
{
    TTreeCommands &c = list_->Commands();
    // A group pasted onto a collapsed group with content becomes a new user group before it.
    c.Copy(Node("Genre"));
    QTreeWidgetItem *copy = c.Paste(Node("Mine"));
    ASSERT_NE(copy, nullptr);
    std::string file;
    EXPECT_EQ(TRadioTreeView::GroupKindOf(copy, &file), -101);
    EXPECT_EQ(file, "tree_user2.dat");
    EXPECT_EQ(list_->Tree()->indexOfTopLevelItem(copy) + 1, list_->Tree()->indexOfTopLevelItem(Node("Mine")));
    // Cut, then Copy of another: the cut node stays.
    c.Cut(Node("M1"));
    c.Copy(Node("S1"));
    c.Paste(Node("Rock1"));
    EXPECT_NE(Node("M1"), nullptr);
    // Add to favourites copies a group into the favourites, not beside them.
    QTreeWidgetItem *fav = c.AddFavorite(Node("Sub"));
    ASSERT_NE(fav, nullptr);
    EXPECT_EQ(fav->parent(), Node("Favorites"));
    c.SaveTree();
    EXPECT_EQ(ReadFileBytes(DataPath() + "fav.dat"), "2/-1/-99/Favorites\r\n\t1/-1/-1/Sub\r\n\t\t0/-1/7/S1\r\n");
}

TEST_F(TreeCommands, StationMenuAndChannelsMirrorTheTree)
{
    QMenu menu;
    int played = 0;
    list_->BuildStationMenu(&menu, [&](int id) { played = id; });
    ASSERT_EQ(menu.actions().size(), 5);
    EXPECT_EQ(menu.actions()[0]->menu(), nullptr); // groups not loaded yet have no entries
    list_->RefreshChannelsFromTree();              // loads the channels group
    EXPECT_EQ(main_.Channels, (std::vector<std::pair<int, std::string>>{{1, "One"}, {2, "Two"}}));
    list_->BuildStationMenu(&menu, [&](int id) { played = id; });
    QMenu *channels = menu.actions()[0]->menu();
    ASSERT_NE(channels, nullptr);
    channels->actions()[1]->trigger();
    EXPECT_EQ(played, 2);
    // A change rebuilds the menu; the new group shows up.
    list_->Tree()->setCurrentItem(nullptr);
    list_->Commands().AddGroup("New");
    list_->BuildStationMenu(&menu, [](int) {});
    EXPECT_EQ(menu.actions().back()->text(), "New");
}

TEST_F(TreeCommands, RandomCommandsLeaveTreeFilesThatReloadAsTheyWere)
{
    std::mt19937 random(20240611);
    TTreeCommands &c = list_->Commands();
    for (int round = 0; round < 12; ++round) {
        for (int step = 0; step < 25; ++step) {
            std::vector<QTreeWidgetItem *> nodes;
            c.Files().LoadAllGroups();
            for (QTreeWidgetItemIterator it(list_->Tree()); *it; ++it)
                nodes.push_back(*it);
            auto pick = [&]() -> QTreeWidgetItem * { return nodes[random() % nodes.size()]; };
            QTreeWidgetItem *a = pick(), *b = pick();
            list_->Tree()->setCurrentItem(b);
            switch (random() % 11) {
            case 0: c.Copy(a); break;
            case 1: c.Cut(a); break;
            case 2: c.Paste(b); break;
            case 3: c.Merge(b); break;
            case 4: c.Delete(a); break;
            case 5: c.MoveNode(a, b); break;
            case 6: c.AddGroup("G" + std::to_string(step)); break;
            case 7: c.RenameGroup("R/" + std::to_string(step)); break;
            case 8: c.AddFavorite(a); break;
            case 9: c.RemoveFavorite(a); break;
            case 10: random() % 2 ? list_->NextItem(0) : list_->PrevItem(); break;
            }
        }
        const std::vector<std::string> before = Groups();
        c.SaveTree();
        Reload();
        ASSERT_EQ(Groups(), before) << "round " << round;
    }
}

} // namespace
