#include "FakePlayer.h"
#include "TestSupport.h"

#include "playback/PlayHostU.h"
#include "playback/StreamUrlParserUnit.h"
#include "playback/WMPlayerU.h"
#include "platform/WMPControl.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace {

// A host that records every hook and hands out fake players.
class TFakeHost : public TPlayerHost {
public:
    std::string Address;
    std::vector<std::string> Log;
    std::vector<char> CreatedKinds;
    std::vector<std::pair<TPlayer *, int>> States;
    bool PlayersReady = true;
    bool Accept = true;
    bool ThrowOnCreate = false;
    bool CursorBusyAtCreate = false;
    std::function<void(char &)> KindRule;
    QWidget Panel;

protected:
    std::string CurrentAddress() const override { return Address; }
    QWidget *PlayerPanel() override { return &Panel; }
    void BeginOpen() override { Log.push_back("BeginOpen"); }
    bool AcceptKind(char &kind) override
    {
        Log.push_back(std::string("AcceptKind=") + kind);
        if (KindRule)
            KindRule(kind);
        return Accept;
    }
    TPlayer *CreatePlayer(char kind, QWidget *panel) override
    {
        CursorBusyAtCreate = QGuiApplication::overrideCursor() != nullptr;
        if (ThrowOnCreate)
            throw std::runtime_error("no player today");
        CreatedKinds.push_back(kind);
        Log.push_back(std::string("Create=") + kind);
        return new TFakePlayer(panel, Log, PlayersReady);
    }
    void PlayerNotReady() override { Log.push_back("NotReady"); }
    void ApplySound(TPlayer &player) override
    {
        Log.push_back(player.OnStateChange() ? "ApplySound(attached)" : "ApplySound(detached)");
    }
    void EnableCheckTimer() override { Log.push_back("EnableCheckTimer"); }
    void StateChange(TPlayer *sender, int state) override { States.emplace_back(sender, state); }
    void OpenFailed(const std::exception &e) override { Log.push_back(std::string("OpenFailed=") + e.what()); }
};

struct TRouteCase {
    const char *Address;
    char KindBefore;
    char Kind;          // the kind the player is created for
    const char *Played; // what the player's Url gets
    const char *Page;   // the page address kept for a web player
    bool VideoAllowed;
};

const TRouteCase RouteCases[] = {
    {"http://host/live", '0', '6', "http://host/live", "http://host/live", true},
    {"http://host/live", '2', '2', "http://host/live", "", true},
    {"mms://host/x->http://site/page.htm", '0', '5', "mms://host/x", "http://site/page.htm", true},
    {"mms://host/x->http://site/page.htm", '3', '3', "mms://host/x", "http://site/page.htm", true},
    {"rtsp://host/x->http://site/p", '0', '4', "rtsp://host/x", "http://site/p", true},
    {"http://host/x->http://site/p", '0', '6', "http://host/x", "http://site/p", true},
    {"->http://site/p", '0', '6', "", "http://site/p", true},
    {"a->b->c", '2', '5', "a", "b->c", true},
    {"http://host/x.asf?novideo&a=1", '2', '2', "http://host/x.asf?a=1", "", false},
    {"http://host/x.asf?novideo", '0', '2', "http://host/x.asf", "", false},
    {"http://host/x.asf&novideo", '0', '2', "http://host/x.asf", "", false},
    {"http://host/song.mp3", '0', '2', "http://host/song.mp3", "", true},
    {"rtmp://host/app", '0', '3', "rtmp://host/app", "", true},
    {"http://host/x", 'x', 'x', "http://host/x", "", true},
};

TEST(PlayCurURL, RoutesEachAddressFormToItsKind)
{
    for (const auto &c : RouteCases) {
        TFakeHost host;
        host.Address = c.Address;
        host.CurKind = c.KindBefore;
        host.PlayCurURL();
        EXPECT_EQ(host.CreatedKinds, std::vector<char>{c.Kind}) << c.Address;
        EXPECT_EQ(host.CurKind, c.Kind) << c.Address;
        ASSERT_NE(host.Player(), nullptr) << c.Address;
        EXPECT_EQ(host.Player()->Url(), c.Played) << c.Address;
        EXPECT_EQ(host.PageUrl(), c.Page) << c.Address;
        EXPECT_EQ(host.VideoAllowed(), c.VideoAllowed) << c.Address;
        EXPECT_FALSE(host.LocalFile()) << c.Address;
        EXPECT_EQ(host.PlayerKind(), c.Kind) << c.Address;
    }
}

TEST(PlayCurURL, HooksRunInTheHostsCallingOrder)
{
    TFakeHost host;
    host.Address = "http://host/a.wma";
    host.PlayCurURL();
    EXPECT_EQ(host.Log, (std::vector<std::string>{"BeginOpen", "AcceptKind=2", "Create=2", "IsReady",
                                                  "ApplySound(attached)", "EnableCheckTimer",
                                                  "Url=http://host/a.wma"}));
    EXPECT_TRUE(host.CursorBusyAtCreate);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(PlayCurURL, EmptyAddressDoesNothing)
{
    TFakeHost host;
    host.PlayCurURL();
    EXPECT_TRUE(host.Log.empty());
    EXPECT_EQ(host.Player(), nullptr);
}

TEST(PlayCurURL, LocalFileOfUnknownKindIsNoWebPageAndShowsNoHourglass)
{
    TempDir dir;
    WriteFileBytes(dir / "tune.xyz", "data");
    TFakeHost host;
    host.Address = dir / "tune.xyz";
    host.PlayCurURL();
    EXPECT_TRUE(host.LocalFile());
    EXPECT_EQ(host.CreatedKinds, std::vector<char>{'0'});
    EXPECT_EQ(host.PageUrl(), "");
    EXPECT_FALSE(host.CursorBusyAtCreate);
}

TEST(PlayCurURL, SameKindKeepsThePlayerOtherKindReplacesIt)
{
    TFakeHost host;
    host.Address = "http://host/one.asf";
    host.CurKind = '2';
    host.PlayCurURL();
    QPointer<TPlayer> first = host.Player();
    host.Address = "http://host/two.asf";
    host.CurKind = '2';
    host.PlayCurURL();
    EXPECT_EQ(host.Player(), first.data());
    EXPECT_EQ(host.Player()->Url(), "http://host/two.asf");

    // "0" and "2" both make a Windows Media player, but the kinds differ.
    host.Address = "http://host/three";
    host.CurKind = '0';
    host.KindRule = [](char &kind) { kind = '0'; }; // keep it from becoming a web page
    host.PlayCurURL();
    EXPECT_TRUE(first.isNull()) << "the old player must be destroyed";
    EXPECT_EQ(host.CreatedKinds, (std::vector<char>{'2', '0'}));
    EXPECT_EQ(host.Player()->Url(), "http://host/three");
}

TEST(PlayCurURL, ReplacedPlayerDeliversNoMoreCodes)
{
    TFakeHost host;
    host.Address = "http://host/one.asf";
    host.PlayCurURL();
    TPlayer *old = host.Player();
    old->NotifyState(psPlaying);
    host.Address = "rtmp://host/app";
    host.CurKind = '0';
    host.PlayCurURL(); // kind "3" replaces the kind "2" player
    host.Player()->NotifyState(psBuffering);
    QCoreApplication::processEvents();
    ASSERT_EQ(host.States.size(), 1u);
    EXPECT_EQ(host.States[0].first, host.Player());
    EXPECT_EQ(host.States[0].second, psBuffering);
}

TEST(PlayCurURL, PlayerWithoutControlStopsBeforeTheAddress)
{
    TFakeHost host;
    host.PlayersReady = false;
    host.Address = "http://host/a.asf";
    host.PlayCurURL();
    EXPECT_EQ(host.Log.back(), "NotReady");
    ASSERT_NE(host.Player(), nullptr) << "the player stays with the host";
    EXPECT_EQ(host.Player()->Url(), "");
    EXPECT_FALSE(host.Player()->OnStateChange());
    host.PlayCurURL();
    EXPECT_EQ(host.Log.back(), "NotReady");
}

TEST(PlayCurURL, HostCheckMayChangeTheKindOrStop)
{
    TFakeHost host;
    host.Address = "rtsp://host/x";
    host.KindRule = [](char &kind) { if (kind == '1') kind = '4'; };
    host.PlayCurURL();
    EXPECT_EQ(host.CreatedKinds, std::vector<char>{'4'});

    TFakeHost refusing;
    refusing.Address = "rtsp://host/x";
    refusing.Accept = false;
    refusing.PlayCurURL();
    EXPECT_TRUE(refusing.CreatedKinds.empty());
    EXPECT_EQ(refusing.Player(), nullptr);
}

TEST(PlayCurURL, ExceptionGoesToTheHostAndTheCursorComesBack)
{
    TFakeHost host;
    host.Address = "http://host/a.asf";
    host.ThrowOnCreate = true;
    host.PlayCurURL();
    EXPECT_EQ(host.Log.back(), "OpenFailed=no player today");
    EXPECT_TRUE(host.CursorBusyAtCreate);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(CreatePlayerOfKind, WindowsMediaForItsKindsNothingYetForTheOthers)
{
    WMPControl::SetDefaultOptions({"null", 3});
    QWidget panel;
    for (char kind : {'0', '2', 'z'}) {
        std::unique_ptr<TPlayer> player(CreatePlayerOfKind(kind, &panel));
        EXPECT_NE(dynamic_cast<TWMPlayer *>(player.get()), nullptr) << kind;
        EXPECT_EQ(player->parentWidget(), &panel);
    }
    for (char kind : {'1', '3', '4', '5', '6'})
        EXPECT_EQ(CreatePlayerOfKind(kind, &panel), nullptr) << kind;
}

} // namespace
