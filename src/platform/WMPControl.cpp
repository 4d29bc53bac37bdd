#include "platform/WMPControl.h"

#include <QGuiApplication>
#include <QPointer>

#include <mpv/client.h>

#include <algorithm>
#include <atomic>
#include <clocale>
#include <cmath>
#include <map>
#include <mutex>
#include <stdexcept>
#include <vector>

namespace {

std::mutex optionsMutex;
TWMPEngineOptions defaultOptions;

std::string Lower(std::string text)
{
    for (char &c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The engine also opens devices, file descriptors and edit lists by scheme;
// a station address may only name network streams and files.
bool IsPlayableAddress(const std::string &url)
{
    static const char *const schemes[] = {"http", "https", "ftp", "mms", "mmsh", "mmst", "rtsp", "rtsps",
                                          "rtmp", "rtmps", "rtmpt", "rtmpe", "rtmpts", "rtmpte", "rtp",
                                          "udp", "file"};
    if (url.find('\0') != std::string::npos)
        return false;
    const auto colon = url.find(':');
    // No scheme, or a drive letter: a local path.
    if (colon == std::string::npos || colon < 2 || url.find('/') < colon)
        return true;
    const std::string scheme = Lower(url.substr(0, colon));
    for (const char *allowed : schemes)
        if (scheme == allowed)
            return true;
    return false;
}

} // namespace

struct WMPControl::TEngine {
    mpv_handle *Mpv = nullptr;
    std::atomic<bool> DrainQueued{false};

    std::string Url;
    std::string UiMode = "full";
    bool StretchToFit = true;
    bool EnableErrorDialogs = true;
    bool AutoStart = true;
    bool Mute = false;
    int Volume = 50;
    int Balance = 0;
    int AppliedBalance = 0;

    // Where the current clip is: between start-file and file-loaded it is
    // loading; after file-loaded it is loaded; it has started once the first
    // audio or video went out.
    bool Loading = false;
    bool Loaded = false;
    bool Started = false;
    bool StopRequested = false;
    int LastPlayState = 0;

    // Observed engine properties.
    bool Paused = false;
    bool PausedForCache = false;
    bool Seekable = false;
    double Duration = 0;
    double AudioBitrate = 0;
    double VideoBitrate = 0;
    int CacheBuffering = 0;
    int Width = 0;
    int Height = 0;
    std::map<std::string, std::string> Metadata; // keys lower-cased

    double GetDouble(const char *name) const
    {
        double value = 0;
        return mpv_get_property(Mpv, name, MPV_FORMAT_DOUBLE, &value) >= 0 ? value : 0;
    }
    long long GetInt(const char *name) const
    {
        int64_t value = 0;
        return mpv_get_property(Mpv, name, MPV_FORMAT_INT64, &value) >= 0 ? value : 0;
    }
    bool GetFlag(const char *name) const
    {
        int value = 0;
        return mpv_get_property(Mpv, name, MPV_FORMAT_FLAG, &value) >= 0 && value;
    }
    void SetFlag(const char *name, bool value)
    {
        int flag = value ? 1 : 0;
        mpv_set_property_async(Mpv, 0, name, MPV_FORMAT_FLAG, &flag);
    }
    void SetDouble(const char *name, double value) { mpv_set_property_async(Mpv, 0, name, MPV_FORMAT_DOUBLE, &value); }
    void Command(std::initializer_list<const char *> args)
    {
        std::vector<const char *> argv(args);
        argv.push_back(nullptr);
        mpv_command_async(Mpv, 0, argv.data());
    }
    void ResetClip()
    {
        Loading = Loaded = Started = false;
        PausedForCache = Seekable = false;
        Duration = AudioBitrate = VideoBitrate = 0;
        CacheBuffering = Width = Height = 0;
        LastPlayState = 0;
        Metadata.clear();
    }
};

TWMPEngineOptions WMPControl::DefaultOptions()
{
    std::lock_guard lock(optionsMutex);
    return defaultOptions;
}

void WMPControl::SetDefaultOptions(const TWMPEngineOptions &options)
{
    std::lock_guard lock(optionsMutex);
    defaultOptions = options;
}

WMPControl::WMPControl(QWidget *parent)
    : QWidget(parent), e_(std::make_unique<TEngine>())
{
    const TWMPEngineOptions options = DefaultOptions();
    // The engine parses numbers in the C locale only.
    std::setlocale(LC_NUMERIC, "C");
    e_->Mpv = mpv_create();
    if (!e_->Mpv)
        throw std::runtime_error("the media engine could not be created");
    const auto set = [this](const char *name, const std::string &value) {
        if (mpv_set_option_string(e_->Mpv, name, value.c_str()) < 0) {
            mpv_terminate_destroy(e_->Mpv);
            throw std::runtime_error(std::string("media engine option refused: ") + name + "=" + value);
        }
    };
    // Nothing from the user's own mpv set-up, no scripts, no terminal.
    set("config", "no");
    set("terminal", "no");
    set("ytdl", "no");
    set("load-scripts", "no");
    set("osc", "no");
    set("load-stats-overlay", "no");
    set("load-osd-console", "no");
    set("load-auto-profiles", "no");
    set("input-default-bindings", "no");
    set("input-vo-keyboard", "no");
    set("idle", "yes");
    set("audio-client-name", "Orvane");
    set("network-timeout", std::to_string(options.NetworkTimeout));
    if (!options.AudioOutput.empty())
        set("ao", options.AudioOutput);
    // A radio needs little read-ahead; the default cache would hold minutes.
    set("demuxer-max-bytes", "8MiB");
    set("demuxer-max-back-bytes", "1MiB");
    if (QGuiApplication::platformName() == "xcb") {
        set("wid", std::to_string(static_cast<long long>(winId())));
        set("force-window", "no");
    } else {
        set("vo", "null"); // no display: video is decoded for its size only
    }
    if (mpv_initialize(e_->Mpv) < 0) {
        mpv_terminate_destroy(e_->Mpv);
        throw std::runtime_error("the media engine could not be started");
    }
    mpv_observe_property(e_->Mpv, 0, "pause", MPV_FORMAT_FLAG);
    mpv_observe_property(e_->Mpv, 0, "paused-for-cache", MPV_FORMAT_FLAG);
    mpv_observe_property(e_->Mpv, 0, "cache-buffering-state", MPV_FORMAT_INT64);
    mpv_observe_property(e_->Mpv, 0, "seekable", MPV_FORMAT_FLAG);
    mpv_observe_property(e_->Mpv, 0, "duration", MPV_FORMAT_DOUBLE);
    mpv_observe_property(e_->Mpv, 0, "audio-bitrate", MPV_FORMAT_DOUBLE);
    mpv_observe_property(e_->Mpv, 0, "video-bitrate", MPV_FORMAT_DOUBLE);
    mpv_observe_property(e_->Mpv, 0, "width", MPV_FORMAT_INT64);
    mpv_observe_property(e_->Mpv, 0, "height", MPV_FORMAT_INT64);
    mpv_observe_property(e_->Mpv, 0, "metadata", MPV_FORMAT_NODE);
    // Called on an engine thread: only queue a drain on the GUI thread.
    mpv_set_wakeup_callback(
        e_->Mpv,
        [](void *context) {
            auto *control = static_cast<WMPControl *>(context);
            if (!control->e_->DrainQueued.exchange(true))
                QMetaObject::invokeMethod(control, [control] { control->Drain(); }, Qt::QueuedConnection);
        },
        this);
}

WMPControl::~WMPControl()
{
    // After this returns no engine thread calls back into the object.
    mpv_set_wakeup_callback(e_->Mpv, nullptr, nullptr);
    mpv_terminate_destroy(e_->Mpv);
}

void WMPControl::Drain()
{
    e_->DrainQueued = false;
    QPointer<WMPControl> alive(this);
    while (alive) {
        mpv_event *event = mpv_wait_event(e_->Mpv, 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        HandleEvent(*event);
    }
}

namespace {

bool FlagOf(const mpv_event_property &p) { return p.format == MPV_FORMAT_FLAG && *static_cast<int *>(p.data); }
double DoubleOf(const mpv_event_property &p) { return p.format == MPV_FORMAT_DOUBLE ? *static_cast<double *>(p.data) : 0; }
int IntOf(const mpv_event_property &p)
{
    return p.format == MPV_FORMAT_INT64 ? static_cast<int>(*static_cast<int64_t *>(p.data)) : 0;
}

std::map<std::string, std::string> TagsOf(const mpv_node *node)
{
    std::map<std::string, std::string> tags;
    if (!node || node->format != MPV_FORMAT_NODE_MAP)
        return tags;
    const mpv_node_list *list = node->u.list;
    for (int i = 0; i < list->num; ++i)
        if (list->values[i].format == MPV_FORMAT_STRING)
            tags[Lower(list->keys[i])] = list->values[i].u.string;
    return tags;
}

} // namespace

void WMPControl::HandleEvent(const mpv_event &event)
{
    TEngine &e = *e_;
    switch (event.event_id) {
    case MPV_EVENT_START_FILE:
        e.ResetClip();
        e.StopRequested = false;
        e.Loading = true;
        if (OnOpenStateChange)
            OnOpenStateChange(wmposMediaConnecting);
        break;
    case MPV_EVENT_FILE_LOADED:
        e.Loading = false;
        e.Loaded = true;
        ReadClipProperties();
        if (OnOpenStateChange)
            OnOpenStateChange(wmposMediaOpen);
        ReportPlayState();
        break;
    case MPV_EVENT_PLAYBACK_RESTART:
        e.Started = true;
        ReportPlayState();
        break;
    case MPV_EVENT_END_FILE: {
        const auto *end = static_cast<const mpv_event_end_file *>(event.data);
        const bool wasLoaded = e.Loaded;
        const bool live = !e.Seekable;
        const bool requested = e.StopRequested;
        e.ResetClip();
        e.StopRequested = false;
        if (end->reason == MPV_END_FILE_REASON_ERROR) {
            if (OnMediaError)
                OnMediaError();
        } else if (end->reason == MPV_END_FILE_REASON_EOF) {
            // A live stream has no end: its end is a dropped connection.
            if (!wasLoaded || live) {
                if (OnMediaError)
                    OnMediaError();
            } else if (OnPlayStateChange) {
                // A clip that played to its end stops, as the Windows Media
                // control does: hosts move on to the next entry on "stopped".
                OnPlayStateChange(wmppsMediaEnded);
                OnPlayStateChange(wmppsStopped);
            }
        } else if (end->reason == MPV_END_FILE_REASON_STOP && requested && OnPlayStateChange) {
            OnPlayStateChange(wmppsStopped);
        }
        break;
    }
    case MPV_EVENT_PROPERTY_CHANGE: {
        const auto &p = *static_cast<const mpv_event_property *>(event.data);
        const std::string name = p.name;
        if (name == "pause")
            e.Paused = FlagOf(p);
        else if (name == "paused-for-cache")
            e.PausedForCache = FlagOf(p);
        else if (name == "cache-buffering-state")
            e.CacheBuffering = IntOf(p);
        else if (name == "seekable")
            e.Seekable = FlagOf(p);
        else if (name == "duration")
            e.Duration = DoubleOf(p);
        else if (name == "audio-bitrate")
            e.AudioBitrate = DoubleOf(p);
        else if (name == "video-bitrate")
            e.VideoBitrate = DoubleOf(p);
        else if (name == "width")
            e.Width = IntOf(p);
        else if (name == "height")
            e.Height = IntOf(p);
        else if (name == "metadata")
            e.Metadata = TagsOf(p.format == MPV_FORMAT_NODE ? static_cast<mpv_node *>(p.data) : nullptr);
        if (name == "pause" || name == "paused-for-cache")
            ReportPlayState();
        break;
    }
    default:
        break;
    }
}

// Observed values follow the file-loaded event; the open clip's length, tags
// and size must be readable as soon as it is reported open.
void WMPControl::ReadClipProperties()
{
    TEngine &e = *e_;
    e.Seekable = e.GetFlag("seekable");
    e.Duration = e.GetDouble("duration");
    e.Width = static_cast<int>(e.GetInt("width"));
    e.Height = static_cast<int>(e.GetInt("height"));
    mpv_node node;
    if (mpv_get_property(e.Mpv, "metadata", MPV_FORMAT_NODE, &node) >= 0) {
        e.Metadata = TagsOf(&node);
        mpv_free_node_contents(&node);
    }
}

void WMPControl::ReportPlayState()
{
    TEngine &e = *e_;
    if (!e.Loaded)
        return;
    int state = wmppsPlaying;
    if (e.Paused)
        state = wmppsPaused;
    else if (e.PausedForCache || !e.Started)
        state = wmppsBuffering;
    if (state == e.LastPlayState)
        return;
    e.LastPlayState = state;
    if (OnPlayStateChange)
        OnPlayStateChange(state);
}

const std::string &WMPControl::URL() const { return e_->Url; }

void WMPControl::SetURL(const std::string &url)
{
    e_->Url = url;
    if (url.empty()) {
        controls_.stop();
        return;
    }
    if (!IsPlayableAddress(url)) {
        controls_.stop();
        // Reported from the event loop, as the engine reports its own errors.
        QMetaObject::invokeMethod(this, [this] { if (OnMediaError) OnMediaError(); }, Qt::QueuedConnection);
        return;
    }
    e_->SetFlag("pause", !e_->AutoStart);
    // A stop still on its way from the engine ends the old clip, which the
    // new address replaces: it must not read as the new clip stopping.
    e_->StopRequested = false;
    e_->Command({"loadfile", url.c_str(), "replace"});
}

const std::string &WMPControl::uiMode() const { return e_->UiMode; }

void WMPControl::SetUiMode(const std::string &mode)
{
    e_->UiMode = mode;
    if (Lower(mode) == "invisible")
        hide();
}

bool WMPControl::stretchToFit() const { return e_->StretchToFit; }

void WMPControl::SetStretchToFit(bool value)
{
    e_->StretchToFit = value;
    e_->SetFlag("video-unscaled", !value);
}

bool WMPControl::fullScreen() const { return window()->isFullScreen(); }

void WMPControl::SetFullScreen(bool value)
{
    QWidget *frame = window();
    frame->setWindowState(value ? frame->windowState() | Qt::WindowFullScreen
                                : frame->windowState() & ~Qt::WindowFullScreen);
}

bool WMPControl::seekable() const { return e_->Seekable; }

// --- settings ---------------------------------------------------------------

bool WMPControl::TSettings::enableErrorDialogs() const { return c_.e_->EnableErrorDialogs; }
void WMPControl::TSettings::SetEnableErrorDialogs(bool value) { c_.e_->EnableErrorDialogs = value; }
bool WMPControl::TSettings::autoStart() const { return c_.e_->AutoStart; }
void WMPControl::TSettings::SetAutoStart(bool value) { c_.e_->AutoStart = value; }
bool WMPControl::TSettings::mute() const { return c_.e_->Mute; }

void WMPControl::TSettings::SetMute(bool value)
{
    c_.e_->Mute = value;
    c_.e_->SetFlag("mute", value);
}

int WMPControl::TSettings::volume() const { return c_.e_->Volume; }

void WMPControl::TSettings::SetVolume(int value)
{
    c_.e_->Volume = std::clamp(value, 0, 100);
    c_.e_->SetDouble("volume", c_.e_->Volume);
}

int WMPControl::TSettings::balance() const { return c_.e_->Balance; }

void WMPControl::TSettings::SetBalance(int value)
{
    TEngine &e = *c_.e_;
    e.Balance = std::clamp(value, -100, 100);
    if (e.Balance == e.AppliedBalance)
        return; // changing the filter chain restarts the audio output
    e.AppliedBalance = e.Balance;
    const std::string chain = e.Balance == 0
        ? std::string()
        : "@balance:lavfi=[stereotools=balance_out=" + std::to_string(e.Balance / 100.0) + "]";
    mpv_set_property_string(e.Mpv, "af", chain.c_str());
}

// --- controls ---------------------------------------------------------------

bool WMPControl::TControls::isAvailable(const std::string &name) const
{
    const TEngine &e = *c_.e_;
    if (name == "play")
        return !e.Url.empty() && (e.Paused || (!e.Loading && !e.Loaded));
    if (name == "pause")
        return e.Loaded && !e.Paused;
    if (name == "stop")
        return e.Loading || e.Loaded;
    if (name == "next")
        return e.Loaded && e.GetInt("playlist-pos") + 1 < e.GetInt("playlist-count");
    if (name == "previous")
        return e.Loaded && e.GetInt("playlist-pos") > 0;
    if (name == "currentPosition")
        return e.Loaded && e.Seekable;
    return false;
}

void WMPControl::TControls::play()
{
    TEngine &e = *c_.e_;
    if (e.Loading || e.Loaded)
        e.SetFlag("pause", false);
    else if (!e.Url.empty())
        c_.SetURL(e.Url);
}

void WMPControl::TControls::pause() { c_.e_->SetFlag("pause", true); }

void WMPControl::TControls::stop()
{
    TEngine &e = *c_.e_;
    if (!e.Loading && !e.Loaded)
        return;
    e.StopRequested = true;
    e.Command({"stop"});
}

void WMPControl::TControls::next() { c_.e_->Command({"playlist-next"}); }
void WMPControl::TControls::previous() { c_.e_->Command({"playlist-prev"}); }
double WMPControl::TControls::currentPosition() const { return c_.e_->Loaded ? c_.e_->GetDouble("time-pos") : 0; }
void WMPControl::TControls::SetCurrentPosition(double seconds) { c_.e_->SetDouble("time-pos", seconds); }

// --- network ----------------------------------------------------------------

int WMPControl::TNetwork::bitRate() const
{
    return static_cast<int>(std::lround(c_.e_->AudioBitrate + c_.e_->VideoBitrate));
}

int WMPControl::TNetwork::bandWidth() const
{
    return c_.e_->Loaded ? static_cast<int>(c_.e_->GetInt("cache-speed") * 8) : 0;
}

int WMPControl::TNetwork::bufferingProgress() const { return c_.e_->CacheBuffering; }

// --- currentMedia -----------------------------------------------------------

double WMPControl::TMedia::duration() const { return c_.e_->Seekable ? c_.e_->Duration : 0; }
int WMPControl::TMedia::imageSourceWidth() const { return c_.e_->Width; }
int WMPControl::TMedia::imageSourceHeight() const { return c_.e_->Height; }

std::string WMPControl::TMedia::getItemInfo(const std::string &name) const
{
    const auto &tags = c_.e_->Metadata;
    const auto first = [&tags](std::initializer_list<const char *> keys) {
        for (const char *key : keys)
            if (auto it = tags.find(key); it != tags.end() && !it->second.empty())
                return it->second;
        return std::string();
    };
    const std::string key = Lower(name);
    if (key == "title")
        return first({"title", "icy-title"});
    if (key == "author")
        return first({"artist", "author", "album_artist"});
    return first({key.c_str()});
}
