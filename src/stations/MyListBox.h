#pragma once
// The music list box of the station list window: one numbered line per
// entry in the skin's [List] colours, the current entry in its playing
// colour. It owns the music list, answers the video window's questions about
// it in music mode, and takes files and addresses from the open dialog, the
// folder chooser and drops.

#include <QListView>

#include <memory>
#include <string>
#include <vector>

#include "app/frmVideoU.h"
#include "appearance/Skin.h"
#include "stations/MusicList.h"

class QMimeData;
class TMusicListModel;

class TMyListBox : public QListView, public TPlayListSource {
    Q_OBJECT
public:
    explicit TMyListBox(QWidget *parent = nullptr);
    ~TMyListBox() override;

    const TMusicList &List() const { return list_; }

    // Colours and font of the skin's [List] section; the line height follows
    // the font.
    void ApplyLook(const TSkinListLook &look);

    // --- Music mode for the video window (TPlayListSource) ---
    // Makes the next (previous) entry current, wrapping around, and selects
    // it; -1 (play the current music entry), or 0 when the list is empty.
    int NextItem(int flag) override;
    int PrevItem() override;
    std::string CurrentMusicPath() override { return list_.CurrentFile(); }

    // --- The file kept between runs ---
    void LoadMusicList(int selectedIndex);
    // False when the file could not be written; the list stays marked changed.
    bool SaveMusicList();
    // The current entry, saved in the settings.
    int SelectedIndex() const { return list_.CurrentIndex(); }
    // A valid index becomes current and is selected; otherwise -1.
    int SetCurrentMusic(int index);

    // --- Adding and removing ---
    // Files or folders (their accepted files, recursively) inserted at
    // `position`, or appended when it is negative. Returns the number added.
    int AddFiles(const std::vector<std::string> &paths, int position = -1);
    int AddFolder(const std::string &folder, int position = -1) { return AddFiles({folder}, position); }
    void DeleteSelected();
    void ClearAll();
    void SelectAll() { selectAll(); }

    // --- Dialogs ---
    // The open dialog; on OK the list is replaced by the chosen files and
    // entry 0 made current. True when the user chose files.
    bool OpenMusicFiles();
    // The open dialog; on OK the chosen files are appended.
    void AddFilesDialog();
    // The folder chooser, starting at the last folder; on OK its files are
    // appended and it becomes the last folder.
    void AddFolderDialog();
    const std::string &LastFolder() const { return lastFolder_; }
    void SetLastFolder(const std::string &folder) { lastFolder_ = folder; }

    // Files or an address dropped from another program, inserted at `row`
    // (appended when negative); a ".zip" package is handed on instead.
    void DropData(const QMimeData &mime, int row);

    // The "Label (*.a *.b)" filters of the open dialog.
    static QStringList OpenDialogFilters();

Q_SIGNALS:
    // The user asked to play the current entry (double click or Enter).
    void PlayRequested();
    // A ".zip" data package was dropped on the list.
    void PackageDropped(const QString &path);
    // The list scrolled: scroll range minimum, the last top line that still
    // fills the view, the top line.
    void VertScroll(int minPos, int maxPos, int curPos);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

public:
    // Plays the focused entry, as a double click does.
    void PlayFocused();

private:
    // Rebuilds the view after the entries changed.
    void EntriesChanged();
    void SelectOnly(int row);
    int RowAt(const QPoint &pos) const;
    std::vector<int> SelectedRows() const;
    std::vector<std::string> ChooseFiles();
    void ReportScroll();

    TMusicList list_;
    TMusicListModel *model_;
    std::string lastFolder_;
};
