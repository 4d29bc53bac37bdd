#pragma once
// What every host of a player keeps (the video window, the station test and
// the station editor's trial play), and PlayCurURL, the one routine that
// chooses, creates and starts a host's player. Hosts differ only in the
// hooks below.

#include <QPointer>

#include <exception>
#include <string>

class QWidget;
class TPlayer;

// The player variant for a kind, a child of panel. Real, Flash and web page
// variants are not built yet: their kinds get no player (nullptr), which
// PlayCurURL reports like a control that could not be created.
TPlayer *CreatePlayerOfKind(char kind, QWidget *panel);

class TPlayerHost {
public:
    virtual ~TPlayerHost() = default;

    // Plays the current address with the current kind (set CurKind first).
    void PlayCurURL();
    // Detaches the state handler and destroys the player.
    void FreePlayer();

    char CurKind = '0';
    TPlayer *Player() const { return fPlayer; }
    char PlayerKind() const { return fPlayerKind; } // the kind the player was attached for
    const std::string &PageUrl() const { return fPageUrl; }
    bool LocalFile() const { return fLocalFile; }
    bool VideoAllowed() const { return fVideoAllowed; }

protected:
    virtual std::string CurrentAddress() const = 0;
    virtual QWidget *PlayerPanel() = 0;
    // Opening starts: stop the check timer, note the start time, show it.
    virtual void BeginOpen() = 0;
    // May change the kind; false ends PlayCurURL here.
    virtual bool AcceptKind(char &kind) { return true; }
    virtual TPlayer *CreatePlayer(char kind, QWidget *panel) { return CreatePlayerOfKind(kind, panel); }
    // The player's control does not exist (or its kind has no player).
    virtual void PlayerNotReady() {}
    // Mute, volume, balance and VideoVisible before the address is set.
    virtual void ApplySound(TPlayer &player) = 0;
    virtual void EnableCheckTimer() = 0;
    virtual void StateChange(TPlayer *sender, int newState) = 0;
    // An exception while opening; the host logs or drops it.
    virtual void OpenFailed(const std::exception &e) {}

private:
    void Open(std::string address);

    QPointer<TPlayer> fPlayer;
    char fPlayerKind = 0;
    std::string fPageUrl;
    bool fLocalFile = false;
    bool fVideoAllowed = false;
};
