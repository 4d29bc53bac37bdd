#include "app/frmMainU.h"

#include "app/Funs.h"
#include "app/GlobalUnit.h"
#include "app/Upgrade.h"
#include "app/frmVideoU.h"
#include "appearance/LanguageU.h"
#include "platform/IniFile.h"
#include "platform/ProcessControl.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QTimer>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

namespace {

constexpr int MainWidth = 275;
constexpr int MainHeight = 116;

TWindowMetrics Metrics()
{
    TWindowMetrics m;
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        m.WorkAreaWidth = area.width();
        m.WorkAreaHeight = area.height();
    }
    m.MainWidth = MainWidth;
    m.MainHeight = MainHeight;
    return m;
}

} // namespace

TfrmMain::TfrmMain() : QWidget(nullptr), timedActions_(settings_, TickTargets())
{
    setObjectName("frmMain");
    setWindowTitle("Orvane");
    setFixedSize(MainWidth, MainHeight);

    CreateUserIniFromShipped();
    InitLanguage();

    const std::string site = "http://www.orvane.net/";
    SiteUrl = site;
    Site2Url = "http://radio.orvane.net/";
    SearchDataUrl = site + "search_data/";
    QuestionUrl = site + "question/";
    SubmitRadioUrl = site + "submit_radio/";

    auto *layout = new QVBoxLayout(this);
    slblRadioName = new QLabel(this);
    slblRadioName->setObjectName("slblRadioName");
    slblState = new QLabel(this);
    slblState->setObjectName("slblState");
    slblSpeed = new QLabel(this);
    slblSpeed->setObjectName("slblSpeed");
    slblElapsed = new QLabel(this);
    slblElapsed->setObjectName("slblElapsed");
    slblClock = new QLabel(this);
    slblClock->setObjectName("slblClock");
    layout->addWidget(slblRadioName);
    layout->addWidget(slblState);
    auto *numbers = new QHBoxLayout;
    numbers->addWidget(slblSpeed);
    numbers->addWidget(slblElapsed);
    numbers->addWidget(slblClock);
    layout->addLayout(numbers);
    tmrCheck = new QTimer(this);
    tmrCheck->setObjectName("tmrCheck");
    tmrCheck->setInterval(1000);
    connect(tmrCheck, &QTimer::timeout, this, &TfrmMain::tmrCheckTimer);
    CreateMenu();

    AddTranslatedWindow(this);
    QApplication::setApplicationDisplayName(windowTitle());
    OnLanguageSwitched(this, [this] { QApplication::setApplicationDisplayName(windowTitle()); });

    frmOrvaneVideo_ = std::make_unique<TfrmOrvaneVideo>(*this);
    LoadSettings();
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::CreateUserIniFromShipped()
{
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::exists(UserIniFileName(), ec))
        return;
    if (fs::copy_file(DefaultIniFileName(), UserIniFileName(), ec))
        fs::permissions(UserIniFileName(), fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
}

void TfrmMain::CreateMenu()
{
    pmMainMenu = new QMenu(this);
    pmMainMenu->setObjectName("pmMainMenu");
    nAlwaysOnTop = pmMainMenu->addAction("Always &on top");
    nAlwaysOnTop->setObjectName("nAlwaysOnTop");
    nAlwaysOnTop->setCheckable(true);
    connect(nAlwaysOnTop, &QAction::triggered, this, [this](bool on) { SetAlwaysOnTop(on); });
    QMenu *nLanguage = pmMainMenu->addMenu("&Language");
    nLanguage->setObjectName("nLanguage");
    connect(pmMainMenu, &QMenu::aboutToShow, this, [nLanguage] { FillLanguageMenu(nLanguage); });
    pmMainMenu->addSeparator();
    QAction *nExit = pmMainMenu->addAction("E&xit");
    nExit->setObjectName("nExit");
    connect(nExit, &QAction::triggered, this, &QWidget::close);
}

void TfrmMain::LoadSettings()
{
    IniFile user(UserIniFileName());
    SeedPackageVersions(user, IniFile(DefaultIniFileName()), CurLng());
    ReadUserSettings(user, Metrics(), settings_);
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
    move(settings_.MainLeft, settings_.MainTop);
    showAtStart_ = !settings_.AutoHide;

    timedActions_.ScheduleFirstUpdateCheck(NowDateTime());
    tmrCheck->start();
}

TTimedTargets TfrmMain::TickTargets()
{
    TTimedTargets t;
    t.MainWindowShown = [this] { return isVisible(); };
    t.ShowClock = [this](const std::string &hhnn) { slblClock->setText(QString::fromStdString(hhnn)); };
    t.TrimWorkingSet = [] { TrimWorkingSet(); };
    t.Play = [this] { frmOrvaneVideo_->Play(); };
    return t;
}

void TfrmMain::tmrCheckTimer() { timedActions_.Tick(NowDateTime()); }

void TfrmMain::SaveSettings()
{
    settings_.MainLeft = x();
    settings_.MainTop = y();
    settings_.AlwaysOnTop = nAlwaysOnTop->isChecked();
    const TfrmOrvaneVideo &video = *frmOrvaneVideo_;
    settings_.CurPlayID = video.CurPlayID();
    if (settings_.CurPlayID == 0)
        settings_.CurUserUrl = DecodeCurUserUrl(video.GetUserUrl());
    settings_.Volume = video.Volume();
    settings_.Balance = video.Balance();
    settings_.CurLng = CurLng();
    IniFile user(UserIniFileName());
    WriteUserSettings(user, settings_);
}

void TfrmMain::SetAlwaysOnTop(bool on)
{
    nAlwaysOnTop->setChecked(on);
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (visible)
        show(); // changing window flags hides the window
}

void TfrmMain::BringToFront()
{
    showAtStart_ = true;
    showNormal();
    raise();
    activateWindow();
}

void TfrmMain::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (nAlwaysOnTop->isChecked() && !(windowFlags() & Qt::WindowStaysOnTopHint))
        SetAlwaysOnTop(true);
}

void TfrmMain::SetStateText(const std::string &text) { slblState->setText(QString::fromStdString(text)); }
void TfrmMain::SetSpeedText(const std::string &text) { slblSpeed->setText(QString::fromStdString(text)); }
void TfrmMain::SetElapsedText(const std::string &text) { slblElapsed->setText(QString::fromStdString(text)); }
void TfrmMain::SetElapsedDigits(const std::string &text) { slblElapsed->setText(QString::fromStdString(text)); }

void TfrmMain::ShowName(const std::string &title, const std::string &hint)
{
    slblRadioName->setText(QString::fromStdString(title));
    slblRadioName->setToolTip(QString::fromStdString(hint));
}

void TfrmMain::ShowPlayState(int face) { playStateFace_ = face; }

void TfrmMain::SetTrayActive(bool active, int intervalMs)
{
    trayActive_ = active;
    if (intervalMs > 0)
        trayInterval_ = intervalMs;
}

void TfrmMain::PlaceProgressThumb(double fraction) { progress_ = fraction; }

void TfrmMain::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    timedActions_.SetMemoryTrimCountdown(1);
}

void TfrmMain::contextMenuEvent(QContextMenuEvent *event) { pmMainMenu->popup(event->globalPos()); }

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
    SaveSettings();
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
