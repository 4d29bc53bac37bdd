#pragma once
// TTextTable: a table stored as a text file, one record per CR LF line, the
// record's integer ID before its first TAB, with two binary index files beside
// it so that a record is read, replaced, inserted or removed by line number or
// by ID without loading the file.
//
//   <name>.idp  offset index: offset[0] = 0, offset[k] = the byte just past the
//               CR LF of line k (k = 1..N), each a signed 32-bit little-endian
//               integer, then an 8-byte stamp: the table file's last-write time
//               as a Windows FILETIME (100 ns ticks since 1601-01-01 UTC), low
//               32 bits first. Size 4(N+1) + 8.
//   <name>.idi  ID index: N entries (signed 32-bit ID, signed 32-bit line),
//               little-endian, sorted ascending by ID (ties in no defined order).
//
// The files are interchangeable with those of other installations. No
// operation throws: failures come back as false, -1, 0 or empty text.
//
// While the table is open the two index files and the table file are held
// open (read/write; read-only when the files may only be read, and changes
// then fail). Every operation rereads sizes, offsets and the stamp from the
// files, so several objects, in this process or others, may work on the same
// table one after another. With NeedCheckIndex (the default) the check
// follows a table file that was replaced under its name, and an index whose
// sizes disagree with the table is rebuilt as a stale stamp would be. A
// change first writes a stamp that no file has, so a change cut short always
// leads to a rebuild at the next check.
//
// Texts are stored as given: a text holding CR or LF bytes (an enciphered
// record may) is still one record for the index, but a rebuild would split
// it; tables of such records are used with NeedCheckIndex off.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// One entry of the ID index while it is being sorted.
struct TIdiItem {
    std::int32_t Id;
    std::int32_t Line;
};
using TIdiItems = std::vector<TIdiItem>;

class TTextTable {
public:
    TTextTable();
    virtual ~TTextTable();
    TTextTable(const TTextTable &) = delete;
    TTextTable &operator=(const TTextTable &) = delete;

    // Published properties.
    bool Active() const { return active_; }
    void SetActive(bool value);
    const std::string &TableName() const { return tableName_; }
    // A different name closes an open table (it stays closed) and derives the
    // two index names (extension replaced by ".idp" and ".idi").
    void SetTableName(const std::string &name);
    int RecordCount();
    bool NeedCheckIndex() const { return needCheckIndex_; }
    void SetNeedCheckIndex(bool value) { needCheckIndex_ = value; }

    const std::string &IdpFileName() const { return idpName_; }
    const std::string &IdiFileName() const { return idiName_; }
    // The last stamp read from or written to the offset index.
    std::uint64_t Stamp() const { return stamp_; }

    // Open creates a missing table file empty and missing index files empty
    // (both of the pair), then keeps both index files open. Returns Active().
    bool Open();
    void Close();

    // Line numbers are 1-based. Texts are single lines without CR LF; the
    // table adds the CR LF.
    std::string ReadLine(int line);
    std::string ReadById(int id);
    bool ModifyLine(int line, const std::string &text);
    bool ModifyById(int id, const std::string &text);
    bool AppendLine(const std::string &text);
    bool InsertLine(int line, const std::string &text); // line N+1 appends
    bool DeleteLine(int line);
    int LineOfId(int id);      // -1 when no line has the ID
    int NextFreeId(int floor); // -1 when the index check fails

    // Run by every operation. With NeedCheckIndex the stamp is compared with
    // the table file's last-write time and the index files' sizes with the
    // table; any difference normalises the table and rebuilds the index.
    bool CheckIndex();
    // Rewrites the table with CR LF after every line (only when it has other
    // line breaks or lacks a final one). False when the table could not be
    // read or replaced.
    bool NormaliseTable();
    // Rebuilds both index files from the table file (table open).
    bool RebuildIndex();

    // The ID of a line: the text before its first TAB, trimmed, as a decimal
    // 32-bit integer; 0 without a TAB or when that text is no such number.
    static std::int32_t LineId(std::string_view line);
    // A file's last-write time as a FILETIME; 0 when the file is not found.
    static std::uint64_t FileStamp(const std::string &path);
    static std::uint64_t UnixTimeToFileTime(std::int64_t seconds, std::int64_t nanoseconds);
    // The name of an index file: the table's name with its extension (after
    // the last "." of the file name) replaced, or `extension` appended.
    static std::string IndexFileName(const std::string &tableName, const char *extension);

private:
    struct TIndexState;
    struct TSearchResult {
        bool ok = false;         // no read failed
        bool found = false;
        std::int64_t index = -1; // the found entry
        std::int32_t line = 0;   // its line
        std::int64_t low = 0;    // where an entry for the ID keeps the order when not found
    };
    enum class TResult { Ok, Failed, Damaged };

    bool OpenIndexFiles();
    bool OpenTableFile();
    bool LoadState(TIndexState &s, bool withTable);
    static bool LooksSound(const TIndexState &s);
    bool Check(TIndexState &s);
    bool Repair();
    std::string ReadLineAt(const TIndexState &s, int line);
    TSearchResult Search(std::int64_t count, std::int32_t id);
    TSearchResult SearchRepairing(TIndexState &s, std::int32_t id);
    // Byte position in the ID index at which an entry for `id` keeps the order
    // (just past an entry found for it).
    bool IdPosition(std::int32_t id, std::int64_t count, std::int64_t &position);
    // Byte position just past the entry (id, line); -1 when there is none.
    bool FindEntry(std::int32_t id, std::int32_t line, std::int64_t count, std::int64_t &past);
    bool MarkStampDirty(std::int64_t idpSize);
    bool WriteStamp(std::int64_t at);
    TResult PrepareChange(TIndexState &s, std::int64_t &idiSize);
    // Byte range of line `line` from the offset index.
    TResult LineSpan(const TIndexState &s, int line, std::int64_t &start, std::int64_t &end);

    TResult DoModifyLine(TIndexState &s, int line, const std::string &text);
    TResult DoAppendLine(TIndexState &s, const std::string &text);
    TResult DoInsertLine(TIndexState &s, int line, const std::string &text);
    TResult DoDeleteLine(TIndexState &s, int line);
    template <class Op> bool RunWrite(Op op);

    bool active_ = false;
    std::string tableName_;
    std::string idpName_;
    std::string idiName_;
    std::uint64_t stamp_ = 0;
    int idpFd_ = -1;
    int idiFd_ = -1;
    int tableFd_ = -1;
    bool needCheckIndex_ = true;
    bool indexWritable_ = false;
    bool tableWritable_ = false;
    std::uint64_t tableDev_ = 0;
    std::uint64_t tableIno_ = 0;
    // Where the last search found IDs (a starting point for the next one,
    // never data: what a search reads decides).
    bool hintValid_ = false;
    std::int32_t hintId_ = 0;
    std::int64_t hintIndex_ = 0;
    double hintSlope_ = 0;
    std::int64_t idpSizeHint_ = -1; // where the offset index ended last time
};

// Block moves inside an open file, used for the in-place changes; exposed for
// the benchmarks. Moves toward the end run from the end backwards, moves
// toward the start run forwards, so source and destination may overlap.
namespace TextDBFile {
// Extends the file (of `size` bytes) by n bytes, moving bytes [pos, size) up by n.
bool OpenGap(int fd, std::int64_t pos, std::int64_t n, std::int64_t size);
// Removes the n bytes just before `pos` (file of `size` bytes): bytes
// [pos, size) move down by n and the file shrinks by n.
bool RemoveBytes(int fd, std::int64_t pos, std::int64_t n, std::int64_t size);

// Reads a file as text, one line at a time, the way the table reads itself
// when it rebuilds its index: CR LF, LF and CR each end a line, a last line
// without a line break counts, an empty file has no lines. `line` is called
// with the 1-based line number and the text; returning false stops the walk.
// False when the file cannot be opened or a read fails.
bool ReadTextLines(const std::string &path,
                   const std::function<bool(int number, const std::string &text)> &line);
} // namespace TextDBFile
