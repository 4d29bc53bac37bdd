#pragma once
// The video window: created hidden at start, it lives as long as the
// instance and is where another start's activation request arrives.
// Playback lands here with the player.

#include <QWidget>

class TfrmMain;

class TfrmOrvaneVideo : public QWidget {
    Q_OBJECT
public:
    explicit TfrmOrvaneVideo(TfrmMain *mainWindow);

    // Another start of the program asked this instance to show itself.
    void WMActivateInstance();

private:
    TfrmMain *frmMain_;
};
