#include "recording/WaveComp.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::uint32_t Le32(const std::string &b, size_t at)
{
    return static_cast<std::uint8_t>(b[at]) | (static_cast<std::uint8_t>(b[at + 1]) << 8) |
           (static_cast<std::uint8_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 3])) << 24);
}

std::string Le(std::uint32_t v, int bytes)
{
    std::string s;
    for (int i = 0; i < bytes; ++i)
        s += static_cast<char>(v >> (8 * i));
    return s;
}

} // namespace

TEST(WaveFileStream, RecordingStoppedAtOnceLeavesAValidEmptyFile)
{
    TempDir dir;
    { TWaveFileStream s(dir / "a.wav", MakePcmFormat(2, 44100, 16), true); }
    const std::string b = ReadFileBytes(dir / "a.wav");
    ASSERT_EQ(b.size(), 58u);
    EXPECT_EQ(b.substr(0, 4), "RIFF");
    EXPECT_EQ(Le32(b, 4), 50u);
    EXPECT_EQ(b.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(Le32(b, 16), 18u);
    EXPECT_EQ(Le32(b, 24), 44100u);
    EXPECT_EQ(Le32(b, 28), 176400u);
    EXPECT_EQ(b.substr(38, 4), "fact");
    EXPECT_EQ(b.substr(50, 4), "data");
    EXPECT_EQ(Le32(b, 54), 0u);
}

TEST(WaveFileStream, HeaderIsCompletedOnCloseAndReadsBack)
{
    TempDir dir;
    std::string samples(1000, '\x11');
    {
        TWaveFileStream s(dir / "a.wav", MakePcmFormat(1, 22050, 16), true);
        EXPECT_EQ(s.Write(samples.data(), 600), 600);
        EXPECT_EQ(s.Write(samples.data(), 400), 400);
        EXPECT_EQ(s.Write(samples.data(), 0), -1);
    }
    const std::string b = ReadFileBytes(dir / "a.wav");
    ASSERT_EQ(b.size(), 1058u);
    EXPECT_EQ(Le32(b, 4), 1050u);
    EXPECT_EQ(Le32(b, 46), 500u); // sample frames: 1000 bytes / block alignment 2
    EXPECT_EQ(Le32(b, 54), 1000u);

    TWaveFileStream r(dir / "a.wav", TWaveFormatEx{}, false);
    EXPECT_EQ(r.Format().nChannels, 1);
    EXPECT_EQ(r.Format().nSamplesPerSec, 22050u);
    EXPECT_EQ(r.DataStart(), 58);
    EXPECT_EQ(r.DataLength(), 1000);
    char buf[2000];
    EXPECT_EQ(r.Read(buf, 2000), 1000);
    EXPECT_TRUE(r.EndOfData());
    EXPECT_EQ(r.Read(buf, 0), -1);
    r.Rewind();
    EXPECT_FALSE(r.EndOfData());
}

TEST(WaveFileStream, ReadsSixteenByteFormatAndSkipsOtherChunks)
{
    TempDir dir;
    std::string fmt = Le(1, 2) + Le(2, 2) + Le(8000, 4) + Le(32000, 4) + Le(4, 2) + Le(16, 2);
    std::string body = "WAVE" + std::string("LIST") + Le(3, 4) + "abc" + "fmt " + Le(16, 4) + fmt + "data" + Le(8, 4) +
                       "12345678";
    WriteFileBytes(dir / "a.wav", "RIFF" + Le(static_cast<std::uint32_t>(body.size()), 4) + body);
    TWaveFormatEx start;
    start.cbSize = 7; // a short format record leaves the extra size as it was
    TWaveFileStream r(dir / "a.wav", start, false);
    EXPECT_EQ(r.Format().nSamplesPerSec, 8000u);
    EXPECT_EQ(r.Format().nChannels, 2);
    EXPECT_EQ(r.Format().cbSize, 7);
    char buf[8];
    ASSERT_EQ(r.Read(buf, 8), 8);
    EXPECT_EQ(std::string(buf, 8), "12345678");
}

TEST(WaveFileStream, RejectsWhatIsNoWaveFile)
{
    TempDir dir;
    for (const std::string &content : {std::string("RIFX....WAVE"), std::string("RIFF"), std::string()}) {
        WriteFileBytes(dir / "bad.wav", content);
        try {
            TWaveFileStream r(dir / "bad.wav", TWaveFormatEx{}, false);
            ADD_FAILURE() << "accepted " << content;
        } catch (const EWaveFileException &e) {
            EXPECT_STREQ(e.what(), "无效的wave文件");
        }
    }
    // A chunk claiming more than the file holds ends the scan without reading outside it.
    WriteFileBytes(dir / "long.wav", "RIFF" + Le(100, 4) + "WAVEjunk" + Le(0xFFFFFFF0u, 4) + "xx");
    TWaveFileStream r(dir / "long.wav", TWaveFormatEx{}, false);
    char buf[16];
    EXPECT_LE(r.Read(buf, 16), 16);
}

TEST(WaveOut, MissingFileDoesNothing)
{
    TWaveOut out;
    out.PlayFile("/nonexistent/waiting.wav");
    EXPECT_FALSE(out.Active());
}

TEST(WaveFileStream, ShippedNotificationSoundsAreWaveFilesWithSound)
{
    for (const char *lang : {"eng", "chs"})
        for (const char *name : {"waiting.wav", "error.wav"}) {
            const std::string file = std::string(ORVANE_SOURCE_DIR) + "/data/Sound/" + lang + "/" + name;
            TWaveFileStream s(file, TWaveFormatEx{}, false);
            EXPECT_EQ(s.Format().wFormatTag, 1) << file;
            EXPECT_GT(s.DataLength(), 200 + 4410 * 2) << file; // more than the part left unplayed
        }
}
