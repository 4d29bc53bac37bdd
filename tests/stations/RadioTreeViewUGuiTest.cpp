// TRadioTreeView: node data, group list and group file lines in and out,
// bad group files, icons, and the scroll and resize events.
#include "TestSupport.h"
#include "TreeTestSupport.h"
#include "stations/RadioTreeViewU.h"
#include "stations/TreeFileFormat.h"

#include <QApplication>
#include <QThread>

#include <gtest/gtest.h>

#include <random>

namespace {

using Lines = std::vector<std::string>;

// A group node with the given data, loaded from group file lines.
TRadioGroupNode *AddGroup(TRadioTreeView &tree, const Lines &fileLines, const std::string &data = "-101,g.dat")
{
    auto *group = new TRadioGroupNode("G", 5, -1, data);
    tree.addTopLevelItem(group);
    tree.LoadSubtree(fileLines, group);
    return group;
}

// A random subtree under `parent`: captions with "/", "=", TABs and UTF-8.
void GrowRandomSubtree(std::mt19937 &rng, QTreeWidgetItem *parent, int depth, int &budget)
{
    static const std::vector<std::string> pieces = {"Radio", "/", "=", " ", "\t", "AC/DC", "\xe9\x9f\xb3\xe4\xb9\x90",
                                                    "-1/", "99", "x=y", "caf\xc3\xa9"};
    std::uniform_int_distribution<int> children(0, depth == 1 ? 8 : 4);
    int n = children(rng);
    while (n-- > 0 && budget-- > 0) {
        std::string caption;
        for (int k = std::uniform_int_distribution<int>(0, 4)(rng); k > 0; --k)
            caption += pieces[std::uniform_int_distribution<size_t>(0, pieces.size() - 1)(rng)];
        const bool group = depth < 5 && std::bernoulli_distribution(0.3)(rng);
        const int number = group ? -std::uniform_int_distribution<int>(1, 3)(rng)
                                 : std::uniform_int_distribution<int>(0, 2000000)(rng);
        auto *node = new TRadioTreeNode(caption, std::uniform_int_distribution<int>(-1, 12)(rng),
                                        std::uniform_int_distribution<int>(-2, 3)(rng), number);
        parent->addChild(node);
        if (group)
            GrowRandomSubtree(rng, node, depth + 1, budget);
    }
}

} // namespace

TEST(RadioTreeView, GroupListLinesRoundTrip)
{
    TRadioTreeView tree;
    const Lines lines = {"9/-1/-11/Channels=tree_channels.dat", "7/2/2/Countries/Regions=tree_country.dat",
                         "", "5/-1/-101/\xe6\x88\x91\xe7\x9a\x84=tree_user1.dat", "11/-1/-96/Manually update data="};
    tree.LoadGroupList(lines);
    ASSERT_EQ(tree.topLevelItemCount(), 4); // the blank line is no group
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(tree.topLevelItem(i)->childCount(), 0);
        EXPECT_EQ(tree.topLevelItem(i)->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
        EXPECT_FALSE(TRadioTreeView::IsLoaded(tree.topLevelItem(i)));
    }
    EXPECT_EQ(tree.TopNode(1)->Caption(), "Countries/Regions");
    EXPECT_EQ(tree.TopNode(1)->StateIndex(), 2);
    Lines saved;
    tree.SaveGroupList(saved);
    EXPECT_EQ(saved, (Lines{lines[0], lines[1], lines[3], lines[4]}));
}

TEST(RadioTreeView, LoadingAGroupListReplacesTheTree)
{
    TRadioTreeView tree;
    tree.LoadGroupList({"1/-1/1/A=a.dat", "1/-1/1/B=b.dat"});
    tree.LoadGroupList({"1/-1/1/C=c.dat"});
    ASSERT_EQ(tree.topLevelItemCount(), 1);
    EXPECT_EQ(tree.TopNode(0)->Caption(), "C");
}

TEST(RadioTreeView, CaptionWithEqualsSignDoesNotSurviveTheGroupList)
{
    TRadioTreeView tree;
    tree.LoadGroupList({"5/-1/-101/Mine=tree_user1.dat"});
    tree.TopNode(0)->SetCaption("a=b");
    Lines saved;
    tree.SaveGroupList(saved);
    tree.LoadGroupList(saved);
    std::string file;
    EXPECT_EQ(TRadioTreeView::GroupKindOf(tree.topLevelItem(0), &file), -101);
    EXPECT_EQ(tree.TopNode(0)->Caption(), "a");
    EXPECT_EQ(file, "b=tree_user1.dat");
}

TEST(RadioTreeView, GroupFileWithOneSubGroupAndOneStation)
{
    TRadioTreeView tree;
    TRadioGroupNode *group = AddGroup(tree, {"6/4/1/ignored caption", "\t1/-1/-1/Rock", "\t\t0/-1/42/Rock FM"}, "1,g.dat");
    // The first line gives the group its icon and state, not its caption or data.
    EXPECT_EQ(DumpTree(tree), (Lines{"0 6/4/1,g.dat/G", "1 1/-1/-1/Rock", "2 0/-1/42/Rock FM"}));
    Lines saved;
    tree.SaveSubtree(saved, group);
    EXPECT_EQ(saved, (Lines{"6/4/1/G", "\t1/-1/-1/Rock", "\t\t0/-1/42/Rock FM"}));
}

TEST(RadioTreeView, SubGroupBelowTheTopTakesTheFirstLinesNumber)
{
    TRadioTreeView tree;
    TRadioGroupNode *group = AddGroup(tree, {"6/-1/1/G", "\t1/-1/-1/Sub"});
    QTreeWidgetItem *sub = group->child(0);
    tree.LoadSubtree({"3/2/-7/first", "\t0/-1/9/station"}, sub);
    EXPECT_EQ(DumpSubtree(sub), (Lines{"0 3/2/-7/Sub", "1 0/-1/9/station"}));
    // Saved on its own, a sub-group is the first line with its own number.
    Lines saved;
    tree.SaveSubtree(saved, sub);
    EXPECT_EQ(saved, (Lines{"3/2/-7/Sub", "\t0/-1/9/station"}));
}

TEST(RadioTreeView, RandomTreesSurviveSavingAndLoadingTheirFiles)
{
    TempDir dir;
    std::mt19937 rng(20240611);
    for (int round = 0; round < 25; ++round) {
        SCOPED_TRACE(round);
        TRadioTreeView tree;
        auto *group = new TRadioGroupNode("G", 6, round % 3 - 1, "-101,x.dat");
        tree.addTopLevelItem(group);
        int budget = 400;
        GrowRandomSubtree(rng, group, 1, budget);
        ASSERT_TRUE(tree.SaveSubtreeFile(dir / "g.dat", group));

        TRadioTreeView loaded;
        auto *copy = new TRadioGroupNode("G", 0, 0, "-101,x.dat");
        loaded.addTopLevelItem(copy);
        ASSERT_TRUE(loaded.LoadSubtreeFile(dir / "g.dat", copy));
        EXPECT_EQ(DumpTree(loaded), DumpTree(tree));
    }
}

TEST(RadioTreeView, TruncatedGroupFileKeepsWhatWasRead)
{
    TempDir dir;
    const std::string whole = "6/-1/1/G\r\n\t1/-1/-1/Rock\r\n\t\t0/-1/42/Rock FM\r\n\t\t0/-1/43/Second station\r\n";
    struct Case {
        size_t cut;
        Lines dump;
    };
    const size_t inCaption = whole.find("Second") + 3;
    const size_t inNumbers = whole.find("0/-1/43") + 3;
    const Case cases[] = {
        {inCaption, {"0 6/-1/-101,g.dat/G", "1 1/-1/-1/Rock", "2 0/-1/42/Rock FM", "2 0/-1/43/Sec"}},
        {inNumbers, {"0 6/-1/-101,g.dat/G", "1 1/-1/-1/Rock", "2 0/-1/42/Rock FM", "2 0/-1/-1/"}},
        {5, {"0 6/-1/-101,g.dat/G"}},
        {0, {"0 5/-1/-101,g.dat/G"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.cut);
        WriteFileBytes(dir / "g.dat", whole.substr(0, c.cut));
        TRadioTreeView tree;
        auto *group = new TRadioGroupNode("G", 5, -1, "-101,g.dat");
        tree.addTopLevelItem(group);
        EXPECT_TRUE(tree.LoadSubtreeFile(dir / "g.dat", group));
        EXPECT_EQ(DumpTree(tree), c.dump);
    }
}

TEST(RadioTreeView, GarbageGroupFilesLoadAndThenRoundTrip)
{
    // Whatever a damaged file holds, what was loaded saves and loads again
    // unchanged.
    TempDir dir;
    std::mt19937 rng(99);
    static const char symbols[] = "\t\t\t   ///--0123456789+a=\r\n\xff\xe4"; // and its closing NUL
    const std::string alphabet(symbols, sizeof symbols);
    for (int round = 0; round < 50; ++round) {
        std::string bytes(std::uniform_int_distribution<size_t>(0, 3000)(rng), ' ');
        for (char &c : bytes)
            c = alphabet[std::uniform_int_distribution<size_t>(0, alphabet.size() - 1)(rng)];
        WriteFileBytes(dir / "g.dat", bytes);
        TRadioTreeView tree;
        auto *group = new TRadioGroupNode("G", 5, -1, "-101,g.dat");
        tree.addTopLevelItem(group);
        tree.LoadSubtreeFile(dir / "g.dat", group);
        ASSERT_TRUE(tree.SaveSubtreeFile(dir / "again.dat", group));

        TRadioTreeView reloaded;
        auto *copy = new TRadioGroupNode("G", 0, 0, "-101,g.dat");
        reloaded.addTopLevelItem(copy);
        reloaded.LoadSubtreeFile(dir / "again.dat", copy);
        ASSERT_EQ(DumpTree(reloaded), DumpTree(tree)) << round;
    }
}

TEST(RadioTreeView, MissingGroupFileBuildsNothing)
{
    TempDir dir;
    TRadioTreeView tree;
    auto *group = new TRadioGroupNode("G", 5, -1, "-101,g.dat");
    tree.addTopLevelItem(group);
    EXPECT_FALSE(tree.LoadSubtreeFile(dir / "missing.dat", group));
    EXPECT_EQ(DumpTree(tree), (Lines{"0 5/-1/-101,g.dat/G"}));
}

TEST(RadioTreeView, DeepestNestingSavesAndLoads)
{
    Lines lines{"6/-1/1/G"};
    for (int d = 1; d <= MaxGroupDepth; ++d)
        lines.push_back(std::string(static_cast<size_t>(d), '\t') + "1/-1/-1/L" + std::to_string(d));
    TRadioTreeView tree;
    TRadioGroupNode *group = AddGroup(tree, lines, "1,g.dat");
    EXPECT_EQ(tree.NodeCount(), MaxGroupDepth + 1);
    Lines saved;
    tree.SaveSubtree(saved, group);
    EXPECT_EQ(saved, lines);
}

TEST(RadioTreeView, NodeData)
{
    TRadioTreeView tree;
    TRadioGroupNode *group = AddGroup(tree, {"6/-1/1/G", "\t1/-1/-1/Sub", "\t\t0/-1/0/Zero", "\t0/-1/7/Seven"}, "-99,fav.dat");
    QTreeWidgetItem *sub = group->child(0);
    QTreeWidgetItem *zero = sub->child(0);
    QTreeWidgetItem *seven = group->child(1);

    EXPECT_FALSE(TRadioTreeView::IsStation(group));
    EXPECT_FALSE(TRadioTreeView::IsStation(sub));
    EXPECT_TRUE(TRadioTreeView::IsStation(zero)); // ID 0 is a station
    EXPECT_EQ(TRadioTreeView::StationIdOf(seven), 7);
    EXPECT_EQ(TRadioTreeView::StationIdOf(group), 0);
    TRadioTreeView::SetStationId(seven, 100001);
    EXPECT_EQ(TRadioTreeView::StationIdOf(seven), 100001);
    TRadioTreeView::SetStationId(group, 5); // a group keeps its group data
    EXPECT_EQ(group->GroupData(), "-99,fav.dat");

    std::string file;
    EXPECT_EQ(TRadioTreeView::GroupKindOf(group, &file), -99);
    EXPECT_EQ(file, "fav.dat");
    TRadioTreeView::SetGroupData(group, "abc", "x,y.dat");
    EXPECT_EQ(TRadioTreeView::GroupKindOf(group, &file), -1);
    EXPECT_EQ(file, "x,y.dat");
    TRadioTreeView::SetGroupData(group, "-102", "");
    EXPECT_EQ(TRadioTreeView::GroupKindOf(group, &file), -102);
    EXPECT_EQ(file, "");
    EXPECT_EQ(TRadioTreeView::GroupKindOf(seven, &file), -1); // no group

    EXPECT_EQ(TRadioTreeView::RootOf(zero), group);
    EXPECT_EQ(TRadioTreeView::RootOf(group), group);
    EXPECT_EQ(tree.NodeCount(), 4);
    EXPECT_EQ(tree.NodeAt(2), zero); // children of collapsed nodes count
    EXPECT_EQ(tree.NodeAt(3), seven);
    EXPECT_EQ(tree.NodeAt(4), nullptr);
    EXPECT_EQ(tree.NodeAt(-1), nullptr);
}

TEST(RadioTreeView, CaptionsAndIconsAsShown)
{
    TRadioTreeView tree;
    TRadioGroupNode *group = AddGroup(tree, {"6/-1/1/G", "\t3/-1/5/\xe9\x9f\xb3\xe4\xb9\x90 FM"});
    auto *node = TRadioTreeView::Node(group->child(0));
    EXPECT_EQ(node->text(0), QString::fromUtf8("\xe9\x9f\xb3\xe4\xb9\x90 FM"));
    node->setText(0, QStringLiteral("Jazz/Blues"));
    EXPECT_EQ(node->Caption(), "Jazz/Blues");

    QPixmap red(16, 16);
    red.fill(Qt::red);
    std::vector<QIcon> icons(4);
    icons[3] = QIcon(red);
    tree.SetImages(icons);
    EXPECT_EQ(node->icon(0).cacheKey(), icons[3].cacheKey());
    node->SetImageIndex(9); // beyond the list: no icon
    EXPECT_TRUE(node->icon(0).isNull());
}

TEST(RadioTreeView, NextTopLevelImageStopsAtTheLastIcon)
{
    TRadioTreeView tree;
    EXPECT_EQ(tree.ImageCount(), 10);
    EXPECT_EQ(tree.NextTopLevelImageIndex(), 0);
    tree.LoadGroupList({"2/-1/-99/Fav=f.dat", "6/-1/1/Genres=g.dat", "3/-1/-97/Recent=r.dat"});
    EXPECT_EQ(tree.NextTopLevelImageIndex(), 7);
    tree.LoadGroupList({"9/-1/1/A=a.dat"});
    EXPECT_EQ(tree.NextTopLevelImageIndex(), 9);
    tree.LoadGroupList({"40/-1/1/A=a.dat"});
    EXPECT_EQ(tree.NextTopLevelImageIndex(), 9);
}

// Paints the viewport once the offscreen window can be painted.
bool PaintNow(TRadioTreeView &tree, const int &count)
{
    const int before = count;
    for (int i = 0; i < 100 && count == before; ++i) {
        tree.viewport()->update();
        QApplication::processEvents();
        if (count == before)
            QThread::msleep(10);
    }
    return count > before;
}

struct TScrollReport {
    TRadioTreeView *sender = nullptr;
    int minPos = -1, maxPos = -1, curPos = -1;
    int count = 0;
};

TEST(RadioTreeView, VertScrollReportsRowsAfterEachPaint)
{
    TRadioTreeView tree;
    TScrollReport last;
    QObject::connect(&tree, &TRadioTreeView::OnVertScroll, [&](TRadioTreeView *sender, int minPos, int maxPos, int curPos) {
        last = {sender, minPos, maxPos, curPos, last.count + 1};
    });
    tree.resize(200, 200);
    tree.show();
    ASSERT_TRUE(PaintNow(tree, last.count));
    EXPECT_EQ(last.maxPos, 0); // no node: nothing to scroll

    Lines lines{"6/-1/1/G"};
    for (int i = 0; i < 100; ++i)
        lines.push_back("\t0/-1/" + std::to_string(i) + "/Station " + std::to_string(i));
    TRadioGroupNode *group = AddGroup(tree, lines);
    tree.expandItem(group);
    tree.scrollToBottom();
    ASSERT_TRUE(PaintNow(tree, last.count));
    const int rowHeight = tree.visualItemRect(group).height();
    ASSERT_GT(rowHeight, 0);
    const int visibleRows = tree.viewport()->height() / rowHeight;
    EXPECT_EQ(last.sender, &tree);
    EXPECT_EQ(last.minPos, 0);
    EXPECT_EQ(last.maxPos, 101 - visibleRows); // the top row of the last page
    EXPECT_EQ(last.curPos, last.maxPos);       // scrolled to the bottom

    tree.scrollToTop();
    ASSERT_TRUE(PaintNow(tree, last.count));
    EXPECT_EQ(last.curPos, 0);
    EXPECT_EQ(last.maxPos, 101 - visibleRows);
}

TEST(RadioTreeView, ResizeIsReported)
{
    TRadioTreeView tree;
    int count = 0;
    TRadioTreeView *sender = nullptr;
    QObject::connect(&tree, &TRadioTreeView::OnResize, [&](TRadioTreeView *s) {
        sender = s;
        ++count;
    });
    tree.resize(120, 80);
    tree.show();
    QApplication::processEvents();
    const int before = count;
    tree.resize(150, 90);
    QApplication::processEvents();
    EXPECT_GT(count, before);
    EXPECT_EQ(sender, &tree);
}
