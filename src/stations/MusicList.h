#pragma once
// The music list: local media files and internet addresses played in order
// with wrap-around, kept between runs in "Orvane.m3u" in the program folder
// (one entry per line, bytes as written). Plain C++; the list box that shows
// it is TMyListBox.

#include <string>
#include <utility>
#include <vector>

// "Orvane.m3u" in the program folder.
std::string MusicListFileName();

// An internet address rather than a file: any text holding "//".
bool IsMusicAddress(const std::string &entry);
// The file's extension, lower-cased and followed by ".", stands in one of
// the players' extension lists. A name without an extension is refused.
bool IsAcceptedMusicFile(const std::string &path);
// What the list shows for an entry: an address as it stands, a file by its
// name without folder and extension.
std::string MusicDisplayName(const std::string &entry);
// The entry's line in the list: its number (index + 1) padded with blanks to
// the digits of `count`, ". " and its display name.
std::string MusicItemText(const std::string &entry, int index, int count);

// The accepted files of a path: the file itself, or a folder's files with its
// sub-folders entered where they are met (directory order, names beginning
// with "." skipped, each real folder visited once so links cannot loop).
std::vector<std::string> CollectMusicFiles(const std::string &path);

// An extension list ".a.b." as the open-dialog pattern "*.a;*.b".
std::string ExtensionListPattern(const std::string &extensions);
// Label and pattern of the open dialog's filters, in the order offered.
std::vector<std::pair<std::string, std::string>> MusicFileFilters();

class TMusicList {
public:
    int Count() const { return static_cast<int>(entries_.size()); }
    const std::string &Entry(int index) const { return entries_[index]; }
    const std::vector<std::string> &Entries() const { return entries_; }

    int CurrentIndex() const { return current_; }
    // A valid index becomes current and is returned; otherwise -1 (and the
    // current entry stays).
    int SetCurrent(int index);
    // The current entry; empty when the index is out of range.
    std::string CurrentFile() const;
    // 0: the focused entry becomes current; 1 next; 2 previous; past either
    // end wraps around. Nothing on an empty list. Returns the current index.
    int Step(int mode, int focused);

    // Adds the accepted files of each path (files, or folders recursively) at
    // `position`, one after another, or at the end when it is negative or past
    // the end. Returns the number added; marks the list changed either way.
    int AddEntries(const std::vector<std::string> &paths, int position);
    // Inserts one entry as it is (a dropped address), at the end when the
    // position is negative or past the end.
    void InsertEntry(const std::string &entry, int position);
    // Removes the entries at these indexes (any order, repeats allowed).
    void Remove(std::vector<int> indexes);
    void Clear();
    // Moves the entries at these indexes to the entry at `target`, together
    // and in their order: before it when the first of them stood behind it,
    // else after it.
    void MoveEntries(std::vector<int> indexes, int target);

    bool Changed() const { return changed_; }

    // Reads the list file (a missing file gives an empty list; empty lines
    // are no entries); the current index is `current`, or 0 when that is no
    // entry. Clears the changed flag.
    void Load(const std::string &fileName, int current);
    // When changed, writes the list through a temporary file renamed over the
    // old one; an empty list is written only over an existing file. False
    // when writing failed: the flag stays set so a later save tries again.
    bool Save(const std::string &fileName);

private:
    std::vector<std::string> entries_;
    int current_ = 0;
    bool changed_ = false;
};
