#include "playback/StreamUrlParserUnit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct TClassCase {
    const char *Address;
    char Kind;
};

// Every case leaves the address untouched: only the key form rewrites it.
const TClassCase ClassCases[] = {
    {"mms://host/x.asf", pkWindowsMedia},
    {"MMS://HOST/X", pkWindowsMedia},
    {"mmst://host/x", pkWindowsMedia},
    {"  mms://host/x\t", pkWindowsMedia},
    {"rtsp://host/x.wmv", pkReal},
    {"pnm://host/x", pkReal},
    {"rtmp://host/app", pkFlash},
    {"http://host/video.flv?start=0", pkFlash},
    {"http://host/z.f4m", pkFlash},
    {"http://host/playlist.m3u8", pkFlash},
    {"http://host/m3u8list", pkFlash},
    {"http://host/song.mp3", pkWindowsMedia},
    {"http://host/SONG.MP3", pkWindowsMedia},
    {"http://host/list.pls", pkReal},
    {"C:\\Music\\a.ram", pkReal},
    {"/home/u/Music/a.wma", pkWindowsMedia},
    {"http://host/a.avi", pkWindowsMedia},
    {"http://host/a.dvr-ms", pkWindowsMedia},
    {"http://host/live", pkAuto},
    {"http://www.host.com/live", pkAuto},
    {"http://host:8000/", pkAuto},
    {"http://host/a.asx?id=1", pkAuto},
    {"C:\\folder.d\\file", pkAuto},
    // Whole items only: ".w" and ".mp" are parts of items, not items.
    {"http://host/a.w", pkAuto},
    {"http://host/a.mp", pkAuto},
    {"http://host/a.", pkAuto},
    {"", pkAuto},
    {"   ", pkAuto},
    {"\x01\xff\xfe.", pkAuto},
};

TEST(ClassifyStreamAddress, KindsOfPlainAddresses)
{
    int fetches = 0;
    const TFetchText fetch = [&](const std::string &) { ++fetches; return std::string("x"); };
    for (const auto &c : ClassCases) {
        std::string address = c.Address;
        EXPECT_EQ(ClassifyStreamAddress(address, fetch), c.Kind) << "address: " << c.Address;
        EXPECT_EQ(address, c.Address);
    }
    EXPECT_EQ(fetches, 0);
}

struct TKeyCase {
    const char *Name;
    std::string Address;
    std::string Page;    // what the fetch returns
    std::string Fetched; // the address the page is fetched from; empty for no fetch
    std::string Result;  // the address afterwards
    char Kind;
};

const TKeyCase KeyCases[] = {
    {"link in double quotes", "http://host/page.htm?cf=abc.mp3",
     "<a href=\"http://media.host/live/abc.mp3\">listen</a>", "http://host/page.htm",
     "http://media.host/live/abc.mp3", pkWindowsMedia},
    {"ampersand marker, single quotes and tabs", "http://host/p.php?id=7&cf=.m3u8",
     "x\t'https://cdn/x/index.m3u8'\ty", "http://host/p.php?id=7", "https://cdn/x/index.m3u8", pkFlash},
    {"token at the very start and end of the page", "http://host/p?cf=KEY", "rtsp://r/KEY",
     "http://host/p", "rtsp://r/KEY", pkReal},
    {"text after the key stays with the address", "http://host/p?cf=k.wma -headers x",
     "mms://s/k.wma\r\n", "http://host/p -headers x", "mms://s/k.wma", pkWindowsMedia},
    {"key not in the page", "http://host/p.asf?cf=zzz", "nothing here", "http://host/p.asf",
     "http://host/p.asf", pkWindowsMedia},
    {"token without a colon", "http://host/p?cf=abc.mp3", "see abc.mp3 here", "http://host/p",
     "http://host/p", pkAuto},
    {"failed fetch", "http://host/p.wma?cf=abc", "", "http://host/p.wma", "http://host/p.wma", pkWindowsMedia},
    {"key is case-sensitive", "http://host/p?cf=ABC", "http://s/abc.mp3", "http://host/p", "http://host/p", pkAuto},
    {"empty key fetches nothing", "http://host/p.mp3?cf=", "http://s/other.ra", "", "http://host/p.mp3",
     pkWindowsMedia},
    // Bytes without delimiters form one token; it holds ":", so it is taken.
    {"binary page", "http://host/p?cf=k", std::string("\0\xff:k\0", 5), "http://host/p",
     std::string("\0\xff:k\0", 5), pkAuto},
};

TEST(ClassifyStreamAddress, KeyFormFetchesThePageAndTakesTheToken)
{
    for (const auto &c : KeyCases) {
        std::vector<std::string> fetched;
        const TFetchText fetch = [&](const std::string &a) { fetched.push_back(a); return std::string(c.Page); };
        std::string address = c.Address;
        EXPECT_EQ(ClassifyStreamAddress(address, fetch), c.Kind) << c.Name;
        EXPECT_EQ(address, c.Result) << c.Name;
        if (!c.Fetched.empty())
            EXPECT_EQ(fetched, std::vector<std::string>{c.Fetched}) << c.Name;
        else
            EXPECT_TRUE(fetched.empty()) << c.Name;
    }
}

TEST(ClassifyStreamAddress, AmpersandMarkerIsLookedForFirst)
{
    std::string fetchedFrom;
    const TFetchText fetch = [&](const std::string &a) { fetchedFrom = a; return std::string("rtsp://x/one"); };
    std::string address = "http://host/p?cf=two&cf=one";
    EXPECT_EQ(ClassifyStreamAddress(address, fetch), pkReal);
    EXPECT_EQ(fetchedFrom, "http://host/p?cf=two");
    EXPECT_EQ(address, "rtsp://x/one");
}

TEST(TokenAroundKey, DelimitersAndEdges)
{
    EXPECT_EQ(TokenAroundKey("a b\"http://x/k.mp3\" c", "k.mp3"), "http://x/k.mp3");
    EXPECT_EQ(TokenAroundKey("ak\nhttp://x/k", "k"), "ak"); // the first occurrence counts
    EXPECT_EQ(TokenAroundKey("one\nhttp://x/key\rthree", "key"), "http://x/key");
    EXPECT_EQ(TokenAroundKey("keyonly", "keyonly"), "keyonly");
    EXPECT_EQ(TokenAroundKey("no match", "zz"), "");
    EXPECT_EQ(TokenAroundKey("", "k"), "");
    // A key that starts with a delimiter: the token starts after it.
    EXPECT_EQ(TokenAroundKey("a 'b.mp3 c", "'b.mp3"), "b.mp3");
}

TEST(ExtensionLists, WindowsMediaGoesFirstForSharedItems)
{
    for (const char *ext : {".mp3.", ".wav.", ".avi.", ".m3u.", ".mpg.", ".mpeg.", ".mp2.", ".mpa.", ".au.", ".aif."}) {
        EXPECT_NE(std::string(WindowsMediaExtensions).find(ext), std::string::npos) << ext;
        EXPECT_NE(std::string(RealExtensions).find(ext), std::string::npos) << ext;
        std::string address = std::string("http://host/a") + std::string(ext).substr(0, std::string(ext).size() - 1);
        EXPECT_EQ(ClassifyStreamAddress(address, nullptr), pkWindowsMedia) << ext;
    }
}

} // namespace
