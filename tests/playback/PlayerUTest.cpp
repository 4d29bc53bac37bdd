#include "FakePlayer.h"

#include <QCoreApplication>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

namespace {

struct PlayerDelivery : ::testing::Test {
    QWidget panel;
    std::vector<std::string> log;
    std::vector<int> delivered;
};

TEST_F(PlayerDelivery, CodesArriveLaterInPostingOrderAndSetPlayState)
{
    TFakePlayer player(&panel, log);
    player.SetOnStateChange([&](TPlayer *sender, int code) {
        EXPECT_EQ(sender, &player);
        EXPECT_EQ(player.PlayState(), code);
        delivered.push_back(code);
    });
    player.NotifyState(psConnecting);
    player.NotifyState(psBuffering);
    player.NotifyState(psPlaying);
    EXPECT_TRUE(delivered.empty()) << "a handler must never run inside NotifyState";
    EXPECT_EQ(player.PlayState(), psIdle);
    QCoreApplication::processEvents();
    EXPECT_EQ(delivered, (std::vector<int>{psConnecting, psBuffering, psPlaying}));
    EXPECT_EQ(player.PlayState(), psPlaying);
}

TEST_F(PlayerDelivery, WithoutHandlerCodesAreLost)
{
    TFakePlayer player(&panel, log);
    player.NotifyState(psPlaying);
    QCoreApplication::processEvents();
    EXPECT_EQ(player.PlayState(), psIdle);
    // Attaching afterwards does not bring the lost code back.
    player.SetOnStateChange([&](TPlayer *, int code) { delivered.push_back(code); });
    QCoreApplication::processEvents();
    EXPECT_TRUE(delivered.empty());
}

TEST_F(PlayerDelivery, DetachingBeforeDeliveryDropsTheCode)
{
    TFakePlayer player(&panel, log);
    player.SetOnStateChange([&](TPlayer *, int code) { delivered.push_back(code); });
    player.NotifyState(psFailed);
    player.SetOnStateChange(nullptr);
    QCoreApplication::processEvents();
    EXPECT_TRUE(delivered.empty());
    EXPECT_EQ(player.PlayState(), psIdle);
}

TEST_F(PlayerDelivery, DestroyedPlayerDeliversNothing)
{
    auto player = std::make_unique<TFakePlayer>(&panel, log);
    player->SetOnStateChange([&](TPlayer *, int code) { delivered.push_back(code); });
    player->NotifyState(psPlaying);
    player.reset();
    QCoreApplication::processEvents();
    EXPECT_TRUE(delivered.empty());
}

TEST_F(PlayerDelivery, HandlerMayDetachItselfWhileCodesAreQueued)
{
    TFakePlayer player(&panel, log);
    player.SetOnStateChange([&](TPlayer *sender, int code) {
        delivered.push_back(code);
        sender->SetOnStateChange(nullptr);
    });
    player.NotifyState(psStopped);
    player.NotifyState(psFailed);
    QCoreApplication::processEvents();
    EXPECT_EQ(delivered, std::vector<int>{psStopped});
    EXPECT_EQ(player.PlayState(), psStopped);
}

TEST_F(PlayerDelivery, PlayerStartsHiddenFillingItsOwner)
{
    panel.resize(500, 300);
    panel.show();
    TFakePlayer player(&panel, log);
    EXPECT_TRUE(player.isHidden());
    EXPECT_EQ(player.parentWidget(), &panel);
    EXPECT_EQ(player.geometry(), panel.rect());
    panel.resize(640, 480);
    EXPECT_EQ(player.geometry(), QRect(0, 0, 640, 480));
    EXPECT_EQ(player.Volume(), 100);
    EXPECT_EQ(player.Balance(), 0);
    EXPECT_FALSE(player.Mute());
    EXPECT_FALSE(player.VideoVisible());
}

} // namespace
