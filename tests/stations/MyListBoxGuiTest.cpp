// The music list box on offscreen widgets: the skin-coloured, numbered lines,
// playing by double click and Enter, stepping with selection, deleting, drops
// from other programs and the scroll report for the skinned thumb.
#include "TestSupport.h"
#include "app/GlobalUnit.h"
#include "stations/MyListBox.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

namespace {

const TSkinColor Back = SkinColor(10, 20, 30), Text = SkinColor(250, 250, 0), Playing = SkinColor(0, 250, 0),
                 SelText = SkinColor(250, 0, 250), SelBack = SkinColor(0, 0, 200);

class MyListBoxGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = AppPath();
        SetAppPath(dir_.Path());
        TSkinListLook look;
        look.Color = Back;
        look.FontColor = Text;
        look.PlayingItemFontColor = Playing;
        look.SelectedItemFontColor = SelText;
        look.SelectedItemBackColor = SelBack;
        look.FontSize = 12;
        box_.ApplyLook(look);
        box_.resize(300, 200);
    }
    void TearDown() override { SetAppPath(saved_); }

    // Entries written to the list file and loaded, as at start.
    void LoadEntries(const std::vector<std::string> &entries, int current)
    {
        std::string file;
        for (const auto &e : entries)
            file += e + "\r\n";
        WriteFileBytes(MusicListFileName(), file);
        box_.LoadMusicList(current);
    }
    std::vector<std::string> Numbered(int n, const std::string &folder = "/music/")
    {
        std::vector<std::string> v;
        for (int i = 0; i < n; ++i)
            v.push_back(folder + "song" + std::to_string(i) + ".mp3");
        return v;
    }
    QRect Row(int row) const { return box_.visualRect(box_.model()->index(row, 0)); }
    // How many pixels of the colour lie in the rectangle of the picture.
    static int Count(const QImage &image, const QRect &r, TSkinColor c)
    {
        int n = 0;
        const QRgb want = ToQColor(c).rgb();
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += image.pixel(x, y) == want;
        return n;
    }
    static QColor ToQColor(TSkinColor c) { return QColor(ColorRed(c), ColorGreen(c), ColorBlue(c)); }
    void Drop(QMimeData *mime, int row)
    {
        box_.DropData(*mime, row);
        delete mime;
    }

    TempDir dir_;
    std::string saved_;
    TMyListBox box_;
};

} // namespace

TEST_F(MyListBoxGui, LinesInTheSkinColoursWithTheCurrentEntryInThePlayingColour)
{
    LoadEntries(Numbered(3), 1);
    box_.show();
    // Entry 2 selected (and focused) besides the current entry 1.
    box_.selectionModel()->select(box_.model()->index(2, 0), QItemSelectionModel::Select);
    PumpEvents(50);
    const QImage image = box_.viewport()->grab().toImage();

    const QRect normal = Row(0), current = Row(1), selected = Row(2);
    EXPECT_EQ(current.height(), QFontMetrics(box_.font()).height() + 4);
    EXPECT_GT(Count(image, normal, Text), 0);
    EXPECT_EQ(Count(image, normal, Playing), 0);
    EXPECT_GT(Count(image, current, Playing), 0) << "the current entry is drawn in the playing colour";
    EXPECT_EQ(Count(image, current, Text), 0);
    EXPECT_GT(Count(image, selected, SelBack), selected.width() * selected.height() / 2);
    EXPECT_GT(Count(image, selected, SelText), 0);
    // Below the last line the list's colour fills the view.
    const QRect below(0, selected.bottom() + 1, image.width(), image.height() - selected.bottom() - 1);
    EXPECT_EQ(Count(image, below, Back), below.width() * below.height());
    EXPECT_EQ(box_.model()->index(1, 0).data().toString(), QStringLiteral("2. song1"));
}

TEST_F(MyListBoxGui, DoubleClickAndEnterMakeTheFocusedEntryCurrentAndAskToPlay)
{
    LoadEntries(Numbered(4), 0);
    box_.show();
    int play = 0;
    QObject::connect(&box_, &TMyListBox::PlayRequested, [&] { ++play; });

    const QPoint at = Row(2).center();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), box_.viewport()->mapToGlobal(QPointF(at)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box_.viewport(), &press);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(at), box_.viewport()->mapToGlobal(QPointF(at)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box_.viewport(), &dbl);
    EXPECT_EQ(play, 1);
    EXPECT_EQ(box_.SelectedIndex(), 2);
    EXPECT_EQ(box_.CurrentMusicPath(), "/music/song2.mp3");

    box_.setCurrentIndex(box_.model()->index(3, 0));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(&box_, &enter);
    EXPECT_EQ(play, 2);
    EXPECT_EQ(box_.SelectedIndex(), 3);
}

TEST_F(MyListBoxGui, StepsSelectTheNewCurrentEntryAndWrap)
{
    EXPECT_EQ(box_.NextItem(-1), 0) << "nothing to play in an empty list";
    EXPECT_EQ(box_.PrevItem(), 0);

    LoadEntries(Numbered(3), 2);
    EXPECT_EQ(box_.currentIndex().row(), 2) << "the loaded current entry is selected";
    EXPECT_EQ(box_.NextItem(-1), -1);
    EXPECT_EQ(box_.SelectedIndex(), 0);
    EXPECT_EQ(box_.currentIndex().row(), 0);
    EXPECT_EQ(box_.selectionModel()->selectedIndexes().size(), 1);
    EXPECT_EQ(box_.PrevItem(), -1);
    EXPECT_EQ(box_.SelectedIndex(), 2);
    EXPECT_EQ(box_.CurrentMusicPath(), "/music/song2.mp3");
    EXPECT_EQ(box_.SetCurrentMusic(7), -1);
    EXPECT_EQ(box_.SetCurrentMusic(1), 1);
    EXPECT_EQ(box_.currentIndex().row(), 1);
}

TEST_F(MyListBoxGui, DeleteRemovesTheSelectionAndSelectsTheFollowingEntry)
{
    LoadEntries(Numbered(6), 0);
    box_.setCurrentIndex(box_.model()->index(1, 0));
    box_.selectionModel()->select(box_.model()->index(4, 0), QItemSelectionModel::Select);
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(&box_, &del);
    EXPECT_EQ(box_.List().Entries(), (std::vector<std::string>{"/music/song0.mp3", "/music/song2.mp3",
                                                                "/music/song3.mp3", "/music/song5.mp3"}));
    EXPECT_EQ(box_.currentIndex().row(), 1);
    EXPECT_TRUE(box_.List().Changed());

    box_.SelectAll();
    box_.DeleteSelected();
    EXPECT_EQ(box_.List().Count(), 0);
    box_.DeleteSelected(); // an empty list is left alone
    ASSERT_TRUE(box_.SaveMusicList());
    EXPECT_EQ(ReadFileBytes(MusicListFileName()), "") << "the emptied list is saved empty";
}

TEST_F(MyListBoxGui, DroppedFilesAndAddressesGoInWhereTheyAreDropped)
{
    LoadEntries(Numbered(3), 0);
    box_.show();
    PumpEvents(20);
    WriteFileBytes(dir_ / "new.mp3", "x");
    WriteFileBytes(dir_ / "notes.txt", "x");

    auto *files = new QMimeData;
    files->setUrls({QUrl::fromLocalFile(QString::fromStdString(dir_ / "new.mp3")),
                    QUrl::fromLocalFile(QString::fromStdString(dir_ / "notes.txt"))});
    Drop(files, 1);
    EXPECT_EQ(box_.List().Entry(1), dir_ / "new.mp3");
    EXPECT_EQ(box_.List().Count(), 4) << "a file of no accepted type is not added";

    auto *link = new QMimeData;
    link->setText(QStringLiteral("http://radio.example/live.mp3"));
    Drop(link, -1);
    EXPECT_EQ(box_.List().Entry(4), "http://radio.example/live.mp3");
    EXPECT_TRUE(box_.List().Changed()) << "a dropped address is kept at the next save";

    QStringList package;
    QObject::connect(&box_, &TMyListBox::PackageDropped, [&](const QString &path) { package << path; });
    auto *zip = new QMimeData;
    zip->setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/Update.ZIP"))});
    Drop(zip, 0);
    EXPECT_EQ(package, QStringList{QStringLiteral("/tmp/Update.ZIP")});
    EXPECT_EQ(box_.List().Count(), 5);
}

TEST_F(MyListBoxGui, ScrollReportGivesTheLastTopLineThatFillsTheView)
{
    LoadEntries(Numbered(100), 0);
    box_.show();
    PumpEvents(50);
    std::vector<int> last;
    QObject::connect(&box_, &TMyListBox::VertScroll, [&](int min, int max, int pos) { last = {min, max, pos}; });
    box_.SetCurrentMusic(99);
    const int visible = box_.viewport()->height() / Row(0).height();
    EXPECT_EQ(last, (std::vector<int>{0, 100 - visible, 100 - visible})) << "scrolled so that the last entry shows";
}

TEST_F(MyListBoxGui, OpenDialogOffersTheFiveFilters)
{
    const QStringList filters = TMyListBox::OpenDialogFilters();
    ASSERT_EQ(filters.size(), 5);
    EXPECT_EQ(filters[0], QStringLiteral("MP3 Audio Files (*.mp3 *.mp2 *.mpa *.mp1 *.mpga)"));
    EXPECT_TRUE(filters[2].startsWith(QStringLiteral("Real Media Files (*.ra *.rax "))) << filters[2].toStdString();
    EXPECT_EQ(filters[4], QStringLiteral("All Files (*.*)"));
}
