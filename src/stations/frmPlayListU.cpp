#include "stations/frmPlayListU.h"

#include "app/Funs.h"
#include "appearance/LanguageU.h"
#include "appearance/SkinFace.h"
#include "stations/MusicList.h"
#include "stations/MyListBox.h"
#include "stations/RadioTreeViewU.h"
#include "stations/TreeFileFormat.h"

#include <QAction>
#include <QApplication>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QToolTip>
#include <QWindow>

#include <algorithm>

namespace {

enum TListSlot { lsAddRadio, lsAddGroup, lsModify, lsDel, lsFind, lsSetChannel, lsClose, lsScrollUp, lsScrollDown };
constexpr int RepeatDelayMs = 500, RepeatIntervalMs = 50;

QRect ToRect(const TSkinRect &r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }
TWindowBox ToBox(const QRect &r) { return {r.x(), r.y(), r.width(), r.height()}; }

QString WithoutMnemonic(QString text) { return text.remove('&'); }

} // namespace

TfrmPlayList::TfrmPlayList(TfrmOrvaneVideo &video, const TSkin &skin, TPlayListHost &host, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::Tool), video_(video), skin_(skin), host_(host)
{
    setObjectName("frmPlayList");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);

    pnlStretch = new QWidget(this);
    pnlStretch->setObjectName("pnlStretch");
    rtvRadio = new TRadioTreeView(pnlStretch);
    rtvRadio->setObjectName("rtvRadio");
    rtvRadio->setFrameShape(QFrame::NoFrame);
    rtvRadio->setIndentation(19);
    // The skin's thumb scrolls the tree; its own scroll bars stay out of sight.
    rtvRadio->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    rtvRadio->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    rtvRadio->setDragDropMode(QAbstractItemView::DragDrop);
    rtvRadio->viewport()->setAcceptDrops(true);
    rtvRadio->setContextMenuPolicy(Qt::CustomContextMenu);
    rtvRadio->installEventFilter(this);
    rtvRadio->viewport()->installEventFilter(this);
    commands_ = std::make_unique<TTreeCommands>(*rtvRadio);
    lstMusic = new TMyListBox(pnlStretch);
    lstMusic->setObjectName("lstMusic");
    lstMusic->setFrameShape(QFrame::NoFrame);
    lstMusic->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lstMusic->hide();
    connect(lstMusic, &TMyListBox::PlayRequested, this, [this] { video_.PlayMusicEntry(); });
    connect(lstMusic, &TMyListBox::VertScroll, this, [this](int, int maxPos, int pos) {
        if (!radioMode_)
            PlaceThumb(pos, maxPos);
    });

    pbSlide = new QWidget(this);
    pbSlide->setObjectName("pbSlide");
    pbSlide->installEventFilter(this);
    lblResize = new QLabel(this);
    lblResize->setObjectName("lblResize");
    lblResize->setCursor(Qt::SizeFDiagCursor);
    lblResize->installEventFilter(this);
    tmrScroll = new QTimer(this);
    connect(tmrScroll, &QTimer::timeout, this, [this] {
        tmrScroll->setInterval(RepeatIntervalMs);
        ScrollLines(pressedSlot_ == lsScrollUp ? -1 : 1);
    });

    connect(rtvRadio, &TRadioTreeView::OnVertScroll, this,
            [this](TRadioTreeView *, int, int maxPos, int curPos) { PlaceThumb(curPos, maxPos); });
    connect(rtvRadio, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        if (!clickMode_)
            TreeActivated(item);
    });
    connect(rtvRadio, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) {
        if (clickMode_)
            TreeActivated(item);
    });
    connect(rtvRadio, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        UpdateMenu();
        pmTreeMenu->popup(rtvRadio->viewport()->mapToGlobal(at));
    });
    CreateMenu();
    CreateMusicMenu();

    commands_->Files().MigrateTreeFile();
    video_.SetPlayList(this);
    AddTranslatedWindow(this);
}

TfrmPlayList::~TfrmPlayList()
{
    destroying_ = true;
    video_.SetPlayList(nullptr);
}

// --- Menu --------------------------------------------------------------------------

void TfrmPlayList::CreateMusicMenu()
{
    pmListMenu = new QMenu(this);
    pmListMenu->setObjectName("pmListMenu");
    auto add = [this](const char *name, const char *caption, QKeySequence key, std::function<void()> run) {
        QAction *action = pmListMenu->addAction(QString::fromUtf8(caption));
        action->setObjectName(name);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        lstMusic->addAction(action); // the shortcuts work while the list has the focus
        if (run)
            connect(action, &QAction::triggered, this, std::move(run));
        else
            action->setEnabled(false); // its dialog does not exist yet
        return action;
    };
    TMyListBox &list = *lstMusic;
    add("nPlay_LB", "&Play", Qt::Key_Return, [&list] { list.PlayFocused(); });
    pmListMenu->addSeparator();
    add("nAddFiles_LB", "&Add File(s)...", Qt::ALT | Qt::Key_A, [&list] { list.AddFilesDialog(); });
    add("nAddFolder_LB", "Add F&older...", Qt::ALT | Qt::Key_D, [&list] { list.AddFolderDialog(); });
    pmListMenu->addSeparator();
    add("nDelete_LB", "&Delete", Qt::Key_Delete, [&list] { list.DeleteSelected(); });
    add("nClearAll_LB", "&Clear All", Qt::CTRL | Qt::Key_E, [&list] { list.ClearAll(); });
    // Shown as a separator line; it acts through its shortcut only.
    add("nSelectAll_LB", "-", Qt::CTRL | Qt::Key_A, [&list] { list.SelectAll(); })->setSeparator(true);
    add("nFind_LB", "&Find...", Qt::CTRL | Qt::Key_F, [this] { FindDialog().show(); });
    add("nFindNext_LB", "Find &Next", Qt::Key_F3, [this] { FindNext(); });
    pmListMenu->addSeparator();
    add("nFileInfomation_LB", "&View File Info...", Qt::ALT | Qt::Key_I, nullptr);
    add("nRename", "&Rename...", Qt::ALT | Qt::Key_C, nullptr);
    lstMusic->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lstMusic, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { pmListMenu->popup(lstMusic->viewport()->mapToGlobal(at)); });
}

void TfrmPlayList::CreateMenu()
{
    pmTreeMenu = new QMenu(this);
    pmTreeMenu->setObjectName("pmTreeMenu");
    auto add = [this](QMenu *menu, const char *name, const char *caption, QKeySequence key,
                      std::function<void()> run) {
        QAction *action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(name);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        rtvRadio->addAction(action); // the shortcuts work while the tree has the focus
        if (run)
            connect(action, &QAction::triggered, this, std::move(run));
        else
            action->setEnabled(false); // its window does not exist yet
        return action;
    };
    auto sub = [this](const char *name, const char *caption) {
        QMenu *menu = pmTreeMenu->addMenu(QString::fromUtf8(caption));
        menu->setObjectName(QString(name) + "Menu");
        menu->menuAction()->setObjectName(name);
        return menu;
    };
    QMenu *m = pmTreeMenu;
    add(m, "nAddFavorite", "Add To Fav&orites", Qt::CTRL | Qt::Key_O, [this] { commands_->AddFavorite(Selected()); });
    add(m, "nDelFavorite", "Remove From Fav&orites", Qt::CTRL | Qt::Key_O,
        [this] { commands_->RemoveFavorite(Selected()); });
    add(m, "nPlay", "&Play", Qt::Key_Return, [this] { PlaySelected(); });
    add(m, "nProgramList", "Program &List", Qt::CTRL | Qt::Key_L, [this] {
        const std::string address = ProgramListAddress(Selected());
        if (!address.empty())
            OpenInBrowser(address);
    });
    m->addSeparator();
    add(m, "nCut", "Cu&t", Qt::CTRL | Qt::Key_X, [this] { commands_->Cut(Selected()); });
    add(m, "nCopy", "&Copy", Qt::CTRL | Qt::Key_C, [this] { commands_->Copy(Selected()); });
    add(m, "nPaste", "&Paste", Qt::CTRL | Qt::Key_V, [this] { commands_->Paste(Selected()); });
    add(m, "nDel", "&Delete", Qt::Key_Delete, [this] { commands_->Delete(Selected()); });
    add(m, "nIncorporate", "&Incorporate", Qt::CTRL | Qt::Key_I, [this] {
        cancel_ = false;
        commands_->Merge(Selected(), [this] {
            // Esc in the tree stops a long merge.
            QCoreApplication::processEvents();
            return std::exchange(cancel_, false);
        });
    });
    m->addSeparator();
    add(m, "nFind", "&Find...", Qt::CTRL | Qt::Key_F, [this] { FindDialog().show(); });
    add(m, "nFindNext", "Find &Next", Qt::Key_F3, [this] { FindNext(); });
    m->addSeparator();
    add(m, "nSetChannel", "Set C&hannel...", Qt::CTRL | Qt::Key_H, nullptr);
    QAction *clickMode = add(m, "nClickMode", "Clic&k Mode", {}, [this] { SetClickMode(!clickMode_); });
    clickMode->setCheckable(true);
    m->addSeparator();
    add(m, "nAddRadio", "&Add Radio...", Qt::CTRL | Qt::Key_A, nullptr);
    add(m, "nEditRadio", "&Modify Radio...", Qt::CTRL | Qt::Key_M, nullptr);
    m->addSeparator();
    add(m, "nAddGroup", "Add &Group...", Qt::CTRL | Qt::Key_G, [this] { PromptAddGroup(); });
    add(m, "nModifyGroup", "Modif&y Group...", Qt::CTRL | Qt::Key_Y, [this] { PromptRenameGroup(); });
    m->addSeparator();
    QMenu *data = sub("nDataTool1", "&Data Tool");
    add(data, "nTestRadio", "Test &Radio...", Qt::CTRL | Qt::Key_T, nullptr);
    add(data, "nTreeGenerator", "Tree &Generator...", {}, nullptr);
    add(data, "nImportData", "&Import Data...", {}, nullptr);
    add(data, "nExportData", "&Export Data...", {}, nullptr);
    add(data, "nExportAllData", "Export &All Data...", {}, nullptr);
    add(data, "nEncry", "Encrypt Data", {}, nullptr)->setVisible(false);
    QMenu *view = sub("nView1", "&View");
    add(view, "nSort", "&Sort", Qt::CTRL | Qt::Key_S, [this] { commands_->Sort(Selected()); });
    add(view, "nSortSubtree", "Sort &Subtree", {}, [this] { commands_->SortSubtree(Selected()); });
    add(view, "nSortAll", "Sort &All", {}, [this] { commands_->SortAll(); });
    add(view, "nExpandSubtree", "&Expand Subtree", {}, [this] {
        if (QTreeWidgetItem *item = Selected()) {
            commands_->Files().LoadGroup(item);
            rtvRadio->expandRecursively(rtvRadio->indexFromItem(item));
        }
    });
    add(view, "nCollapseSubtree", "&Collapse Subtree", {}, [this] {
        if (QTreeWidgetItem *item = Selected()) {
            item->setExpanded(false);
            for (int i = 0; i < item->childCount(); ++i)
                rtvRadio->collapseItem(item->child(i));
        }
    });
    add(view, "nExpandAll", "E&xpand All", {}, [this] { commands_->ExpandAll(); });
    add(view, "nCollapseAll", "C&ollapse All", {}, [this] { rtvRadio->collapseAll(); });
    // Enabled states follow the selection; shortcuts run the same checks.
    connect(pmTreeMenu, &QMenu::aboutToShow, this, &TfrmPlayList::UpdateMenu);
}

QAction *TfrmPlayList::Action(const char *name) const { return findChild<QAction *>(name); }

QTreeWidgetItem *TfrmPlayList::Selected() const { return rtvRadio->currentItem(); }

void TfrmPlayList::UpdateMenu()
{
    QTreeWidgetItem *item = Selected();
    const bool locked = IsLockedNode(item), station = item && TRadioTreeView::IsStation(item);
    const bool inFavorites = item && TRadioTreeView::GroupKindOf(TRadioTreeView::RootOf(item)) == FavoritesGroupKind;
    Action("nDelFavorite")->setVisible(inFavorites);
    Action("nDelFavorite")->setEnabled(IsEditableNode(item));
    Action("nAddFavorite")->setVisible(!inFavorites);
    Action("nAddFavorite")->setEnabled(item != nullptr);
    Action("nCut")->setEnabled(TTreeCommands::IsRemovable(item));
    Action("nDel")->setEnabled(TTreeCommands::IsRemovable(item));
    Action("nPaste")->setEnabled(commands_->Copied() && item && !locked);
    Action("nIncorporate")->setEnabled(commands_->Copied() && item && !station && !locked);
    Action("nProgramList")->setEnabled(station);
    Action("nClickMode")->setChecked(clickMode_);
    Action("nAddGroup")->setEnabled(!locked);
    Action("nModifyGroup")->setEnabled(IsEditableNode(item) && !station);
}

void TfrmPlayList::PromptAddGroup()
{
    QTreeWidgetItem *item = Selected();
    if (item && IsLockedNode(item) && item->parent())
        return;
    bool ok = false;
    const QString name = QInputDialog::getText(this, WithoutMnemonic(Action("nAddGroup")->text()), {},
                                               QLineEdit::Normal, {}, &ok);
    if (ok && !name.trimmed().isEmpty())
        commands_->AddGroup(name.toStdString());
}

void TfrmPlayList::PromptRenameGroup()
{
    QTreeWidgetItem *item = Selected();
    if (!IsEditableNode(item) || TRadioTreeView::IsStation(item))
        return;
    bool ok = false;
    const QString name = QInputDialog::getText(this, WithoutMnemonic(Action("nModifyGroup")->text()), {},
                                               QLineEdit::Normal, item->text(0), &ok);
    if (ok && !name.trimmed().isEmpty())
        commands_->RenameGroup(name.toStdString());
}

// --- Playing ------------------------------------------------------------------------

int TfrmPlayList::PlayStation(int mode)
{
    const int id = commands_->PlayStation(static_cast<TPlayMode>(mode));
    rtvRadio->viewport()->update();
    return id;
}

int TfrmPlayList::NextItem(int flag)
{
    return radioMode_ && flag >= 0 ? PlayStation(pmNext) : lstMusic->NextItem(flag);
}

int TfrmPlayList::PrevItem() { return radioMode_ ? PlayStation(pmPrevious) : lstMusic->PrevItem(); }

std::string TfrmPlayList::CurrentMusicPath() { return lstMusic->CurrentMusicPath(); }

bool TfrmPlayList::SelectMusicEntry(int index) { return lstMusic->SetCurrentMusic(index) >= 0; }

TChannelEntry TfrmPlayList::ChannelStation(int index)
{
    const auto channels = commands_->ChannelsFromTree();
    if (index < 0 || index >= static_cast<int>(channels.size()))
        return {};
    return {channels[static_cast<size_t>(index)].Id, channels[static_cast<size_t>(index)].Caption};
}

void TfrmPlayList::PlaySelected()
{
    if (const int id = PlayStation(pmSelected); id > 0)
        video_.PlayById(id);
}

void TfrmPlayList::TreeActivated(QTreeWidgetItem *item)
{
    if (!item || item != Selected() || rtvRadio->topLevelItemCount() == 0)
        return;
    if (TRadioTreeView::IsStation(item))
        PlaySelected();
    else if (clickMode_)
        item->setExpanded(!item->isExpanded()); // single clicks open groups too
}

void TfrmPlayList::SetRadioMode(bool on)
{
    radioMode_ = on;
    rtvRadio->setVisible(on);
    lstMusic->setVisible(!on);
    const QScrollBar *bar = ShownScrollBar();
    PlaceThumb(bar->value(), bar->maximum());
}

QScrollBar *TfrmPlayList::ShownScrollBar() const
{
    return radioMode_ ? rtvRadio->verticalScrollBar() : lstMusic->verticalScrollBar();
}

void TfrmPlayList::SetClickMode(bool on)
{
    clickMode_ = on;
    rtvRadio->setExpandsOnDoubleClick(!on);
}

// --- Other windows ------------------------------------------------------------------

void TfrmPlayList::BuildStationMenu(QMenu *menu, const std::function<void(int)> &onStation)
{
    commands_->BuildStationMenu(menu, onStation);
}

void TfrmPlayList::RefreshChannelsFromTree()
{
    int number = 0;
    for (const auto &channel : commands_->ChannelsFromTree())
        host_.SetChannelFromTree(++number, channel.Id, channel.Caption);
}

std::string TfrmPlayList::StationInfoText(int id)
{
    RadioTable.SelectById(id);
    if (!RadioTable.Active() && !RadioTable.Open())
        return {};
    return RadioTable.LoadById(id) ? RadioTable.StationInfoText() : std::string();
}

std::string TfrmPlayList::ProgramListAddress(QTreeWidgetItem *item)
{
    if (!item || !TRadioTreeView::IsStation(item))
        return {};
    const int id = TRadioTreeView::StationIdOf(item);
    RadioTable.SelectById(id);
    if ((!RadioTable.Active() && !RadioTable.Open()) || !RadioTable.LoadById(id))
        return {};
    std::string address = RadioTable.VSchedule.empty() ? RadioTable.VHomepage : RadioTable.VSchedule;
    if (address.empty())
        return {};
    if (address.back() != '/')
        address += '/';
    if (!QString::fromStdString(address).startsWith("http", Qt::CaseInsensitive))
        address = "http://" + address;
    return address;
}

// --- Face ----------------------------------------------------------------------------

void TfrmPlayList::ApplySkin()
{
    lstMusic->ApplyLook(skin_.Ini().List);
    std::vector<QIcon> icons;
    for (const QImage &image : skin_.TreeIcons())
        icons.emplace_back(QPixmap::fromImage(image));
    if (!icons.empty())
        rtvRadio->SetImages(std::move(icons));

    const TSkinListLook &look = skin_.Ini().Tree;
    QFont font = QToolTip::font();
    if (!look.FontName.empty())
        font.setFamily(QString::fromStdString(look.FontName));
    if (look.FontSize > 0)
        font.setPointSize(look.FontSize);
    rtvRadio->setFont(font);
    QPalette palette = rtvRadio->palette();
    palette.setColor(QPalette::Base, ToQColor(look.Color));
    palette.setColor(QPalette::Window, ToQColor(look.Color));
    palette.setColor(QPalette::Text, ToQColor(look.FontColor));
    palette.setColor(QPalette::Highlight, ToQColor(look.SelectedItemBackColor));
    palette.setColor(QPalette::HighlightedText, ToQColor(look.SelectedItemFontColor));
    rtvRadio->setPalette(palette);
    commands_->SetPlayingColor(ToQColor(look.PlayingItemFontColor));

    const QSize face = skin_.ListFace().size();
    if (skin_.Ini().PlayListFormCanZoom) {
        setMinimumSize(skin_.FormMinWidth(), skin_.FormMinHeight());
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        resize(std::max(width(), skin_.FormMinWidth()), std::max(height(), skin_.FormMinHeight()));
    } else {
        setFixedSize(face);
    }
    const TWindowBox main = MainBox();
    TWindowBox box = Box();
    const bool takeHeight = main.Height >= minimumHeight(), takeWidth = main.Width >= minimumWidth() &&
                                                                         skin_.Ini().PlayListFormCanZoom;
    switch (skin_.Ini().PlayListFormAlign) {
    case 1: box = {main.Left - box.Width, main.Top, box.Width, takeHeight ? main.Height : box.Height}; break;
    case 2: box = {main.Right(), main.Top, box.Width, takeHeight ? main.Height : box.Height}; break;
    case 3: box = {main.Left, main.Top - box.Height, takeWidth ? main.Width : box.Width, box.Height}; break;
    case 4: box = {main.Left, main.Bottom(), takeWidth ? main.Width : box.Width, box.Height}; break;
    default: break;
    }
    if (!skin_.Ini().PlayListFormCanZoom)
        box.Width = face.width(), box.Height = face.height();
    PlaceBox(box);
    lastCut_ = {};
    Layout();
    update();
}

void TfrmPlayList::Layout()
{
    const TSkinIni &ini = skin_.Ini();
    const QSize face = skin_.ListFace().size();
    const int dW = width() - face.width(), dH = height() - face.height();
    if (ini.PlayListFormCanZoom)
        pnlStretch->setGeometry(ini.Rect.Left, ini.Rect.Top, ini.Rect.Width() + dW, ini.Rect.Height() + dH);
    else
        pnlStretch->setGeometry(ToRect(ini.Rect));
    rtvRadio->setGeometry(pnlStretch->rect());
    lstMusic->setGeometry(pnlStretch->rect());

    lblResize->setGeometry(width() - ini.ZoomMove.Left, height() - ini.ZoomMove.Top, ini.ZoomMove.Left,
                           ini.ZoomMove.Top);
    lblResize->setVisible(skin_.MoveResizeStyle() == 0 && ini.PlayListFormCanZoom);
    lblResize->raise();

    const TSkinRect &thumb = ini.bScrollMove.Normal, &orbit = ini.ScrollBarOrbit;
    pbSlide->resize(thumb.Width(), thumb.Height());
    pbSlide->move(dW + orbit.Left + (orbit.Width() - thumb.Width()) / 2, pbSlide->y());
    const QScrollBar *bar = ShownScrollBar();
    PlaceThumb(bar->value(), bar->maximum());

    slotRects_ = skin_.ListSlotRects(width(), height());
    UpdateOutline();
}

void TfrmPlayList::UpdateOutline()
{
    if (!skin_.HasListMask()) {
        clearMask();
        return;
    }
    if (size() == lastCut_)
        return;
    lastCut_ = size();
    QImage painted(size(), QImage::Format_ARGB32_Premultiplied);
    QPainter p(&painted);
    skin_.PaintListFace(p, width(), height());
    p.end();
    setMask(skin_.ListOutline(painted));
}

TThumbTrack TfrmPlayList::ThumbTrack() const
{
    const TSkinRect &orbit = skin_.Ini().ScrollBarOrbit;
    const int dH = height() - skin_.ListFace().height();
    return {orbit.Top, orbit.Height() + dH, pbSlide->height()};
}

void TfrmPlayList::PlaceThumb(int position, int maxPos)
{
    if (drag_ != dgThumb)
        pbSlide->move(pbSlide->x(), ThumbTopForPosition(ThumbTrack(), position, maxPos));
}

void TfrmPlayList::ScrollLines(int lines)
{
    QScrollBar *bar = ShownScrollBar();
    bar->setValue(bar->value() + lines);
}

void TfrmPlayList::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    skin_.PaintListFace(p, width(), height());
    if (pressedSlot_ >= 0 && pressedInside_)
        p.drawImage(ToRect(slotRects_[pressedSlot_]), skin_.AddFace(),
                    ToRect(skin_.Ini().ListSlotsDown[pressedSlot_]));
}

void TfrmPlayList::resizeEvent(QResizeEvent *)
{
    if (!skin_.ListFace().isNull())
        Layout();
}

void TfrmPlayList::showEvent(QShowEvent *)
{
    if (QTreeWidgetItem *playing = commands_->Playing())
        rtvRadio->scrollToItem(playing);
}

void TfrmPlayList::hideEvent(QHideEvent *)
{
    if (destroying_)
        return;
    commands_->SaveTree();
    host_.PlayListHidden();
}

// --- Slots, moving and resizing ---------------------------------------------------------

TWindowBox TfrmPlayList::Box() const { return ToBox(geometry()); }
TWindowBox TfrmPlayList::MainBox() const { return ToBox(host_.MainWindowRect()); }

void TfrmPlayList::PlaceBox(const TWindowBox &box) { setGeometry(box.Left, box.Top, box.Width, box.Height); }

void TfrmPlayList::MainWindowMoved(const QRect &before)
{
    const TWindowBox moved = FollowMove(ToBox(before), MainBox(), Box(), true);
    if (!(moved == Box()))
        move(moved.Left, moved.Top);
}

void TfrmPlayList::RunSlot(int slot)
{
    if (!radioMode_) {
        RunMusicSlot(slot);
        return;
    }
    QTreeWidgetItem *item = Selected();
    switch (slot) {
    case lsAddGroup:
        if (!item || !item->parent() || !IsLockedNode(item))
            PromptAddGroup();
        break;
    case lsModify:
        if (item && !TRadioTreeView::IsStation(item) && !IsLockedNode(item) && IsEditableNode(item))
            PromptRenameGroup();
        break;
    case lsDel:
        if (IsEditableNode(item))
            commands_->Delete(item);
        break;
    case lsFind:
        FindDialog().show();
        break;
    case lsClose:
        hide();
        break;
    default: // station editor and channel dialogs: not available yet
        break;
    }
}

// In music mode the slots are: add files, add a folder, rename, delete, find,
// file information and close; rename and file information need their
// dialogs, which do not exist yet.
// --- Finding -------------------------------------------------------------------------

TfrmFind &TfrmPlayList::FindDialog()
{
    if (!frmFind)
        frmFind = new TfrmFind(*this, this);
    return *frmFind;
}

void TfrmPlayList::FindNext()
{
    if (frmFind && !frmFind->Text().empty())
        frmFind->FindNow();
}

bool TfrmPlayList::Find(const std::string &text, TFindDirection direction, bool matchCase, bool exact)
{
    if (radioMode_)
        return commands_->FindInTree(text, direction, matchCase, exact);
    // The music list: the entries' names after the current one, in the direction asked.
    const auto fold = [matchCase](std::string s) {
        if (!matchCase)
            for (char &c : s)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    const std::string wanted = fold(text);
    const std::vector<std::string> &entries = lstMusic->List().Entries();
    const int step = direction == fdUp ? -1 : 1;
    for (int i = lstMusic->SelectedIndex() + step; i >= 0 && i < static_cast<int>(entries.size()); i += step) {
        const std::string name = fold(MusicDisplayName(entries[static_cast<size_t>(i)]));
        if (exact ? name == wanted : (!wanted.empty() && name.find(wanted) != std::string::npos))
            return lstMusic->SetCurrentMusic(i) >= 0;
    }
    return false;
}

void TfrmPlayList::ClearFindMarks() { commands_->ClearFindMarks(); }

void TfrmPlayList::RunMusicSlot(int slot)
{
    switch (slot) {
    case 0:
        lstMusic->AddFilesDialog();
        break;
    case 1:
        lstMusic->AddFolderDialog();
        break;
    case 3:
        lstMusic->DeleteSelected();
        break;
    case 4:
        FindDialog().show();
        break;
    case lsClose:
        hide();
        break;
    default:
        break;
    }
}

void TfrmPlayList::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    pressedSlot_ = HitSlot(slotRects_.data(), ListSlotCount, at.x(), at.y());
    if (pressedSlot_ >= 0) {
        pressedInside_ = true;
        if (pressedSlot_ == lsScrollUp || pressedSlot_ == lsScrollDown) {
            ScrollLines(pressedSlot_ == lsScrollUp ? -1 : 1);
            tmrScroll->start(RepeatDelayMs);
        }
        update();
        return;
    }
    dragStart_ = event->globalPosition().toPoint();
    boxAtPress_ = Box();
    mainAtPress_ = MainBox();
    touchedAtPress_ = WindowsTouch(boxAtPress_, mainAtPress_);
    const int style = skin_.MoveResizeStyle();
    dragEdges_ = style != 0 && skin_.Ini().PlayListFormCanZoom ? SizingEdgesAt(at.x(), at.y(), width(), height()) : 0;
    if (dragEdges_) {
        drag_ = dgEdges;
    } else if (style == 1 && windowHandle() && windowHandle()->startSystemMove()) {
        drag_ = dgNone;
    } else {
        drag_ = dgMove;
    }
}

void TfrmPlayList::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    const QPoint delta = event->globalPosition().toPoint() - dragStart_;
    if (pressedSlot_ >= 0) {
        const bool inside = slotRects_[pressedSlot_].ContainsStrictly(at.x(), at.y());
        if (!inside)
            tmrScroll->stop();
        if (inside != pressedInside_) {
            pressedInside_ = inside;
            update();
        }
    } else if (drag_ == dgMove) {
        const TWindowBox wanted = boxAtPress_.MovedTo(boxAtPress_.Left + delta.x(), boxAtPress_.Top + delta.y());
        if (skin_.LockPlayListForm()) {
            if (touchedAtPress_)
                host_.MoveMainWindow({mainAtPress_.Left + delta.x(), mainAtPress_.Top + delta.y()});
            PlaceBox(wanted);
        } else {
            PlaceBox(SnapListWindow(wanted, MainBox()));
        }
    } else if (drag_ == dgEdges) {
        PlaceBox(ResizeByEdges(boxAtPress_, dragEdges_, delta.x(), delta.y(), {minimumWidth(), minimumHeight()}));
    } else if (skin_.MoveResizeStyle() != 0 && skin_.Ini().PlayListFormCanZoom) {
        static const Qt::CursorShape shapes[16] = {
            Qt::ArrowCursor,     Qt::SizeHorCursor, Qt::SizeVerCursor,   Qt::SizeFDiagCursor,
            Qt::SizeHorCursor,   Qt::SizeHorCursor, Qt::SizeBDiagCursor, Qt::ArrowCursor,
            Qt::SizeVerCursor,   Qt::SizeBDiagCursor, Qt::SizeVerCursor, Qt::ArrowCursor,
            Qt::SizeFDiagCursor, Qt::ArrowCursor,   Qt::ArrowCursor,     Qt::ArrowCursor};
        setCursor(shapes[SizingEdgesAt(at.x(), at.y(), width(), height())]);
    }
}

void TfrmPlayList::mouseReleaseEvent(QMouseEvent *event)
{
    tmrScroll->stop();
    drag_ = dgNone;
    const int slot = std::exchange(pressedSlot_, -1);
    const bool inside = std::exchange(pressedInside_, false);
    if (slot < 0)
        return;
    update();
    const QPoint at = event->position().toPoint();
    if (inside && slotRects_[slot].ContainsStrictly(at.x(), at.y()) && slot != lsScrollUp && slot != lsScrollDown)
        RunSlot(slot);
}

void TfrmPlayList::keyPressEvent(QKeyEvent *event) { host_.MainKeyPress(event); }

// --- Events of the tree, the thumb and the grip ------------------------------------------

bool TfrmPlayList::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == rtvRadio)
        return TreeEvent(event);
    if (watched == rtvRadio->viewport())
        return ViewportEvent(event);
    if (watched == pbSlide)
        return ThumbEvent(event);
    if (watched == lblResize)
        return GripEvent(event);
    return false;
}

bool TfrmPlayList::TreeEvent(QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() == Qt::Key_Escape) {
        cancel_ = true;
        return true;
    }
    if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::ControlModifier) {
        commands_->Delete(Selected());
        return true;
    }
    return false;
}

bool TfrmPlayList::ViewportEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::ToolTip: {
        auto *help = static_cast<QHelpEvent *>(event);
        QTreeWidgetItem *item = rtvRadio->itemAt(help->pos());
        const std::string text =
            item && TRadioTreeView::IsStation(item) ? StationInfoText(TRadioTreeView::StationIdOf(item)) : "";
        if (text.empty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), QString::fromStdString(text), rtvRadio);
        return true;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (drag->source() != rtvRadio) {
            drag->ignore();
            return true;
        }
        // Near the top or bottom edge the tree scrolls a line at a time.
        const QPoint at = drag->position().toPoint();
        const int margin = 2 * std::max(1, rtvRadio->sizeHintForRow(0));
        if (at.y() < margin)
            ScrollLines(-1);
        else if (at.y() > rtvRadio->viewport()->height() - margin)
            ScrollLines(1);
        if (commands_->CanMove(Selected(), rtvRadio->itemAt(at))) {
            drag->setDropAction(Qt::CopyAction); // the view must not remove the dragged rows itself
            drag->accept();
        } else {
            drag->ignore();
        }
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        if (drop->source() == rtvRadio)
            commands_->MoveNode(Selected(), rtvRadio->itemAt(drop->position().toPoint()));
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        return true;
    }
    default:
        return false;
    }
}

bool TfrmPlayList::ThumbEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Paint: {
        QPainter p(pbSlide);
        const TSkinLook &look = skin_.Ini().bScrollMove;
        p.drawImage(pbSlide->rect(), skin_.AddFace(), ToRect(drag_ == dgThumb ? look.Down : look.Normal));
        return true;
    }
    case QEvent::MouseButtonPress:
        drag_ = dgThumb;
        thumbGrab_ = static_cast<QMouseEvent *>(event)->position().toPoint().y();
        pbSlide->update();
        return true;
    case QEvent::MouseMove:
        if (drag_ == dgThumb) {
            const TThumbTrack track = ThumbTrack();
            const int top = std::clamp(pbSlide->y() + static_cast<QMouseEvent *>(event)->position().toPoint().y() -
                                           thumbGrab_,
                                       track.Top, track.Top + std::max(0, track.Travel()));
            pbSlide->move(pbSlide->x(), top);
            QScrollBar *bar = ShownScrollBar();
            bar->setValue(PositionForThumbTop(track, top, bar->maximum()));
        }
        return true;
    case QEvent::MouseButtonRelease:
        drag_ = dgNone;
        pbSlide->update();
        return true;
    default:
        return false;
    }
}

bool TfrmPlayList::GripEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        drag_ = dgGrip;
        dragStart_ = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
        boxAtPress_ = Box();
        return true;
    case QEvent::MouseMove:
        if (drag_ == dgGrip) {
            const QPoint delta = static_cast<QMouseEvent *>(event)->globalPosition().toPoint() - dragStart_;
            const TBoxSize size = GripResize({boxAtPress_.Width, boxAtPress_.Height}, delta.x(), delta.y(),
                                             {minimumWidth(), minimumHeight()});
            resize(size.Width, size.Height);
        }
        return true;
    case QEvent::MouseButtonRelease:
        drag_ = dgNone;
        return true;
    default:
        return false;
    }
}
