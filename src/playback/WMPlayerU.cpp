#include "playback/WMPlayerU.h"

#include "platform/WMPControl.h"

#include <cmath>
#include <exception>

namespace {

// Every call into the control is guarded: a failing control must not take
// the host down. Reads then answer the zero of their type.
template <class F, class R = std::invoke_result_t<F>>
R Guarded(F &&call)
{
    try {
        return call();
    } catch (...) {
        return R();
    }
}

int Milliseconds(double seconds) { return static_cast<int>(std::lround(seconds * 1000)); }

} // namespace

std::string FileTitleOf(const std::string &address)
{
    // A local path on this system separates with "/"; an address with a
    // scheme keeps its "//host/..." as the design of the title wants.
    const char *separators = address.find(':') == std::string::npos ? "\\:/" : "\\:";
    const auto cut = address.find_last_of(separators);
    std::string title = cut == std::string::npos ? address : address.substr(cut + 1);
    if (const auto dot = title.rfind('.'); dot != std::string::npos)
        title.erase(dot);
    return title;
}

TWMPlayer::TWMPlayer(QWidget *owner)
    : TPlayer(owner)
{
    try {
        fWMP = new WMPControl(this);
    } catch (const std::exception &) {
        fWMP = nullptr;
        return;
    }
    fWMP->setGeometry(rect());
    fWMP->SetStretchToFit(true);
    fWMP->SetUiMode("none");
    fWMP->hide();
    fWMP->settings().SetEnableErrorDialogs(false);
    fWMP->settings().SetAutoStart(true);
    fWMP->OnOpenStateChange = [this](int state) { OpenStateChange(state); };
    fWMP->OnPlayStateChange = [this](int state) { PlayStateChange(state); };
    fWMP->OnMediaError = [this] { NotifyState(psFailed); };
    setEnabled(false); // the frame takes no mouse or keyboard input
}

TWMPlayer::~TWMPlayer()
{
    if (!fWMP)
        return;
    fWMP->OnOpenStateChange = nullptr;
    fWMP->OnPlayStateChange = nullptr;
    fWMP->OnMediaError = nullptr;
    delete fWMP;
}

void TWMPlayer::resizeEvent(QResizeEvent *event)
{
    TPlayer::resizeEvent(event);
    if (fWMP)
        fWMP->setGeometry(rect());
}

void TWMPlayer::OpenStateChange(int state)
{
    if (state == WMPControl::wmposMediaLocating || state == WMPControl::wmposMediaConnecting) {
        NotifyState(psConnecting);
    } else if (state == WMPControl::wmposMediaOpening) {
        NotifyState(psOpening);
    } else if (state == WMPControl::wmposMediaOpen) {
        fDuration = Guarded([this] { return Milliseconds(fWMP->currentMedia().duration()); });
        ReadClipTexts();
        NotifyState(psMediaOpened);
    }
}

void TWMPlayer::ReadClipTexts()
{
    try {
        WMPControl::TMedia &media = fWMP->currentMedia();
        ClipTitle = media.getItemInfo("Title");
        if (ClipTitle.empty())
            ClipTitle = FileTitleOf(fWMP->URL());
        ClipAuthor = media.getItemInfo("Author");
        ClipCopyright = media.getItemInfo("Copyright");
    } catch (...) {
        // the texts read so far stay; the open state is reported anyway
    }
}

void TWMPlayer::PlayStateChange(int state)
{
    switch (state) {
    case WMPControl::wmppsStopped: NotifyState(psStopped); break;
    case WMPControl::wmppsPaused: NotifyState(psPaused); break;
    case WMPControl::wmppsPlaying:
        SetUpPlaying();
        NotifyState(psPlaying);
        break;
    case WMPControl::wmppsBuffering: NotifyState(psBuffering); break;
    case WMPControl::wmppsWaiting:
    case WMPControl::wmppsReconnecting:
        NotifyState(psConnecting);
        break;
    case WMPControl::wmppsMediaEnded: NotifyState(psMediaEnded); break;
    default: break;
    }
}

void TWMPlayer::SetUpPlaying()
{
    SetVolume(fVolume);
    SetMute(fMute);
    SetBalance(fBalance);
    fDuration = Guarded([this] { return Milliseconds(fWMP->currentMedia().duration()); });
    if (fVideoVisible && ClipWidth() > 0 && ClipHeight() > 0) {
        Guarded([this] { fWMP->SetUiMode("none"); fWMP->show(); });
    } else {
        Guarded([this] { fWMP->SetUiMode("Invisible"); fWMP->hide(); });
    }
}

void TWMPlayer::SetBalance(int value)
{
    fBalance = value;
    if (fWMP)
        Guarded([this, value] { fWMP->settings().SetBalance(value); });
}

void TWMPlayer::SetVolume(int value)
{
    fVolume = value;
    if (fWMP && !fMute)
        Guarded([this, value] { fWMP->settings().SetVolume(value); });
}

void TWMPlayer::SetMute(bool value)
{
    fMute = value;
    if (!fWMP)
        return;
    Guarded([this, value] {
        fWMP->settings().SetMute(value);
        if (!value)
            fWMP->settings().SetVolume(fVolume);
    });
}

int TWMPlayer::Position()
{
    return fWMP ? Guarded([this] { return Milliseconds(fWMP->controls().currentPosition()); }) : 0;
}

void TWMPlayer::SetPosition(int milliseconds)
{
    if (fWMP)
        Guarded([this, milliseconds] { fWMP->controls().SetCurrentPosition(milliseconds / 1000.0); });
}

void TWMPlayer::SetUrl(const std::string &address)
{
    fUrl = address;
    if (fWMP)
        Guarded([this, &address] { fWMP->SetURL(address); });
}

int TWMPlayer::BitRate()
{
    if (!fWMP)
        return 0;
    return Guarded([this] {
        const int rate = fWMP->network().bitRate();
        return rate > 0 ? rate : fWMP->network().bandWidth();
    });
}

int TWMPlayer::BufferingProgress()
{
    return fWMP ? Guarded([this] { return fWMP->network().bufferingProgress(); }) : 0;
}

int TWMPlayer::ClipHeight()
{
    return fWMP ? Guarded([this] { return fWMP->currentMedia().imageSourceHeight(); }) : 0;
}

int TWMPlayer::ClipWidth()
{
    return fWMP ? Guarded([this] { return fWMP->currentMedia().imageSourceWidth(); }) : 0;
}

bool TWMPlayer::FullScreen()
{
    return fWMP ? Guarded([this] { return fWMP->fullScreen(); }) : false;
}

void TWMPlayer::SetFullScreen(bool value)
{
    if (fWMP)
        Guarded([this, value] {
            fWMP->SetFullScreen(value);
            fWMP->SetStretchToFit(!value);
        });
}

bool TWMPlayer::CanPause()
{
    return fWMP ? Guarded([this] { return fWMP->controls().isAvailable("pause"); }) : false;
}

void TWMPlayer::Transport(const char *name, void (*call)(WMPControl &))
{
    if (fWMP)
        Guarded([&] {
            if (fWMP->controls().isAvailable(name))
                call(*fWMP);
        });
}

void TWMPlayer::Play() { Transport("play", [](WMPControl &c) { c.controls().play(); }); }
void TWMPlayer::Pause() { Transport("pause", [](WMPControl &c) { c.controls().pause(); }); }
void TWMPlayer::Stop() { Transport("stop", [](WMPControl &c) { c.controls().stop(); }); }
void TWMPlayer::Next() { Transport("next", [](WMPControl &c) { c.controls().next(); }); }
void TWMPlayer::Previous() { Transport("previous", [](WMPControl &c) { c.controls().previous(); }); }

bool TWMPlayer::IsReady() { return fWMP != nullptr; }

bool TWMPlayer::HasVideo() { return fWMP && Guarded([this] { return !fWMP->isHidden(); }); }
