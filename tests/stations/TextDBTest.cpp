// TTextTable: the table file, its offset and ID index files, the index check
// with its stamp, and every operation, including bad input.
#include "StationTestSupport.h"
#include "TestSupport.h"
#include "stations/TextDB.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <sys/stat.h>

namespace {

class TextTableTest : public ::testing::Test {
protected:
    std::string Name() const { return dir / "data.dat"; }
    std::string Idp() const { return dir / "data.idp"; }
    std::string Idi() const { return dir / "data.idi"; }

    // A table holding `lines`, opened through the index check.
    void MakeTable(const std::vector<std::string> &lines)
    {
        WriteFileBytes(Name(), JoinCrLf(lines));
        table.SetTableName(Name());
        ASSERT_TRUE(table.Open());
        ASSERT_EQ(table.RecordCount(), static_cast<int>(lines.size()));
    }

    TempDir dir;
    TTextTable table;
};

std::string Le32(std::int32_t v)
{
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i)
        s[static_cast<std::size_t>(i)] = static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
    return s;
}

std::string Le64(std::uint64_t v) { return Le32(static_cast<std::int32_t>(v)) + Le32(static_cast<std::int32_t>(v >> 32)); }

} // namespace

TEST(TextTableStatic, LineId)
{
    EXPECT_EQ(TTextTable::LineId("12\tname"), 12);
    EXPECT_EQ(TTextTable::LineId("  100001 \tx\ty"), 100001);
    EXPECT_EQ(TTextTable::LineId("-5\tx"), -5);
    EXPECT_EQ(TTextTable::LineId("+7\tx"), 7);
    EXPECT_EQ(TTextTable::LineId("2147483647\tx"), 2147483647);
    EXPECT_EQ(TTextTable::LineId("-2147483648\tx"), INT32_MIN);
    EXPECT_EQ(TTextTable::LineId("2147483648\tx"), 0);
    EXPECT_EQ(TTextTable::LineId("99999999999999999999\tx"), 0);
    EXPECT_EQ(TTextTable::LineId("12"), 0);          // no TAB
    EXPECT_EQ(TTextTable::LineId("abc\t1"), 0);      // not a number
    EXPECT_EQ(TTextTable::LineId("1 2\tx"), 0);
    EXPECT_EQ(TTextTable::LineId("\tx"), 0);
    EXPECT_EQ(TTextTable::LineId("-\tx"), 0);
    EXPECT_EQ(TTextTable::LineId("0x10\tx"), 0);
    EXPECT_EQ(TTextTable::LineId(""), 0);
}

TEST(TextTableStatic, FileTime)
{
    EXPECT_EQ(TTextTable::UnixTimeToFileTime(0, 0), 116444736000000000ULL);
    EXPECT_EQ(TTextTable::UnixTimeToFileTime(1, 999), 116444736010000009ULL);
    EXPECT_EQ(TTextTable::UnixTimeToFileTime(1735689600, 0), 133801632000000000ULL); // 2025-01-01
    EXPECT_EQ(TTextTable::FileStamp("/nonexistent/file"), 0u);
}

TEST_F(TextTableTest, MissingTableIsCreatedEmpty)
{
    table.SetTableName(Name());
    EXPECT_EQ(table.IdpFileName(), dir / "data.idp");
    EXPECT_EQ(table.IdiFileName(), dir / "data.idi");
    EXPECT_FALSE(table.Active());
    EXPECT_TRUE(table.Open());
    EXPECT_TRUE(table.Active());
    EXPECT_TRUE(FileExists(Name()));
    EXPECT_EQ(table.RecordCount(), 0);
    EXPECT_EQ(ReadFileBytes(Name()), "");
    EXPECT_EQ(CheckTableFiles(Name(), {}), "");
    EXPECT_EQ(ReadFileBytes(Idp()), Le32(0) + Le64(TTextTable::FileStamp(Name())));
    EXPECT_EQ(ReadFileBytes(Idi()), "");
}

TEST_F(TextTableTest, IndexName)
{
    table.SetTableName(dir / "a.b/list");
    EXPECT_EQ(table.IdpFileName(), dir / "a.b/list.idp");
    table.SetTableName(dir / "x.tar.dat");
    EXPECT_EQ(table.IdiFileName(), dir / "x.tar.idi");
}

TEST_F(TextTableTest, ExactFileLayout)
{
    MakeTable({});
    ASSERT_TRUE(table.AppendLine("30\tthirty"));
    ASSERT_TRUE(table.AppendLine("10\tten"));
    ASSERT_TRUE(table.AppendLine("no tab here"));
    ASSERT_TRUE(table.AppendLine("20\ttwenty"));
    EXPECT_EQ(ReadFileBytes(Name()), "30\tthirty\r\n10\tten\r\nno tab here\r\n20\ttwenty\r\n");
    // Offsets 0, 11, 19, 32, 43, then the stamp: the table's last-write time
    // as 100 ns ticks since 1601, low half first.
    struct stat st;
    ASSERT_EQ(stat(Name().c_str(), &st), 0);
    const std::uint64_t ft =
        (static_cast<std::uint64_t>(st.st_mtim.tv_sec) + 11644473600ULL) * 10000000ULL + st.st_mtim.tv_nsec / 100;
    EXPECT_EQ(ReadFileBytes(Idp()), Le32(0) + Le32(11) + Le32(19) + Le32(32) + Le32(43) + Le64(ft));
    EXPECT_EQ(table.Stamp(), ft);
    // ID entries sorted by ID: (0,3) (10,2) (20,4) (30,1).
    EXPECT_EQ(ReadFileBytes(Idi()), Le32(0) + Le32(3) + Le32(10) + Le32(2) + Le32(20) + Le32(4) + Le32(30) + Le32(1));
    EXPECT_EQ(table.RecordCount(), 4);
    // A new object on the same files trusts them as they are.
    TTextTable other;
    other.SetTableName(Name());
    ASSERT_TRUE(other.Open());
    const std::string idpBefore = ReadFileBytes(Idp());
    EXPECT_EQ(other.ReadById(10), "10\tten");
    EXPECT_EQ(ReadFileBytes(Idp()), idpBefore);
}

TEST_F(TextTableTest, ReadsByLineAndId)
{
    MakeTable({"5\tfive", "3\tthree", "9\tnine"});
    EXPECT_EQ(table.ReadLine(1), "5\tfive");
    EXPECT_EQ(table.ReadLine(3), "9\tnine");
    EXPECT_EQ(table.ReadLine(0), "");
    EXPECT_EQ(table.ReadLine(4), "");
    EXPECT_EQ(table.ReadLine(-1), "");
    EXPECT_EQ(table.ReadById(3), "3\tthree");
    EXPECT_EQ(table.ReadById(4), "");
    EXPECT_EQ(table.LineOfId(9), 3);
    EXPECT_EQ(table.LineOfId(1), -1);
    EXPECT_EQ(table.LineOfId(100), -1);
}

TEST_F(TextTableTest, EmptyLineReadsEmpty)
{
    MakeTable({"1\ta", "", "3\tc"});
    EXPECT_EQ(table.ReadLine(2), "");
    EXPECT_EQ(table.LineOfId(0), 2);
    EXPECT_EQ(table.ReadLine(3), "3\tc");
}

TEST_F(TextTableTest, LineWithoutTabOrNumberHasIdZero)
{
    MakeTable({"7\tseven", "just text", "abc\tdef", "8\teight"});
    const auto e = IdiEntries(Idi());
    ASSERT_EQ(e.size(), 4u);
    EXPECT_EQ(e[0].first, 0);
    EXPECT_EQ(e[1].first, 0);
    EXPECT_EQ(std::min(e[0].second, e[1].second), 2);
    EXPECT_EQ(std::max(e[0].second, e[1].second), 3);
    EXPECT_NE(table.LineOfId(0), -1);
}

TEST_F(TextTableTest, DeletingIdiAloneEmptiesIdpAtNextOpening)
{
    MakeTable({"1\ta", "2\tb"});
    table.Close();
    std::filesystem::remove(Idi());
    ASSERT_TRUE(table.Open());
    EXPECT_EQ(ReadFileBytes(Idp()), "");
    EXPECT_EQ(ReadFileBytes(Idi()), "");
    EXPECT_EQ(table.ReadById(2), "2\tb");
    EXPECT_EQ(CheckTableFiles(Name(), {"1\ta", "2\tb"}), "");
}

TEST_F(TextTableTest, OutsideEditIsNormalisedAndReindexed)
{
    MakeTable({"1\ta"});
    table.Close();
    // Another program writes LF, CR and CR LF line breaks and no final one.
    WriteFileBytes(Name(), "1\tone\n2\ttwo\r3\tthree\r\n\n5\tfive");
    TouchLater(Name());
    ASSERT_TRUE(table.Open());
    EXPECT_EQ(table.RecordCount(), 5);
    const std::vector<std::string> lines = {"1\tone", "2\ttwo", "3\tthree", "", "5\tfive"};
    EXPECT_EQ(CheckTableFiles(Name(), lines), "");
    EXPECT_EQ(table.ReadById(5), "5\tfive");
    EXPECT_FALSE(FileExists(Name() + ".tmp"));
}

TEST_F(TextTableTest, MissingFinalLineBreakIsAdded)
{
    MakeTable({});
    table.Close();
    WriteFileBytes(Name(), "1\tone\r\n2\ttwo");
    TouchLater(Name());
    ASSERT_TRUE(table.Open());
    EXPECT_EQ(table.ReadLine(2), "2\ttwo");
    EXPECT_EQ(ReadFileBytes(Name()), "1\tone\r\n2\ttwo\r\n");
}

TEST_F(TextTableTest, CrLfSplitAcrossReadsStaysOneBreak)
{
    // A CR LF across the reader's 1 MiB buffer boundary ends one line only.
    std::string first(1024 * 1024 - 1, 'x');
    first[0] = '1';
    first[1] = '\t';
    MakeTable({});
    table.Close();
    WriteFileBytes(Name(), first + "\r\n2\ttwo\n");
    TouchLater(Name());
    ASSERT_TRUE(table.Open());
    EXPECT_EQ(table.RecordCount(), 2);
    EXPECT_EQ(table.ReadById(2), "2\ttwo");
    EXPECT_EQ(table.ReadById(1), first);
}

TEST_F(TextTableTest, UnchangedOutsideTimeWithNormalFileKeepsBytes)
{
    MakeTable({"1\ta", "2\tb"});
    table.Close();
    TouchLater(Name()); // touched, not changed: the index is rebuilt, the table stays
    const std::string before = ReadFileBytes(Name());
    ASSERT_TRUE(table.Open());
    EXPECT_EQ(table.RecordCount(), 2);
    EXPECT_EQ(ReadFileBytes(Name()), before);
    EXPECT_EQ(IdpStamp(Idp()), TTextTable::FileStamp(Name()));
}

TEST_F(TextTableTest, SameLengthModifyChangesOnlyTheStamp)
{
    MakeTable({"1\taaa", "2\tbbb", "3\tccc"});
    TouchLater(Name(), -100); // so that the change gives a new last-write time
    ASSERT_TRUE(table.RebuildIndex());
    const std::string idp = ReadFileBytes(Idp());
    const std::string idi = ReadFileBytes(Idi());
    ASSERT_TRUE(table.ModifyLine(2, "2\tBBB"));
    const std::string idp2 = ReadFileBytes(Idp());
    ASSERT_EQ(idp2.size(), idp.size());
    EXPECT_EQ(idp2.substr(0, idp.size() - 8), idp.substr(0, idp.size() - 8));
    EXPECT_NE(idp2.substr(idp.size() - 8), idp.substr(idp.size() - 8));
    EXPECT_EQ(ReadFileBytes(Idi()), idi);
    EXPECT_EQ(CheckTableFiles(Name(), {"1\taaa", "2\tBBB", "3\tccc"}), "");
}

TEST_F(TextTableTest, ModifyGrowsAndShrinksInPlace)
{
    MakeTable({"1\ta", "2\tb", "3\tc"});
    ASSERT_TRUE(table.ModifyLine(2, "2\ta much longer second line"));
    EXPECT_EQ(CheckTableFiles(Name(), {"1\ta", "2\ta much longer second line", "3\tc"}), "");
    ASSERT_TRUE(table.ModifyLine(2, "2\t"));
    EXPECT_EQ(CheckTableFiles(Name(), {"1\ta", "2\t", "3\tc"}), "");
    ASSERT_TRUE(table.ModifyLine(3, "3\tlast line grows at the end"));
    ASSERT_TRUE(table.ModifyLine(1, ""));
    EXPECT_EQ(CheckTableFiles(Name(), {"", "2\t", "3\tlast line grows at the end"}), "");
    EXPECT_EQ(table.ReadById(3), "3\tlast line grows at the end");
    EXPECT_EQ(table.LineOfId(1), -1);
    EXPECT_EQ(table.LineOfId(0), 1);
}

TEST_F(TextTableTest, ModifyMovesTheIdEntry)
{
    MakeTable({"10\ta", "20\tb", "30\tc", "40\td", "50\te"});
    // New ID lands right where the old one was (P = Q).
    ASSERT_TRUE(table.ModifyLine(3, "35\tc"));
    EXPECT_EQ(CheckTableFiles(Name(), {"10\ta", "20\tb", "35\tc", "40\td", "50\te"}), "");
    // Moving toward the end (P < Q).
    ASSERT_TRUE(table.ModifyLine(1, "45\ta"));
    EXPECT_EQ(CheckTableFiles(Name(), {"45\ta", "20\tb", "35\tc", "40\td", "50\te"}), "");
    // Moving toward the start (P > Q).
    ASSERT_TRUE(table.ModifyLine(5, "5\te"));
    EXPECT_EQ(CheckTableFiles(Name(), {"45\ta", "20\tb", "35\tc", "40\td", "5\te"}), "");
    // Past the last and before the first entry.
    ASSERT_TRUE(table.ModifyLine(2, "99\tb"));
    ASSERT_TRUE(table.ModifyLine(4, "1\td"));
    EXPECT_EQ(CheckTableFiles(Name(), {"45\ta", "99\tb", "35\tc", "1\td", "5\te"}), "");
    EXPECT_EQ(table.ReadById(99), "99\tb");
    EXPECT_EQ(table.ReadById(1), "1\td");
    EXPECT_EQ(table.ReadById(20), "");
}

TEST_F(TextTableTest, ModifyAmongEqualIdsMovesTheRightEntry)
{
    MakeTable({"text a", "text b", "text c", "text d", "7\tx"});
    ASSERT_TRUE(table.ModifyLine(4, "3\td"));
    EXPECT_EQ(CheckTableFiles(Name(), {"text a", "text b", "text c", "3\td", "7\tx"}), "");
    ASSERT_TRUE(table.ModifyLine(1, "9\ta"));
    EXPECT_EQ(CheckTableFiles(Name(), {"9\ta", "text b", "text c", "3\td", "7\tx"}), "");
    ASSERT_TRUE(table.ModifyLine(4, "no id"));
    EXPECT_EQ(CheckTableFiles(Name(), {"9\ta", "text b", "text c", "no id", "7\tx"}), "");
}

TEST_F(TextTableTest, ModifyById)
{
    MakeTable({"100001\ta", "100002\tb"});
    EXPECT_TRUE(table.ModifyById(100002, "100002\tchanged"));
    EXPECT_FALSE(table.ModifyById(100003, "100003\tnone"));
    EXPECT_EQ(CheckTableFiles(Name(), {"100001\ta", "100002\tchanged"}), "");
}

TEST_F(TextTableTest, AppendToEmptyAndFull)
{
    MakeTable({});
    EXPECT_TRUE(table.AppendLine("5\tfive"));
    EXPECT_EQ(table.RecordCount(), 1);
    EXPECT_TRUE(table.AppendLine("2\ttwo"));
    EXPECT_TRUE(table.AppendLine("5\tfive again"));
    EXPECT_TRUE(table.AppendLine(""));
    EXPECT_EQ(CheckTableFiles(Name(), {"5\tfive", "2\ttwo", "5\tfive again", ""}), "");
}

TEST_F(TextTableTest, InsertLine)
{
    MakeTable({"1\ta", "3\tc"});
    ASSERT_TRUE(table.InsertLine(2, "2\tb"));
    ASSERT_TRUE(table.InsertLine(1, "0\tzero"));
    EXPECT_EQ(CheckTableFiles(Name(), {"0\tzero", "1\ta", "2\tb", "3\tc"}), "");
    EXPECT_EQ(table.LineOfId(3), 4);
    EXPECT_FALSE(table.InsertLine(0, "x\t"));
    EXPECT_FALSE(table.InsertLine(6, "x\t"));
    ASSERT_TRUE(table.InsertLine(5, "4\td"));
    EXPECT_EQ(CheckTableFiles(Name(), {"0\tzero", "1\ta", "2\tb", "3\tc", "4\td"}), "");
}

TEST_F(TextTableTest, InsertIntoEmptyTable)
{
    MakeTable({});
    ASSERT_TRUE(table.InsertLine(1, "1\tfirst"));
    EXPECT_EQ(CheckTableFiles(Name(), {"1\tfirst"}), "");
}

TEST_F(TextTableTest, InsertAtEndGivesTheSameFilesAsAppend)
{
    const std::vector<std::string> lines = {"4\td", "1\ta", "9\ti"};
    MakeTable(lines);
    ASSERT_TRUE(table.InsertLine(4, "5\te"));
    const std::string t1 = ReadFileBytes(Name()), p1 = ReadFileBytes(Idp()), i1 = ReadFileBytes(Idi());
    table.Close();

    TempDir other;
    WriteFileBytes(other / "data.dat", JoinCrLf(lines));
    TTextTable t;
    t.SetTableName(other / "data.dat");
    ASSERT_TRUE(t.Open());
    ASSERT_TRUE(t.AppendLine("5\te"));
    EXPECT_EQ(ReadFileBytes(other / "data.dat"), t1);
    EXPECT_EQ(ReadFileBytes(other / "data.idi"), i1);
    const std::string p2 = ReadFileBytes(other / "data.idp");
    ASSERT_EQ(p2.size(), p1.size());
    EXPECT_EQ(p2.substr(0, p2.size() - 8), p1.substr(0, p1.size() - 8)); // all but the stamps
}

TEST_F(TextTableTest, DeleteLine)
{
    MakeTable({"1\ta", "2\tb", "3\tc", "4\td"});
    ASSERT_TRUE(table.DeleteLine(2));
    EXPECT_EQ(table.RecordCount(), 3);
    const auto e = IdiEntries(Idi());
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[0], std::make_pair(1, 1));
    EXPECT_EQ(e[1], std::make_pair(3, 2));
    EXPECT_EQ(e[2], std::make_pair(4, 3));
    EXPECT_EQ(CheckTableFiles(Name(), {"1\ta", "3\tc", "4\td"}), "");
    EXPECT_FALSE(table.DeleteLine(0));
    EXPECT_FALSE(table.DeleteLine(4));
    ASSERT_TRUE(table.DeleteLine(3));
    ASSERT_TRUE(table.DeleteLine(1));
    ASSERT_TRUE(table.DeleteLine(1));
    EXPECT_EQ(CheckTableFiles(Name(), {}), "");
    EXPECT_FALSE(table.DeleteLine(1));
}

TEST_F(TextTableTest, NextFreeId)
{
    MakeTable({});
    EXPECT_EQ(table.NextFreeId(100000), 100001);
    ASSERT_TRUE(table.AppendLine("100001\ta"));
    ASSERT_TRUE(table.AppendLine("100004\td"));
    ASSERT_TRUE(table.AppendLine("100002\tb"));
    EXPECT_EQ(table.NextFreeId(100000), 100003);
    ASSERT_TRUE(table.AppendLine("100003\tc"));
    ASSERT_TRUE(table.AppendLine("100005\te"));
    EXPECT_EQ(table.NextFreeId(100000), 100006);
    // An ID below the floor in the index moves the walk down to it.
    ASSERT_TRUE(table.AppendLine("7\tlow"));
    EXPECT_EQ(table.NextFreeId(100000), 8);
    table.Close();
    EXPECT_EQ(table.NextFreeId(100000), -1);
}

TEST_F(TextTableTest, NextFreeIdAtTheTopOfTheRange)
{
    MakeTable({"2147483647\tmax"});
    EXPECT_EQ(table.NextFreeId(2147483646), -1);
}

TEST_F(TextTableTest, ClosedTableAnswersEmpty)
{
    MakeTable({"1\ta"});
    table.Close();
    EXPECT_FALSE(table.Active());
    EXPECT_EQ(table.RecordCount(), 0);
    EXPECT_EQ(table.ReadLine(1), "");
    EXPECT_EQ(table.ReadById(1), "");
    EXPECT_EQ(table.LineOfId(1), -1);
    EXPECT_FALSE(table.AppendLine("2\tb"));
    EXPECT_FALSE(table.ModifyLine(1, "1\tb"));
    EXPECT_FALSE(table.InsertLine(1, "1\tb"));
    EXPECT_FALSE(table.DeleteLine(1));
    EXPECT_FALSE(table.CheckIndex());
    table.SetNeedCheckIndex(false);
    EXPECT_EQ(table.ReadLine(1), "");
    EXPECT_EQ(table.LineOfId(1), -1);
    EXPECT_EQ(table.RecordCount(), 0);
}

TEST_F(TextTableTest, NewTableNameClosesTheTable)
{
    MakeTable({"1\ta"});
    table.SetTableName(Name()); // same name: stays open
    EXPECT_TRUE(table.Active());
    table.SetTableName(dir / "other.dat");
    EXPECT_FALSE(table.Active());
    EXPECT_EQ(table.IdpFileName(), dir / "other.idp");
    table.SetActive(true);
    EXPECT_TRUE(table.Active());
    EXPECT_EQ(table.RecordCount(), 0);
    table.SetActive(false);
    EXPECT_FALSE(table.Active());
}

TEST_F(TextTableTest, EmptyNameOrFolderFailsToOpen)
{
    EXPECT_FALSE(table.Open());
    table.SetTableName(dir / "missing-folder/data.dat");
    EXPECT_FALSE(table.Open());
    table.SetTableName(dir.Path().substr(0, dir.Path().size() - 1));
    EXPECT_FALSE(table.Open());
}

TEST_F(TextTableTest, WithoutIndexCheckMissingIndexesGiveAnEmptyTable)
{
    WriteFileBytes(Name(), "1\ta\r\n2\tb\r\n");
    table.SetTableName(Name());
    table.SetNeedCheckIndex(false);
    ASSERT_TRUE(table.Open());
    EXPECT_EQ(table.RecordCount(), 0);
    EXPECT_EQ(table.ReadLine(1), "");
    EXPECT_EQ(table.ReadById(1), "");
    EXPECT_EQ(table.NextFreeId(100000), 100001);
    EXPECT_FALSE(table.AppendLine("3\tc")); // the index does not match the table: nothing is written
    EXPECT_EQ(ReadFileBytes(Name()), "1\ta\r\n2\tb\r\n");
    EXPECT_EQ(ReadFileBytes(Idp()), "");
}

TEST_F(TextTableTest, WithoutIndexCheckAStaleStampIsTrusted)
{
    MakeTable({"1\ta", "2\tb"});
    TouchLater(Name());
    table.SetNeedCheckIndex(false);
    const std::string idp = ReadFileBytes(Idp());
    EXPECT_EQ(table.ReadById(2), "2\tb");
    EXPECT_EQ(ReadFileBytes(Idp()), idp);
    table.SetNeedCheckIndex(true);
    EXPECT_EQ(table.ReadById(2), "2\tb");
    EXPECT_NE(ReadFileBytes(Idp()), idp); // restamped by the rebuild
}

// ---- Bad input -----------------------------------------------------------

TEST_F(TextTableTest, TruncatedIdpIsRepaired)
{
    MakeTable({"1\ta", "2\tb", "3\tc"});
    const std::string idp = ReadFileBytes(Idp());
    for (std::size_t cut : {0u, 3u, 7u, 11u, 13u, 17u}) {
        table.Close();
        WriteFileBytes(Idp(), idp.substr(0, cut));
        ASSERT_TRUE(table.Open());
        EXPECT_EQ(table.ReadLine(3), "3\tc") << cut;
        EXPECT_EQ(CheckTableFiles(Name(), {"1\ta", "2\tb", "3\tc"}), "") << cut;
    }
}

TEST_F(TextTableTest, ForeignIndexFilesAreRepaired)
{
    MakeTable({"1\ta", "2\tb", "3\tc"});
    std::mt19937 rng(3);
    for (int round = 0; round < 20; ++round) {
        table.Close();
        std::string junkP(rng() % 64, '\0'), junkI(rng() % 64, '\0');
        for (char &c : junkP)
            c = static_cast<char>(rng());
        for (char &c : junkI)
            c = static_cast<char>(rng());
        WriteFileBytes(Idp(), junkP);
        WriteFileBytes(Idi(), junkI);
        ASSERT_TRUE(table.Open());
        EXPECT_EQ(table.ReadById(2), "2\tb");
        EXPECT_EQ(CheckTableFiles(Name(), {"1\ta", "2\tb", "3\tc"}), "");
    }
}

TEST_F(TextTableTest, TruncatedIdiIsRepaired)
{
    MakeTable({"1\ta", "2\tb", "3\tc"});
    table.Close();
    const std::string idi = ReadFileBytes(Idi());
    WriteFileBytes(Idi(), idi.substr(0, 13));
    TouchLater(Idi(), 0);
    ASSERT_TRUE(table.Open());
    EXPECT_EQ(table.LineOfId(3), 3);
    EXPECT_EQ(CheckTableFiles(Name(), {"1\ta", "2\tb", "3\tc"}), "");
}

TEST_F(TextTableTest, IndexWhoseStampLiesIsRepairedWhenItsSizesDisagree)
{
    MakeTable({"1\ta", "2\tb"});
    table.Close();
    // Another program appends a line; the stamp is put back so it still matches.
    const std::uint64_t stamp = IdpStamp(Idp());
    WriteFileBytes(Name(), "1\ta\r\n2\tb\r\n3\tc\r\n");
    const std::uint64_t ticks = stamp - 116444736000000000ULL;
    SetFileTime(Name(), static_cast<std::int64_t>(ticks / 10000000ULL), static_cast<long>(ticks % 10000000ULL) * 100);
    ASSERT_EQ(TTextTable::FileStamp(Name()), stamp);
    ASSERT_TRUE(table.Open());
    EXPECT_EQ(table.RecordCount(), 3);
    EXPECT_EQ(table.ReadById(3), "3\tc");
}

TEST_F(TextTableTest, IndexWhoseStampLiesWithMatchingSizes)
{
    // Same sizes, but the offsets and IDs point elsewhere (lines swapped
    // outside, stamp kept): reads stay inside the file, writes notice the
    // mismatch, repair the index and then do their work.
    MakeTable({"1\taaaa", "2\tbb", "3\tcccccc"});
    table.Close();
    const std::uint64_t stamp = IdpStamp(Idp());
    WriteFileBytes(Name(), "3\tcccccc\r\n1\taaaa\r\n2\tbb\r\n");
    const std::uint64_t ticks = stamp - 116444736000000000ULL;
    SetFileTime(Name(), static_cast<std::int64_t>(ticks / 10000000ULL), static_cast<long>(ticks % 10000000ULL) * 100);
    ASSERT_TRUE(table.Open());
    EXPECT_EQ(table.RecordCount(), 3);
    (void)table.ReadLine(1); // text from the wrong place, but from inside the file
    (void)table.ReadById(3);
    ASSERT_TRUE(table.ModifyLine(2, "1\tAAAA changed"));
    EXPECT_EQ(CheckTableFiles(Name(), {"3\tcccccc", "1\tAAAA changed", "2\tbb"}), "");
    EXPECT_EQ(table.ReadById(3), "3\tcccccc");
}

TEST_F(TextTableTest, ForeignIndexWithoutCheckNeverWritesOutsideTheTable)
{
    MakeTable({"1\ta", "2\tb", "3\tc"});
    table.Close();
    const std::string text = ReadFileBytes(Name());
    // Offsets far beyond the table, negative ones, and a wrong order.
    WriteFileBytes(Idp(), Le32(0) + Le32(1000000) + Le32(-5) + Le32(3) + Le64(0));
    WriteFileBytes(Idi(), Le32(1) + Le32(2) + Le32(2) + Le32(99) + Le32(3) + Le32(-1));
    table.SetNeedCheckIndex(false);
    ASSERT_TRUE(table.Open());
    EXPECT_EQ(table.RecordCount(), 3);
    for (int k = -1; k <= 5; ++k)
        EXPECT_EQ(table.ReadLine(k), "") << k;
    EXPECT_EQ(table.ReadById(2), "");
    EXPECT_FALSE(table.ModifyLine(1, "1\tx"));
    EXPECT_FALSE(table.ModifyLine(2, "1\tx"));
    EXPECT_FALSE(table.ModifyLine(3, "1\tx"));
    EXPECT_FALSE(table.DeleteLine(1));
    EXPECT_FALSE(table.DeleteLine(2));
    EXPECT_FALSE(table.InsertLine(2, "9\tx"));
    EXPECT_FALSE(table.AppendLine("9\tx"));
    EXPECT_EQ(ReadFileBytes(Name()), text);
    // With the check on again the next operation repairs everything.
    table.SetNeedCheckIndex(true);
    EXPECT_EQ(table.ReadLine(2), "2\tb");
    EXPECT_EQ(CheckTableFiles(Name(), {"1\ta", "2\tb", "3\tc"}), "");
}

TEST_F(TextTableTest, ChangeCutShortLeavesAStampThatForcesARebuild)
{
    MakeTable({"1\ta", "2\tb"});
    // The stamp a change writes first, before touching the table, never
    // matches a table's time.
    const std::string idp = ReadFileBytes(Idp());
    WriteFileBytes(Idp(), idp.substr(0, idp.size() - 8) + std::string(8, '\xFF'));
    WriteFileBytes(Name(), "1\ta\r\n2\tb\r\n3\tc\r\n"); // the change itself, same second maybe
    EXPECT_EQ(table.RecordCount(), 3);
    EXPECT_EQ(CheckTableFiles(Name(), {"1\ta", "2\tb", "3\tc"}), "");
}

TEST_F(TextTableTest, NormaliseLeavesNoTemporaryFile)
{
    WriteFileBytes(Name(), "a\nb\n");
    table.SetTableName(Name());
    ASSERT_TRUE(table.Open());
    EXPECT_EQ(table.RecordCount(), 2);
    EXPECT_FALSE(FileExists(Name() + ".tmp"));
    EXPECT_EQ(ReadFileBytes(Name()), "a\r\nb\r\n");
}

TEST_F(TextTableTest, TablePermissionsSurviveNormalising)
{
    WriteFileBytes(Name(), "a\nb");
    ASSERT_EQ(chmod(Name().c_str(), 0640), 0);
    table.SetTableName(Name());
    ASSERT_TRUE(table.Open());
    EXPECT_EQ(table.RecordCount(), 2);
    struct stat st;
    ASSERT_EQ(stat(Name().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

// ---- Against a model ------------------------------------------------------

TEST_F(TextTableTest, RandomOperationsMatchAModel)
{
    MakeTable({});
    std::vector<std::string> model;
    std::mt19937 rng(12345);
    auto randomText = [&](int id) {
        std::string s = (rng() % 10 == 0) ? "no id here" : std::to_string(id) + "\t";
        const std::size_t len = rng() % 40;
        for (std::size_t i = 0; i < len; ++i)
            s += static_cast<char>('a' + rng() % 26);
        return s;
    };
    for (int step = 0; step < 600; ++step) {
        const int n = static_cast<int>(model.size());
        const int id = static_cast<int>(rng() % 60) - 5; // duplicates and negatives too
        switch (rng() % 6) {
        case 0: {
            const std::string t = randomText(id);
            ASSERT_TRUE(table.AppendLine(t));
            model.push_back(t);
            break;
        }
        case 1: {
            const int k = 1 + static_cast<int>(rng() % (n + 1));
            const std::string t = randomText(id);
            ASSERT_TRUE(table.InsertLine(k, t));
            model.insert(model.begin() + (k - 1), t);
            break;
        }
        case 2:
        case 3:
            if (n > 0) {
                const int k = 1 + static_cast<int>(rng() % n);
                const std::string t = rng() % 3 ? randomText(id) : randomText(TTextTable::LineId(model[k - 1]));
                ASSERT_TRUE(table.ModifyLine(k, t));
                model[static_cast<std::size_t>(k - 1)] = t;
            }
            break;
        case 4:
            if (n > 0) {
                const int k = 1 + static_cast<int>(rng() % n);
                ASSERT_TRUE(table.DeleteLine(k));
                model.erase(model.begin() + (k - 1));
            }
            break;
        case 5:
            if (n > 0) {
                const std::string &target = model[rng() % model.size()];
                const int tid = TTextTable::LineId(target);
                const int line = table.LineOfId(tid);
                ASSERT_GE(line, 1);
                ASSERT_EQ(TTextTable::LineId(model[static_cast<std::size_t>(line - 1)]), tid);
                const std::string t = std::to_string(tid) + "\tby id " + std::to_string(step);
                ASSERT_TRUE(table.ModifyById(tid, t));
                model[static_cast<std::size_t>(line - 1)] = t;
            }
            break;
        }
        ASSERT_EQ(CheckTableFiles(Name(), model), "") << "step " << step;
        ASSERT_EQ(table.RecordCount(), static_cast<int>(model.size()));
    }
    for (std::size_t k = 0; k < model.size(); ++k)
        EXPECT_EQ(table.ReadLine(static_cast<int>(k + 1)), model[k]);
}
