#include "app/LogU.h"

#include "TestSupport.h"
#include "app/GlobalUnit.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace orvane_test {
class EWaveException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
} // namespace orvane_test

namespace {

std::string Hex8(long value)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.8lX", value);
    return buf;
}

std::vector<std::string> Lines(const std::string &bytes)
{
    std::vector<std::string> lines;
    for (size_t start = 0; start < bytes.size();) {
        const size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(bytes.substr(start)); // unterminated: shows up as a fault
            break;
        }
        lines.push_back(bytes.substr(start, end + 2 - start));
        start = end + 2;
    }
    return lines;
}

const std::regex kShortLine(R"(\[([0-9A-F]{8})\] (\d{4})-(\d{2})-(\d{2}) (\d{2}):(\d{2}):(\d{2})\.(\d{3})  ([^\r\n]*)\r\n)");
const std::regex kThreadLine(
    R"(\[([0-9A-F]{8})\] (\d{4})-(\d{2})-(\d{2}) (\d{2}):(\d{2}):(\d{2})\.(\d{3}) \[([0-9A-F]{8})\] ([^\r\n]*)\r\n)");

// The last line of a log, found by its process id stamp, so that what stands
// before it need not be made of lines.
std::string LastLine(const std::string &bytes)
{
    const size_t pos = bytes.rfind("[" + Hex8(getpid()) + "] ");
    return pos == std::string::npos ? std::string() : bytes.substr(pos);
}

class LogTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string base = dir / "orvane";
    TLog log{[this] { return base; }};
    std::string General() const { return ReadFileBytes(base + ".log"); }
    std::string Error() const { return ReadFileBytes(base + "E.log"); }
};

TEST_F(LogTest, FirstWritingThreadGetsTheShortFormOthersTheirId)
{
    pid_t workerId = 0;
    std::thread worker([&] {
        workerId = gettid();
        log.WriteLog("from the worker", false);
    });
    worker.join();
    const std::time_t before = std::time(nullptr);
    log.WriteLog("from the GUI thread", false);

    const std::vector<std::string> lines = Lines(General());
    ASSERT_EQ(lines.size(), 2u);
    std::smatch m;
    ASSERT_TRUE(std::regex_match(lines[0], m, kShortLine)) << lines[0];
    EXPECT_EQ(m[1], Hex8(getpid()));
    EXPECT_EQ(m[9], "from the worker");

    ASSERT_TRUE(std::regex_match(lines[1], m, kThreadLine)) << lines[1];
    EXPECT_EQ(m[1], Hex8(getpid()));
    EXPECT_EQ(m[9], Hex8(gettid()));
    EXPECT_NE(gettid(), workerId);
    EXPECT_EQ(m[10], "from the GUI thread");
    // the stamp is local time
    std::tm tm{};
    localtime_r(&before, &tm);
    char date[16];
    std::strftime(date, sizeof date, "%Y-%m-%d", &tm);
    EXPECT_EQ(m[2].str() + "-" + m[3].str() + "-" + m[4].str(), date);
    EXPECT_NEAR(std::stoi(m[5]) * 3600 + std::stoi(m[6]) * 60 + std::stoi(m[7]),
                tm.tm_hour * 3600 + tm.tm_min * 60 + tm.tm_sec, 5);
}

TEST_F(LogTest, PlainLinesGoOnlyToTheGeneralLog)
{
    log.WriteLog("one", false);
    log.WriteLog("two", false);
    const std::vector<std::string> lines = Lines(General());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[1].ends_with("  two\r\n")) << lines[1];
    EXPECT_FALSE(FileExists(base + "E.log"));
    EXPECT_EQ(log.GeneralFileName(), base + ".log");
    EXPECT_EQ(log.ErrorFileName(), base + "E.log");
}

TEST_F(LogTest, ExceptionEntryNamesLabelClassAndMessageInBothFiles)
{
    log.LogException("TDownDataThread.Execute", orvane_test::EWaveException("device lost"));
    log.LogException("UpgradeFiles", std::runtime_error("disk full"));

    const std::string error = Error();
    EXPECT_EQ(error, General());
    const std::vector<std::string> lines = Lines(error);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].ends_with(
        "  !!!Exception : TDownDataThread.Execute (orvane_test::EWaveException: device lost)\r\n"))
        << lines[0];
    EXPECT_TRUE(lines[1].ends_with("  !!!Exception : UpgradeFiles (std::runtime_error: disk full)\r\n")) << lines[1];
}

TEST_F(LogTest, TheErrorLogIsWrittenBeforeTheGeneralLog)
{
    // A FIFO as the error log holds the writer until we read it, so the
    // general log must still be untouched at that moment.
    ASSERT_EQ(mkfifo((base + "E.log").c_str(), 0600), 0);
    std::thread writer([&] { log.WriteLog("order", true); });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const bool generalWrittenFirst = FileExists(base + ".log");
    const std::string fromFifo = ReadFileBytes(base + "E.log");
    writer.join();
    EXPECT_FALSE(generalWrittenFirst);
    EXPECT_TRUE(fromFifo.ends_with("  order\r\n")) << fromFifo;
    EXPECT_EQ(General(), fromFifo);
}

TEST_F(LogTest, ALogThatCannotBeOpenedLosesOnlyItsLine)
{
    std::filesystem::create_directories(base + ".log"); // general log blocked
    log.WriteLog("still in the error log", true);
    EXPECT_TRUE(Error().ends_with("  still in the error log\r\n"));
}

TEST_F(LogTest, ConcurrentWritersLoseAndMixNoLine)
{
    constexpr int kThreads = 4, kLines = 200;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < kLines; ++i)
                log.WriteLog("t" + std::to_string(t) + " line " + std::to_string(i), i % 2 == 0);
        });
    for (auto &thread : threads)
        thread.join();

    const std::vector<std::string> general = Lines(General());
    ASSERT_EQ(general.size(), size_t(kThreads * kLines));
    for (const std::string &line : general)
        ASSERT_TRUE(std::regex_match(line, kShortLine) || std::regex_match(line, kThreadLine)) << line;
    EXPECT_EQ(Lines(Error()).size(), size_t(kThreads * kLines / 2));
}

struct OversizeCase {
    long long generalSize;
    long long errorSize;
    bool generalKept;
    bool errorKept;
};

class LogOversizeTest : public LogTest, public ::testing::WithParamInterface<OversizeCase> {};

TEST_P(LogOversizeTest, LeftoversAbove4MiBAreDeletedAtTheFirstWrite)
{
    const OversizeCase &c = GetParam();
    WriteFileBytes(base + ".log", std::string(size_t(c.generalSize), 'g'));
    WriteFileBytes(base + "E.log", std::string(size_t(c.errorSize), 'e'));

    log.WriteLog("first of the run", true);

    const std::string line = LastLine(General());
    ASSERT_TRUE(line.ends_with("  first of the run\r\n")) << line;
    EXPECT_TRUE(Error().ends_with(line));
    const long long lineSize = (long long)line.size();
    EXPECT_EQ((long long)General().size(), (c.generalKept ? c.generalSize : 0) + lineSize);
    EXPECT_EQ((long long)Error().size(), (c.errorKept ? c.errorSize : 0) + lineSize);
}

INSTANTIATE_TEST_SUITE_P(Sizes, LogOversizeTest,
                         ::testing::Values(OversizeCase{5 * 1024 * 1024, MaxLogFileSize, false, true},
                                           OversizeCase{MaxLogFileSize, 5 * 1024 * 1024, true, false},
                                           OversizeCase{MaxLogFileSize + 1, 10, false, true}));

TEST_F(LogTest, GrowingPast4MiBDuringARunDeletesNothing)
{
    log.WriteLog("first", false);
    WriteFileBytes(base + ".log", std::string(5 * 1024 * 1024, 'g'));
    log.WriteLog("second", false);
    const std::string line = LastLine(General());
    EXPECT_TRUE(line.ends_with("  second\r\n")) << line;
    EXPECT_EQ(General().size(), 5u * 1024 * 1024 + line.size());
}

TEST(ExceptionClassNameTest, GivesTheSourceName)
{
    EXPECT_EQ(ExceptionClassName(std::runtime_error("x")), "std::runtime_error");
    EXPECT_EQ(ExceptionClassName(orvane_test::EWaveException("x")), "orvane_test::EWaveException");
}

TEST(ProgramLogTest, WritesBesideTheExecutableNameInTheProgramFolder)
{
    const std::string oldAppPath = AppPath();
    TempDir dir;
    SetAppPath(dir.Path());
    LogException("TfrmVideo.PlayCurURL", std::logic_error("bad address"));
    WriteLog("plain", false);
    SetAppPath(oldAppPath);

    // the test program stands in for "orvane": "test_app_unit.log", "test_app_unitE.log"
    const std::string base = dir / std::filesystem::path(std::filesystem::read_symlink("/proc/self/exe")).stem().string();
    const std::vector<std::string> general = Lines(ReadFileBytes(base + ".log"));
    const std::vector<std::string> error = Lines(ReadFileBytes(base + "E.log"));
    ASSERT_EQ(general.size(), 2u);
    ASSERT_EQ(error.size(), 1u);
    EXPECT_EQ(general[0], error[0]);
    EXPECT_TRUE(error[0].ends_with(" !!!Exception : TfrmVideo.PlayCurURL (std::logic_error: bad address)\r\n"))
        << error[0];
    EXPECT_TRUE(general[1].ends_with(" plain\r\n"));
}

} // namespace
