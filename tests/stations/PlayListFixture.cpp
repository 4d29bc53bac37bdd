#include "PlayListFixture.h"

#include "app/GlobalUnit.h"
#include "stations/RadioTreeViewU.h"

#include <gtest/gtest.h>

#include <QAction>

#include <filesystem>

namespace fs = std::filesystem;

void PlayListFixture::SetUp()
{
    saved_ = AppPath();
    SetAppPath(dir_.Path());
    SetCurLng("eng");
    fs::create_directories(DataPath());
    fs::copy(std::string(ORVANE_SOURCE_DIR) + "/data/Skins", dir_ / "Skins", fs::copy_options::recursive);
    const std::string d = DataPath();
    WriteFileBytes(d + "treesys.dat", "6/-1/-11/Channels=chan.dat\r\n7/-1/-5/Genre=genre.dat\r\n");
    WriteFileBytes(d + "treeuser.dat",
                   "2/-1/-99/Favorites=fav.dat\r\n3/-1/-97/Recent=recent.dat\r\n5/-1/-101/Mine=tree_user1.dat\r\n");
    WriteFileBytes(d + "chan.dat", "6/-1/-11/Channels\r\n\t0/-1/1/One\r\n\t0/-1/2/Two\r\n");
    WriteFileBytes(d + "genre.dat",
                   "7/-1/-5/Genre\r\n\t1/-1/-1/Jazz\r\n\t\t0/-1/3/J1\r\n\t\t0/-1/4/J2\r\n\t0/-1/5/Rock1\r\n");
    WriteFileBytes(d + "fav.dat", "2/-1/-99/Favorites\r\n");
    WriteFileBytes(d + "recent.dat", "3/-1/-97/Recent\r\n");
    WriteFileBytes(d + "tree_user1.dat", "5/-1/-101/Mine\r\n\t0/-1/6/M1\r\n\t1/-1/-1/Sub\r\n\t\t0/-1/7/S1\r\n");
    SetMessageBoxHandler([this](const std::string &caption, const std::string &text) {
        boxes_.push_back(caption + ": " + text);
        return false;
    });

    ASSERT_TRUE(skin_.ApplySkin("default"));
    main_.Window.setGeometry(100, 100, skin_.MainFace().width(), skin_.MainFace().height());
    video_ = std::make_unique<TfrmOrvaneVideo>(display_);
    list_ = std::make_unique<TfrmPlayList>(*video_, skin_, main_);
    list_->ApplySkin();
    Reload();
}

void PlayListFixture::TearDown()
{
    list_.reset();
    video_.reset();
    SetMessageBoxHandler(nullptr);
    SetAppPath(saved_);
}

void PlayListFixture::Reload()
{
    list_->ReloadTree(-1, -1);
    list_->Tree()->setCurrentItem(nullptr);
}

QTreeWidgetItem *PlayListFixture::Node(const std::string &caption)
{
    list_->Commands().Files().LoadAllGroups();
    const auto found = list_->Tree()->findItems(QString::fromStdString(caption), Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

std::vector<std::string> PlayListFixture::Dump()
{
    TRadioTreeView &tree = *list_->Tree();
    list_->Commands().Files().LoadAllGroups();
    std::vector<std::string> lines;
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        lines.push_back(TRadioTreeView::Node(tree.topLevelItem(i))->Caption());
        ForEachDescendant(tree.topLevelItem(i), [&](const QTreeWidgetItem *item, int depth) {
            const TRadioTreeNode *n = TRadioTreeView::Node(item);
            lines.push_back(std::string(depth, ' ') + n->Caption() + " " + std::to_string(n->Number()));
            return true;
        });
    }
    return lines;
}

void PlayListFixture::Select(const std::string &caption)
{
    QTreeWidgetItem *item = Node(caption);
    ASSERT_NE(item, nullptr) << caption;
    list_->Tree()->setCurrentItem(item);
}

void PlayListFixture::Trigger(const char *action)
{
    QAction *a = list_->findChild<QAction *>(action);
    ASSERT_NE(a, nullptr) << action;
    a->trigger();
}
