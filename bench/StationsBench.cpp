// Station storage on a 100 000-record table: reading by ID (warm page cache),
// the index rebuild, appending, and changes in the middle compared with one
// move of the table's tail.
//
//   build/bench/bench_stations                      all of them
//   build/bench/bench_stations --benchmark_filter=ReadById
//
// The latency benchmarks time every call and report the median and the 99th
// percentile in microseconds (counters median_us and p99_us) besides the mean
// that the library prints.
#include "stations/RadioTextDB.h"
#include "stations/StationData.h"
#include "stations/TextDB.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include "BenchFolder.h"

#include <filesystem>
#include <random>
#include <stdexcept>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int RecordCount = 100000;
namespace fs = std::filesystem;

// One folder for the whole run with the generated tables; removed at exit.
struct TBenchFiles {
    TBenchFolder folder{"orvane-bench"};
    const std::string &dir = folder.Path();
    std::string plain;      // plain table (IDs 1..100000) with its indexes
    std::string enciphered; // enciphered table with its indexes

    TBenchFiles()
    {
        plain = dir + "plain.dat";
        enciphered = dir + "cipher.dat";
        std::string error;
        if (!WriteTableFiles(plain, GenerateSyntheticLines(RecordCount, 1), 0, error) ||
            !WriteTableFiles(enciphered, GenerateSyntheticLines(RecordCount, 1, 1, true), 0, error))
            throw std::runtime_error(error);
    }

    // A fresh copy of a table and its indexes under a new name, stamped with
    // the copy's own last-write time so that the index check trusts it.
    std::string Copy(const std::string &table, const std::string &name) const
    {
        const std::string to = dir + name + ".dat";
        auto stem = [](const std::string &p) { return p.substr(0, p.size() - 4); };
        fs::copy_file(table, to, fs::copy_options::overwrite_existing);
        fs::copy_file(stem(table) + ".idp", stem(to) + ".idp", fs::copy_options::overwrite_existing);
        fs::copy_file(stem(table) + ".idi", stem(to) + ".idi", fs::copy_options::overwrite_existing);
        const std::uint64_t stamp = TTextTable::FileStamp(to);
        unsigned char b[8];
        for (int i = 0; i < 8; ++i)
            b[i] = static_cast<unsigned char>(stamp >> (8 * i));
        const int fd = ::open((stem(to) + ".idp").c_str(), O_WRONLY | O_CLOEXEC);
        const auto size = static_cast<off_t>(fs::file_size(stem(to) + ".idp"));
        const bool ok = fd >= 0 && ::pwrite(fd, b, 8, size - 8) == 8;
        if (fd >= 0)
            ::close(fd);
        if (!ok)
            throw std::runtime_error("cannot stamp " + to);
        return to;
    }
};

TBenchFiles &Files()
{
    static TBenchFiles files;
    return files;
}

// Times each call of `op` and reports median and 99th percentile.
template <class Op> void TimedLoop(benchmark::State &state, Op op)
{
    std::vector<double> us;
    us.reserve(1 << 16);
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        op();
        const auto t1 = std::chrono::steady_clock::now();
        if (us.size() < (1u << 20))
            us.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
    }
    if (us.empty())
        return;
    std::sort(us.begin(), us.end());
    state.counters["median_us"] = us[us.size() / 2];
    state.counters["p99_us"] = us[std::min(us.size() - 1, us.size() * 99 / 100)];
}

std::vector<int> RandomIds(int n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::vector<int> ids(static_cast<std::size_t>(n));
    for (int &id : ids)
        id = 1 + static_cast<int>(rng() % RecordCount);
    return ids;
}

void BM_ReadById(benchmark::State &state)
{
    TTextTable t;
    t.SetTableName(Files().Copy(Files().plain, "readbyid"));
    t.SetNeedCheckIndex(state.range(0) != 0); // 1: the user table's way, with the index check
    t.Open();
    const auto ids = RandomIds(1 << 16, 11);
    for (int i = 0; i < 20000; ++i) // warm the page cache
        benchmark::DoNotOptimize(t.ReadById(ids[static_cast<std::size_t>(i) & 0xFFFF]));
    std::size_t i = 0;
    TimedLoop(state, [&] {
        const std::string line = t.ReadById(ids[i++ & 0xFFFF]);
        if (line.empty())
            state.SkipWithError("record not found");
        benchmark::DoNotOptimize(line);
    });
}
BENCHMARK(BM_ReadById)->Arg(1)->Arg(0)->ArgName("check");

void BM_LoadByIdEnciphered(benchmark::State &state)
{
    TRadioTable t;
    t.SetTableName(Files().Copy(Files().enciphered, "loadbyid"));
    t.SetEncry(true);
    t.Open();
    const auto ids = RandomIds(1 << 16, 12);
    std::size_t i = 0;
    TimedLoop(state, [&] {
        if (!t.LoadById(ids[i++ & 0xFFFF]) || t.VStreamURL.empty())
            state.SkipWithError("record not found");
    });
}
BENCHMARK(BM_LoadByIdEnciphered);

void BM_ReadLine(benchmark::State &state)
{
    TTextTable t;
    t.SetTableName(Files().Copy(Files().plain, "readline"));
    t.Open();
    const auto lines = RandomIds(1 << 16, 13);
    std::size_t i = 0;
    TimedLoop(state, [&] { benchmark::DoNotOptimize(t.ReadLine(lines[i++ & 0xFFFF])); });
}
BENCHMARK(BM_ReadLine);

// The index check finds another last-write time: normalise (the file is
// already CR LF throughout, so it is only read) and rebuild both indexes.
void BM_RebuildIndexAfterOutsideChange(benchmark::State &state)
{
    const std::string name = Files().Copy(Files().plain, "rebuild");
    TTextTable t;
    t.SetTableName(name);
    t.Open();
    std::int64_t shift = 0;
    for (auto _ : state) {
        state.PauseTiming();
        struct timespec ts[2];
        ts[0].tv_sec = ts[1].tv_sec = 1700000000 + ++shift;
        ts[0].tv_nsec = ts[1].tv_nsec = 0;
        utimensat(AT_FDCWD, name.c_str(), ts, 0);
        state.ResumeTiming();
        if (t.RecordCount() != RecordCount)
            state.SkipWithError("wrong count after rebuild");
    }
}
BENCHMARK(BM_RebuildIndexAfterOutsideChange)->Unit(benchmark::kMillisecond);

// The worst outside change: every line break is a bare LF, so the table is
// rewritten with CR LF before the rebuild.
void BM_NormaliseAndRebuildLfTable(benchmark::State &state)
{
    std::string lfText;
    for (const std::string &l : GenerateSyntheticLines(RecordCount, 1))
        lfText += l + "\n";
    const std::string name = Files().dir + "lf.dat";
    TTextTable t;
    t.SetTableName(name);
    for (auto _ : state) {
        state.PauseTiming();
        t.Close();
        {
            FILE *f = std::fopen(name.c_str(), "wb");
            std::fwrite(lfText.data(), 1, lfText.size(), f);
            std::fclose(f);
        }
        t.Open();
        state.ResumeTiming();
        if (t.RecordCount() != RecordCount)
            state.SkipWithError("wrong count after rebuild");
    }
}
BENCHMARK(BM_NormaliseAndRebuildLfTable)->Unit(benchmark::kMillisecond);

// Appending stations with new, ascending IDs (as NextFreeId gives them).
void BM_AppendLine(benchmark::State &state)
{
    TTextTable t;
    t.SetTableName(Files().Copy(Files().plain, "append"));
    t.Open();
    const std::vector<std::string> lines = GenerateSyntheticLines(1 << 14, 5, RecordCount + 1);
    std::size_t i = 0;
    TimedLoop(state, [&] {
        if (i >= lines.size()) {
            state.SkipWithError("out of prepared lines");
            return;
        }
        if (!t.AppendLine(lines[i++]))
            state.SkipWithError("append failed");
    });
}
BENCHMARK(BM_AppendLine)->Iterations(10000);

// Appending with an ID from the middle of the range: the ID index opens an
// 8-byte gap in its middle.
void BM_AppendLineMiddleId(benchmark::State &state)
{
    TTextTable t;
    t.SetTableName(Files().Copy(Files().plain, "appendmid"));
    t.Open();
    const auto ids = RandomIds(1 << 14, 6);
    std::size_t i = 0;
    TimedLoop(state, [&] {
        const int id = ids[i++ & 0x3FFF];
        if (!t.AppendLine(std::to_string(id) + "\tDuplicate " + std::to_string(id) + "\tPop\t\t\t\t\t2\t0\t128K"))
            state.SkipWithError("append failed");
    });
}
BENCHMARK(BM_AppendLineMiddleId)->Iterations(5000);

// Replacing line 50 000 with a text 40 bytes longer, then shorter again:
// every call moves the table's tail (and the offsets after the line) once.
void BM_ModifyLineMiddle(benchmark::State &state)
{
    TTextTable t;
    t.SetTableName(Files().Copy(Files().plain, "modify"));
    t.Open();
    const int line = RecordCount / 2;
    const std::string base = t.ReadLine(line);
    const std::string longer = base + std::string(40, 'x');
    bool grow = true;
    TimedLoop(state, [&] {
        if (!t.ModifyLine(line, grow ? longer : base))
            state.SkipWithError("modify failed");
        grow = !grow;
    });
    state.counters["tail_bytes"] = static_cast<double>(fs::file_size(t.TableName()) / 2);
}
BENCHMARK(BM_ModifyLineMiddle)->Unit(benchmark::kMicrosecond);

// The yardstick for the above: opening and closing a 40-byte gap at the same
// place of the same file, i.e. moving the tail once per call and nothing else.
void BM_MoveTailOnce(benchmark::State &state)
{
    TTextTable t;
    const std::string name = Files().Copy(Files().plain, "movetail");
    t.SetTableName(name);
    t.Open();
    const int line = RecordCount / 2;
    const std::string base = t.ReadLine(line);
    t.Close();
    const auto at = static_cast<std::int64_t>(fs::file_size(name) / 2);
    const int fd = ::open(name.c_str(), O_RDWR | O_CLOEXEC);
    auto size = static_cast<std::int64_t>(fs::file_size(name));
    bool grow = true;
    TimedLoop(state, [&] {
        const bool ok = grow ? TextDBFile::OpenGap(fd, at, 40, size) : TextDBFile::RemoveBytes(fd, at + 40, 40, size);
        size += grow ? 40 : -40;
        if (!ok)
            state.SkipWithError("move failed");
        grow = !grow;
    });
    ::close(fd);
}
BENCHMARK(BM_MoveTailOnce)->Unit(benchmark::kMicrosecond);

void BM_ModifyLineSameLength(benchmark::State &state)
{
    TTextTable t;
    t.SetTableName(Files().Copy(Files().plain, "modsame"));
    t.Open();
    const int line = RecordCount / 2;
    std::string text = t.ReadLine(line);
    TimedLoop(state, [&] {
        text.back() = text.back() == 'x' ? 'y' : 'x';
        if (!t.ModifyLine(line, text))
            state.SkipWithError("modify failed");
    });
}
BENCHMARK(BM_ModifyLineSameLength);

void BM_InsertAndDeleteMiddle(benchmark::State &state)
{
    TTextTable t;
    t.SetTableName(Files().Copy(Files().plain, "insdel"));
    t.Open();
    const int line = RecordCount / 2;
    bool insert = true;
    TimedLoop(state, [&] {
        const bool ok = insert ? t.InsertLine(line, "200000\tInserted station\tPop") : t.DeleteLine(line);
        if (!ok)
            state.SkipWithError("insert/delete failed");
        insert = !insert;
    });
}
BENCHMARK(BM_InsertAndDeleteMiddle)->Unit(benchmark::kMicrosecond);

void BM_NextFreeId(benchmark::State &state)
{
    TTextTable t;
    t.SetTableName(Files().Copy(Files().plain, "nextfree"));
    t.Open();
    TimedLoop(state, [&] { benchmark::DoNotOptimize(t.NextFreeId(0)); });
}
BENCHMARK(BM_NextFreeId)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
