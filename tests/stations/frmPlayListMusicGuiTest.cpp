// The station list window in music mode: its list menu and face buttons work
// on the music list, and next and previous step through it.

#include "PlayListFixture.h"
#include "stations/MusicList.h"
#include "stations/MyListBox.h"

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>

namespace {

class PlayListMusic : public PlayListFixture {
protected:
    std::vector<std::string> AddMusic(int count)
    {
        std::vector<std::string> files;
        for (int i = 0; i < count; ++i) {
            files.push_back(dir_ / ("music/" + std::to_string(i) + ".mp3"));
            WriteFileBytes(files.back(), "x");
        }
        list_->MusicList().AddFiles(files);
        return files;
    }
};

} // namespace

TEST_F(PlayListMusic, ListMenuDeletesAndClearsAndLeavesMissingDialogsDisabled)
{
    list_->SetRadioMode(false);
    const auto files = AddMusic(3);
    TMyListBox &music = list_->MusicList();
    ASSERT_TRUE(list_->SelectMusicEntry(1));
    Trigger("nDelete_LB");
    EXPECT_EQ(music.List().Entries(), (std::vector<std::string>{files[0], files[2]}));
    Trigger("nClearAll_LB");
    EXPECT_EQ(music.List().Count(), 0);
    for (const char *later : {"nFileInfomation_LB", "nRename"})
        EXPECT_FALSE(list_->findChild<QAction *>(later)->isEnabled()) << later;
}

TEST_F(PlayListMusic, NextAndPreviousStepThroughTheMusicListAndWrap)
{
    list_->SetRadioMode(false);
    const auto files = AddMusic(3);
    ASSERT_TRUE(list_->SelectMusicEntry(2));
    EXPECT_EQ(list_->NextItem(0), -1);
    EXPECT_EQ(list_->CurrentMusicPath(), files[0]);
    EXPECT_EQ(list_->PrevItem(), -1);
    EXPECT_EQ(list_->CurrentMusicPath(), files[2]);

    // A music entry ends while the tree is shown: the failover still means the music list.
    list_->SetRadioMode(true);
    EXPECT_EQ(list_->NextItem(-1), -1);
    EXPECT_EQ(list_->CurrentMusicPath(), files[0]);
}

TEST_F(PlayListMusic, ScrollButtonScrollsTheMusicListInMusicMode)
{
    list_->SetRadioMode(false);
    AddMusic(200);
    list_->resize(300, 240);
    list_->show();
    PumpEvents(50);
    const QScrollBar *bar = list_->MusicList().verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    const int before = bar->value();
    const TSkinRect &down = list_->SlotRects()[8]; // the scroll-down button
    const QPoint at((down.Left + down.Right) / 2, (down.Top + down.Bottom) / 2);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), list_->mapToGlobal(QPointF(at)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list_.get(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), list_->mapToGlobal(QPointF(at)), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(list_.get(), &release);
    EXPECT_GT(bar->value(), before);
}
