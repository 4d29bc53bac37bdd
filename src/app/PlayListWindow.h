#pragma once
// What the station list window offers the video window and the main window.
// Kept apart from both windows so each side only sees the other's interface.

#include <QPoint>
#include <QRect>

#include <string>

#include "app/UserSettings.h"

class QKeyEvent;
class QMenu;

// What the video window asks about the list's entries.
class TPlayListSource {
public:
    virtual ~TPlayListSource() = default;
    // The next or previous entry: a station ID, -1 for a music entry, 0 none.
    virtual int NextItem(int flag) = 0;
    virtual int PrevItem() = 0;
    // The path of the current music entry, empty when there is none.
    virtual std::string CurrentMusicPath() = 0;
};

// What the main window asks of the station list window.
class TPlayListWindow : public TPlayListSource {
public:
    virtual bool IsRadioMode() const = 0;
    virtual void SetRadioMode(bool radio) = 0;
    virtual bool ListVisible() const = 0;
    virtual void SetListVisible(bool visible) = 0;
    // Station `index` (from 0) of the tree's channels group; ID 0 when none.
    virtual TChannelEntry ChannelStation(int index) = 0;
    // Selects music entry `index`; false when the list has no such entry.
    virtual bool SelectMusicEntry(int index) = 0;
    // Fills the station menu with entries whose data() is a station ID.
    virtual void BuildStationMenu(QMenu *menu) = 0;
};

// What the station list window needs from the main window.
class TPlayListHost {
public:
    virtual ~TPlayListHost() = default;
    // The main window's place on the screen, for docking and snapping.
    virtual QRect MainWindowRect() const = 0;
    // Moves the main window along with a list window locked to it.
    virtual void MoveMainWindow(const QPoint &topLeft) = 0;
    // Channel label `number` (1 to 10) takes a station of the channels group,
    // unless its caption is empty.
    virtual void SetChannelFromTree(int number, int id, const std::string &hint) = 0;
    // The list window was hidden: its button on the main window looks normal.
    virtual void PlayListHidden() = 0;
    // Keys that reach the list window itself belong to the main window.
    virtual void MainKeyPress(QKeyEvent *event) = 0;
};
