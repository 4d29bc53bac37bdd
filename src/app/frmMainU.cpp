#include "app/frmMainU.h"

#include "app/Funs.h"
#include "app/GlobalUnit.h"
#include "app/Hints.h"
#include "app/Upgrade.h"
#include "app/frmAboutU.h"
#include "app/frmCloseU.h"
#include "appearance/LanguageU.h"
#include "appearance/MyDigitsPanel.h"
#include "appearance/MyScrollLabel.h"
#include "platform/IniFile.h"
#include "platform/ProcessControl.h"
#include "playback/StreamUrlParserUnit.h"
#include "stations/MyListBox.h"
#include "stations/frmPlayListU.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolTip>
#include <QUrl>
#include <QWindow>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

// A channel button's label: the caption is the channel number, Tag the
// station on it and the tooltip the station's name.
class TChannelLabel : public QLabel {
public:
    using QLabel::QLabel;
    int Tag = 0;
};

namespace {

constexpr int DesignWidth = 275;
constexpr int DesignHeight = 116;
constexpr int VolumeRepeatMs = 100;
constexpr int ChannelCount = 10;
constexpr int ChannelNumbers = 90; // pages 1-10, 11-20, ... 81-90

QString ToQ(const std::string &s) { return QString::fromStdString(s); }
std::string AppTitle() { return QApplication::applicationDisplayName().toStdString(); }
QRect ToQRect(const TSkinRect &r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

bool SameText(const std::string &a, const std::string &b)
{
    return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

// Text to a whole number; `def` when it is none.
int ToInt(const std::string &text, int def)
{
    bool ok = false;
    const int n = QString::fromStdString(text).trimmed().toInt(&ok);
    return ok ? n : def;
}

// The program's icon: the application's own, else the skin's still tray
// frame, else a plain disc, so that the tray icon can always be shown.
QIcon ProgramIcon(const TSkin &skin)
{
    if (!QApplication::windowIcon().isNull())
        return QApplication::windowIcon();
    if (!skin.TrayFrames().empty())
        return QIcon(QPixmap::fromImage(skin.TrayFrames().front()));
    QPixmap disc(16, 16);
    disc.fill(Qt::transparent);
    QPainter p(&disc);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0x2a, 0x9d, 0xd8));
    p.setPen(Qt::NoPen);
    p.drawEllipse(1, 1, 14, 14);
    return QIcon(disc);
}

} // namespace

TfrmMain::TfrmMain() : QWidget(nullptr, Qt::FramelessWindowHint), timedActions_(settings_, TickTargets())
{
    setObjectName("frmMain");
    setWindowTitle("Orvane");
    resize(DesignWidth, DesignHeight);
    setMouseTracking(true);
    setAcceptDrops(true);

    CreateUserIniFromShipped();
    InitLanguage();
    THints::Install();

    const std::string site = "http://www.orvane.net/";
    SiteUrl = site;
    Site2Url = "http://radio.orvane.net/";
    SearchDataUrl = site + "search_data/";
    QuestionUrl = site + "question/";
    SubmitRadioUrl = site + "submit_radio/";

    CreateDisplays();
    tmrCheck = new QTimer(this);
    tmrCheck->setObjectName("tmrCheck");
    tmrCheck->setInterval(1000);
    connect(tmrCheck, &QTimer::timeout, this, &TfrmMain::tmrCheckTimer);
    tmrDelay = new QTimer(this);
    tmrDelay->setObjectName("tmrDelay");
    connect(tmrDelay, &QTimer::timeout, this, &TfrmMain::tmrDelayTimer);
    CreateMenu();
    CreateTray();

    AddTranslatedWindow(this);
    QApplication::setApplicationDisplayName(windowTitle());
    tiTray->setToolTip(windowTitle());
    OnLanguageSwitched(this, [this] {
        QApplication::setApplicationDisplayName(windowTitle());
        tiTray->setToolTip(windowTitle());
    });

    frmOrvaneVideo_ = std::make_unique<TfrmOrvaneVideo>(*this);
    frmPlayList_ = std::make_unique<TfrmPlayList>(*frmOrvaneVideo_, skin_, *this, this);
    OnLanguageSwitched(this, [this] {
        // The tree of the new language; unsaved changes go to the old one first.
        frmPlayList_->SaveTree();
        frmPlayList_->ReloadTree(-1, -1);
        LoadChannels();
    });
    LoadSettings();
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::SetChannelFromTree(int number, int id, const std::string &hint)
{
    if (number < 1 || number > ChannelCount || lblNum[number - 1]->text().isEmpty())
        return;
    lblNum[number - 1]->Tag = id;
    lblNum[number - 1]->setToolTip(ToQ(hint));
}

void TfrmMain::MainKeyPress(QKeyEvent *event) { QCoreApplication::sendEvent(this, event); }

void TfrmMain::CreateUserIniFromShipped()
{
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::exists(UserIniFileName(), ec))
        return;
    if (fs::copy_file(DefaultIniFileName(), UserIniFileName(), ec))
        fs::permissions(UserIniFileName(), fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
}

void TfrmMain::CreateDisplays()
{
    auto label = [this](const char *name) {
        auto *l = new TScrollLabel(this);
        l->setObjectName(name);
        l->SetShowAccelChar(false);
        l->SetTransparent(true);
        l->SetDrawType(dtNone);
        // Displays only: presses go to the face beneath (buttons, moving).
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
        return l;
    };
    slblRadioName = label("slblRadioName");
    slblState = label("slblState");
    slblSpeed = label("slblSpeed");
    slblElapsed = label("slblElapsed");
    slblClock = label("slblClock");
    slblVolume = label("slblVolume");
    slblVolume->hide();

    // The name stops running while the mouse is on it; a click switches
    // between running and cut with an ellipsis.
    slblRadioName->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    connect(slblRadioName, &TScrollLabel::MouseEnter, this, [this] { slblRadioName->SetActive(false); });
    connect(slblRadioName, &TScrollLabel::MouseLeave, this, [this] { slblRadioName->SetActive(slblRadioName->Scroll()); });
    connect(slblRadioName, &TScrollLabel::Clicked, this, [this] {
        slblRadioName->SetScrollAuto(!slblRadioName->ScrollAuto());
        slblRadioName->SetEllipses(!slblRadioName->ScrollAuto());
    });

    auto digits = [this](const char *name, int length) {
        auto *d = new TDigitsPanel(this);
        d->setObjectName(name);
        d->SetBevelOuter(bvNone);
        d->SetBevelInner(bvNone);
        d->SetTransparent(true);
        d->SetLength(length);
        d->setAttribute(Qt::WA_TransparentForMouseEvents);
        d->hide();
        return d;
    };
    dpElapsed = digits("dpElapsed", 8);
    dpClock = digits("dpClock", 5);

    for (int i = 0; i < ChannelCount; ++i) {
        auto *l = new TChannelLabel(this);
        l->setObjectName(QString("lblNum%1").arg(i + 1));
        l->setAlignment(Qt::AlignCenter);
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
        l->hide();
        lblNum[i] = l;
    }
}

void TfrmMain::CreateMenu()
{
    pmMainMenu = new QMenu(this);
    pmMainMenu->setObjectName("pmMainMenu");
    pmTreeMenu = new QMenu(this);
    pmTreeMenu->setObjectName("pmTreeMenu");
    connect(pmTreeMenu, &QMenu::triggered, this, [this](QAction *entry) {
        if (entry->data().isValid())
            frmOrvaneVideo_->PlayById(entry->data().toInt());
    });

    auto add = [this](QMenu *menu, const char *name, const char *caption, auto handler) {
        QAction *a = menu->addAction(caption);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    // Entries whose windows are not part of the program yet.
    auto later = [](QMenu *menu, const char *name, const char *caption) {
        QAction *a = menu->addAction(caption);
        a->setObjectName(name);
        a->setEnabled(false);
        return a;
    };
    auto submenu = [](QMenu *menu, const char *name, const char *caption) {
        QMenu *sub = menu->addMenu(caption);
        sub->setObjectName(name);
        return sub;
    };
    auto browse = [](const std::string &address) { return [address] { OpenInBrowser(address); }; };

    QMenu *m = pmMainMenu;
    nSwitchMode = add(m, "nSwitchMode", "Switch &Mode", &TfrmMain::nSwitchModeClick);
    nShowPlayList = add(m, "nShowPlayList", "Show Play&List", [this](bool on) {
        frmPlayList_->SetListVisible(on);
        update();
    });
    nShowPlayList->setCheckable(true);
    later(m, "nRecorder", "&Recorder...");
    later(m, "nTasks", "Play && Record &Tasks...");
    QMenu *play = submenu(m, "nPlayMenu", "&Play");
    add(play, "nOpenFiles", "Open &File(s)...", &TfrmMain::nOpenFilesClick);
    add(play, "nOpenDirectory", "Open &Directory...", &TfrmMain::nOpenDirectoryClick);
    later(play, "nOpenLocation", "Open &Location...");
    QMenu *control = submenu(m, "nPlayControl", "Play &Control");
    nMute = add(control, "nMute", "&Mute", &TfrmMain::nMuteClick);
    nMute->setCheckable(true);
    add(control, "nIncVol", "&Increase Volume", &TfrmMain::nIncVolClick);
    add(control, "nDecVol", "&Decrease Volume", &TfrmMain::nDecVolClick);
    add(control, "nPreview", "P&revious", &TfrmMain::nPreviewClick);
    add(control, "nPlay", "&Play", &TfrmMain::nPlayClick);
    add(control, "nPause", "P&ause", &TfrmMain::nPauseClick);
    add(control, "nStop", "&Stop", &TfrmMain::nStopClick);
    add(control, "nNext", "&Next", &TfrmMain::nNextClick);
    nAlwaysOnTop = add(m, "nAlwaysOnTop", "Always &on top", [this](bool on) { SetAlwaysOnTop(on); });
    nAlwaysOnTop->setCheckable(true);
    later(m, "nOptions", "&Options");
    QMenu *tools = submenu(m, "nTools", "Too&ls");
    add(tools, "nSubmitRadio", "Submit &Radio...", browse(SubmitRadioUrl));
    add(tools, "nReportProblems", "Report &Problems...", browse(QuestionUrl));
    later(tools, "nUpdateData", "&Update Data...");
    later(tools, "nUpgrade", "Up&grade..");
    later(tools, "nTalkingClock", "&Talking Clock");
    later(tools, "nAutoTalkingClock", "Automatically &Talking Clock...");
    later(tools, "nAutoShutDown", "Automatically &Shut Down...");
    later(tools, "nAdjustTime", "&Adjust Time...");
    nSkins = submenu(m, "nSkins", "&Skins");
    nLanguage = submenu(m, "nLanguage", "&Language");
    QAction *nHelp = add(m, "nHelp", "&Help", browse(SiteUrl + "help/"));
    nHelp->setVisible(false);
    nHelp->setShortcut(Qt::Key_F1);
    addAction(nHelp); // reachable by its key while hidden in the menu
    add(m, "nWebRadio", "&Web Radio", browse(Site2Url));
    add(m, "nAbout", "&About...", &TfrmMain::nAboutClick);
    nHide = add(m, "nHide", "&Hide", &TfrmMain::nHideClick);
    nShow = add(m, "nShow", "&Show", &TfrmMain::nShowClick);
    m->addSeparator();
    add(m, "nExit", "E&xit", &QWidget::close);
    add(m, "nHideAll", "Hi&de All", &TfrmMain::nHideAllClick)->setVisible(false);

    connect(pmMainMenu, &QMenu::aboutToShow, this, [this] {
        FillSkinsMenu();
        FillLanguageMenu(nLanguage);
        nShowPlayList->setChecked(ListVisible());
        nMute->setChecked(frmOrvaneVideo_->Muted());
    });
}

void TfrmMain::CreateTray()
{
    tiTray = new QSystemTrayIcon(this);
    tiTray->setObjectName("tiTray");
    tiTray->setContextMenu(pmMainMenu);
    connect(tiTray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            tiTrayClick();
        else if (reason == QSystemTrayIcon::DoubleClick)
            tiTrayDblClick();
    });
    tmrTrayFrame = new QTimer(this);
    connect(tmrTrayFrame, &QTimer::timeout, this, &TfrmMain::NextTrayFrame);
}

// ---- Settings ---------------------------------------------------------------

void TfrmMain::LoadSettings()
{
    IniFile user(UserIniFileName());
    SeedPackageVersions(user, IniFile(DefaultIniFileName()), CurLng());
    // The skin first: the default place of the window depends on its size.
    skinLoaded_ = skin_.ApplySkin(user.ReadString("Skin", "SkinName", "Default"));
    TWindowMetrics metrics;
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        metrics.WorkAreaWidth = screen->availableGeometry().width();
        metrics.WorkAreaHeight = screen->availableGeometry().height();
    }
    metrics.MainWidth = skinLoaded_ ? skin_.MainFace().width() : DesignWidth;
    metrics.MainHeight = skinLoaded_ ? skin_.MainFace().height() : DesignHeight;
    ReadUserSettings(user, metrics, settings_);
    settings_.CurLng = CurLng();

    TfrmOrvaneVideo &video = *frmOrvaneVideo_;
    video.SetCurPlayID(settings_.CurPlayID);
    video.SetUserUrl(EncodeCurUserUrl(settings_.CurUserUrl));
    video.SetVolume(settings_.Volume);
    video.SetBalance(settings_.Balance);
    video.SetReconnect(settings_.Reconnect, settings_.RetryNum, settings_.RetryDelay);
    video.EnableSounds(settings_.EnableSound);
    video.SetVideoFormVisible(settings_.VideoFormVisible);

    nAlwaysOnTop->setChecked(settings_.AlwaysOnTop);
    THints::SetEnabled(settings_.ShowHint);
    move(settings_.MainLeft, settings_.MainTop);
    ApplyFace();
    SetTrayAnimation(settings_.EnabledAnimate);
    SetTrayIconVisible(settings_.TrayIconVisible);

    TfrmPlayList &list = *frmPlayList_;
    if (skinLoaded_)
        list.ApplySkin();
    list.setGeometry(settings_.ListLeft, settings_.ListTop, settings_.ListWidth, settings_.ListHeight);
    list.SetClickMode(settings_.ClickMode);
    // A language without station data yet is fetched by the data update.
    list.ReloadTree(settings_.RootNodeIndex, settings_.SelectNodeIndex);
    list.MusicList().LoadMusicList(settings_.SelectItemIndex);

    // Without a skin there is nothing to show: the tray icon is the way in.
    showAtStart_ = !settings_.AutoHide && skinLoaded_;
    list.SetRadioMode(settings_.TreeVisible);
    list.SetListVisible(skinLoaded_ && settings_.ListVisible && showAtStart_);
    ShowChannelPage(1);
    LoadChannels();

    timedActions_.ScheduleFirstUpdateCheck(NowDateTime());
    tmrCheck->start();
    // The first tick runs as soon as the event loop does: auto-play and the
    // clock would otherwise wait a whole interval after the window is up.
    QTimer::singleShot(0, this, [this] {
        if (tmrCheck->isActive())
            tmrCheckTimer();
    });
}

void TfrmMain::SaveSettings()
{
    settings_.MainLeft = x();
    settings_.MainTop = y();
    settings_.AlwaysOnTop = nAlwaysOnTop->isChecked();
    const TfrmPlayList &list = *frmPlayList_;
    const QRect place = list.geometry();
    settings_.ListLeft = place.x();
    settings_.ListTop = place.y();
    settings_.ListWidth = place.width();
    settings_.ListHeight = place.height();
    settings_.ListVisible = list.ListVisible();
    settings_.TreeVisible = list.IsRadioMode();
    settings_.ClickMode = list.GetClickMode();
    const TTreePosition playing = list.RootIndexOf();
    settings_.RootNodeIndex = playing.RootIndex;
    settings_.SelectNodeIndex = playing.NodeIndex;
    settings_.SelectItemIndex = list.MusicList().SelectedIndex();
    const TfrmOrvaneVideo &video = *frmOrvaneVideo_;
    settings_.CurPlayID = video.CurPlayID();
    if (settings_.CurPlayID == 0)
        settings_.CurUserUrl = DecodeCurUserUrl(video.GetUserUrl());
    settings_.Volume = video.Volume();
    settings_.Balance = video.Balance();
    settings_.SkinName = skin_.SkinName();
    settings_.CurLng = CurLng();
    IniFile user(UserIniFileName());
    WriteUserSettings(user, settings_);
}

// ---- Skin -------------------------------------------------------------------

void TfrmMain::ApplyFace()
{
    if (!skinLoaded_)
        return;
    setFixedSize(skin_.MainFace().size());
    setMask(skin_.MainOutline());
    skin_.ApplyToLabel(slblRadioName, slName);
    skin_.ApplyToLabel(slblVolume, slName);
    skin_.ApplyToLabel(slblState, slState);
    skin_.ApplyToLabel(slblSpeed, slSpeed);
    skin_.ApplyToLabel(slblElapsed, slElapsed);
    skin_.ApplyToLabel(slblClock, slClock);
    skin_.ApplyToDigits(dpElapsed, false);
    skin_.ApplyToDigits(dpClock, true);

    const TSkinIni &ini = skin_.Ini();
    QPalette numbers = lblNum[0]->palette();
    numbers.setColor(QPalette::WindowText, ToQColor(ini.NumsFontColor));
    for (int i = 0; i < ChannelCount; ++i) {
        // At its default place the face paints the caption (pressed looks
        // shift it); elsewhere the label shows it.
        lblNum[i]->setGeometry(ToQRect(ini.NumLabels[i]));
        lblNum[i]->setFont(skin_.NumsFont());
        lblNum[i]->setPalette(numbers);
        lblNum[i]->setVisible(!ini.NumLabelAtDefault[i]);
    }

    for (int k = 0; k < SliderCount; ++k)
        face_.Sliders[k] = skin_.MakeSlider(TSliderKind(k));
    const TfrmOrvaneVideo &video = *frmOrvaneVideo_;
    PlaceVolumeThumb(video.Volume() / 100.0);
    PlaceBalanceThumb((video.Balance() + 100) / 200.0);
    PlaceProgressThumb(video.ProgressFraction());
    UpdateTrayIcon();
    update();
}

bool TfrmMain::SelectSkin(const std::string &name)
{
    skinLoaded_ = skin_.ApplySkin(name);
    if (!skinLoaded_) {
        hide();
        return false;
    }
    ApplyFace();
    if (!isVisible())
        nShowClick();
    return true;
}

void TfrmMain::FillSkinsMenu()
{
    nSkins->clear();
    std::vector<std::string> names;
    ListSkins(SkinsPath(), names);
    std::sort(names.begin(), names.end());
    for (const std::string &name : names) {
        QAction *entry = nSkins->addAction(ToQ(name));
        entry->setCheckable(true);
        entry->setChecked(SameText(name, skin_.SkinName()));
        // Queued: the menu that holds the entry is rebuilt by what it starts.
        connect(entry, &QAction::triggered, this, [this, name] { SelectSkin(name); }, Qt::QueuedConnection);
    }
    nSkins->addSeparator();
    QAction *more = nSkins->addAction(ToQ(Msg(23)));
    connect(more, &QAction::triggered, this, [this] { OpenInBrowser(SiteUrl + "skins/"); });
}

// ---- Face -------------------------------------------------------------------

bool TfrmMain::MusicMode() const { return !frmPlayList_->IsRadioMode(); }
bool TfrmMain::ListVisible() const { return frmPlayList_->ListVisible(); }

void TfrmMain::SyncFaceState()
{
    const TfrmOrvaneVideo &video = *frmOrvaneVideo_;
    face_.CanPause = video.IsPlaying();
    face_.Muted = video.Muted();
    face_.MusicMode = MusicMode();
    face_.ListHidden = !ListVisible();
    face_.Recording = IsRecording();
    for (int i = 0; i < ChannelCount; ++i)
        face_.ChannelCaptions[i] = lblNum[i]->text();
}

void TfrmMain::paintEvent(QPaintEvent *)
{
    if (!skinLoaded_)
        return;
    SyncFaceState();
    QPainter p(this);
    skin_.PaintMainFace(p, face_);
}

int TfrmMain::TrackAt(QPoint at) const
{
    for (int k = 0; k < SliderCount; ++k) {
        const TSkinSlider &slider = face_.Sliders[k];
        if (slider.Track().IsEmpty() || (k == skProgress && !frmOrvaneVideo_->HasDuration()))
            continue;
        if (slider.InTrack(at.x(), at.y()))
            return k;
    }
    return -1;
}

void TfrmMain::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !skinLoaded_) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    if (const int k = TrackAt(at); k >= 0) {
        face_.Sliders[k].Press(at.x(), at.y());
        if (k == skProgress)
            frmOrvaneVideo_->SetSeeking(true);
        else
            ShowVolumeLabel(true);
        SliderMoved(k);
        update();
        return;
    }
    face_.PressedSlot = skin_.HitMainSlot(at.x(), at.y());
    face_.PressedInside = face_.PressedSlot >= 0;
    if (face_.PressedSlot >= 0) {
        if (face_.PressedSlot == msAddVolume || face_.PressedSlot == msDecVolume)
            StartVolumeRepeat();
        update();
        return;
    }
    // Anywhere else the face moves the window.
    if (skin_.MoveResizeStyle() == 1 && windowHandle() && windowHandle()->startSystemMove())
        return;
    windowDrag_ = true;
    dragOrigin_ = event->globalPosition().toPoint() - pos();
}

void TfrmMain::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    for (int k = 0; k < SliderCount; ++k) {
        TSkinSlider &slider = face_.Sliders[k];
        if (slider.Dragging()) {
            slider.DragTo(at.x(), at.y());
            SliderMoved(k);
            update();
            return;
        }
    }
    if (face_.PressedSlot >= 0 && skin_.HitMainSlot(at.x(), at.y()) != face_.PressedSlot) {
        // Leaving the held button lets it go without its action.
        face_.PressedSlot = -1;
        face_.PressedInside = false;
        StopVolumeRepeat();
        update();
    }
    if (windowDrag_) {
        const QRect before = geometry();
        move(event->globalPosition().toPoint() - dragOrigin_);
        frmPlayList_->MainWindowMoved(before);
    }
    UpdateHint(at);
}

void TfrmMain::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    windowDrag_ = false;
    for (int k = 0; k < SliderCount; ++k) {
        if (face_.Sliders[k].Dragging()) {
            face_.Sliders[k].Release();
            SliderReleased(k);
            update();
            return;
        }
    }
    const int slot = face_.PressedSlot;
    if (slot < 0)
        return;
    const QPoint at = event->position().toPoint();
    const bool inside = skin_.HitMainSlot(at.x(), at.y()) == slot;
    face_.PressedSlot = -1;
    face_.PressedInside = false;
    StopVolumeRepeat();
    update();
    if (inside)
        SlotClick(slot); // last: it may close the window or open a dialog
}

void TfrmMain::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    UpdateHint(QPoint(-1, -1));
}

void TfrmMain::SliderMoved(int kind)
{
    TfrmOrvaneVideo &video = *frmOrvaneVideo_;
    const double f = face_.Sliders[kind].Fraction();
    switch (kind) {
    case skVolume: {
        video.SetVolume(static_cast<int>(std::lrint(f * 100)));
        slblVolume->SetCaption(ToQ(FormatMessage(Msg(27), {video.Volume()})));
        break;
    }
    case skBalance: {
        int balance = 0;
        std::string text = Msg(26);
        if (f < 0.5) {
            const int v = static_cast<int>(std::lrint((0.5 - f) * 200));
            text = FormatMessage(Msg(24), {v});
            balance = -v;
        } else if (f > 0.5) {
            const int v = static_cast<int>(std::lrint((f - 0.5) * 200));
            text = FormatMessage(Msg(25), {v});
            balance = v;
        }
        video.SetBalance(balance);
        slblVolume->SetCaption(ToQ(text));
        break;
    }
    default:
        video.SeekTo(f); // while seeking only the time at the thumb is shown
        break;
    }
}

void TfrmMain::SliderReleased(int kind)
{
    if (kind == skProgress) {
        frmOrvaneVideo_->SetSeeking(false);
        frmOrvaneVideo_->SeekTo(face_.Sliders[kind].Fraction());
    } else {
        ShowVolumeLabel(false);
    }
}

void TfrmMain::ShowVolumeLabel(bool on)
{
    if (on)
        slblVolume->SetCaption(QString());
    slblVolume->setVisible(on);
    slblRadioName->setVisible(!on);
}

void TfrmMain::StartVolumeRepeat()
{
    face_.VolumeRepeat = true;
    ShowVolumeLabel(true);
    trayMenuPending_ = false;
    tmrDelay->setSingleShot(false);
    tmrDelay->start(VolumeRepeatMs);
}

void TfrmMain::StopVolumeRepeat()
{
    if (!face_.VolumeRepeat)
        return;
    face_.VolumeRepeat = false;
    tmrDelay->stop();
    ShowVolumeLabel(false);
}

void TfrmMain::tmrDelayTimer()
{
    if (trayMenuPending_) {
        // No double click followed the tray click: the station menu.
        trayMenuPending_ = false;
        tmrDelay->stop();
        BringToFront();
        pmTreeMenu->clear();
        frmPlayList_->BuildStationMenu(pmTreeMenu);
        pmTreeMenu->popup(QCursor::pos());
        return;
    }
    if (face_.VolumeRepeat) {
        if (face_.PressedSlot == msAddVolume)
            nIncVolClick();
        else
            nDecVolClick();
        update();
    }
}

void TfrmMain::UpdateHint(QPoint at)
{
    std::string hint;
    auto strictlyIn = [&](const TSkinRect &r) { return r.Left < at.x() && at.x() < r.Right && r.Top < at.y() && at.y() < r.Bottom; };
    if (strictlyIn(face_.Sliders[skVolume].Track()))
        hint = Msg(43);
    else if (strictlyIn(face_.Sliders[skBalance].Track()))
        hint = Msg(44);
    else if (strictlyIn(face_.Sliders[skProgress].Track()))
        hint = Msg(45);
    else if (const int slot = skin_.HitMainSlot(at.x(), at.y()); slot >= 0)
        hint = SlotHint(slot);
    if (hint == hint_)
        return;
    hint_ = hint;
    QToolTip::hideText();
    setToolTip(ToQ(hint));
}

std::string TfrmMain::SlotHint(int slot) const
{
    const TfrmOrvaneVideo &video = *frmOrvaneVideo_;
    if (slot >= msNum1 && slot <= msNum10)
        return MusicMode() ? std::string() : ChannelHint(slot - msNum1);
    switch (slot) {
    case msPageUp: return Msg(3);
    case msPageDown: return Msg(4);
    case msMainMenu: return Msg(5);
    case msHide: return Msg(6);
    case msClose: return FormatMessage(Msg(7), {AppTitle()});
    case msRecord: return Msg(IsRecording() ? 9 : 8);
    case msOpenFile: return Msg(10);
    case msPlayListFormShow: return Msg(ListVisible() ? 11 : 12);
    case msMute: return Msg(video.Muted() ? 13 : 14);
    case msPrevious: return Msg(15);
    case msStop: return Msg(16);
    case msPause: return Msg(17);
    case msPlay: return Msg(18);
    case msNext: return Msg(19);
    case msAddVolume: return Msg(20);
    case msDecVolume: return Msg(21);
    case msMP3: return Msg(MusicMode() ? 47 : 46);
    case msAbout: return FormatMessage(Msg(22), {AppTitle()});
    case msWebsite: return Msg(48);
    case msVoiceClock: return Msg(49);
    default: return {};
    }
}

void TfrmMain::SlotClick(int slot)
{
    if (slot >= msNum1 && slot <= msNum10) {
        PlayChannel(slot - msNum1);
        return;
    }
    switch (slot) {
    case msPageUp: PageUp(); break;
    case msPageDown: PageDown(); break;
    case msMainMenu: pmMainMenu->popup(QCursor::pos()); break;
    case msHide: nHideClick(); break;
    case msClose: CloseButton(); break;
    case msRecord: ToggleRecording(); break;
    case msOpenFile:
        // The station menu in radio mode, opening files in music mode.
        if (MusicMode()) {
            nOpenFilesClick();
        } else {
            pmTreeMenu->clear();
            frmPlayList_->BuildStationMenu(pmTreeMenu);
            pmTreeMenu->popup(QCursor::pos());
        }
        break;
    case msPlayListFormShow:
        frmPlayList_->SetListVisible(!frmPlayList_->ListVisible());
        break;
    case msMute: nMuteClick(); break;
    case msPrevious: nPreviewClick(); break;
    case msStop: nStopClick(); break;
    case msPause: nPauseClick(); break;
    case msPlay: nPlayClick(); break;
    case msNext: nNextClick(); break;
    case msAddVolume: nIncVolClick(); break;
    case msDecVolume: nDecVolClick(); break;
    case msMP3: nSwitchModeClick(); break;
    case msAbout: nAboutClick(); break;
    case msWebsite: OpenInBrowser(SiteUrl); break;
    default: break; // the voice clock waits for the talking clock; bMulti does nothing
    }
    update();
}

// ---- Sliders and volume -----------------------------------------------------

void TfrmMain::PlaceVolumeThumb(double fraction)
{
    if (!face_.Sliders[skVolume].Dragging())
        face_.Sliders[skVolume].SetFraction(fraction);
    update();
}

void TfrmMain::PlaceBalanceThumb(double fraction)
{
    if (!face_.Sliders[skBalance].Dragging())
        face_.Sliders[skBalance].SetFraction(fraction);
    update();
}

void TfrmMain::PlaceProgressThumb(double fraction)
{
    TSkinSlider &slider = face_.Sliders[skProgress];
    if (slider.Dragging())
        return;
    slider.SetFraction(fraction);
    update(ToQRect(slider.Track()));
}

void TfrmMain::ChangeVolume(int delta)
{
    TfrmOrvaneVideo &video = *frmOrvaneVideo_;
    video.SetVolume(video.Volume() + delta);
    PlaceVolumeThumb(video.Volume() / 100.0);
    slblVolume->SetCaption(ToQ(FormatMessage(Msg(27), {video.Volume()})));
}

void TfrmMain::nIncVolClick() { ChangeVolume(skin_.Ini().VolumeStep()); }
void TfrmMain::nDecVolClick() { ChangeVolume(-skin_.Ini().VolumeStep()); }

// ---- Channels ---------------------------------------------------------------

void TfrmMain::ShowChannelPage(int first)
{
    for (int i = 0; i < ChannelCount; ++i)
        lblNum[i]->setText(QString::number(first + i));
    update();
}

void TfrmMain::PageUp()
{
    const int n = ToInt(ChannelCaption(0), 0) - ChannelCount;
    if (n >= 0) {
        ShowChannelPage(n);
        LoadChannels();
    }
}

void TfrmMain::PageDown()
{
    // A caption that is no number starts again at 1.
    const int n = ToInt(ChannelCaption(0), 1 - ChannelCount) + ChannelCount;
    if (n <= ChannelNumbers) {
        ShowChannelPage(n);
        LoadChannels();
    }
}

void TfrmMain::LoadChannels()
{
    const IniFile user(UserIniFileName());
    const bool ownList = user.SectionExists("Channel");
    for (int i = 0; i < ChannelCount; ++i) {
        TChannelEntry entry;
        if (!ownList) {
            // Without a list of their own the channels are the tree's, on every page.
            entry = frmPlayList_->ChannelStation(i);
        } else if (!lblNum[i]->text().isEmpty()) {
            entry = DecodeChannel(user.ReadString("Channel", ChannelCaption(i), ""));
        }
        lblNum[i]->Tag = entry.ID;
        lblNum[i]->setToolTip(ToQ(entry.Name));
    }
}

void TfrmMain::PlayChannel(int index)
{
    if (index < 0 || index >= ChannelCount)
        return;
    if (!MusicMode()) {
        frmOrvaneVideo_->PlayById(lblNum[index]->Tag);
        return;
    }
    const int number = ToInt(ChannelCaption(index), 0);
    if (number > 0 && frmPlayList_->SelectMusicEntry(number - 1))
        frmOrvaneVideo_->PlayMusicEntry();
}

std::string TfrmMain::ChannelCaption(int index) const { return lblNum[index]->text().toStdString(); }
int TfrmMain::ChannelTag(int index) const { return lblNum[index]->Tag; }
std::string TfrmMain::ChannelHint(int index) const { return lblNum[index]->toolTip().toStdString(); }

// ---- Transport --------------------------------------------------------------

void TfrmMain::nPlayClick()
{
    TfrmOrvaneVideo &video = *frmOrvaneVideo_;
    if (video.CurPlayID() != 0 || !video.Addresses().empty()) {
        video.PlayPause();
        return;
    }
    // Nothing chosen yet: the list's next entry.
    const int id = frmPlayList_->NextItem(0);
    if (id == 0)
        return;
    video.SetCurPlayID(id);
    video.Play();
}

void TfrmMain::nStopClick() { frmOrvaneVideo_->StopPlaying(); }
void TfrmMain::nPauseClick() { frmOrvaneVideo_->Pause(); }
void TfrmMain::nNextClick() { frmOrvaneVideo_->PlayNext(0); }
void TfrmMain::nPreviewClick() { frmOrvaneVideo_->PlayPrevious(); }

void TfrmMain::nMuteClick()
{
    frmOrvaneVideo_->SetMuted(!frmOrvaneVideo_->Muted());
    update();
}

void TfrmMain::nSwitchModeClick()
{
    frmPlayList_->SetRadioMode(!frmPlayList_->IsRadioMode());
    update();
}

// ---- Showing and hiding -----------------------------------------------------

void TfrmMain::nShowClick()
{
    if (!skinLoaded_)
        return;
    timedActions_.SetInfoRotationCountdown(5);
    if (!showAtStart_) {
        // Hidden since the start: the list window takes its saved visibility now.
        showAtStart_ = true;
        frmPlayList_->SetListVisible(settings_.ListVisible);
    }
    showNormal();
    raise();
    activateWindow();
}

void TfrmMain::nHideClick()
{
    // Without the tray icon a hidden window could not come back: minimise.
    if (tiTray->isVisible())
        hide();
    else
        showMinimized();
}

void TfrmMain::nHideAllClick()
{
    hideAll_ = !hideAll_;
    if (hideAll_) {
        hide();
        tiTray->hide();
    } else {
        tiTray->setVisible(settings_.TrayIconVisible);
        nShowClick();
    }
}

void TfrmMain::BringToFront()
{
    nShowClick();
    raise();
    activateWindow();
}

void TfrmMain::SetAlwaysOnTop(bool on)
{
    nAlwaysOnTop->setChecked(on);
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (visible)
        show(); // changing window flags hides the window
}

void TfrmMain::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    nHide->setVisible(true);
    nShow->setVisible(false);
    if (nAlwaysOnTop->isChecked() && !(windowFlags() & Qt::WindowStaysOnTopHint))
        SetAlwaysOnTop(true);
}

void TfrmMain::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    nHide->setVisible(false);
    nShow->setVisible(true);
    timedActions_.SetMemoryTrimCountdown(1);
}

void TfrmMain::contextMenuEvent(QContextMenuEvent *event) { pmMainMenu->popup(event->globalPos()); }

void TfrmMain::nAboutClick()
{
    TfrmAbout about(this, SiteUrl);
    about.exec();
}

void TfrmMain::CloseButton()
{
    if (!settings_.NotShowCloseForm) {
        TfrmClose choice(this);
        choice.SetCloseToTray(settings_.CloseToTray);
        if (choice.exec() == QDialog::Accepted) {
            settings_.NotShowCloseForm = choice.NotShowNextTime();
            settings_.CloseToTray = choice.CloseToTray();
        }
    }
    if (settings_.CloseToTray) {
        SetTrayIconVisible(true); // the hidden program stays reachable
        nHideClick();
    } else {
        close();
    }
}

// ---- Tray icon --------------------------------------------------------------

void TfrmMain::SetTrayIconVisible(bool on)
{
    settings_.TrayIconVisible = on;
    UpdateTrayIcon();
    tiTray->setVisible(on && !hideAll_);
}

void TfrmMain::SetTrayAnimation(bool on)
{
    settings_.EnabledAnimate = on;
    UpdateTrayAnimation();
}

void TfrmMain::SetTrayActive(bool active, int intervalMs)
{
    trayActive_ = active;
    if (intervalMs > 0)
        trayInterval_ = intervalMs;
    UpdateTrayAnimation();
}

bool TfrmMain::TrayAnimating() const { return tmrTrayFrame->isActive(); }

void TfrmMain::UpdateTrayAnimation()
{
    const bool run = trayActive_ && settings_.EnabledAnimate && skin_.TrayFrames().size() > 1;
    if (run) {
        const int interval = trayInterval_ > 0 ? trayInterval_ : VolumeRepeatMs;
        if (!tmrTrayFrame->isActive() || tmrTrayFrame->interval() != interval)
            tmrTrayFrame->start(interval);
        return;
    }
    tmrTrayFrame->stop();
    trayFrame_ = 0;
    UpdateTrayIcon();
}

void TfrmMain::NextTrayFrame()
{
    const auto &frames = skin_.TrayFrames();
    if (frames.empty())
        return;
    trayFrame_ = (trayFrame_ + 1) % static_cast<int>(frames.size());
    UpdateTrayIcon();
}

void TfrmMain::UpdateTrayIcon()
{
    const auto &frames = skin_.TrayFrames();
    if (settings_.EnabledAnimate && !frames.empty())
        tiTray->setIcon(QIcon(QPixmap::fromImage(frames[std::min<size_t>(trayFrame_, frames.size() - 1)])));
    else
        tiTray->setIcon(ProgramIcon(skin_));
}

void TfrmMain::ShowBalloon(const std::string &text)
{
    tiTray->showMessage(ToQ(Msg(2) + "-" + AppTitle()), ToQ(text));
}

void TfrmMain::tiTrayClick()
{
    if (settings_.TrayClickTree) {
        // Wait whether a double click follows.
        trayMenuPending_ = true;
        tmrDelay->setSingleShot(true);
        tmrDelay->start(QApplication::doubleClickInterval());
    } else if (isVisible() && !isMinimized()) {
        nHideClick();
    } else {
        nShowClick();
    }
}

void TfrmMain::tiTrayDblClick()
{
    trayMenuPending_ = false;
    tmrDelay->stop();
    nShowClick();
}

// ---- Opening files ----------------------------------------------------------

void TfrmMain::PlayCurrentMusicEntry()
{
    frmPlayList_->SetRadioMode(false);
    QCoreApplication::processEvents();
    frmPlayList_->SelectMusicEntry(0);
    frmOrvaneVideo_->PlayMusicEntry();
    update();
}

void TfrmMain::PlayFilesAsMusic(const std::vector<std::string> &files)
{
    TMyListBox &music = frmPlayList_->MusicList();
    music.ClearAll();
    if (music.AddFiles(files) > 0)
        PlayCurrentMusicEntry();
}

void TfrmMain::nOpenFilesClick()
{
    if (frmPlayList_->MusicList().OpenMusicFiles())
        PlayCurrentMusicEntry();
}

void TfrmMain::nOpenDirectoryClick()
{
    TMyListBox &music = frmPlayList_->MusicList();
    std::string folder = music.LastFolder();
    if (!SelectFolder(Msg(29), "", folder))
        return;
    music.SetLastFolder(folder);
    PlayFilesAsMusic({folder});
}

// ---- Drag and drop ----------------------------------------------------------

void TfrmMain::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls() || event->mimeData()->hasText())
        event->acceptProposedAction();
}

void TfrmMain::dropEvent(QDropEvent *event)
{
    event->acceptProposedAction();
    DropItem(*event->mimeData());
}

void TfrmMain::DropItem(const QMimeData &data)
{
    std::string link, file;
    for (const QUrl &url : data.urls()) {
        if (!url.isLocalFile()) {
            link = url.toString().toStdString();
            break;
        }
        if (file.empty())
            file = url.toLocalFile().toStdString();
    }
    if (link.empty() && file.empty() && data.hasText())
        link = data.text().trimmed().section('\n', 0, 0).trimmed().toStdString();
    const std::string item = link.empty() ? file : link;
    if (item.empty())
        return;
    // A ".zip" is a station data package, installed by the station list
    // window's manual update, which is not part of the program yet.
    const std::string ext = QString::fromStdString(std::filesystem::path(item).extension().string()).toLower().toStdString();
    if (ext == ".zip")
        return;
    if (link.empty()) {
        std::vector<std::string> files;
        for (const QUrl &url : data.urls())
            if (url.isLocalFile())
                files.push_back(url.toLocalFile().toStdString());
        PlayFilesAsMusic(files);
        return;
    }
    // An address whose player cannot be told from it waits for the open
    // location dialog, which lets the user choose.
    std::string probe = link;
    if (ClassifyStreamAddress(probe) != pkAuto)
        frmOrvaneVideo_->PlayAddress(link, std::string(), pkAuto);
}

// ---- Timers and shutdown ----------------------------------------------------

TTimedTargets TfrmMain::TickTargets()
{
    TTimedTargets t;
    t.MainWindowShown = [this] { return isVisible(); };
    t.ShowClock = [this](const std::string &hhnn) {
        slblClock->SetCaption(ToQ(hhnn));
        dpClock->SetValue(ToQ(hhnn));
    };
    t.TrimWorkingSet = [] { TrimWorkingSet(); };
    t.Play = [this] { frmOrvaneVideo_->Play(); };
    t.SaveTree = [this] { frmPlayList_->SaveTree(); };
    return t;
}

void TfrmMain::tmrCheckTimer() { timedActions_.Tick(NowDateTime()); }

void TfrmMain::SetStateText(const std::string &text) { slblState->SetCaption(ToQ(text)); }
void TfrmMain::SetSpeedText(const std::string &text) { slblSpeed->SetCaption(ToQ(text)); }

void TfrmMain::SetElapsedText(const std::string &text)
{
    slblElapsed->SetCaption(ToQ(text));
    dpElapsed->SetValue(ToQ(text));
}

void TfrmMain::SetElapsedDigits(const std::string &text) { dpElapsed->SetValue(ToQ(text)); }

void TfrmMain::ShowName(const std::string &title, const std::string &hint)
{
    slblRadioName->SetCaption(ToQ(title));
    slblRadioName->setToolTip(ToQ(hint));
    tiTray->setToolTip(ToQ(AppTitle() + " - [ " + title + " ]"));
}

void TfrmMain::ShowPlayState(int face)
{
    face_.PlayState = face;
    update();
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    RunShutdown();
    event->accept();
}

void TfrmMain::RunShutdown()
{
    if (closing_)
        return;
    closing_ = true;
    frmOrvaneVideo_->close();
    tmrCheck->stop();
    tmrDelay->stop();
    tmrTrayFrame->stop();
    setAcceptDrops(false);
    frmPlayList_->MusicList().SaveMusicList();
    frmPlayList_->SaveTree();
    SaveSettings();
    disconnect(tiTray, nullptr, this, nullptr);
    tiTray->setContextMenu(nullptr);
    tiTray->hide();
    frmPlayList_->SetListVisible(false);
    hide();
    QApplication::quit();
}

void TfrmMain::LaunchUpgrade()
{
    const std::string copy = AppPath() + "temp/bin/" + ProgramFileName;
    if (!AskYesNoInfo(FormatMessage(Msg(141), {GetFileVersionText(copy)}), this))
        return;
    RunShutdown();
    StartProgram(copy, UpgradeArguments(getpid(), AppPath()));
}
