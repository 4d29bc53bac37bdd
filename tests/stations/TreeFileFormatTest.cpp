// The station tree's text files without widgets: group list and group file
// lines, nesting by indentation, whole-file reading and writing, group file
// names and the conversion of the older "tree.dat".
#include "TestSupport.h"
#include "stations/TreeFileFormat.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

std::vector<std::string> Lines(const std::string &path)
{
    std::vector<std::string> lines;
    EXPECT_TRUE(ReadTextLines(path, lines)) << path;
    return lines;
}

size_t EntryCount(const std::string &folder)
{
    size_t n = 0;
    for ([[maybe_unused]] const auto &e : std::filesystem::directory_iterator(folder))
        ++n;
    return n;
}

} // namespace

TEST(TreeNumber, OnlyWholeDecimal32BitNumbers)
{
    EXPECT_EQ(ParseTreeNumber("0", 9), 0);
    EXPECT_EQ(ParseTreeNumber("-101", 9), -101);
    EXPECT_EQ(ParseTreeNumber("+7", 9), 7);
    EXPECT_EQ(ParseTreeNumber("2147483647", 9), 2147483647);
    EXPECT_EQ(ParseTreeNumber("2147483648", 9), 9);
    EXPECT_EQ(ParseTreeNumber("", 9), 9);
    EXPECT_EQ(ParseTreeNumber("+", 9), 9);
    EXPECT_EQ(ParseTreeNumber("12a", 9), 9);
    EXPECT_EQ(ParseTreeNumber("1 2", 9), 9);
    EXPECT_EQ(ParseTreeNumber("abc", 9), 9);
}

TEST(GroupListLine, Parse)
{
    struct Case {
        const char *line;
        int image, state;
        const char *kind, *caption, *file;
    };
    const Case cases[] = {
        {"6/-1/1/Genres=tree_genre.dat", 6, -1, "1", "Genres", "tree_genre.dat"},
        {"7/3/2/Countries/Regions=c.dat", 7, 3, "2", "Countries/Regions", "c.dat"},
        {"11/-1/-96/Manually update data=", 11, -1, "-96", "Manually update data", ""},
        // The caption ends at its first "=": the rest is the file name.
        {"5/-1/-101/a=b=c.dat", 5, -1, "-101", "a", "b=c.dat"},
        // No "=": empty caption, the rest is the file name.
        {"5/-1/-101/only.dat", 5, -1, "-101", "", "only.dat"},
        {"x/1.5/abc/Cap=f", -1, -1, "abc", "Cap", "f"},
        {"8", 8, -1, "", "", ""},
        {"", -1, -1, "", "", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line);
        const TGroupListEntry e = ParseGroupListLine(c.line);
        EXPECT_EQ(e.ImageIndex, c.image);
        EXPECT_EQ(e.StateIndex, c.state);
        EXPECT_EQ(e.KindText, c.kind);
        EXPECT_EQ(e.Caption, c.caption);
        EXPECT_EQ(e.FileName, c.file);
    }
}

TEST(GroupListLine, ComposeGivesTheLineBack)
{
    for (const char *line : {"6/-1/1/Genres=tree_genre.dat", "7/3/2/Countries/Regions=c.dat", "11/-1/-96/x=",
                             "5/-1/-101/\xe6\x94\xb6\xe8\x97\x8f=tree_user1.dat"})
        EXPECT_EQ(ComposeGroupListLine(ParseGroupListLine(line)), line);
    // Malformed numbers are written back as -1.
    EXPECT_EQ(ComposeGroupListLine(ParseGroupListLine("x/y/abc/Cap=f")), "-1/-1/abc/Cap=f");
}

TEST(GroupListLine, SplitByKind)
{
    const std::vector<std::string> lines = {
        "9/-1/-11/Channels=ch.dat", "2/-1/-99/Fav=fav.dat",   "5/-1/-101/Mine=tree_user1.dat",
        "11/-1/-96/Update=",        "6/-1/1/Genres=g.dat",    "5/-1/-100/Edge=e.dat",
        "5/-1/abc/NoKind=n.dat",    "5/-1/-250/Deep=d.dat",
    };
    std::vector<std::string> sys, user;
    SplitGroupLists(lines, sys, user);
    EXPECT_EQ(sys, (std::vector<std::string>{lines[0], lines[1], lines[4], lines[5]}));
    // A kind that is no number counts as a user group.
    EXPECT_EQ(user, (std::vector<std::string>{lines[2], lines[6], lines[7]}));
}

TEST(GroupFileLine, Parse)
{
    struct Case {
        const char *line;
        int depth, image, state, number;
        const char *caption;
    };
    const Case cases[] = {
        {"6/-1/1/Genres", 0, 6, -1, 1, "Genres"},
        {"\t1/-1/-1/Rock", 1, 1, -1, -1, "Rock"},
        {"\t\t0/-1/123/AC/DC Radio", 2, 0, -1, 123, "AC/DC Radio"},
        {"  0/4/5/two spaces", 2, 0, 4, 5, "two spaces"},
        {" \t0/-1/5/mixed", 2, 0, -1, 5, "mixed"},
        {"\tx/y/z/bad numbers", 1, -1, -1, -1, "bad numbers"},
        {"\t0/-1/99999999999/too big", 1, 0, -1, -1, "too big"},
        {"\t0/-1", 1, 0, -1, -1, ""},
        {"\t0/-1/7/", 1, 0, -1, 7, ""},
        {"\t0/-1/7/ lead and trail ", 1, 0, -1, 7, " lead and trail "},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line);
        const TGroupFileLine l = ParseGroupFileLine(c.line);
        EXPECT_EQ(l.Depth, c.depth);
        EXPECT_EQ(l.ImageIndex, c.image);
        EXPECT_EQ(l.StateIndex, c.state);
        EXPECT_EQ(l.Number, c.number);
        EXPECT_EQ(l.Caption, c.caption);
    }
}

TEST(GroupFileLine, ComposeKeepsOneNodeOnOneLine)
{
    EXPECT_EQ(ComposeGroupFileLine({2, 0, -1, 123, "AC/DC"}), "\t\t0/-1/123/AC/DC");
    EXPECT_EQ(ComposeGroupFileLine({0, 6, 3, -11, "Channels"}), "6/3/-11/Channels");
    EXPECT_EQ(ComposeGroupFileLine({1, 0, -1, 5, "two\r\nlines\n"}), "\t0/-1/5/two  lines ");
}

// The nesting as (parent index, caption) pairs.
std::vector<std::pair<int, std::string>> Shape(const TSubtree &tree)
{
    std::vector<std::pair<int, std::string>> shape;
    for (const auto &n : tree.Nodes)
        shape.emplace_back(n.Parent, n.Line.Caption);
    return shape;
}

TEST(NestGroupFile, OneSubGroupWithOneStation)
{
    const TSubtree t = NestGroupFile({"6/-1/1/Genres", "\t1/-1/-1/Rock", "\t\t0/-1/42/Rock FM"});
    ASSERT_TRUE(t.HasHead);
    EXPECT_EQ(t.Head.ImageIndex, 6);
    EXPECT_EQ(t.Head.Number, 1);
    EXPECT_EQ(Shape(t), (std::vector<std::pair<int, std::string>>{{-1, "Rock"}, {0, "Rock FM"}}));
    EXPECT_EQ(t.Nodes[1].Line.Number, 42);
}

TEST(NestGroupFile, SiblingsChildrenAndClimbing)
{
    const TSubtree t = NestGroupFile({
        "6/-1/1/G",
        "\t1/-1/-1/A",   // 0
        "\t\t0/-1/1/a1", // 1
        "\t\t1/-1/-1/B", // 2
        "\t\t\t0/-1/2/b1", // 3
        "\t\t0/-1/3/a2", // 4: climbs one level
        "\t0/-1/4/top",  // 5: climbs two levels
        "\t0/-1/5/top2", // 6: sibling
    });
    EXPECT_EQ(Shape(t), (std::vector<std::pair<int, std::string>>{
                            {-1, "A"}, {0, "a1"}, {0, "B"}, {2, "b1"}, {0, "a2"}, {-1, "top"}, {-1, "top2"}}));
}

TEST(NestGroupFile, TooDeepLinesAreSkippedWithTheirChildren)
{
    const TSubtree t = NestGroupFile({
        "6/-1/1/G",
        "\t1/-1/-1/A",
        "\t\t\t1/-1/-1/two deeper", // skipped
        "\t\t\t\t0/-1/1/its child", // still too deep: skipped
        "\t\t0/-1/2/a1",            // child of A
    });
    EXPECT_EQ(Shape(t), (std::vector<std::pair<int, std::string>>{{-1, "A"}, {0, "a1"}}));
}

TEST(NestGroupFile, LeadingSpacesCountAsLevels)
{
    const TSubtree t = NestGroupFile({"6/-1/1/G", " 1/-1/-1/A", "  0/-1/1/a1", "\t 0/-1/2/a2"});
    EXPECT_EQ(Shape(t), (std::vector<std::pair<int, std::string>>{{-1, "A"}, {0, "a1"}, {0, "a2"}}));
}

TEST(NestGroupFile, LinesAtTheGroupsOwnLevelStayOutside)
{
    // A blank line and a second unindented line would stand beside the group.
    const TSubtree t = NestGroupFile({"6/-1/1/G", "\t0/-1/1/a", "", "0/-1/2/beside", "\t0/-1/3/b"});
    EXPECT_EQ(Shape(t), (std::vector<std::pair<int, std::string>>{{-1, "a"}, {-1, "b"}}));
}

TEST(NestGroupFile, EmptyFileHasNoHead)
{
    const TSubtree t = NestGroupFile({});
    EXPECT_FALSE(t.HasHead);
    EXPECT_TRUE(t.Nodes.empty());
}

TEST(NestGroupFile, NestingStopsAtTheMaximumDepth)
{
    std::vector<std::string> lines{"6/-1/1/G"};
    for (int d = 1; d <= MaxGroupDepth + 5; ++d)
        lines.push_back(std::string(static_cast<size_t>(d), '\t') + "1/-1/-1/L" + std::to_string(d));
    lines.push_back(std::string(100000, '\t') + "0/-1/1/absurd");
    lines.push_back("\t0/-1/2/back at the top");
    const TSubtree t = NestGroupFile(lines);
    ASSERT_EQ(t.Nodes.size(), static_cast<size_t>(MaxGroupDepth) + 1);
    EXPECT_EQ(t.Nodes[MaxGroupDepth - 1].Line.Caption, "L" + std::to_string(MaxGroupDepth));
    EXPECT_EQ(t.Nodes.back().Line.Caption, "back at the top");
    EXPECT_EQ(t.Nodes.back().Parent, -1);
}

TEST(TextLines, AnyLineBreakIsRead)
{
    TempDir dir;
    struct Case {
        std::string bytes;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\n\n", {"a", ""}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"", {}},
        {"\r\n", {""}},
    };
    for (const auto &c : cases) {
        WriteFileBytes(dir / "f.txt", c.bytes);
        EXPECT_EQ(Lines(dir / "f.txt"), c.lines) << c.bytes;
    }
}

TEST(TextLines, CrLfAcrossTheReadBuffer)
{
    TempDir dir;
    // The reader takes 64 KiB at a time: put a CR LF pair across the seam.
    const std::string first(65535, 'x');
    WriteFileBytes(dir / "f.txt", first + "\r\nsecond\r\n");
    EXPECT_EQ(Lines(dir / "f.txt"), (std::vector<std::string>{first, "second"}));
}

TEST(TextLines, MissingFileOrFolderReadsNothing)
{
    TempDir dir;
    std::vector<std::string> lines{"kept"};
    EXPECT_FALSE(ReadTextLines(dir / "missing.dat", lines));
    EXPECT_FALSE(ReadTextLines(dir.Path(), lines));
    EXPECT_EQ(lines, std::vector<std::string>{"kept"});
}

TEST(TextLines, WrittenWithCrLf)
{
    TempDir dir;
    ASSERT_TRUE(WriteTextLines(dir / "f.txt", {"a", "", "\xe4\xb8\xad"}));
    EXPECT_EQ(ReadFileBytes(dir / "f.txt"), "a\r\n\r\n\xe4\xb8\xad\r\n");
    EXPECT_EQ(EntryCount(dir.Path()), 1u);
}

TEST(TextLines, FailedWriteLeavesTheOldFileWhole)
{
    TempDir dir;
    WriteFileBytes(dir / "f.txt", "old\r\n");
    // A file size limit makes the write fail halfway, as a full disk would.
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = WriteTextLines(dir / "f.txt", std::vector<std::string>(1000, std::string(100, 'n')));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_EQ(ReadFileBytes(dir / "f.txt"), "old\r\n");
    EXPECT_EQ(EntryCount(dir.Path()), 1u); // no temporary file left behind
}

TEST(TextLines, WriteIntoMissingFolderFails)
{
    TempDir dir;
    EXPECT_FALSE(WriteTextLines(dir / "no/such/f.txt", {"a"}));
}

TEST(GroupFileNames, PathsStayInsideTheDataFolder)
{
    const std::string data = "/app/Data/eng/";
    struct Case {
        const char *name;
        const char *path;
    };
    const Case cases[] = {
        {"tree_genre.dat", "/app/Data/eng/tree_genre.dat"},
        {"sys/genre.dat", "/app/Data/eng/sys/genre.dat"},
        {"sys\\genre.dat", "/app/Data/eng/sys/genre.dat"},
        {"..dat", "/app/Data/eng/..dat"},
        {"", ""},
        {"../User.ini", ""},
        {"..\\..\\x", ""},
        {"a/../../b", ""},
        {"/etc/passwd", ""},
        {"sub/", ""},
        {"..", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(GroupFilePath(data, c.name), c.path) << c.name;
}

TEST(GroupFileNames, NewUserGroupTakesTheFirstFreeNumber)
{
    EXPECT_EQ(NewUserGroupFileName({}), "tree_user1.dat");
    EXPECT_EQ(NewUserGroupFileName({"tree_user1.dat", "tree_user3.dat", "x.dat"}), "tree_user2.dat");
    EXPECT_EQ(NewUserGroupFileName({"tree_user2.dat", "tree_user1.dat"}), "tree_user3.dat");
}

class MigrateTest : public ::testing::Test {
protected:
    std::string Path(const char *name) const { return dir / name; }
    TempDir dir;
};

TEST_F(MigrateTest, BesideTreesysOnlyUserGroupsMove)
{
    WriteFileBytes(Path("treesys.dat"), "6/-1/1/Genres=g.dat\r\n");
    WriteFileBytes(Path("tree.dat"), "6/-1/-10/Old=o.dat\r\n5/-1/-101/Mine=tree_user1.dat\r\n"
                                     "5/-1/-102/Second=tree_user2.dat\r\n2/-1/-99/Fav=f.dat\r\n");
    MigrateTreeFile(dir.Path());
    EXPECT_FALSE(FileExists(Path("tree.dat")));
    EXPECT_EQ(ReadFileBytes(Path("treeuser.dat")),
              "5/-1/-101/Mine=tree_user1.dat\r\n5/-1/-102/Second=tree_user2.dat\r\n");
    EXPECT_EQ(ReadFileBytes(Path("treesys.dat")), "6/-1/1/Genres=g.dat\r\n");
}

TEST_F(MigrateTest, WithoutUserGroupsNoUserListIsWritten)
{
    WriteFileBytes(Path("treesys.dat"), "6/-1/1/Genres=g.dat\r\n");
    WriteFileBytes(Path("tree.dat"), "6/-1/-10/Old=o.dat\n");
    MigrateTreeFile(dir.Path());
    EXPECT_FALSE(FileExists(Path("tree.dat")));
    EXPECT_FALSE(FileExists(Path("treeuser.dat")));
}

TEST_F(MigrateTest, WithoutTreesysTheOldListBecomesIt)
{
    WriteFileBytes(Path("tree.dat"), "6/-1/1/Genres=g.dat\n5/-1/-101/Mine=tree_user1.dat\n");
    MigrateTreeFile(dir.Path());
    EXPECT_FALSE(FileExists(Path("tree.dat")));
    EXPECT_EQ(ReadFileBytes(Path("treesys.dat")), "6/-1/1/Genres=g.dat\r\n5/-1/-101/Mine=tree_user1.dat\r\n");
    EXPECT_FALSE(FileExists(Path("treeuser.dat")));
}

TEST_F(MigrateTest, NothingToDoWithoutTreeDat)
{
    WriteFileBytes(Path("treesys.dat"), "6/-1/1/Genres=g.dat\r\n");
    MigrateTreeFile(dir.Path());
    EXPECT_EQ(EntryCount(dir.Path()), 1u);
}

TEST_F(MigrateTest, UnreadableOldListIsKept)
{
    std::filesystem::create_directory(Path("tree.dat"));
    MigrateTreeFile(dir.Path());
    EXPECT_TRUE(std::filesystem::is_directory(Path("tree.dat")));
    EXPECT_FALSE(FileExists(Path("treesys.dat")));
}

TEST_F(MigrateTest, FailedWriteKeepsTheOldList)
{
    WriteFileBytes(Path("treesys.dat"), "6/-1/1/Genres=g.dat\r\n");
    WriteFileBytes(Path("tree.dat"), "5/-1/-101/Mine=tree_user1.dat\n");
    // A folder in the way of treeuser.dat makes the write fail.
    std::filesystem::create_directories(Path("treeuser.dat/x"));
    MigrateTreeFile(dir.Path());
    EXPECT_EQ(ReadFileBytes(Path("tree.dat")), "5/-1/-101/Mine=tree_user1.dat\n");
}
