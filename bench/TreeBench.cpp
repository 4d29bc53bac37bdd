// The station tree with a 10 000-station group file: reading the group lists
// at start-up, the first expansion of that group (file read, nodes built,
// the view laid out and painted), saving it, and the heap taken per loaded
// station node.
//
//   build/bench/bench_tree                          all of them
//   build/bench/bench_tree --benchmark_filter=Save
//
// Argument 0: the 10 000 stations directly in the group (10 000 rows to lay
// out when it opens); argument 1: the same stations in 50 sub-groups of 200.
// The memory benchmark reports bytes_per_node counters: heap in use (glibc
// mallinfo2) after loading the group, and after expanding and painting it,
// minus the heap in use before, divided by the nodes loaded.
#include "app/GlobalUnit.h"
#include "stations/RadioTreeViewU.h"
#include "stations/TreeFileFormat.h"
#include "stations/TreeFiles.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include "BenchFolder.h"

#include <filesystem>
#include <malloc.h>
#include <memory>
#include <random>
#include <stdexcept>

namespace {

namespace fs = std::filesystem;
constexpr int StationCount = 10000;
constexpr int SubGroupCount = 50;

// One program folder per run with both group lists and two big group files.
struct TBenchTree {
    TBenchFolder folder{"orvane-tree-bench"};

    TBenchTree()
    {
        SetAppPath(folder.Path());
        SetCurLng("eng");
        fs::create_directories(DataPath());
        const std::string data = DataPath();
        bool ok = WriteTextLines(SystemGroupListName(data),
                                 {"9/-1/-11/Channels=tree_channels.dat", "2/-1/-99/Favorites=tree_favorites.dat",
                                  "3/-1/-97/Recently Played=tree_recent.dat", "6/-1/1/Flat=flat.dat",
                                  "6/-1/2/Nested=nested.dat", "8/-1/3/Languages=tree_language.dat"});
        ok = ok && WriteTextLines(UserGroupListName(data),
                                  {"5/-1/-101/Mine=tree_user1.dat", "5/-1/-102/More=tree_user2.dat"});
        ok = ok && WriteTextLines(data + "flat.dat", GroupFile(false));
        ok = ok && WriteTextLines(data + "nested.dat", GroupFile(true));
        if (!ok)
            throw std::runtime_error("cannot write the bench tree");
    }

    static std::vector<std::string> GroupFile(bool nested)
    {
        std::mt19937 rng(1);
        std::uniform_int_distribution<int> id(1, 100000);
        std::vector<std::string> lines{"6/-1/1/Group"};
        for (int i = 0; i < StationCount; ++i) {
            if (nested && i % (StationCount / SubGroupCount) == 0)
                lines.push_back(ComposeGroupFileLine({1, 1, -1, -1, "Sub-group " + std::to_string(i)}));
            const int depth = nested ? 2 : 1;
            lines.push_back(ComposeGroupFileLine(
                {depth, 0, -1, id(rng), "Station " + std::to_string(i) + " FM \xe9\x9f\xb3\xe4\xb9\x90/Radio"}));
        }
        return lines;
    }
};

TBenchTree &Files()
{
    static TBenchTree files;
    return files;
}

// A shown tree with the group lists loaded, as after start-up.
struct TLoadedTree {
    TRadioTreeView tree;
    TTreeFiles files{tree};

    TLoadedTree()
    {
        tree.resize(300, 600);
        tree.show();
        files.LoadTree();
    }
    QTreeWidgetItem *Group(int arg) { return tree.topLevelItem(arg == 0 ? 3 : 4); }
};

void BM_LoadGroupLists(benchmark::State &state)
{
    Files();
    TRadioTreeView tree;
    TTreeFiles files(tree);
    for (auto _ : state) {
        files.LoadTree();
        benchmark::DoNotOptimize(tree.topLevelItemCount());
    }
    state.SetLabel(std::to_string(tree.topLevelItemCount()) + " groups");
}
BENCHMARK(BM_LoadGroupLists)->Unit(benchmark::kMillisecond);

void BM_FirstExpansion(benchmark::State &state)
{
    Files();
    for (auto _ : state) {
        state.PauseTiming();
        auto loaded = std::make_unique<TLoadedTree>();
        QApplication::processEvents();
        QTreeWidgetItem *group = loaded->Group(static_cast<int>(state.range(0)));
        state.ResumeTiming();
        loaded->tree.expandItem(group); // reads and builds the group
        loaded->tree.viewport()->repaint();
        state.PauseTiming();
        if (loaded->tree.NodeCount() < StationCount)
            state.SkipWithError("group not loaded");
        loaded.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstExpansion)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_SaveGroup(benchmark::State &state)
{
    Files();
    TLoadedTree loaded;
    QTreeWidgetItem *group = loaded.Group(static_cast<int>(state.range(0)));
    loaded.files.LoadGroup(group);
    for (auto _ : state) {
        if (!loaded.files.SaveGroupFile(group))
            state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveGroup)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

size_t HeapInUse() { return mallinfo2().uordblks; }

void BM_MemoryPerStationNode(benchmark::State &state)
{
    Files();
    double loadedBytes = 0, shownBytes = 0;
    for (auto _ : state) {
        TLoadedTree loaded;
        QApplication::processEvents();
        QTreeWidgetItem *group = loaded.Group(static_cast<int>(state.range(0)));
        const size_t before = HeapInUse();
        loaded.files.LoadGroup(group);
        const size_t afterLoad = HeapInUse();
        loaded.tree.expandItem(group);
        loaded.tree.viewport()->repaint();
        const size_t afterShow = HeapInUse();
        const double nodes = loaded.tree.NodeCount() - loaded.tree.topLevelItemCount();
        loadedBytes = static_cast<double>(afterLoad - before) / nodes;
        shownBytes = static_cast<double>(afterShow - before) / nodes;
    }
    state.counters["bytes_per_node_loaded"] = loadedBytes;
    state.counters["bytes_per_node_shown"] = shownBytes;
}
BENCHMARK(BM_MemoryPerStationNode)->Arg(0)->Arg(1)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
