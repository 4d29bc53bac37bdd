#pragma once
// A station list window over a small tree in a temporary program folder, with
// a plain widget standing in for the main window.

#include "TestSupport.h"
#include "app/GlobalUnit.h"
#include "app/frmVideoU.h"
#include "appearance/SkinFace.h"
#include "stations/frmPlayListU.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class QTreeWidgetItem;

// Shows nothing: the list window tests look at the tree, not at the display.
class TQuietDisplay : public TPlayDisplay {
public:
    void SetStateText(const std::string &text) override { States.push_back(text); }
    void SetSpeedText(const std::string &) override {}
    void SetElapsedText(const std::string &) override {}
    void SetElapsedDigits(const std::string &) override {}
    void ShowName(const std::string &, const std::string &) override {}
    void ShowPlayState(int face) override { Face = face; }
    void SetTrayActive(bool, int) override {}
    void PlaceProgressThumb(double) override {}
    bool MainWindowShown() const override { return true; }
    void SetMemoryTrimCountdown(int) override {}
    int InfoBarCountdown() const override { return 0; }
    void SetInfoBarCountdown(int) override {}
    void BringToFront() override {}
    std::vector<std::string> States;
    int Face = 3;
};

class TStandInMain : public TPlayListHost {
public:
    QWidget Window;
    std::vector<std::pair<int, std::string>> Channels;
    int Hidden = 0;
    QRect MainWindowRect() const override { return Window.geometry(); }
    void MoveMainWindow(const QPoint &topLeft) override { Window.move(topLeft); }
    void SetChannelFromTree(int number, int id, const std::string &hint) override
    {
        Channels.resize(std::max<size_t>(Channels.size(), number));
        Channels[number - 1] = {id, hint};
    }
    void PlayListHidden() override { ++Hidden; }
    void MainKeyPress(QKeyEvent *) override {}
};

// Program folder with the source tree's skins and this tree:
//   Channels (-11, locked): One 1, Two 2
//   Genre (-5, maker's): Jazz { J1 3, J2 4 }, Rock1 5
//   Favorites (-99), Recent (-97): empty
//   Mine (-101): M1 6, Sub { S1 7 }
class PlayListFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Reloads the tree from the files with nothing selected.
    void Reload();
    // The node with this caption (groups loaded first).
    QTreeWidgetItem *Node(const std::string &caption);
    // Every node as "depth caption number" lines, groups loaded.
    std::vector<std::string> Dump();
    void Select(const std::string &caption);
    void Trigger(const char *action);

    TempDir dir_;
    std::string saved_;
    TQuietDisplay display_;
    TStandInMain main_;
    TSkin skin_;
    std::unique_ptr<TfrmOrvaneVideo> video_;
    std::unique_ptr<TfrmPlayList> list_;
    std::vector<std::string> boxes_; // message boxes shown
};
