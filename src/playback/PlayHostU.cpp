#include "playback/PlayHostU.h"

#include "app/CommonU.h"
#include "playback/StreamUrlParserUnit.h"
#include "playback/WMPlayerU.h"

#include <QCursor>
#include <QGuiApplication>

#include <filesystem>

namespace {

bool IsExistingFile(const std::string &address)
{
    std::error_code error;
    return std::filesystem::is_regular_file(address, error);
}

// The hourglass while opening; restored however the opening ends.
class TBusyCursor {
public:
    explicit TBusyCursor(bool show) : shown_(show)
    {
        if (shown_)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    ~TBusyCursor()
    {
        if (shown_)
            QGuiApplication::restoreOverrideCursor();
    }
    TBusyCursor(const TBusyCursor &) = delete;
    TBusyCursor &operator=(const TBusyCursor &) = delete;

private:
    bool shown_;
};

} // namespace

TPlayer *CreatePlayerOfKind(char kind, QWidget *panel)
{
    switch (kind) {
    case pkReal:
    case pkFlash:
    case pkWebReal:
    case pkWebWindowsMedia:
    case pkWebPage:
        return nullptr;
    default:
        return new TWMPlayer(panel);
    }
}

void TPlayerHost::FreePlayer()
{
    if (!fPlayer)
        return;
    fPlayer->SetOnStateChange(nullptr);
    delete fPlayer.data();
    fPlayerKind = 0;
}

void TPlayerHost::PlayCurURL()
{
    std::string address = CurrentAddress();
    if (address.empty())
        return;
    fLocalFile = IsExistingFile(address);
    BeginOpen();
    TBusyCursor cursor(!fLocalFile);
    try {
        Open(std::move(address));
    } catch (const std::exception &e) {
        OpenFailed(e);
    }
}

void TPlayerHost::Open(std::string address)
{
    const auto length = address.size();
    address = ReplaceAll(address, "?novideo&", "?");
    address = ReplaceAll(address, "?novideo", "");
    address = ReplaceAll(address, "&novideo", "");
    fVideoAllowed = address.size() == length;

    char &kind = CurKind;
    if (const auto arrow = address.find("->"); arrow != std::string::npos) {
        fPageUrl = address.substr(arrow + 2);
        address.erase(arrow);
        if (kind == pkAuto && !address.empty())
            kind = ClassifyStreamAddress(address);
        if (kind == pkAuto)
            kind = pkWebPage;
        else if (kind == pkReal)
            kind = pkWebReal;
        else if (kind == pkWindowsMedia)
            kind = pkWebWindowsMedia;
    } else {
        fPageUrl.clear();
        if (kind == pkAuto)
            kind = ClassifyStreamAddress(address);
        if (kind == pkAuto && !fLocalFile) {
            fPageUrl = address;
            kind = pkWebPage;
        }
    }
    if (!AcceptKind(kind))
        return;
    if (fPlayer && fPlayerKind != kind)
        FreePlayer();
    if (!fPlayer)
        fPlayer = CreatePlayer(kind, PlayerPanel());
    if (!fPlayer || !fPlayer->IsReady()) {
        PlayerNotReady();
        return;
    }
    if (fPlayerKind != kind) {
        fPlayer->SetOnStateChange([this](TPlayer *sender, int state) { StateChange(sender, state); });
        fPlayerKind = kind;
    }
    ApplySound(*fPlayer);
    EnableCheckTimer();
    fPlayer->SetUrl(address);
}
