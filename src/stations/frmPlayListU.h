#pragma once
// The station list window: the station tree beside the main window, painted
// from the skin, with the tree's commands in its popup menu and its face's
// buttons. It answers the video window's next and previous, and gives the
// main window its station menu and channel stations.

#include <QWidget>

#include <functional>
#include <memory>
#include <string>

#include "app/frmVideoU.h"
#include "appearance/Skin.h"
#include "stations/PlayListGeometry.h"
#include "stations/TreeCommands.h"
#include "stations/frmFindU.h"

class QAction;
class QLabel;
class QScrollBar;
class QMenu;
class QTimer;
class QTreeWidgetItem;
class TRadioTreeView;
class TSkin;

class TMyListBox;

class TfrmPlayList : public QWidget, public TPlayListWindow, public TFindTarget {
    Q_OBJECT
public:
    // Registers itself as the video window's play list; migrates an older
    // tree file. The tree stays empty until ReloadTree.
    TfrmPlayList(TfrmOrvaneVideo &video, const TSkin &skin, TPlayListHost &host, QWidget *parent = nullptr);
    ~TfrmPlayList() override;

    // Next and previous: stations in radio mode, music entries in music mode
    // (a flag below 0 always means the music list).
    int NextItem(int flag) override;
    int PrevItem() override;
    std::string CurrentMusicPath() override;

    // What the main window asks.
    bool ListVisible() const override { return isVisible(); }
    void SetListVisible(bool visible) override { setVisible(visible); }
    TChannelEntry ChannelStation(int index) override;
    bool SelectMusicEntry(int index) override;
    void BuildStationMenu(QMenu *menu) override { BuildStationMenu(menu, nullptr); }

    // Finding: the tree in radio mode, the music list in music mode.
    bool Find(const std::string &text, TFindDirection direction, bool matchCase, bool exact) override;
    void ClearFindMarks() override;
    // The find dialog, created on first use.
    TfrmFind &FindDialog();
    // Repeats the last search while the find dialog has a text.
    void FindNext();

    // The music list shown in music mode.
    TMyListBox &MusicList() const { return *lstMusic; }

    // Moves the playing node (0 selected, 1 next, 2 previous); its station ID.
    int PlayStation(int mode);

    bool IsRadioMode() const override { return radioMode_; }
    void SetRadioMode(bool on) override;
    bool GetClickMode() const { return clickMode_; }
    void SetClickMode(bool on);

    // The tree as a whole (the main window, data updates, language switches).
    int ReloadTree(int rootIndex, int nodeIndex) { return commands_->ReloadTree(rootIndex, nodeIndex); }
    void SaveTree() { commands_->SaveTree(); }
    TTreePosition RootIndexOf() const { return commands_->RootIndexOf(); }

    // The main window's and the task window's station menus.
    void BuildStationMenu(QMenu *menu, const std::function<void(int id)> &onStation);
    // The channel labels from the channels group (when the settings name none).
    void RefreshChannelsFromTree();
    // The description of a station for hints; empty when it cannot be read.
    std::string StationInfoText(int id);
    // A station's schedule page, else its homepage, as an address to open.
    std::string ProgramListAddress(QTreeWidgetItem *item);

    // Takes the loaded skin's list face, slots, tree look and icons, and goes
    // where the skin places it beside the main window. Call after every
    // TSkin::ApplySkin.
    void ApplySkin();
    // The main window moved from `before`: a list window touching it follows.
    void MainWindowMoved(const QRect &before);

    TTreeCommands &Commands() { return *commands_; }
    TRadioTreeView *Tree() const { return rtvRadio; }
    int PressedSlot() const { return pressedSlot_; }
    const std::array<TSkinRect, ListSlotCount> &SlotRects() const { return slotRects_; }
    QWidget *ScrollThumb() const { return pbSlide; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateMenu();
    void CreateMusicMenu();
    void RunMusicSlot(int slot);
    void UpdateMenu();
    void Layout();
    void UpdateOutline();
    void PlaceThumb(int position, int maxPos);
    TThumbTrack ThumbTrack() const;
    void RunSlot(int slot);
    void ScrollLines(int lines);
    // The scroll bar of the view shown: the tree or the music list.
    QScrollBar *ShownScrollBar() const;
    void PlaySelected();
    void TreeActivated(QTreeWidgetItem *item);
    void PromptAddGroup();
    void PromptRenameGroup();
    bool TreeEvent(QEvent *event);
    bool ViewportEvent(QEvent *event);
    bool ThumbEvent(QEvent *event);
    bool GripEvent(QEvent *event);
    TWindowBox Box() const;
    TWindowBox MainBox() const;
    void PlaceBox(const TWindowBox &box);
    QTreeWidgetItem *Selected() const;
    QAction *Action(const char *name) const;

    TfrmOrvaneVideo &video_;
    const TSkin &skin_;
    TPlayListHost &host_;
    QWidget *pnlStretch = nullptr;
    TRadioTreeView *rtvRadio = nullptr;
    TMyListBox *lstMusic = nullptr;
    QMenu *pmListMenu = nullptr;
    TfrmFind *frmFind = nullptr;
    QWidget *pbSlide = nullptr;
    QLabel *lblResize = nullptr;
    QMenu *pmTreeMenu = nullptr;
    QTimer *tmrScroll = nullptr;
    std::unique_ptr<TTreeCommands> commands_;
    TRadioTable RadioTable;

    bool radioMode_ = true;
    bool clickMode_ = true;
    bool cancel_ = false;
    bool destroying_ = false;
    std::array<TSkinRect, ListSlotCount> slotRects_{};
    int pressedSlot_ = -1;
    bool pressedInside_ = false;
    QSize lastCut_;

    // A drag of the window, its edges, the grip or the thumb in progress.
    enum TDrag { dgNone, dgMove, dgEdges, dgGrip, dgThumb } drag_ = dgNone;
    QPoint dragStart_;         // global pointer position at the press
    TWindowBox boxAtPress_;    // this window then
    TWindowBox mainAtPress_;   // the main window then
    bool touchedAtPress_ = false;
    int dragEdges_ = 0;
    int thumbGrab_ = 0;
};
