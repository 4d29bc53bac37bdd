#include "Peers.h"

#include "playback/PlayHostU.h"
#include "playback/WMPlayerU.h"
#include "platform/WMPControl.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr int NetworkTimeout = 3; // seconds; short so that failures come quickly

// A host like the video window: a missing player or control counts as 99.
class TTestHost : public TPlayerHost {
public:
    std::string Address;
    std::vector<int> Codes;
    QWidget Panel;

    TWMPlayer *WMPlayer() const { return dynamic_cast<TWMPlayer *>(Player()); }
    bool Saw(int code) const { return std::find(Codes.begin(), Codes.end(), code) != Codes.end(); }
    // Waits, running the event loop, until the code arrives.
    bool WaitFor(int code, int timeoutMs)
    {
        return WaitUntil([&] { QCoreApplication::processEvents(); return Saw(code); }, timeoutMs);
    }

protected:
    std::string CurrentAddress() const override { return Address; }
    QWidget *PlayerPanel() override { return &Panel; }
    void BeginOpen() override { Codes.clear(); }
    void PlayerNotReady() override { Codes.push_back(psFailed); }
    void ApplySound(TPlayer &player) override
    {
        player.SetMute(false);
        player.SetVolume(100);
        player.SetBalance(0);
        player.SetVideoVisible(false);
    }
    void EnableCheckTimer() override {}
    void StateChange(TPlayer *, int state) override { Codes.push_back(state); }
};

// The codes must contain want in this order (others may come between).
bool InOrder(const std::vector<int> &codes, const std::vector<int> &want)
{
    auto at = codes.begin();
    for (int code : want) {
        at = std::find(at, codes.end(), code);
        if (at == codes.end())
            return false;
        ++at;
    }
    return true;
}

std::string Show(const std::vector<int> &codes)
{
    std::string text;
    for (int c : codes)
        text += std::to_string(c) + " ";
    return text;
}

struct WMPlayerE2E : ::testing::Test {
    void SetUp() override
    {
        WMPControl::SetDefaultOptions({"null", NetworkTimeout});
        if (!HaveProgram("ffmpeg"))
            GTEST_SKIP() << "ffmpeg is not installed";
    }
    TTestHost host;
    TempDir dir;
};

TEST_F(WMPlayerE2E, LiveIcecastStreamPlaysWithBitRateAndIcyTitles)
{
    if (!HaveProgram("icecast2"))
        GTEST_SKIP() << "icecast2 is not installed";
    TIcecastStream radio;
    ASSERT_TRUE(radio.Started());
    host.Address = radio.Url();
    host.PlayCurURL();
    ASSERT_EQ(host.CurKind, '2');
    ASSERT_TRUE(host.WaitFor(psPlaying, 10000)) << Show(host.Codes);
    EXPECT_TRUE(InOrder(host.Codes, {psConnecting, psMediaOpened, psBuffering, psPlaying})) << Show(host.Codes);
    TWMPlayer &player = *host.WMPlayer();
    EXPECT_EQ(player.PlayState(), psPlaying);
    EXPECT_EQ(player.Duration(), 0) << "a live stream has no length";
    EXPECT_FALSE(player.Control()->seekable());
    // The engine counts the rate over whole seconds; the first may be short.
    EXPECT_TRUE(WaitUntil([&] { QCoreApplication::processEvents(); return player.BitRate() > 100000; }, 5000))
        << player.BitRate();
    EXPECT_LT(player.BitRate(), 160000);
    EXPECT_TRUE(player.CanPause());

    ASSERT_TRUE(radio.SetTitle("Second Song"));
    EXPECT_TRUE(WaitUntil([&] {
        QCoreApplication::processEvents();
        return player.Control()->currentMedia().getItemInfo("Title") == "Second Song";
    }, 10000)) << player.Control()->currentMedia().getItemInfo("Title");

    const auto before = host.Codes.size();
    player.Next(); // a single clip: nothing to go to
    player.Previous();
    QCoreApplication::processEvents();
    EXPECT_EQ(host.Codes.size(), before);

    player.Pause();
    EXPECT_TRUE(host.WaitFor(psPaused, 3000)) << Show(host.Codes);
    host.Codes.clear();
    player.Play();
    EXPECT_TRUE(host.WaitFor(psPlaying, 3000)) << Show(host.Codes);
    player.Stop();
    EXPECT_TRUE(host.WaitFor(psStopped, 3000)) << Show(host.Codes);
    EXPECT_FALSE(host.Saw(psFailed));
}

TEST_F(WMPlayerE2E, ServerGoingAwayMidStreamFails)
{
    if (!HaveProgram("icecast2"))
        GTEST_SKIP() << "icecast2 is not installed";
    TIcecastStream radio;
    ASSERT_TRUE(radio.Started());
    host.Address = radio.Url();
    host.PlayCurURL();
    ASSERT_TRUE(host.WaitFor(psPlaying, 10000)) << Show(host.Codes);
    QElapsedTimer clock;
    clock.start();
    radio.Stop();
    // What was read ahead still plays before the end shows.
    EXPECT_TRUE(host.WaitFor(psFailed, 15000)) << Show(host.Codes);
    EXPECT_FALSE(host.Saw(psMediaEnded)) << "a live stream does not end, it breaks";
    std::printf("  99 came %lld ms after the server went away\n", static_cast<long long>(clock.elapsed()));
}

TEST_F(WMPlayerE2E, LocalFilePlaysToItsEndWithTagsAndLength)
{
    ASSERT_TRUE(MakeToneFile(dir / "tone.mp3", 2.0, "Test Tone"));
    ASSERT_TRUE(MakeToneFile(dir / "Untitled Tone.wav", 1.0));
    host.Address = dir / "tone.mp3";
    host.PlayCurURL();
    ASSERT_TRUE(host.LocalFile());
    ASSERT_TRUE(host.WaitFor(psPlaying, 5000)) << Show(host.Codes);
    TWMPlayer &player = *host.WMPlayer();
    EXPECT_EQ(player.ClipTitle, "Test Tone");
    EXPECT_NEAR(player.Duration(), 2000, 100);
    EXPECT_TRUE(player.Control()->seekable());
    EXPECT_TRUE(host.WaitFor(psMediaEnded, 6000)) << Show(host.Codes);
    EXPECT_TRUE(host.WaitFor(psStopped, 3000)) << Show(host.Codes);
    EXPECT_TRUE(InOrder(host.Codes, {psConnecting, psMediaOpened, psPlaying, psMediaEnded, psStopped})) << Show(host.Codes);
    EXPECT_FALSE(host.Saw(psFailed));

    host.Address = dir / "Untitled Tone.wav";
    host.PlayCurURL();
    ASSERT_TRUE(host.WaitFor(psMediaOpened, 5000)) << Show(host.Codes);
    EXPECT_EQ(host.WMPlayer(), &player) << "same kind, same player";
    EXPECT_EQ(player.ClipTitle, "Untitled Tone");
}

TEST_F(WMPlayerE2E, HlsPlaylistPlaysThroughWindowsMediaWhenAskedFor)
{
    ASSERT_TRUE(HaveProgram("/usr/bin/python3"));
    RunCommand("cd '" + dir.Path() + "' && ffmpeg -hide_banner -loglevel error -f lavfi "
               "-i sine=frequency=440:duration=3 -c:a aac -f hls -hls_time 1 -hls_playlist_type vod index.m3u8 2>&1");
    ASSERT_TRUE(FileExists(dir / "index.m3u8"));
    THttpFolder web(dir.Path());
    ASSERT_TRUE(web.Started());
    host.Address = web.Url("index.m3u8");
    host.CurKind = '2';
    host.PlayCurURL();
    ASSERT_TRUE(host.WaitFor(psPlaying, 8000)) << Show(host.Codes);
    EXPECT_TRUE(host.WaitFor(psMediaEnded, 10000)) << Show(host.Codes);
    EXPECT_FALSE(host.Saw(psFailed));

    // Classified by itself it is a Flash address, and that player is not built yet.
    host.CurKind = '0';
    host.PlayCurURL();
    EXPECT_EQ(host.CurKind, '3');
    EXPECT_EQ(host.Codes, std::vector<int>{psFailed});
}

// Answers every connection with fixed bytes once the request came, then
// keeps the connection open without another byte.
class TScriptedServer {
public:
    explicit TScriptedServer(std::string reply) : reply_(std::move(reply))
    {
        server_.listen(QHostAddress::LocalHost);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket *socket = server_.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    socket->readAll();
                    if (!reply_.empty() && !socket->property("answered").toBool()) {
                        socket->setProperty("answered", true);
                        socket->write(reply_.data(), static_cast<qint64>(reply_.size()));
                    }
                });
            }
        });
    }
    std::string Url(const std::string &path) const
    {
        return "http://127.0.0.1:" + std::to_string(server_.serverPort()) + path;
    }

private:
    std::string reply_;
    QTcpServer server_;
};

TEST_F(WMPlayerE2E, BadAddressesAndBadServersFailWithoutHanging)
{
    ASSERT_TRUE(MakeToneFile(dir / "long.mp3", 20.0));
    const std::string mp3 = ReadFileBytes(dir / "long.mp3");
    const std::string header = "HTTP/1.0 200 OK\r\nContent-Type: audio/mpeg\r\n\r\n";
    TScriptedServer silent("");
    TScriptedServer stalling(header + mp3.substr(0, 24000)); // about 1.5 s of sound, then nothing
    TScriptedServer garbage(header + std::string(200000, '\x5a'));
    WriteFileBytes(dir / "junk.mp3", std::string(50000, '\xff'));

    struct TCase {
        std::string Name;
        std::string Address;
    };
    const TCase cases[] = {
        {"closed port", "http://127.0.0.1:" + std::to_string(FreeLoopbackPort()) + "/a.mp3"},
        {"server that never answers", silent.Url("/a.mp3")},
        {"server that stalls mid-stream", stalling.Url("/a.mp3")},
        {"server that sends noise", garbage.Url("/a.mp3")},
        {"local file of noise", dir / "junk.mp3"},
        {"missing local file", dir / "missing.mp3"},
        {"malformed address", "http://[::1/x.mp3"},
        {"control characters", "\x01\x02\x7f.mp3"},
        {"file descriptor scheme", "fd://0"},
        {"device scheme", "av://lavfi:sine"},
        {"edit list scheme", "edl://" + dir / "long.mp3"},
    };
    for (const auto &c : cases) {
        QElapsedTimer clock;
        clock.start();
        host.Address = c.Address;
        host.CurKind = '2';
        host.PlayCurURL();
        EXPECT_TRUE(host.WaitFor(psFailed, (NetworkTimeout + 6) * 1000)) << c.Name << ": " << Show(host.Codes);
        EXPECT_FALSE(host.Saw(psMediaEnded)) << c.Name;
        std::printf("  %-32s 99 after %5lld ms\n", c.Name.c_str(), static_cast<long long>(clock.elapsed()));
    }
}

TEST_F(WMPlayerE2E, KeyFormFindsTheStreamInAPage)
{
    if (!HaveProgram("icecast2"))
        GTEST_SKIP() << "icecast2 is not installed";
    TIcecastStream radio;
    ASSERT_TRUE(radio.Started());
    WriteFileBytes(dir / "page.htm", "<html><body><a href=\"" + radio.Url() + "\">Listen</a></body></html>");
    WriteFileBytes(dir / "huge.htm", std::string(3 << 20, 'a') + radio.Url());
    std::string blob(200000, '\0');
    for (size_t i = 0; i < blob.size(); ++i)
        blob[i] = static_cast<char>((i * 7919) % 251);
    WriteFileBytes(dir / "blob.mp3", blob);
    THttpFolder web(dir.Path());
    ASSERT_TRUE(web.Started());

    host.Address = web.Url("page.htm?cf=live.mp3");
    host.PlayCurURL();
    ASSERT_TRUE(host.WaitFor(psPlaying, 10000)) << Show(host.Codes);
    EXPECT_EQ(host.Player()->Url(), radio.Url());

    // Too large to be a page: the address stays the page's, which no
    // player here can show.
    host.Address = web.Url("huge.htm?cf=live.mp3");
    host.CurKind = '0';
    host.PlayCurURL();
    EXPECT_EQ(host.CurKind, '6');
    EXPECT_EQ(host.PageUrl(), web.Url("huge.htm"));
    EXPECT_TRUE(host.WaitFor(psFailed, 1000)) << Show(host.Codes);

    host.Address = web.Url("blob.mp3?cf=nothing-like-this");
    host.CurKind = '0';
    host.PlayCurURL();
    EXPECT_EQ(host.CurKind, '2');
    EXPECT_TRUE(host.WaitFor(psFailed, (NetworkTimeout + 6) * 1000)) << Show(host.Codes);
}

} // namespace
