#include "app/frmVideoU.h"

#include "app/CommonU.h"
#include "app/GlobalUnit.h"
#include "app/LogU.h"
#include "app/UserSettings.h"
#include "appearance/LanguageU.h"
#include "playback/PlayerU.h"
#include "playback/StreamUrlParserUnit.h"
#include "recording/WaveComp.h"
#include "stations/MusicList.h"
#include "stations/PlayListGeometry.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

#include <cmath>
#include <filesystem>

namespace {

constexpr double Second = 1.0 / 86400;
constexpr int TitleHeight = 23;

double TimeOfDayNow()
{
    const TDateTime now = NowDateTime();
    return now - std::floor(now);
}

std::vector<std::string> Lines(const std::string &text)
{
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\r' || c == '\n') {
            if (!line.empty())
                lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

std::string FileNamePart(const std::string &path)
{
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

TfrmOrvaneVideo::TfrmOrvaneVideo(TPlayDisplay &display) : QWidget(nullptr), display_(display)
{
    setObjectName("frmOrvaneVideo");
    setWindowTitle("Video");
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setStyleSheet("background: black; color: white;");
    resize(320, 263);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    auto *titlePanel = new QHBoxLayout;
    titlePanel->setSpacing(2);
    slblTitle = new QLabel(this);
    slblTitle->setObjectName("slblTitle");
    slblTitle->setFixedHeight(TitleHeight);
    slblTitle->installEventFilter(this);
    auto *btnMax = new QToolButton(this);
    btnMax->setObjectName("btnMax");
    btnMax->setText("□");
    connect(btnMax, &QToolButton::clicked, this, [this] { SetFullScreen(true); });
    auto *btnClose = new QToolButton(this);
    btnClose->setObjectName("btnClose");
    btnClose->setText("×");
    connect(btnClose, &QToolButton::clicked, this, &QWidget::hide);
    titlePanel->addWidget(slblTitle, 1);
    titlePanel->addWidget(btnMax);
    titlePanel->addWidget(btnClose);
    pnlStretch = new QWidget(this);
    pnlStretch->setObjectName("pnlStretch");
    layout->addLayout(titlePanel);
    layout->addWidget(pnlStretch, 1);
    setMouseTracking(true);

    pmMenu = new QMenu(this);
    pmMenu->setObjectName("pmMenu");
    nFullScreen = pmMenu->addAction("Full Screen");
    nFullScreen->setObjectName("nFullScreen");
    connect(nFullScreen, &QAction::triggered, this, [this] { SetFullScreen(true); });
    nExitFullScreen = pmMenu->addAction("Exit Full Screen");
    nExitFullScreen->setObjectName("nExitFullScreen");
    connect(nExitFullScreen, &QAction::triggered, this, [this] { SetFullScreen(false); });
    QAction *originalSize = pmMenu->addAction("Original Size");
    originalSize->setObjectName("nOriginalSize");
    connect(originalSize, &QAction::triggered, this, [this] { ZoomToClip(1); });
    QAction *doubleSize = pmMenu->addAction("Double Size");
    doubleSize->setObjectName("nDoubleSize");
    connect(doubleSize, &QAction::triggered, this, [this] { ZoomToClip(2); });
    pmMenu->addSeparator();
    connect(pmMenu, &QMenu::aboutToShow, this, [this] {
        const bool full = Player() && Player()->FullScreen();
        nFullScreen->setVisible(!full);
        nExitFullScreen->setVisible(full);
    });
    QAction *playPause = pmMenu->addAction("Play/Pause");
    playPause->setObjectName("nPlayPause");
    connect(playPause, &QAction::triggered, this, [this] { PlayPause(); });
    QAction *stop = pmMenu->addAction("Stop");
    stop->setObjectName("nStop");
    connect(stop, &QAction::triggered, this, [this] { StopPlaying(); });

    tmrCheck = new QTimer(this);
    tmrCheck->setObjectName("tmrCheck");
    tmrCheck->setInterval(1000);
    connect(tmrCheck, &QTimer::timeout, this, &TfrmOrvaneVideo::tmrCheckTimer);

    AddTranslatedWindow(this);
}

TfrmOrvaneVideo::~TfrmOrvaneVideo()
{
    tmrCheck->stop();
    FreePlayer();
}

// --- The current item ---------------------------------------------------------

char TfrmOrvaneVideo::StationKind() const { return rblData.VFormat.empty() ? '0' : rblData.VFormat[0]; }

bool TfrmOrvaneVideo::LoadStation(int id)
{
    try {
        rblData.SelectById(id);
        rblData.ClearFields();
        if (rblData.Open()) {
            rblData.LoadById(id);
            rblData.Close();
        }
        addresses_ = TRadioTable::SplitAddresses(rblData.VStreamURL);
        addressIndex_ = 0;
        CurKind = StationKind();
        return !addresses_.empty();
    } catch (...) {
        return false;
    }
}

std::string TfrmOrvaneVideo::CurrentAddress() const
{
    if (addressIndex_ < 0 || addressIndex_ >= static_cast<int>(addresses_.size()))
        return {};
    return addresses_[static_cast<size_t>(addressIndex_)];
}

std::string TfrmOrvaneVideo::GetUserUrl() const
{
    if (curPlayId_ > 0 || addresses_.empty())
        return {};
    return EncodeCurUserUrl({CurKind, addresses_.front()});
}

void TfrmOrvaneVideo::SetUserUrl(const std::string &value)
{
    const TUserUrl url = DecodeCurUserUrl(value);
    CurKind = url.Kind;
    addresses_.clear();
    if (!url.Address.empty())
        addresses_.push_back(url.Address);
    addressIndex_ = 0;
}

std::string TfrmOrvaneVideo::CurrentTitle() const
{
    if (!rblData.VRadioName.empty())
        return rblData.VRadioName;
    const std::string address = CurrentAddress();
    return address.empty() ? std::string() : FileNamePart(address);
}

// --- Play commands ----------------------------------------------------------------

void TfrmOrvaneVideo::PlayById(int id)
{
    stoppedByUser_ = false;
    retryCount_ = 0;
    hasPlayed_ = false;
    if (LoadStation(id)) {
        curPlayId_ = id;
        PlayCurURL();
    }
}

void TfrmOrvaneVideo::PlayMusicEntry()
{
    const std::string path = list_ ? list_->CurrentMusicPath() : std::string();
    std::error_code ec;
    // The music list also holds addresses; only a missing file is skipped.
    if (!path.empty() && (IsMusicAddress(path) || std::filesystem::is_regular_file(path, ec))) {
        curPlayId_ = -1;
        PlayText(path);
        return;
    }
    if (path.empty())
        return;
    display_.ShowName(FileNameWithoutExt(path), path);
    StopPlaying();
}

void TfrmOrvaneVideo::PlayText(const std::string &text)
{
    stoppedByUser_ = false;
    rblData.ClearFields();
    addressIndex_ = 0;
    addresses_ = Lines(text);
    CurKind = '0';
    PlayCurURL();
}

void TfrmOrvaneVideo::PlayAddress(const std::string &addresses, const std::string &title, char kind)
{
    curPlayId_ = 0;
    stoppedByUser_ = false;
    rblData.ClearFields();
    rblData.VRadioName = title;
    addressIndex_ = 0;
    addresses_ = Lines(addresses);
    CurKind = kind;
    PlayCurURL();
}

void TfrmOrvaneVideo::Play()
{
    stoppedByUser_ = false;
    retryCount_ = 0;
    if (curPlayId_ > 0) {
        PlayById(curPlayId_);
    } else if (curPlayId_ < 0) {
        PlayMusicEntry();
    } else {
        addressIndex_ = 0;
        PlayCurURL();
    }
}

void TfrmOrvaneVideo::PlayPause()
{
    TPlayer *player = Player();
    if (player && player->CanPause())
        player->Pause();
    else if (player && player->PlayState() == psPaused)
        player->Play();
    else
        Play();
}

void TfrmOrvaneVideo::Pause()
{
    if (TPlayer *player = Player())
        player->Pause();
}

void TfrmOrvaneVideo::StopPlaying()
{
    stoppedByUser_ = true;
    retryCountdown_ = 0;
    hasPlayed_ = false;
    tmrCheck->stop();
    if (TPlayer *player = Player())
        player->Stop();
    ShowStopped();
    StopSound();
    display_.SetMemoryTrimCountdown(1);
}

void TfrmOrvaneVideo::PlayNext(int flag)
{
    if (!list_)
        return;
    const int id = list_->NextItem(flag);
    if (id > 0)
        PlayById(id);
    else if (id < 0)
        PlayMusicEntry();
}

void TfrmOrvaneVideo::PlayPrevious()
{
    if (!list_)
        return;
    const int id = list_->PrevItem();
    if (id > 0)
        PlayById(id);
    else if (id < 0)
        PlayMusicEntry();
}

// --- Sound and position -------------------------------------------------------------

void TfrmOrvaneVideo::SetVolume(int value)
{
    volume_ = std::clamp(value, 0, 100);
    if (TPlayer *player = Player())
        player->SetVolume(volume_);
}

void TfrmOrvaneVideo::SetBalance(int value)
{
    balance_ = std::clamp(value, -100, 100);
    if (TPlayer *player = Player())
        player->SetBalance(balance_);
}

void TfrmOrvaneVideo::SetMuted(bool value)
{
    muted_ = value;
    if (TPlayer *player = Player())
        player->SetMute(muted_);
}

bool TfrmOrvaneVideo::IsPlaying() const { return Player() && Player()->CanPause(); }

bool TfrmOrvaneVideo::HasDuration() const { return Player() && Player()->Duration() > 0; }

void TfrmOrvaneVideo::SeekTo(double fraction)
{
    TPlayer *player = Player();
    if (!player)
        return;
    const double target = fraction * player->Duration();
    if (seeking_)
        display_.SetElapsedDigits(SecondsToClock(std::llround(target / 1000.0)));
    else
        player->SetPosition(static_cast<int>(std::lround(target)));
}

double TfrmOrvaneVideo::ProgressFraction() const
{
    TPlayer *player = Player();
    if (!player || player->PlayState() != psPlaying || player->Duration() <= 0)
        return 0;
    return static_cast<double>(player->Position()) / player->Duration();
}

// --- Settings -------------------------------------------------------------------------

void TfrmOrvaneVideo::SetReconnect(bool on, int retryLimit, int retryDelay)
{
    reconnect_ = on;
    retryLimit_ = retryLimit;
    retryDelay_ = retryDelay;
}

void TfrmOrvaneVideo::EnableSounds(bool on)
{
    if (on == (wave_ != nullptr))
        return;
    if (on)
        wave_ = std::make_unique<TWaveOut>(this);
    else
        wave_.reset();
}

void TfrmOrvaneVideo::PlaySound(const std::string &name, bool looped)
{
    if (!wave_)
        return;
    std::error_code ec;
    std::string file = SoundPath() + CurLng() + "/" + name;
    if (!std::filesystem::exists(file, ec))
        file = SoundPath() + "chs/" + name;
    if (!std::filesystem::exists(file, ec))
        return;
    try {
        looped ? wave_->PlayFileLooped(file) : wave_->PlayFile(file);
    } catch (...) {
        // A sound that cannot play is no reason to disturb playback.
    }
}

void TfrmOrvaneVideo::StopSound()
{
    if (wave_)
        wave_->Stop();
}

// --- Opening an address (the host's part) ------------------------------------------------

QWidget *TfrmOrvaneVideo::PlayerPanel() { return pnlStretch; }

void TfrmOrvaneVideo::BeginOpen()
{
    tmrCheck->stop();
    retryCountdown_ = 0;
    startTime_ = TimeOfDayNow();
    display_.SetTrayActive(false, 0);
    display_.SetSpeedText("");
    display_.SetElapsedText("00:00:00");
    display_.PlaceProgressThumb(0);
    if (!LocalFile()) {
        PlaySound("waiting.wav", true);
        display_.SetStateText(Msg(30));
    }
    ShowNameOfAddress();
}

void TfrmOrvaneVideo::PlayerNotReady() { StateChange(Player(), psFailed); }

void TfrmOrvaneVideo::ApplySound(TPlayer &player)
{
    player.SetMute(muted_);
    player.SetVolume(volume_);
    player.SetBalance(balance_);
    player.SetVideoVisible(videoFormVisible_ && VideoAllowed() && PlayerKind() != pkFlash);
}

void TfrmOrvaneVideo::EnableCheckTimer() { tmrCheck->start(); }

void TfrmOrvaneVideo::OpenFailed(const std::exception &e) { LogException("TfrmVideo.PlayCurURL", e); }

// --- State codes --------------------------------------------------------------------------

void TfrmOrvaneVideo::StateChange(TPlayer *, int newState)
{
    switch (newState) {
    case psWaiting:
        display_.SetStateText(Msg(30));
        break;
    case psOpening:
        display_.SetStateText(Msg(33));
        display_.ShowPlayState(0);
        break;
    case psConnecting:
        display_.SetStateText(Msg(32));
        display_.ShowPlayState(0);
        display_.SetTrayActive(true, 700);
        if (display_.InfoBarCountdown() > 0)
            display_.SetInfoBarCountdown(30);
        break;
    case psBuffering: {
        display_.SetStateText(Msg(42));
        display_.ShowPlayState(0);
        display_.SetTrayActive(true, 300);
        if (wave_ && !LocalFile() && !wave_->Active())
            PlaySound("waiting.wav", true);
        const int info = display_.InfoBarCountdown();
        if (info >= 1 && info <= 59)
            display_.SetInfoBarCountdown(2);
        break;
    }
    case psPaused:
        display_.SetStateText(Msg(36));
        display_.ShowPlayState(2);
        display_.SetTrayActive(false, 0);
        break;
    case psPlaying: {
        hasPlayed_ = true;
        ShowPlaying();
        const int info = display_.InfoBarCountdown();
        if (info >= 3 && info <= 59)
            display_.SetInfoBarCountdown(2);
        break;
    }
    case psMediaOpened:
        display_.PlaceProgressThumb(0);
        if (LocalFile())
            ShowLocalClipInformation();
        break;
    case psHalted:
        ShowStopped();
        break;
    case psVideoReady:
        ShowVideo();
        break;
    case psStopped:
    case psFailed:
        ShowStopped();
        if (!stoppedByUser_)
            FailOver();
        break;
    default:
        break;
    }
    Q_EMIT StateCodeHandled(newState);
}

void TfrmOrvaneVideo::ShowPlaying()
{
    try {
        StopSound();
        QCoreApplication::processEvents();
        ShowVideo();
        if (curPlayId_ == 0)
            TakeClipInformation();
        else if (curPlayId_ > 0)
            UpdateStatistics();
        if (!LocalFile())
            ShowNameOfAddress();
        display_.SetStateText(Msg(34));
        display_.SetTrayActive(true, 100);
        display_.ShowPlayState(1);
        display_.SetMemoryTrimCountdown(1);
    } catch (...) {
    }
}

void TfrmOrvaneVideo::ShowStopped()
{
    display_.SetStateText(Msg(35));
    display_.SetTrayActive(false, 0);
    display_.ShowPlayState(3);
    display_.SetElapsedText("00:00:00");
    display_.PlaceProgressThumb(0);
}

void TfrmOrvaneVideo::ShowSpeed()
{
    const int rate = Player() ? Player()->BitRate() : 0;
    display_.SetSpeedText(rate < 1 ? std::string() : std::to_string(rate / 1000) + " Kbps");
}

void TfrmOrvaneVideo::TakeClipInformation()
{
    TPlayer *player = Player();
    if (!player)
        return;
    if (!player->ClipTitle.empty())
        rblData.VRadioName = player->ClipTitle;
    rblData.VSpeed = std::to_string(player->BitRate() / 1000) + "K";
    if (!player->ClipAuthor.empty())
        rblData.VHomepage = player->ClipAuthor;
    if (!player->ClipCopyright.empty())
        rblData.VSchedule = player->ClipCopyright;
}

void TfrmOrvaneVideo::UpdateStatistics()
{
    if (IsSystemStationId(curPlayId_))
        return;
    try {
        bool changed = false;
        double elapsed = TimeOfDayNow() - startTime_;
        if (elapsed < 0)
            elapsed += 1; // opened before midnight
        const long seconds = std::lround(std::floor(elapsed / Second + 1e-6));
        const std::string validity = seconds <= 9 ? "4" : seconds >= 30 ? "2" : "3";
        if (rblData.VValidity != validity) {
            rblData.VValidity = validity;
            changed = true;
        }
        const int kbps = Player() ? Player()->BitRate() / 1000 : 0;
        if (kbps > 0) {
            rblData.VSpeed = std::to_string(kbps) + "K";
            changed = true;
        }
        if (addresses_.size() > 1 && addressIndex_ > 0) {
            std::vector<std::string> list = addresses_;
            const std::string playing = list[static_cast<size_t>(addressIndex_)];
            list.erase(list.begin() + addressIndex_);
            list.insert(list.begin(), playing);
            addresses_ = list;
            addressIndex_ = 0;
            const std::string joined = TRadioTable::JoinAddresses(list);
            if (joined != rblData.VStreamURL) {
                rblData.VStreamURL = joined;
                changed = true;
            }
        }
        if (changed)
            SaveUserRecord();
    } catch (...) {
    }
}

void TfrmOrvaneVideo::SaveUserRecord()
{
    try {
        TRadioTable table;
        table.SelectById(curPlayId_);
        if (!table.Open())
            return;
        table.LoadById(curPlayId_);
        table.VValidity = rblData.VValidity;
        table.VSpeed = rblData.VSpeed;
        table.VStreamURL = rblData.VStreamURL;
        table.SaveById(curPlayId_);
        table.Close();
    } catch (...) {
    }
}

void TfrmOrvaneVideo::FailOver()
{
    if (curPlayId_ < 0) {
        PlayNext(-1);
        return;
    }
    if (curPlayId_ == 0)
        return;
    if (addressIndex_ + 1 < static_cast<int>(addresses_.size())) {
        ++addressIndex_;
        PlaySound("error.wav", false);
        CurKind = StationKind();
        PlayCurURL();
        return;
    }
    addressIndex_ = 0;
    PlaySound("error.wav", false);
    if (!IsSystemStationId(curPlayId_) && rblData.VValidity != "1") {
        rblData.VValidity = "1";
        SaveUserRecord();
    }
    if (hasPlayed_ && reconnect_ && (retryLimit_ <= 0 || retryCount_ < retryLimit_))
        retryCountdown_ = retryDelay_;
}

// --- The check timer ------------------------------------------------------------------------

void TfrmOrvaneVideo::tmrCheckTimer()
{
    TPlayer *player = Player();
    const int state = player ? player->PlayState() : psIdle;
    if (state == psPlaying && display_.MainWindowShown() && !seeking_) {
        const std::string clock = SecondsToClock(player->Position() / 1000);
        display_.SetElapsedText(clock);
        if (player->Duration() > 0)
            display_.PlaceProgressThumb(static_cast<double>(player->Position()) / player->Duration());
        ShowSpeed();
    }
    if (state == psBuffering && display_.MainWindowShown()) {
        const int n = player->BufferingProgress();
        if (n > 0 && n < 100)
            display_.SetStateText(Msg(42) + "(" + std::to_string(n) + "%)");
        ShowSpeed();
    }
    if (retryCountdown_ > 0 && !stoppedByUser_) {
        if (--retryCountdown_ == 0) {
            addressIndex_ = 0;
            CurKind = StationKind();
            PlayCurURL();
            ++retryCount_;
        }
    }
}

// --- Names and video ----------------------------------------------------------------------------

void TfrmOrvaneVideo::ShowNameOfAddress()
{
    const std::string format = rblData.VFormat, url = rblData.VStreamURL;
    rblData.VFormat = std::string(1, CurKind);
    rblData.VStreamURL = CurrentAddress();
    const std::string hint = rblData.StationInfoText();
    rblData.VFormat = format;
    rblData.VStreamURL = url;
    std::string title = rblData.VRadioName;
    if (addresses_.size() >= 2)
        title += "(" + std::to_string(addressIndex_ + 1) + ")";
    display_.ShowName(title, hint);
    slblTitle->setText(QString::fromStdString(title));
    setWindowTitle(QString::fromStdString(title));
}

void TfrmOrvaneVideo::ShowLocalClipInformation()
{
    TPlayer *player = Player();
    if (!player)
        return;
    const std::string length = SecondsToText(player->Duration() / 1000);
    const std::string hint = Msg(37) + player->ClipTitle + "\r\n" + Msg(38) + player->ClipAuthor + "\r\n" + Msg(39) +
                             player->ClipCopyright + "\r\n" + Msg(40) + length + "\r\n" + Msg(41) + player->Url();
    const std::string title = player->ClipTitle + "(" + length + ")";
    display_.ShowName(title, hint);
    slblTitle->setText(QString::fromStdString(title));
    setWindowTitle(QString::fromStdString(title));
}

void TfrmOrvaneVideo::ShowVideo()
{
    try {
        TPlayer *player = Player();
        const bool wanted = videoFormVisible_ && VideoAllowed() && PlayerKind() != pkFlash;
        if (player && wanted && player->HasVideo()) {
            if (fullScreenWanted_)
                player->SetFullScreen(true);
            player->show();
            player->AfterShow();
            show();
        } else {
            if (player)
                player->hide();
            hide();
        }
    } catch (...) {
    }
}

void TfrmOrvaneVideo::contextMenuEvent(QContextMenuEvent *event) { pmMenu->popup(event->globalPos()); }

void TfrmOrvaneVideo::SetFullScreen(bool on)
{
    fullScreenWanted_ = on;
    if (TPlayer *player = Player())
        player->SetFullScreen(on);
}

void TfrmOrvaneVideo::ZoomToClip(int n)
{
    TPlayer *player = Player();
    if (!player || player->ClipWidth() <= 0 || player->ClipHeight() <= 0)
        return;
    if (player->FullScreen())
        player->SetFullScreen(false);
    fullScreenWanted_ = false;
    const QMargins m = layout()->contentsMargins();
    resize(n * player->ClipWidth() + m.left() + m.right(),
           n * player->ClipHeight() + TitleHeight + m.top() + m.bottom());
}

// The window has no frame: its edges and corners size it, its title moves it.
void TfrmOrvaneVideo::mousePressEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    const int edges = SizingEdgesAt(at.x(), at.y(), width(), height());
    if (event->button() == Qt::LeftButton && edges && windowHandle()) {
        Qt::Edges qtEdges;
        if (edges & seLeft) qtEdges |= Qt::LeftEdge;
        if (edges & seTop) qtEdges |= Qt::TopEdge;
        if (edges & seRight) qtEdges |= Qt::RightEdge;
        if (edges & seBottom) qtEdges |= Qt::BottomEdge;
        windowHandle()->startSystemResize(qtEdges);
        return;
    }
    QWidget::mousePressEvent(event);
}

void TfrmOrvaneVideo::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    const int edges = SizingEdgesAt(at.x(), at.y(), width(), height());
    const bool horizontal = edges & (seLeft | seRight), vertical = edges & (seTop | seBottom);
    if (horizontal && vertical)
        setCursor(((edges & seLeft) != 0) == ((edges & seTop) != 0) ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor);
    else if (horizontal)
        setCursor(Qt::SizeHorCursor);
    else if (vertical)
        setCursor(Qt::SizeVerCursor);
    else
        unsetCursor();
    QWidget::mouseMoveEvent(event);
}

bool TfrmOrvaneVideo::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == slblTitle) {
        if (event->type() == QEvent::MouseButtonDblClick) {
            SetFullScreen(true);
            return true;
        }
        if (event->type() == QEvent::MouseButtonPress &&
            static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton && windowHandle()) {
            windowHandle()->startSystemMove();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmOrvaneVideo::WMActivateInstance() { display_.BringToFront(); }
