// The shipped station tree of each language loads, and it files the shipped
// stations as the source list says: the first ten as channels, every station
// once by genre, by country and state, and by language, with the captions and
// IDs of the station data.
#include "app/GlobalUnit.h"
#include "stations/RadioTextDB.h"
#include "stations/RadioTreeViewU.h"
#include "stations/StationData.h"
#include "stations/TreeFileFormat.h"
#include "stations/TreeFiles.h"

#include <gtest/gtest.h>

#include <map>

namespace {

class ShippedTreeTest : public ::testing::TestWithParam<const char *> {
protected:
    void SetUp() override
    {
        oldAppPath_ = AppPath();
        oldLng_ = CurLng();
        SetAppPath(std::string(ORVANE_SOURCE_DIR) + "/data/");
        SetCurLng(GetParam());
        std::string error;
        ASSERT_TRUE(ReadStationSource(std::string(ORVANE_SOURCE_DIR) + "/tools/stations/stations-" + GetParam() +
                                          ".tsv",
                                      rows, error))
            << error;
        for (const auto &row : rows)
            byId[std::stoi(row[0])] = &row;
    }
    void TearDown() override
    {
        SetAppPath(oldAppPath_);
        SetCurLng(oldLng_);
    }

    // Station ID -> captions of its ancestors below the group, once per node.
    std::multimap<int, std::vector<std::string>> StationPaths(const QTreeWidgetItem *group) const
    {
        std::multimap<int, std::vector<std::string>> paths;
        ForEachDescendant(group, [&](const QTreeWidgetItem *item, int) {
            if (!TRadioTreeView::IsStation(item))
                return true;
            std::vector<std::string> path;
            for (const QTreeWidgetItem *p = item->parent(); p != group; p = p->parent())
                path.insert(path.begin(), TRadioTreeView::Node(p)->Caption());
            paths.emplace(TRadioTreeView::StationIdOf(item), path);
            return true;
        });
        return paths;
    }

    std::vector<TStationColumns> rows;
    std::map<int, const TStationColumns *> byId;
    TRadioTreeView tree;

private:
    std::string oldAppPath_, oldLng_;
};

TEST_P(ShippedTreeTest, GroupsInTheirOrder)
{
    TTreeFiles files(tree);
    files.LoadTree();
    std::vector<int> kinds;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        kinds.push_back(TRadioTreeView::GroupKindOf(tree.topLevelItem(i)));
    std::vector<int> expected{ChannelsGroupKind, FavoritesGroupKind, RecentGroupKind, 1, 2, 3};
    if (std::string(GetParam()) == "chs")
        expected.push_back(ManualUpdateGroupKind);
    EXPECT_EQ(kinds, expected);
}

TEST_P(ShippedTreeTest, StationsFiledAsTheSourceListSays)
{
    ASSERT_GE(rows.size(), 10u);
    TTreeFiles files(tree);
    files.LoadTree();
    files.LoadAllGroups();
    const std::string unknown = std::string(GetParam()) == "chs" ? "\xe6\x9c\xaa\xe7\x9f\xa5" : "Unknown";
    auto orUnknown = [&](const std::string &value) { return value.empty() ? unknown : value; };

    // Channels: the first ten stations, in order, directly in the group.
    QTreeWidgetItem *channels = tree.topLevelItem(0);
    ASSERT_EQ(channels->childCount(), 10);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(TRadioTreeView::StationIdOf(channels->child(i)), std::stoi(rows[static_cast<size_t>(i)][0]));
        EXPECT_EQ(TRadioTreeView::Node(channels->child(i))->Caption(), rows[static_cast<size_t>(i)][1]);
    }
    // Favourites and recently played start empty, and they are loaded.
    for (int i : {1, 2}) {
        EXPECT_EQ(tree.topLevelItem(i)->childCount(), 0);
        EXPECT_TRUE(TRadioTreeView::IsLoaded(tree.topLevelItem(i)));
    }
    // Every station once in each of genre, country (and state) and language.
    for (int g = 3; g <= 5; ++g) {
        SCOPED_TRACE(TRadioTreeView::Node(tree.topLevelItem(g))->Caption());
        const auto paths = StationPaths(tree.topLevelItem(g));
        EXPECT_EQ(paths.size(), rows.size());
        for (const auto &row : rows) {
            const int id = std::stoi(row[0]);
            ASSERT_EQ(paths.count(id), 1u) << id;
            std::vector<std::string> expected;
            if (g == 3)
                expected = {orUnknown(row[2])};
            else if (g == 4)
                expected = row[4].empty() ? std::vector<std::string>{orUnknown(row[3])}
                                          : std::vector<std::string>{orUnknown(row[3]), row[4]};
            else
                expected = {orUnknown(row[6])};
            EXPECT_EQ(paths.find(id)->second, expected) << id;
        }
    }
}

TEST_P(ShippedTreeTest, EveryStationNodeNamesAStationOfTheDataFile)
{
    TTreeFiles files(tree);
    files.LoadTree();
    files.LoadAllGroups();
    TRadioTable table;
    table.SetTableName(DataFileName());
    table.SetEncry(true);
    ASSERT_TRUE(table.Open());
    int stations = 0;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        ForEachDescendant(tree.topLevelItem(i), [&](const QTreeWidgetItem *item, int) {
            if (TRadioTreeView::IsStation(item)) {
                ++stations;
                const int id = TRadioTreeView::StationIdOf(item);
                EXPECT_TRUE(table.LoadById(id)) << id;
                EXPECT_EQ(table.VRadioName, TRadioTreeView::Node(item)->Caption()) << id;
            }
            return true;
        });
    table.Close();
    EXPECT_EQ(stations, static_cast<int>(10 + 3 * rows.size()));
}

INSTANTIATE_TEST_SUITE_P(Languages, ShippedTreeTest, ::testing::Values("eng", "chs"));

} // namespace
