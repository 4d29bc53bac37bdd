#include "stations/MyListBox.h"

#include "app/Funs.h"
#include "appearance/LanguageU.h"
#include "appearance/SkinFace.h"

#include <QAbstractListModel>
#include <QDragEnterEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <QUrl>

// Rows of the music list; the entries themselves stay in TMusicList.
class TMusicListModel : public QAbstractListModel {
public:
    TMusicListModel(const TMusicList &list, QObject *parent) : QAbstractListModel(parent), list_(list) {}

    int rowCount(const QModelIndex &parent) const override { return parent.isValid() ? 0 : list_.Count(); }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || index.row() >= list_.Count())
            return {};
        return QString::fromStdString(MusicItemText(list_.Entry(index.row()), index.row(), list_.Count()));
    }
    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        return QAbstractListModel::flags(index) | Qt::ItemIsDragEnabled;
    }
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction | Qt::CopyAction; }
    void Reset()
    {
        beginResetModel();
        endResetModel();
    }

private:
    const TMusicList &list_;
};

namespace {

// Draws one numbered line in the skin's list colours.
class TMusicItemDelegate : public QStyledItemDelegate {
public:
    TMusicItemDelegate(const TMusicList &list, QObject *parent) : QStyledItemDelegate(parent), list_(list) {}

    void SetLook(const TSkinListLook &look, int itemHeight)
    {
        look_ = look;
        itemHeight_ = itemHeight;
    }

    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const override { return {1, itemHeight_}; }

    void paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        p->fillRect(option.rect, ToQColor(selected ? look_.SelectedItemBackColor : look_.Color));
        const TSkinColor text = index.row() == list_.CurrentIndex() ? look_.PlayingItemFontColor
                                : selected                          ? look_.SelectedItemFontColor
                                                                    : look_.FontColor;
        p->setPen(ToQColor(text));
        p->setFont(option.font);
        const bool rightToLeft = option.direction == Qt::RightToLeft;
        const QRect area = option.rect.adjusted(rightToLeft ? 0 : 2, 0, rightToLeft ? -2 : 0, 0);
        const QString line = option.fontMetrics.elidedText(index.data().toString(), Qt::ElideRight, area.width());
        p->drawText(area, Qt::AlignVCenter | (rightToLeft ? Qt::AlignRight : Qt::AlignLeft) | Qt::TextSingleLine,
                    line);
    }

private:
    const TMusicList &list_;
    TSkinListLook look_;
    int itemHeight_ = 16;
};

QFont ListFont(const TSkinListLook &look)
{
    QFont font = QToolTip::font();
    if (!look.FontName.empty())
        font.setFamily(QString::fromStdString(look.FontName));
    if (look.FontSize > 0)
        font.setPointSize(look.FontSize);
    return font;
}

bool IsPackage(const QString &path) { return path.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive); }

} // namespace

TMyListBox::TMyListBox(QWidget *parent) : QListView(parent), model_(new TMusicListModel(list_, this))
{
    setObjectName(QStringLiteral("lstMusic"));
    setModel(model_);
    setItemDelegate(new TMusicItemDelegate(list_, this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true); // drops arrive at the viewport
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setFrameShape(QFrame::NoFrame);
    ApplyLook(TSkinListLook());
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &TMyListBox::ReportScroll);
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, &TMyListBox::ReportScroll);
}

TMyListBox::~TMyListBox() = default;

void TMyListBox::ApplyLook(const TSkinListLook &look)
{
    setFont(ListFont(look));
    const int itemHeight = QFontMetrics(font()).height() + 4;
    static_cast<TMusicItemDelegate *>(itemDelegate())->SetLook(look, itemHeight);
    // Below the last entry the list's own colour shows.
    QPalette pal = palette();
    pal.setColor(QPalette::Base, ToQColor(look.Color));
    setPalette(pal);
    setAutoScrollMargin(2 * itemHeight);
    EntriesChanged();
}

// --- Music mode ---------------------------------------------------------------------------

int TMyListBox::NextItem(int)
{
    if (list_.Count() == 0)
        return 0;
    SelectOnly(list_.Step(1, 0));
    return -1;
}

int TMyListBox::PrevItem()
{
    if (list_.Count() == 0)
        return 0;
    SelectOnly(list_.Step(2, 0));
    return -1;
}

int TMyListBox::SetCurrentMusic(int index)
{
    if (list_.SetCurrent(index) < 0)
        return -1;
    SelectOnly(index);
    return index;
}

void TMyListBox::PlayFocused()
{
    if (list_.Count() == 0 || !currentIndex().isValid())
        return;
    list_.Step(0, currentIndex().row());
    viewport()->update();
    Q_EMIT PlayRequested();
}

// --- The list file ----------------------------------------------------------------------

void TMyListBox::LoadMusicList(int selectedIndex)
{
    list_.Load(MusicListFileName(), selectedIndex);
    EntriesChanged();
    if (list_.Count() > 0)
        SelectOnly(list_.CurrentIndex());
}

bool TMyListBox::SaveMusicList() { return list_.Save(MusicListFileName()); }

// --- Adding and removing ----------------------------------------------------------------

int TMyListBox::AddFiles(const std::vector<std::string> &paths, int position)
{
    const int added = list_.AddEntries(paths, position);
    EntriesChanged();
    return added;
}

void TMyListBox::DeleteSelected()
{
    if (list_.Count() == 0)
        return;
    const int focus = currentIndex().isValid() ? currentIndex().row() : 0;
    list_.Remove(SelectedRows());
    EntriesChanged();
    if (list_.Count() == 0)
        return;
    // The entry that followed the focused one takes its place.
    SelectOnly(std::min(focus, list_.Count() - 1));
}

void TMyListBox::ClearAll()
{
    if (list_.Count() == 0)
        return;
    list_.Clear();
    EntriesChanged();
}

void TMyListBox::EntriesChanged()
{
    model_->Reset();
    ReportScroll();
}

void TMyListBox::SelectOnly(int row)
{
    const QModelIndex index = model_->index(row);
    setCurrentIndex(index); // clears the other selections
    scrollTo(index);
    viewport()->update();
}

int TMyListBox::RowAt(const QPoint &pos) const
{
    const QModelIndex index = indexAt(pos);
    return index.isValid() ? index.row() : -1;
}

std::vector<int> TMyListBox::SelectedRows() const
{
    std::vector<int> rows;
    for (const QModelIndex &index : selectionModel()->selectedIndexes())
        rows.push_back(index.row());
    return rows;
}

void TMyListBox::ReportScroll()
{
    const QScrollBar *bar = verticalScrollBar();
    Q_EMIT VertScroll(bar->minimum(), bar->maximum(), bar->value());
}

// --- Dialogs ------------------------------------------------------------------------------

QStringList TMyListBox::OpenDialogFilters()
{
    QStringList filters;
    for (const auto &[label, pattern] : MusicFileFilters())
        filters << QString::fromStdString(label) + QLatin1String(" (") +
                       QString::fromStdString(pattern).replace(QLatin1Char(';'), QLatin1Char(' ')) +
                       QLatin1Char(')');
    return filters;
}

std::vector<std::string> TMyListBox::ChooseFiles()
{
    const QString filter = OpenDialogFilters().join(QLatin1String(";;"));
    const QStringList names = QFileDialog::getOpenFileNames(this, QString(), QString(), filter);
    std::vector<std::string> files;
    for (const QString &name : names)
        files.push_back(name.toStdString());
    return files;
}

bool TMyListBox::OpenMusicFiles()
{
    const std::vector<std::string> files = ChooseFiles();
    if (files.empty())
        return false;
    list_.Clear();
    AddFiles(files);
    SetCurrentMusic(0);
    return true;
}

void TMyListBox::AddFilesDialog()
{
    const std::vector<std::string> files = ChooseFiles();
    if (!files.empty())
        AddFiles(files);
}

void TMyListBox::AddFolderDialog()
{
    std::string folder = lastFolder_;
    if (!SelectFolder(Msg(29), std::string(), folder))
        return;
    lastFolder_ = folder;
    AddFolder(folder);
}

// --- Keys, mouse and drops ----------------------------------------------------------------

void TMyListBox::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        PlayFocused();
        return;
    case Qt::Key_Delete:
        DeleteSelected();
        return;
    default:
        QListView::keyPressEvent(event);
    }
}

void TMyListBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    QListView::mouseDoubleClickEvent(event);
    PlayFocused();
}

void TMyListBox::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->source() == this || event->mimeData()->hasUrls() || event->mimeData()->hasText()) {
        QListView::dragEnterEvent(event);
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void TMyListBox::dragMoveEvent(QDragMoveEvent *event)
{
    // Drags from other controls of this program are refused.
    if (event->source() && event->source() != this) {
        event->ignore();
        return;
    }
    QListView::dragMoveEvent(event);
    event->acceptProposedAction();
}

void TMyListBox::dropEvent(QDropEvent *event)
{
    const int row = RowAt(event->position().toPoint());
    if (event->source() == this) {
        // Copy, so that the view does not remove the dragged rows itself.
        event->setDropAction(Qt::CopyAction);
        event->accept();
        if (row >= 0)
            list_.MoveEntries(SelectedRows(), row);
        EntriesChanged();
    } else {
        event->acceptProposedAction();
        DropData(*event->mimeData(), row);
    }
}

void TMyListBox::DropData(const QMimeData &mime, int row)
{
    std::vector<std::string> files;
    std::string address;
    for (const QUrl &url : mime.urls()) {
        if (url.isLocalFile())
            files.push_back(url.toLocalFile().toStdString());
        else if (address.empty())
            address = url.toString().toStdString();
    }
    if (address.empty() && files.empty() && IsMusicAddress(mime.text().trimmed().toStdString()))
        address = mime.text().trimmed().toStdString();
    const QString first = QString::fromStdString(address.empty() && !files.empty() ? files.front() : address);
    if (IsPackage(first)) {
        Q_EMIT PackageDropped(first);
        return;
    }
    if (!address.empty())
        list_.InsertEntry(address, row);
    else
        list_.AddEntries(files, row);
    EntriesChanged();
}
