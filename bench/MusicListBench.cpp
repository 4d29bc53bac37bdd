// The music list with 50 000 entries: loading the list file at start into
// the shown list box (read, rows laid out, the view painted with the current
// entry scrolled into view), the same read without the list box, and saving.
//
//   build/bench/bench_music_list
//   build/bench/bench_music_list --benchmark_filter=ListBox
#include "app/GlobalUnit.h"
#include "stations/MyListBox.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include "BenchFolder.h"

#include <filesystem>
#include <stdexcept>

namespace {

namespace fs = std::filesystem;
constexpr int EntryCount = 50000;

// A program folder with a list file of EntryCount entries in 500 folders,
// some addresses among them, written once per run.
struct TBenchList {
    TBenchFolder folder{"orvane-music-bench"};

    TBenchList()
    {
        SetAppPath(folder.Path());
        TMusicList list;
        std::vector<std::string> paths;
        for (int i = 0; i < EntryCount; ++i) {
            if (i % 100 == 99)
                list.InsertEntry("http://radio" + std::to_string(i) + ".example/live", -1);
            else
                list.InsertEntry("/home/user/Music/Artist " + std::to_string(i / 100) + "/Album/" +
                                     std::to_string(i % 100) + " - Track title number " + std::to_string(i) + ".mp3",
                                 -1);
        }
        if (!list.Save(MusicListFileName()))
            throw std::runtime_error("cannot write the list file");
    }
};

const TBenchList &Files()
{
    static TBenchList files;
    return files;
}

void BM_LoadIntoListBox(benchmark::State &state)
{
    Files();
    for (auto _ : state) {
        state.PauseTiming();
        auto box = std::make_unique<TMyListBox>();
        box->resize(300, 600);
        box->show();
        QApplication::processEvents();
        state.ResumeTiming();
        box->LoadMusicList(EntryCount - 10); // near the end: the view scrolls there
        box->viewport()->repaint();
        state.PauseTiming();
        if (box->List().Count() != EntryCount)
            state.SkipWithError("list not loaded");
        box.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadIntoListBox)->Unit(benchmark::kMillisecond);

void BM_ReadListFile(benchmark::State &state)
{
    Files();
    for (auto _ : state) {
        TMusicList list;
        list.Load(MusicListFileName(), 0);
        if (list.Count() != EntryCount)
            state.SkipWithError("list not loaded");
    }
}
BENCHMARK(BM_ReadListFile)->Unit(benchmark::kMillisecond);

void BM_SaveListFile(benchmark::State &state)
{
    Files();
    TMusicList list;
    list.Load(MusicListFileName(), 0);
    for (auto _ : state) {
        list.InsertEntry("/one/more.mp3", -1); // marks it changed
        if (!list.Save(MusicListFileName()))
            state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveListFile)->Unit(benchmark::kMillisecond);

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
