#include "app/Funs.h"

#include "TestSupport.h"
#include "platform/FolderPicker.h"
#include "platform/SystemShutdown.h"

#include <QCursor>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QObject>
#include <QUrl>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// --- Versions -------------------------------------------------------------

TEST(GetFileVersionTextTest, ReadsTheVersionBuiltIntoTheProgram)
{
    EXPECT_EQ(GetFileVersionText(ORVANE_PROGRAM_DIR "/orvane"), ORVANE_VERSION);
    EXPECT_EQ(GetFileVersionText(ExecutableFileName()), ORVANE_VERSION);
}

TEST(GetFileVersionTextTest, SkipsMalformedMarkersAndNormalisesNumbers)
{
    TempDir dir;
    const std::string marker = "ORVANE_FILE_VERSION:";
    WriteFileBytes(dir / "a.bin", std::string("\x7F" "ELF junk ", 9) + marker + std::string("\0", 1) + "x" + marker +
                                      "1.2.3" + std::string("\0", 1) + marker + "1.2.3.4.5" +
                                      std::string("\0", 1) + marker + "1.2.3.70000" + std::string("\0", 1) + marker +
                                      "2.03.0.17" + std::string("\0tail", 5));
    EXPECT_EQ(GetFileVersionText(dir / "a.bin"), "2.3.0.17");
}

TEST(GetFileVersionTextTest, EmptyForFilesWithoutVersion)
{
    TempDir dir;
    WriteFileBytes(dir / "plain.txt", "no version here ORVANE_FILE_VERSION:");
    WriteFileBytes(dir / "empty", "");
    EXPECT_EQ(GetFileVersionText(dir / "plain.txt"), "");
    EXPECT_EQ(GetFileVersionText(dir / "empty"), "");
    EXPECT_EQ(GetFileVersionText(dir / "missing"), "");
    EXPECT_EQ(GetFileVersionText(dir.Path()), "");
}

TEST(CompareFileVersionsTest, ComparesEmbeddedVersionsAndTreatsNoneAsZero)
{
    TempDir dir;
    auto versioned = [&](const std::string &name, const std::string &version) {
        WriteFileBytes(dir / name, "head ORVANE_FILE_VERSION:" + version + std::string("\0", 1));
        return dir / name;
    };
    const std::string v1009 = versioned("a", "1.0.0.9");
    const std::string v1010 = versioned("b", "1.0.0.10");
    const std::string v2000 = versioned("c", "2.0.0.0");
    const std::string zero = versioned("d", "0.0.0.0");
    WriteFileBytes(dir / "none", "nothing");
    EXPECT_EQ(CompareFileVersions(v1010, v1009), 1);
    EXPECT_EQ(CompareFileVersions(v1009, v1010), -1);
    EXPECT_EQ(CompareFileVersions(v2000, v1010), 1);
    EXPECT_EQ(CompareFileVersions(v1009, v1009), 0);
    EXPECT_EQ(CompareFileVersions(dir / "none", v1009), -1);
    EXPECT_EQ(CompareFileVersions(dir / "none", zero), 0);
    EXPECT_EQ(CompareFileVersions(dir / "missing", dir / "none"), 0);
}

struct VersionCase {
    std::string a, b;
    int result;
};

class CompareVersionTextTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(CompareVersionTextTest, ComparesNumberByNumber)
{
    const auto &c = GetParam();
    EXPECT_EQ(CompareVersionText(c.a, c.b), c.result) << c.a << " vs " << c.b;
    EXPECT_EQ(CompareVersionText(c.b, c.a), -c.result) << c.b << " vs " << c.a;
}

INSTANTIATE_TEST_SUITE_P(Cases, CompareVersionTextTest,
                         ::testing::Values(VersionCase{"1.2", "1.2.0.0", 0}, VersionCase{"1.10", "1.9", 1},
                                           VersionCase{"2008.10.1", "2008.9.1", 1}, VersionCase{"1.0.0.1", "1", 1},
                                           VersionCase{"1.x.5", "1.0.5", 0}, VersionCase{"", "0.0", 0},
                                           VersionCase{"", "0.0.1", -1}, VersionCase{"3", "2.99.99", 1},
                                           // the 34th number still counts, the 35th does not
                                           VersionCase{std::string(33, '.') + "1", "", 1},
                                           VersionCase{std::string(34, '.') + "1", "", 0}));

// --- Files and folders ----------------------------------------------------

std::vector<std::string> Sorted(std::vector<std::string> list)
{
    std::sort(list.begin(), list.end());
    return list;
}

TEST(FileSizeByNameTest, SizeOfFilesAndMinusOneOtherwise)
{
    TempDir dir;
    WriteFileBytes(dir / "five", "12345");
    WriteFileBytes(dir / "empty", "");
    EXPECT_EQ(FileSizeByName(dir / "five"), 5);
    EXPECT_EQ(FileSizeByName(dir / "empty"), 0);
    EXPECT_EQ(FileSizeByName(dir / "missing"), -1);
    EXPECT_EQ(FileSizeByName(dir.Path()), -1);
}

TEST(FileSizeByNameTest, SizesBeyond2GiBAreNotCut)
{
    TempDir dir;
    WriteFileBytes(dir / "big", "");
    const std::int64_t size = 3LL * 1024 * 1024 * 1024 + 7;
    fs::resize_file(dir / "big", size); // sparse: takes no disk space
    EXPECT_EQ(FileSizeByName(dir / "big"), size);
}

TEST(FileDateTimeTest, SetTimesReadBackInLocalTime)
{
    TempDir dir;
    const std::string file = dir / "f.txt";
    WriteFileBytes(file, "x");
    const TDateTime write = EncodeDateTime(2008, 10, 1, 18, 30, 15);
    const TDateTime access = EncodeDateTime(2009, 1, 2, 3, 4, 5);
    ASSERT_TRUE(SetFileDateTimes(file, write, access, write));
    EXPECT_DOUBLE_EQ(GetFileDateTime(file, ftLastWrite), write);
    EXPECT_DOUBLE_EQ(GetFileDateTime(file, ftLastAccess), access);

    const TDateTime both = EncodeDateTime(2015, 6, 30, 23, 59, 59);
    ASSERT_TRUE(SetFileDateTime(file, both));
    EXPECT_DOUBLE_EQ(GetFileDateTime(file, ftLastWrite), both);
    EXPECT_DOUBLE_EQ(GetFileDateTime(file, ftLastAccess), both);
}

TEST(FileDateTimeTest, CreationTimeIsRecentOrUnknown)
{
    TempDir dir;
    WriteFileBytes(dir / "new", "x");
    const TDateTime created = GetFileDateTime(dir / "new", ftCreation);
    if (created == 0)
        GTEST_SKIP() << "this file system keeps no creation time";
    EXPECT_NEAR(created, NowDateTime(), 60.0 / 86400);
}

TEST(FileDateTimeTest, MissingFilesAndUnknownKindsGiveZeroOrFailure)
{
    TempDir dir;
    WriteFileBytes(dir / "f", "x");
    EXPECT_EQ(GetFileDateTime(dir / "missing", ftLastWrite), 0);
    EXPECT_EQ(GetFileDateTime(dir / "f", 3), 0);
    EXPECT_FALSE(SetFileDateTime(dir / "missing", EncodeDateTime(2008, 1, 1, 0, 0, 0)));
}

TEST(ListFilesTest, AddsFilesButNotFoldersOrDotNames)
{
    TempDir dir;
    WriteFileBytes(dir / "a.mp3", "a");
    WriteFileBytes(dir / "b.wma", "b");
    WriteFileBytes(dir / ".hidden", "h");
    WriteFileBytes(dir / "sub/c.mp3", "c");
    fs::create_symlink(dir / "sub", dir / "linked-folder");

    std::vector<std::string> list = {"already there"};
    ListFiles(dir / "", list);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0], "already there");
    EXPECT_EQ(Sorted({list[1], list[2]}), (std::vector<std::string>{dir / "a.mp3", dir / "b.wma"}));

    std::vector<std::string> withoutSlash;
    ListFiles(dir / "sub", withoutSlash);
    EXPECT_EQ(withoutSlash, (std::vector<std::string>{dir / "sub/c.mp3"}));

    std::vector<std::string> missing;
    ListFiles(dir / "missing", missing);
    EXPECT_TRUE(missing.empty());
}

TEST(CopyFolderTest, CopiesTheTreeWithoutDotNamesOverwritingReadOnlyCopies)
{
    TempDir dir;
    const std::string src = dir / "src/";
    WriteFileBytes(src + "skin.ini", "new ini");
    WriteFileBytes(src + "Images/face.bmp", "bmp");
    WriteFileBytes(src + "Images/deep/x.txt", "x");
    WriteFileBytes(src + ".git/config", "no");
    WriteFileBytes(src + ".note", "no");
    fs::permissions(src + "skin.ini", fs::perms::owner_read, fs::perm_options::replace);

    const std::string dst = dir / "a/b/dst/";
    WriteFileBytes(dst + "old.txt", "stays");
    ASSERT_TRUE(CopyFolder(src, dst));
    EXPECT_EQ(ReadFileBytes(dst + "skin.ini"), "new ini");
    EXPECT_EQ(ReadFileBytes(dst + "Images/face.bmp"), "bmp");
    EXPECT_EQ(ReadFileBytes(dst + "Images/deep/x.txt"), "x");
    EXPECT_EQ(ReadFileBytes(dst + "old.txt"), "stays");
    EXPECT_FALSE(FileExists(dst + ".git"));
    EXPECT_FALSE(FileExists(dst + ".note"));

    // The copy of a read-only file is writable, so a second copy overwrites it.
    fs::permissions(src + "skin.ini", fs::perms::owner_write, fs::perm_options::add);
    WriteFileBytes(src + "skin.ini", "newer ini");
    ASSERT_TRUE(CopyFolder(src, dst));
    EXPECT_EQ(ReadFileBytes(dst + "skin.ini"), "newer ini");
}

TEST(CopyFolderTest, MissingSourceIsReportedAsFailure)
{
    TempDir dir;
    EXPECT_FALSE(CopyFolder(dir / "missing/", dir / "dst/"));
}

class DeleteFolderContentsTest : public ::testing::Test {
protected:
    TempDir dir;
};

TEST_F(DeleteFolderContentsTest, EmptiesTheFolderButKeepsIt)
{
    const std::string folder = dir / "cache/";
    WriteFileBytes(folder + "1", "a");
    WriteFileBytes(folder + ".hidden", "b");
    WriteFileBytes(folder + "sub/2", "c");
    WriteFileBytes(folder + "sub/deeper/3", "d");
    fs::create_directories(folder + "sub/emptysub");

    EXPECT_TRUE(DeleteFolderContents(folder));
    ASSERT_TRUE(fs::is_directory(folder));
    EXPECT_TRUE(fs::is_empty(folder));
}

TEST_F(DeleteFolderContentsTest, RemovesAFolderThatHeldNothingAndReportsFalse)
{
    const std::string folder = dir / "empty/";
    fs::create_directories(folder);
    EXPECT_FALSE(DeleteFolderContents(folder));
    EXPECT_FALSE(FileExists(folder));
}

TEST_F(DeleteFolderContentsTest, NothingHappensForEmptyTextOrMissingFolder)
{
    EXPECT_FALSE(DeleteFolderContents(""));
    EXPECT_FALSE(DeleteFolderContents(dir / "missing/"));
    EXPECT_TRUE(fs::is_directory(dir.Path()));
}

TEST_F(DeleteFolderContentsTest, RemovesLinksWithoutTouchingTheirTargets)
{
    const std::string keep = dir / "keep/";
    WriteFileBytes(keep + "precious", "p");
    const std::string folder = dir / "work/";
    WriteFileBytes(folder + "f", "x");
    fs::create_directory_symlink(keep, folder + "folder-link");
    fs::create_symlink(keep + "precious", folder + "file-link");

    EXPECT_TRUE(DeleteFolderContents(folder));
    EXPECT_TRUE(fs::is_empty(folder));
    EXPECT_EQ(ReadFileBytes(keep + "precious"), "p");
}

// Keeps the files of a folder from being deleted while alive: the folder
// loses its write permission, or, for root, whom permissions do not stop, the
// file gets the immutable flag. Active() is false when neither is possible.
class TUndeletable {
public:
    TUndeletable(const std::string &folder, const std::string &file) : folder_(folder), file_(file)
    {
        active_ = geteuid() == 0 ? SetImmutable(true)
                                 : (fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec,
                                                    fs::perm_options::replace, ec_),
                                    !ec_);
    }
    ~TUndeletable()
    {
        if (geteuid() == 0)
            SetImmutable(false);
        else
            fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::replace, ec_);
    }
    bool Active() const { return active_; }

private:
    bool SetImmutable(bool on)
    {
        const int fd = open(file_.c_str(), O_RDONLY | O_NONBLOCK);
        if (fd < 0)
            return false;
        int flags = 0;
        bool ok = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        ok = ok && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        close(fd);
        return ok;
    }
    std::string folder_, file_;
    std::error_code ec_;
    bool active_ = false;
};

TEST_F(DeleteFolderContentsTest, AnyFailedDeletionMakesTheResultFalseAndTheRestIsStillDeleted)
{
    const std::string folder = dir / "work/";
    WriteFileBytes(folder + "locked/inner", "x");
    WriteFileBytes(folder + "zz-last", "y");
    {
        const TUndeletable lock(folder + "locked", folder + "locked/inner");
        if (!lock.Active())
            GTEST_SKIP() << "cannot make a file undeletable here";
        EXPECT_FALSE(DeleteFolderContents(folder));
    }
    EXPECT_FALSE(FileExists(folder + "zz-last"));
    EXPECT_TRUE(FileExists(folder + "locked/inner"));
}

// --- System ---------------------------------------------------------------

class FakeShutdown : public TSystemShutdown {
public:
    bool PowerOff() override
    {
        ++calls;
        return answer;
    }
    int calls = 0;
    bool answer = true;
};

TEST(ShutDownWindowsTest, AsksTheSystemServiceAndReportsItsAnswer)
{
    FakeShutdown fake;
    SetSystemShutdown(&fake);
    EXPECT_TRUE(ShutDownWindows());
    fake.answer = false;
    EXPECT_FALSE(ShutDownWindows());
    SetSystemShutdown(nullptr);
    EXPECT_EQ(fake.calls, 2);
    EXPECT_NE(&SystemShutdown(), &fake);
}

class FakePicker : public TFolderPicker {
public:
    std::optional<std::string> Pick(const std::string &title, const std::string &root,
                                    const std::string &preselected) override
    {
        seen = {title, root, preselected};
        return answer;
    }
    std::vector<std::string> seen;
    std::optional<std::string> answer;
};

class SelectFolderTest : public ::testing::Test {
protected:
    void SetUp() override { SetFolderPicker(&picker); }
    void TearDown() override { SetFolderPicker(nullptr); }
    FakePicker picker;
};

TEST_F(SelectFolderTest, AChosenFolderReplacesTheGivenOne)
{
    picker.answer = "/home/u/Music";
    std::string folder = "/home/u";
    EXPECT_TRUE(SelectFolder("Select Play Directory:", "", folder));
    EXPECT_EQ(folder, "/home/u/Music");
    EXPECT_EQ(picker.seen, (std::vector<std::string>{"Select Play Directory:", "", "/home/u"}));
}

TEST_F(SelectFolderTest, CancelLeavesTheFolderAlone)
{
    std::string folder = "/home/u";
    EXPECT_FALSE(SelectFolder("t", "/root", folder));
    EXPECT_EQ(folder, "/home/u");
    EXPECT_EQ(picker.seen, (std::vector<std::string>{"t", "/root", "/home/u"}));
}

// Stands in for the browser: notes the cursor shown while a page opens.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
    bool waitCursorShown = false;
public Q_SLOTS:
    void open(const QUrl &url)
    {
        urls.append(url);
        const QCursor *cursor = QGuiApplication::overrideCursor();
        waitCursorShown = cursor && cursor->shape() == Qt::WaitCursor;
    }
};

TEST(OpenInBrowserTest, OpensUnderAWaitCursorAndRestoresIt)
{
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("orvanetest", &catcher, "open");
    EXPECT_TRUE(OpenInBrowser("orvanetest://station/page?id=5"));
    QDesktopServices::unsetUrlHandler("orvanetest");
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_EQ(catcher.urls[0].toString(), "orvanetest://station/page?id=5");
    EXPECT_TRUE(catcher.waitCursorShown);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(OpenInBrowserTest, RestoresTheCursorWhenTheAddressCannotBeOpened)
{
    EXPECT_FALSE(OpenInBrowser(""));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// --- Hotkey texts ---------------------------------------------------------

TEST(KeyToTextTest, NamesOfTheTable)
{
    const std::vector<std::pair<int, std::string>> cases = {
        {33, "Page Up"}, {34, "Page Down"}, {35, "End"},    {36, "Home"},   {37, "Left"},  {38, "Up"},
        {39, "Right"},   {40, "Down"},      {48, "0"},      {57, "9"},      {65, "A"},     {90, "Z"},
        {96, "Num 0"},   {103, "Num 7"},    {105, "Num 9"}, {106, "Num *"}, {107, "Num +"}, {109, "Num -"},
        {110, "Num ."},  {111, "Num /"},    {112, "F1"},    {123, "F12"},   {186, ";"},    {187, "="},
        {188, ","},      {189, "-"},        {190, "."},     {191, "/"},     {192, "`"},    {219, "["},
        {220, "\\"},     {221, "]"},        {222, "'"}};
    for (const auto &[key, name] : cases)
        EXPECT_EQ(KeyToText(key), name) << key;
    for (const int unnamed : {0, 8, 13, 32, 41, 47, 58, 64, 91, 108, 124, 185, 193, 218, 223, 255})
        EXPECT_EQ(KeyToText(unnamed), "") << unnamed;
}

TEST(TextToKeyTest, RoundTripsEveryNamedKey)
{
    int named = 0;
    for (int key = 0; key < 256; ++key) {
        const std::string name = KeyToText(key);
        if (name.empty())
            continue;
        ++named;
        EXPECT_EQ(TextToKey(name), key) << name;
    }
    EXPECT_EQ(named, 8 + 10 + 26 + 10 + 5 + 12 + 11);
}

TEST(TextToKeyTest, SingleLetterFIsTheLetterNotAFunctionKey)
{
    EXPECT_EQ(TextToKey("F"), 70);
    EXPECT_EQ(TextToKey("F1"), 112);
    EXPECT_EQ(TextToKey("Num 7"), 103);
    EXPECT_EQ(TextToKey("Page Up"), 33);
}

TEST(TextToKeyTest, UnknownNamesGiveZero)
{
    for (const std::string name : {"", "a", "#", "Num x", "Num ", "F0", "F13", "Fx", "Space", "page up", " A"})
        EXPECT_EQ(TextToKey(name), 0) << name;
}

TEST(ModifiersTest, TextAndFlagsConvertBothWays)
{
    const std::vector<std::pair<int, std::string>> cases = {{0, ""},
                                                            {1, "Alt + "},
                                                            {2, "Ctrl + "},
                                                            {3, "Ctrl + Alt + "},
                                                            {4, "Shift + "},
                                                            {5, "Alt + Shift + "},
                                                            {6, "Ctrl + Shift + "},
                                                            {7, "Ctrl + Alt + Shift + "}};
    for (const auto &[flags, text] : cases) {
        EXPECT_EQ(ModifiersToText(flags), text) << flags;
        EXPECT_EQ(TextToModifiers(text), flags) << text;
    }
    // each piece of a hotkey text is given on its own
    EXPECT_EQ(TextToModifiers("Ctrl"), 2);
    EXPECT_EQ(TextToModifiers("Shift"), 4);
    EXPECT_EQ(TextToModifiers("P"), 0);
}

} // namespace

#include "FunsTest.moc"
