// The music list without widgets: which files it takes, how entries are
// named and numbered, folder scans, stepping with wrap-around, moving and
// removing entries, and the list file kept between runs.
#include "TestSupport.h"
#include "app/GlobalUnit.h"
#include "stations/MusicList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Sorted(std::vector<std::string> v)
{
    std::sort(v.begin(), v.end());
    return v;
}

// A list holding the entries "0" to "n-1" (plain texts: no files behind them).
TMusicList Numbered(int n)
{
    TempDir dir;
    std::string file;
    for (int i = 0; i < n; ++i)
        file += std::to_string(i) + "\r\n";
    WriteFileBytes(dir / "l.m3u", file);
    TMusicList list;
    list.Load(dir / "l.m3u", 0);
    return list;
}

std::vector<std::string> Texts(std::initializer_list<int> numbers)
{
    std::vector<std::string> v;
    for (int n : numbers)
        v.push_back(std::to_string(n));
    return v;
}

} // namespace

TEST(MusicFileType, ExtensionOfEitherPlayerListInAnyCase)
{
    const struct {
        const char *path;
        bool accepted;
    } cases[] = {
        {"/m/a.mp3", true},      {"/m/a.MP3", true},       {"/m/a.WmA", true},      {"/m/rec.dvr-ms", true},
        {"/m/a.m4a", true},      {"/m/a.rm33j", true},     {"/m/a.pls", true},      {"/m/a.txt", false},
        {"/m/noextension", false}, {"/m/dot.", false},     {"/m/a.mp", false},      {"/m/a.p3", false},
        {"/m/x.mp3/inside", false}, {"/m/a.mp3.txt", false}, {"/m/a.txt.mp3", true}, {"", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(IsAcceptedMusicFile(c.path), c.accepted) << c.path;
}

TEST(MusicItemText, NumberPaddedToTheCountAndTheDisplayName)
{
    EXPECT_EQ(MusicItemText("/m/song.mp3", 6, 120), "  7. song");
    EXPECT_EQ(MusicItemText("/m/song.mp3", 119, 120), "120. song");
    EXPECT_EQ(MusicItemText("/m/a.b.mp3", 0, 9), "1. a.b");
    EXPECT_EQ(MusicItemText("http://host/live.mp3", 9, 10), "10. http://host/live.mp3");
    EXPECT_EQ(MusicItemText("relative/song.wav", 0, 1), "1. song");
    // A file name without any dot keeps its name rather than showing nothing.
    EXPECT_EQ(MusicItemText("/m/README", 0, 1), "1. README");
}

TEST(MusicFileFilters, PatternsBuiltFromTheExtensionLists)
{
    EXPECT_EQ(ExtensionListPattern(".a.b."), "*.a;*.b");
    EXPECT_EQ(ExtensionListPattern(""), "");
    const auto filters = MusicFileFilters();
    ASSERT_EQ(filters.size(), 5u);
    EXPECT_EQ(filters[0].second, "*.mp3;*.mp2;*.mpa;*.mp1;*.mpga");
    EXPECT_TRUE(filters[2].second.starts_with("*.ra;*.rax;*.rm;")) << filters[2].second;
    EXPECT_TRUE(filters[2].second.ends_with(";*.rjs")) << filters[2].second;
    EXPECT_TRUE(filters[3].second.starts_with("*.asf;*.wm;")) << filters[3].second;
    EXPECT_TRUE(filters[3].second.ends_with(";*.mp2v")) << filters[3].second;
    EXPECT_EQ(filters[4].second, "*.*");
}

TEST(MusicFolderScan, AcceptedFilesOfEveryFolderLevelButNothingHidden)
{
    TempDir dir;
    fs::create_directories(dir / "sub/deeper");
    fs::create_directories(dir / ".hidden");
    for (const char *name : {"a.MP3", "b.txt", ".dot.mp3", "sub/c.wav", "sub/deeper/d.wma", ".hidden/e.mp3", "sub/f"})
        WriteFileBytes(dir / name, "x");
    // A link back up would make a naive walk run forever.
    fs::create_directory_symlink(dir.Path(), dir / "sub/loop");

    const std::string root = dir.Path(); // ends in "/": one trailing separator is dropped
    EXPECT_EQ(Sorted(CollectMusicFiles(root)),
              Sorted({dir / "a.MP3", dir / "sub/c.wav", dir / "sub/deeper/d.wma"}));
    // A file stands for itself, when accepted.
    EXPECT_EQ(CollectMusicFiles(dir / "a.MP3"), std::vector<std::string>{dir / "a.MP3"});
    EXPECT_TRUE(CollectMusicFiles(dir / "b.txt").empty());
    EXPECT_TRUE(CollectMusicFiles(dir / "missing").empty());
    EXPECT_TRUE(CollectMusicFiles("").empty());
}

TEST(MusicListEntries, AddInsertsInOrderAtThePositionAndAlwaysMarksChanged)
{
    TempDir dir;
    WriteFileBytes(dir / "x.mp3", "x");
    WriteFileBytes(dir / "y.mp3", "y");
    WriteFileBytes(dir / "z.txt", "z");

    TMusicList list = Numbered(3);
    EXPECT_FALSE(list.Changed());
    EXPECT_EQ(list.AddEntries({dir / "z.txt"}, -1), 0);
    EXPECT_TRUE(list.Changed()) << "a scan that added nothing still counts as a change";

    EXPECT_EQ(list.AddEntries({dir / "x.mp3", dir / "z.txt", dir / "y.mp3"}, 1), 2);
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{"0", dir / "x.mp3", dir / "y.mp3", "1", "2"}));
    EXPECT_EQ(list.AddEntries({dir / "x.mp3"}, 99), 1);
    EXPECT_EQ(list.Entry(5), dir / "x.mp3");

    list.InsertEntry("http://radio/stream", 0);
    EXPECT_EQ(list.Entry(0), "http://radio/stream");
}

TEST(MusicListEntries, StepWrapsAroundBothEnds)
{
    TMusicList list = Numbered(4);
    const struct {
        int current, mode, focused, expected;
    } cases[] = {
        {3, 1, 0, 0}, // next on the last entry
        {0, 2, 0, 3}, // previous on the first entry
        {1, 1, 0, 2}, {2, 2, 0, 1},
        {1, 0, 3, 3}, // the focused entry becomes current
    };
    for (const auto &c : cases) {
        ASSERT_EQ(list.SetCurrent(c.current), c.current);
        EXPECT_EQ(list.Step(c.mode, c.focused), c.expected) << c.current << " mode " << c.mode;
        EXPECT_EQ(list.CurrentFile(), std::to_string(c.expected));
    }
    EXPECT_EQ(list.SetCurrent(4), -1);
    EXPECT_EQ(list.CurrentIndex(), 3) << "an invalid index leaves the current entry";

    TMusicList empty;
    EXPECT_EQ(empty.Step(1, 0), 0);
    EXPECT_EQ(empty.CurrentFile(), "");
}

TEST(MusicListEntries, MovedEntriesKeepTheirOrder)
{
    const struct {
        std::vector<int> selected;
        int target;
        std::vector<std::string> expected;
    } cases[] = {
        {{2, 5}, 0, Texts({2, 5, 0, 1, 3, 4, 6})},
        {{5, 2}, 0, Texts({2, 5, 0, 1, 3, 4, 6})},
        {{0, 1}, 4, Texts({2, 3, 4, 0, 1, 5, 6})},
        // From both sides of the target: still together and in order.
        {{1, 5}, 3, Texts({0, 2, 3, 1, 5, 4, 6})},
        {{5, 1}, 3, Texts({0, 2, 3, 1, 5, 4, 6})},
        {{2, 5}, 2, Texts({0, 1, 2, 5, 3, 4, 6})},
        {{6}, 99, Texts({0, 1, 2, 3, 4, 5, 6})},
        {{-1, 7}, 0, Texts({0, 1, 2, 3, 4, 5, 6})},
    };
    for (const auto &c : cases) {
        TMusicList list = Numbered(7);
        list.MoveEntries(c.selected, c.target);
        EXPECT_EQ(list.Entries(), c.expected) << "onto " << c.target;
    }
}

TEST(MusicListEntries, RemoveTakesIndexesInAnyOrderAndKeepsTheCurrentIndex)
{
    TMusicList list = Numbered(6);
    list.SetCurrent(4);
    list.Remove({3, 0, 3, 9});
    EXPECT_EQ(list.Entries(), Texts({1, 2, 4, 5}));
    EXPECT_EQ(list.CurrentIndex(), 4);
    EXPECT_EQ(list.CurrentFile(), "") << "the index now points past the end";
    EXPECT_TRUE(list.Changed());
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

class MusicListFile : public ::testing::Test {
protected:
    std::string File() const { return dir_ / "Orvane.m3u"; }
    TempDir dir_;
};

TEST_F(MusicListFile, LoadedAsWrittenAndSavedWithCrLf)
{
    const std::string longLine = "/music/" + std::string(200000, 'x') + ".mp3";
    const std::string legacy = "/music/\xB8\xE8\xC7\xFA.mp3"; // GBK bytes, not UTF-8
    WriteFileBytes(File(), "/missing/one.mp3\n" + legacy + "\r\nrelative/two.wav\r\rhttp://radio/live\r\n" +
                               longLine + "\n\n#EXTM3U");
    TMusicList list;
    list.Load(File(), 2);
    const std::vector<std::string> expected = {"/missing/one.mp3", legacy, "relative/two.wav", "http://radio/live",
                                               longLine, "#EXTM3U"};
    EXPECT_EQ(list.Entries(), expected);
    EXPECT_EQ(list.CurrentIndex(), 2);
    EXPECT_FALSE(list.Changed());

    list.InsertEntry("/new.mp3", -1);
    ASSERT_TRUE(list.Save(File()));
    std::string written;
    for (const auto &e : expected)
        written += e + "\r\n";
    EXPECT_EQ(ReadFileBytes(File()), written + "/new.mp3\r\n");
    EXPECT_FALSE(list.Changed());
}

TEST_F(MusicListFile, CurrentIndexOutsideTheListStartsAtTheFirst)
{
    WriteFileBytes(File(), "a.mp3\r\nb.mp3\r\n");
    for (int saved : {2, -1, 1000}) {
        TMusicList list;
        list.Load(File(), saved);
        EXPECT_EQ(list.CurrentIndex(), 0) << saved;
    }
    TMusicList missing;
    missing.Load(dir_ / "none.m3u", 3);
    EXPECT_EQ(missing.Count(), 0);
}

TEST_F(MusicListFile, WrittenOnlyWhenChangedAndAnEmptyListOnlyOverAFile)
{
    TMusicList list;
    list.Load(File(), 0);
    ASSERT_TRUE(list.Save(File()));
    EXPECT_FALSE(FileExists(File())) << "nothing changed";

    list.Clear();
    ASSERT_TRUE(list.Save(File()));
    EXPECT_FALSE(FileExists(File())) << "an empty list writes no new file";

    WriteFileBytes(File(), "a.mp3\r\n");
    list.Load(File(), 0);
    WriteFileBytes(File(), "edited by hand\r\n");
    ASSERT_TRUE(list.Save(File()));
    EXPECT_EQ(ReadFileBytes(File()), "edited by hand\r\n") << "unchanged list must not be written";

    list.Clear();
    ASSERT_TRUE(list.Save(File()));
    EXPECT_EQ(ReadFileBytes(File()), "") << "a cleared list stays cleared";
}

TEST_F(MusicListFile, FailedWriteKeepsTheOldFileAndTheChange)
{
    // A folder in the file's place: the renaming over it fails.
    fs::create_directories(dir_ / "Orvane.m3u/keep");
    TMusicList list;
    list.InsertEntry("/a.mp3", -1);
    EXPECT_FALSE(list.Save(File()));
    EXPECT_TRUE(list.Changed()) << "the next save must try again";
    EXPECT_TRUE(fs::is_directory(dir_ / "Orvane.m3u/keep"));
    size_t files = 0;
    for ([[maybe_unused]] const auto &e : fs::directory_iterator(dir_.Path()))
        ++files;
    EXPECT_EQ(files, 1u) << "no temporary file left behind";
}

TEST(MusicListFileName, OrvaneM3uInTheProgramFolder)
{
    const std::string saved = AppPath();
    SetAppPath("/opt/orvane/");
    EXPECT_EQ(MusicListFileName(), "/opt/orvane/Orvane.m3u");
    SetAppPath(saved);
}
