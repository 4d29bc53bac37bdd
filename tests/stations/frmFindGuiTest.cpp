// The find dialog over the station list window's tree and music list.

#include "PlayListFixture.h"
#include "stations/MyListBox.h"
#include "stations/RadioTreeViewU.h"

#include <QRadioButton>

#include <QTreeWidget>

namespace {

class FindDialog : public PlayListFixture {
protected:
    std::string SelectedCaption() const
    {
        QTreeWidgetItem *item = list_->Tree()->currentItem();
        return item ? item->text(0).toStdString() : std::string();
    }
};

} // namespace

TEST_F(FindDialog, ExactFindIgnoresCaseWhenAskedAndLoadsTheGroup)
{
    TfrmFind &find = list_->FindDialog();
    find.SetText("j2");
    for (QRadioButton *b : find.findChildren<QRadioButton *>())
        if (b->text() == "&Exact")
            b->setChecked(true);
    ASSERT_TRUE(find.Exact());
    EXPECT_TRUE(find.FindNow());
    EXPECT_EQ(SelectedCaption(), "J2");
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(FindDialog, FindNextRepeatsAndNothingFoundIsTold)
{
    TfrmFind &find = list_->FindDialog();
    find.SetText("J");
    ASSERT_TRUE(find.FindNow());
    EXPECT_EQ(SelectedCaption(), "Jazz"); // groups are searched too
    list_->FindNext();
    EXPECT_EQ(SelectedCaption(), "J1");
    list_->FindNext();
    EXPECT_EQ(SelectedCaption(), "J2");

    find.SetText("no such station");
    EXPECT_FALSE(find.FindNow());
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_NE(boxes_[0].find("Cannot Find \"no such station\""), std::string::npos) << boxes_[0];
}

TEST_F(FindDialog, ClosingForgetsTheFoundNode)
{
    TfrmFind &find = list_->FindDialog();
    find.show();
    find.SetText("Rock");
    ASSERT_TRUE(find.FindNow());
    EXPECT_NE(list_->Commands().Found(), nullptr);
    find.close();
    EXPECT_EQ(list_->Commands().Found(), nullptr);
}

TEST_F(FindDialog, MusicModeFindsAnEntryByItsName)
{
    std::vector<std::string> files;
    for (const char *name : {"alpha.mp3", "Beta Song.mp3", "gamma.wma"}) {
        files.push_back(dir_ / (std::string("music/") + name));
        WriteFileBytes(files.back(), "x");
    }
    list_->MusicList().AddFiles(files);
    list_->SetRadioMode(false);
    list_->SelectMusicEntry(0);
    TfrmFind &find = list_->FindDialog();
    find.SetText("beta");
    ASSERT_TRUE(find.FindNow());
    EXPECT_EQ(list_->CurrentMusicPath(), files[1]);
    find.SetText("alpha"); // behind the current entry, searching down
    EXPECT_FALSE(find.FindNow());
}
