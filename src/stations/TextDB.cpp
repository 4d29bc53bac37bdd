#include "stations/TextDB.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Block moves go through one heap buffer of this size. (The size is not
// visible in any file; a larger buffer only means fewer system calls.)
constexpr std::int64_t MoveBufferSize = 256 * 1024;
// Entries of the ID index handled per read when walking it.
constexpr std::int64_t IdiChunkEntries = 4096;
// Written over the stamp while a change is under way, so that a change cut
// short always leaves a stamp that no table file has.
constexpr unsigned char DirtyStamp[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
// Seconds from 1601-01-01 to 1970-01-01.
constexpr std::int64_t FileTimeEpochOffset = 11644473600LL;

class TFd {
public:
    explicit TFd(int fd) : fd_(fd) {}
    ~TFd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    TFd(const TFd &) = delete;
    TFd &operator=(const TFd &) = delete;
    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }

private:
    int fd_;
};

int OpenFile(const std::string &path, int flags, mode_t mode = 0666)
{
    int fd;
    do {
        fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// Moves all n bytes at pos with pread or pwrite, going on after short
// transfers and interruptions; false on an error or at the end of the file.
template <typename Byte, typename Io> bool TransferAt(int fd, std::int64_t pos, Byte *p, std::size_t n, Io io)
{
    if (pos < 0)
        return false;
    while (n > 0) {
        const ssize_t r = io(fd, p, n, static_cast<off_t>(pos));
        if (r < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (r == 0)
            return false;
        p += r;
        n -= static_cast<std::size_t>(r);
        pos += r;
    }
    return true;
}

bool ReadAt(int fd, std::int64_t pos, void *buf, std::size_t n)
{
    return TransferAt(fd, pos, static_cast<char *>(buf), n, ::pread);
}

bool WriteAt(int fd, std::int64_t pos, const void *buf, std::size_t n)
{
    return TransferAt(fd, pos, static_cast<const char *>(buf), n, ::pwrite);
}

bool Truncate(int fd, std::int64_t size)
{
    if (size < 0)
        return false;
    int r;
    do {
        r = ::ftruncate(fd, static_cast<off_t>(size));
    } while (r != 0 && errno == EINTR);
    return r == 0;
}

std::int64_t FdSize(int fd)
{
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return -1;
    return static_cast<std::int64_t>(st.st_size);
}

std::uint64_t StatStamp(const struct stat &st)
{
    return TTextTable::UnixTimeToFileTime(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
}

std::int32_t Get32(const unsigned char *p)
{
    const std::uint32_t v = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                            (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    return static_cast<std::int32_t>(v);
}

void Put32(unsigned char *p, std::int32_t value)
{
    const auto v = static_cast<std::uint32_t>(value);
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
    p[2] = static_cast<unsigned char>(v >> 16);
    p[3] = static_cast<unsigned char>(v >> 24);
}

std::uint64_t Get64(const unsigned char *p)
{
    return static_cast<std::uint32_t>(Get32(p)) |
           (static_cast<std::uint64_t>(static_cast<std::uint32_t>(Get32(p + 4))) << 32);
}

void Put64(unsigned char *p, std::uint64_t v)
{
    Put32(p, static_cast<std::int32_t>(static_cast<std::uint32_t>(v)));
    Put32(p + 4, static_cast<std::int32_t>(static_cast<std::uint32_t>(v >> 32)));
}

// Adds delta to a stored 32-bit value without signed overflow.
std::int32_t AddWrapped(std::int32_t value, std::int64_t delta)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value) + static_cast<std::uint32_t>(delta));
}

// Moves `length` bytes from src to dst inside one file; the ranges may overlap.
bool MoveBytes(int fd, std::int64_t src, std::int64_t dst, std::int64_t length)
{
    if (length <= 0 || src == dst)
        return true;
    const std::int64_t bufSize = std::min(length, MoveBufferSize);
    std::unique_ptr<char[]> buf(new char[static_cast<std::size_t>(bufSize)]);
    if (dst > src) {
        std::int64_t end = length;
        while (end > 0) {
            const std::int64_t chunk = std::min(bufSize, end);
            const std::int64_t start = end - chunk;
            if (!ReadAt(fd, src + start, buf.get(), static_cast<std::size_t>(chunk)) ||
                !WriteAt(fd, dst + start, buf.get(), static_cast<std::size_t>(chunk)))
                return false;
            end = start;
        }
    } else {
        std::int64_t done = 0;
        while (done < length) {
            const std::int64_t chunk = std::min(bufSize, length - done);
            if (!ReadAt(fd, src + done, buf.get(), static_cast<std::size_t>(chunk)) ||
                !WriteAt(fd, dst + done, buf.get(), static_cast<std::size_t>(chunk)))
                return false;
            done += chunk;
        }
    }
    return true;
}

// Reads a file as text, one line at a time: CR LF, LF and CR each end a line;
// a last line without a line break still counts; an empty file has no lines.
class TLineReader {
public:
    explicit TLineReader(int fd, std::size_t bufferSize = 1 << 20)
        : fd_(fd), bufferSize_(bufferSize), buf_(new char[bufferSize])
    {
    }

    bool Next(std::string &line)
    {
        line.clear();
        bool any = false;
        for (;;) {
            if (pos_ == len_) {
                if (eof_ || !Fill())
                    return any;
                if (skipLf_) {
                    skipLf_ = false;
                    if (buf_[pos_] == '\n' && ++pos_ == len_)
                        continue;
                }
            }
            const char *start = buf_.get() + pos_;
            const char *end = buf_.get() + len_;
            const char *brk = start;
            while (brk != end && *brk != '\r' && *brk != '\n')
                ++brk;
            line.append(start, static_cast<std::size_t>(brk - start));
            any = true;
            pos_ += static_cast<std::size_t>(brk - start);
            if (brk == end)
                continue;
            ++pos_;
            if (*brk == '\r') {
                if (pos_ < len_) {
                    if (buf_[pos_] == '\n')
                        ++pos_;
                } else {
                    skipLf_ = true;
                }
            }
            return true;
        }
    }

    bool Failed() const { return failed_; }

private:
    bool Fill()
    {
        pos_ = len_ = 0;
        for (;;) {
            const ssize_t r = ::read(fd_, buf_.get(), bufferSize_);
            if (r < 0) {
                if (errno == EINTR)
                    continue;
                failed_ = true;
                eof_ = true;
                return false;
            }
            if (r == 0) {
                eof_ = true;
                return false;
            }
            len_ = static_cast<std::size_t>(r);
            return true;
        }
    }

    int fd_;
    std::size_t bufferSize_;
    std::unique_ptr<char[]> buf_;
    std::size_t pos_ = 0;
    std::size_t len_ = 0;
    bool eof_ = false;
    bool failed_ = false;
    bool skipLf_ = false;
};

// Output through a buffer, for the normalised copy of a table.
class TBufferedWriter {
public:
    explicit TBufferedWriter(int fd) : fd_(fd) { buf_.reserve(BufferSize); }
    bool Write(const char *p, std::size_t n)
    {
        if (buf_.size() + n > BufferSize && !Flush())
            return false;
        if (n > BufferSize)
            return WriteAll(p, n);
        buf_.append(p, n);
        return true;
    }
    bool Flush()
    {
        const bool ok = WriteAll(buf_.data(), buf_.size());
        buf_.clear();
        return ok;
    }

private:
    static constexpr std::size_t BufferSize = 1 << 20;
    bool WriteAll(const char *p, std::size_t n)
    {
        while (n > 0) {
            const ssize_t r = ::write(fd_, p, n);
            if (r < 0) {
                if (errno == EINTR)
                    continue;
                return false;
            }
            p += r;
            n -= static_cast<std::size_t>(r);
        }
        return true;
    }
    int fd_;
    std::string buf_;
};

bool FileExistsAt(const std::string &path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

} // namespace

namespace TextDBFile {

bool OpenGap(int fd, std::int64_t pos, std::int64_t n, std::int64_t size)
{
    if (n < 0 || pos < 0 || pos > size)
        return false;
    if (n == 0)
        return true;
    if (pos == size)
        return Truncate(fd, size + n);
    return MoveBytes(fd, pos, pos + n, size - pos);
}

bool RemoveBytes(int fd, std::int64_t pos, std::int64_t n, std::int64_t size)
{
    if (n < 0 || pos > size || pos - n < 0)
        return false;
    if (n == 0)
        return true;
    return MoveBytes(fd, pos, pos - n, size - pos) && Truncate(fd, size - n);
}

bool ReadTextLines(const std::string &path,
                   const std::function<bool(int number, const std::string &text)> &line)
{
    TFd fd(OpenFile(path, O_RDONLY));
    if (!fd.Valid())
        return false;
    TLineReader reader(fd.Get(), 1 << 16);
    std::string text;
    int number = 0;
    while (reader.Next(text)) {
        if (number == INT_MAX || !line(++number, text))
            return true;
    }
    return !reader.Failed();
}

} // namespace TextDBFile

// What one look at the index files (and optionally the table) tells.
// What one look at the offset index (and, with the index check, at the
// table file's directory entry) tells.
struct TTextTable::TIndexState {
    std::int64_t idpSize = -1;
    std::int64_t count = 0;        // N, when the offset index has room for it
    std::int32_t lastOffset = -1;  // offset[N]
    std::uint64_t stamp = 0;       // the stamp stored in the offset index
    std::int64_t tableSize = -1;   // -1 when not looked at; 0 when the table is not found
    std::uint64_t tableStamp = 0;  // 0 when the table file is not found
};

namespace {

// Entries of the ID index read per probe of a search.
constexpr std::int64_t SearchWindowEntries = 256;

} // namespace

TTextTable::TTextTable() = default;

TTextTable::~TTextTable() { Close(); }

void TTextTable::SetActive(bool value)
{
    if (value)
        Open();
    else
        Close();
}

void TTextTable::SetTableName(const std::string &name)
{
    if (name == tableName_)
        return;
    Close();
    tableName_ = name;
    idpName_ = IndexFileName(name, ".idp");
    idiName_ = IndexFileName(name, ".idi");
}

bool TTextTable::Open()
{
    if (active_)
        return true;
    if (tableName_.empty())
        return false;
    // Ensure the table file.
    struct stat st;
    if (::stat(tableName_.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return false;
    } else {
        TFd fd(OpenFile(tableName_, O_WRONLY | O_CREAT, 0666));
        if (!fd.Valid())
            return false;
    }
    if (!OpenIndexFiles())
        return false;
    if (!OpenTableFile()) {
        Close();
        return false;
    }
    active_ = true;
    hintValid_ = false;
    return true;
}

namespace {

// Opens for reading and writing; a file that may only be read (a read-only
// installation) is opened for reading, and changes then fail.
int OpenReadWrite(const std::string &name, bool &writable)
{
    int fd = OpenFile(name, O_RDWR);
    writable = fd >= 0;
    if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM))
        fd = OpenFile(name, O_RDONLY);
    return fd;
}

} // namespace

bool TTextTable::OpenIndexFiles()
{
    if (!FileExistsAt(idpName_) || !FileExistsAt(idiName_)) {
        for (const std::string *name : {&idpName_, &idiName_}) {
            TFd fd(OpenFile(*name, O_WRONLY | O_CREAT | O_TRUNC, 0666));
            if (!fd.Valid())
                return false;
        }
    }
    bool idpWritable = false, idiWritable = false;
    idpFd_ = OpenReadWrite(idpName_, idpWritable);
    idiFd_ = idpFd_ < 0 ? -1 : OpenReadWrite(idiName_, idiWritable);
    if (idpFd_ < 0 || idiFd_ < 0) {
        Close();
        return false;
    }
    indexWritable_ = idpWritable && idiWritable;
    return true;
}

// The table file stays open while the table is: reading a record then costs
// no open and close. The index check compares the file behind the name with
// the open one and follows a file that was replaced.
bool TTextTable::OpenTableFile()
{
    if (tableFd_ >= 0)
        ::close(tableFd_);
    tableFd_ = OpenReadWrite(tableName_, tableWritable_);
    struct stat st;
    if (tableFd_ < 0 || ::fstat(tableFd_, &st) != 0)
        return false;
    tableDev_ = st.st_dev;
    tableIno_ = st.st_ino;
    return true;
}

void TTextTable::Close()
{
    for (int *fd : {&idpFd_, &idiFd_, &tableFd_}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
    active_ = false;
    hintValid_ = false;
    idpSizeHint_ = -1;
}

std::uint64_t TTextTable::UnixTimeToFileTime(std::int64_t seconds, std::int64_t nanoseconds)
{
    const std::int64_t s = seconds + FileTimeEpochOffset;
    if (s < 0)
        return 0;
    return static_cast<std::uint64_t>(s) * 10000000ULL + static_cast<std::uint64_t>(nanoseconds / 100);
}

std::string TTextTable::IndexFileName(const std::string &tableName, const char *extension)
{
    if (tableName.empty())
        return {};
    const std::size_t slash = tableName.rfind('/');
    const std::size_t dot = tableName.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        return tableName.substr(0, dot) + extension;
    return tableName + extension;
}

std::uint64_t TTextTable::FileStamp(const std::string &path)
{
    struct stat st;
    if (path.empty() || ::stat(path.c_str(), &st) != 0)
        return 0;
    return StatStamp(st);
}

std::int32_t TTextTable::LineId(std::string_view line)
{
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos)
        return 0;
    std::string_view s = line.substr(0, tab);
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ')
        s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ')
        s.remove_suffix(1);
    bool negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty())
        return 0;
    std::int64_t v = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return 0;
        v = v * 10 + (c - '0');
        if (v > static_cast<std::int64_t>(INT32_MAX) + 1)
            return 0;
    }
    if (negative)
        v = -v;
    if (v < INT32_MIN || v > INT32_MAX)
        return 0;
    return static_cast<std::int32_t>(v);
}

bool TTextTable::LoadState(TIndexState &s, bool withTable)
{
    s = TIndexState{};
    unsigned char tailBuf[256];
    const unsigned char *tail = nullptr;
    // One read near where the offset index ended last time tells its size
    // (by where the read stops) and its last 12 bytes; when the file has
    // moved too far from there, ask for its size.
    if (idpSizeHint_ >= 12) {
        const std::int64_t pos = idpSizeHint_ - 12;
        ssize_t r;
        do {
            r = ::pread(idpFd_, tailBuf, sizeof tailBuf, static_cast<off_t>(pos));
        } while (r < 0 && errno == EINTR);
        if (r >= 12 && r < static_cast<ssize_t>(sizeof tailBuf)) {
            s.idpSize = pos + r;
            tail = tailBuf + r - 12;
        }
    }
    if (!tail) {
        s.idpSize = FdSize(idpFd_);
        if (s.idpSize < 0)
            return false;
        if (s.idpSize >= 12) {
            if (!ReadAt(idpFd_, s.idpSize - 12, tailBuf, 12))
                return false;
            tail = tailBuf;
        } else if (s.idpSize >= 8) {
            if (!ReadAt(idpFd_, s.idpSize - 8, tailBuf, 8))
                return false;
            s.stamp = Get64(tailBuf);
        }
    }
    idpSizeHint_ = s.idpSize;
    if (tail) {
        s.count = (s.idpSize - 12) / 4;
        s.lastOffset = Get32(tail);
        s.stamp = Get64(tail + 4);
    }
    if (withTable) {
        struct stat st;
        if (::stat(tableName_.c_str(), &st) == 0) {
            s.tableSize = static_cast<std::int64_t>(st.st_size);
            s.tableStamp = StatStamp(st);
            if (st.st_dev != tableDev_ || st.st_ino != tableIno_)
                OpenTableFile(); // replaced under its name
        } else {
            s.tableSize = 0;
        }
    }
    return true;
}

// The offset index has the form 4(N+1) + 8 bytes and its last offset is the
// table's size.
bool TTextTable::LooksSound(const TIndexState &s)
{
    return s.idpSize >= 12 && (s.idpSize - 12) % 4 == 0 && s.count < INT32_MAX && s.lastOffset >= 0 &&
           s.lastOffset == s.tableSize;
}

bool TTextTable::Check(TIndexState &s)
{
    if (!active_)
        return false;
    if (!needCheckIndex_)
        return LoadState(s, false);
    if (!LoadState(s, true))
        return false;
    stamp_ = s.stamp;
    if (s.stamp == s.tableStamp && LooksSound(s))
        return true;
    return Repair() && LoadState(s, true);
}

bool TTextTable::CheckIndex()
{
    if (!needCheckIndex_)
        return true;
    TIndexState s;
    return Check(s);
}

bool TTextTable::Repair()
{
    NormaliseTable(); // the rebuild runs whether or not the table could be rewritten
    OpenTableFile();  // a rewritten table is a new file
    hintValid_ = false;
    return RebuildIndex();
}

bool TTextTable::NormaliseTable()
{
    if (tableName_.empty())
        return false;
    TFd in(OpenFile(tableName_, O_RDONLY));
    if (!in.Valid())
        return false;
    struct stat st;
    if (::fstat(in.Get(), &st) != 0)
        return false;

    // Already CR LF throughout and after the last line? Then nothing to write.
    {
        std::unique_ptr<char[]> buf(new char[1 << 16]);
        char prev = 0;
        bool needed = false;
        std::int64_t total = 0;
        while (!needed) {
            const ssize_t r = ::read(in.Get(), buf.get(), 1 << 16);
            if (r < 0) {
                if (errno == EINTR)
                    continue;
                return false;
            }
            if (r == 0)
                break;
            for (ssize_t i = 0; i < r && !needed; ++i) {
                const char c = buf[i];
                needed = (prev == '\r' && c != '\n') || (c == '\n' && prev != '\r');
                prev = c;
            }
            total += r;
        }
        // Every LF follows a CR by now, so a final LF means a final CR LF.
        if (total > 0 && prev != '\n')
            needed = true;
        if (!needed)
            return true;
    }

    if (::lseek(in.Get(), 0, SEEK_SET) != 0)
        return false;
    const std::string tmpName = tableName_ + ".tmp";
    bool ok = false;
    {
        TFd out(OpenFile(tmpName, O_WRONLY | O_CREAT | O_TRUNC, st.st_mode & 07777));
        if (!out.Valid())
            return false;
        TLineReader reader(in.Get());
        TBufferedWriter writer(out.Get());
        std::string line;
        ok = true;
        while (ok && reader.Next(line))
            ok = writer.Write(line.data(), line.size()) && writer.Write("\r\n", 2);
        ok = ok && !reader.Failed() && writer.Flush();
    }
    // A file the program rewrites whole is written beside it and renamed over it.
    if (ok && ::rename(tmpName.c_str(), tableName_.c_str()) == 0)
        return true;
    ::unlink(tmpName.c_str());
    return false;
}

bool TTextTable::RebuildIndex()
{
    if (!active_)
        return false;
    TFd table(OpenFile(tableName_, O_RDONLY));
    if (!table.Valid())
        return false;
    if (!Truncate(idpFd_, 0) || !Truncate(idiFd_, 0))
        return false;

    std::vector<unsigned char> offsets;
    offsets.reserve(1 << 16);
    TIdiItems items;
    auto putOffset = [&offsets](std::int32_t v) {
        unsigned char b[4];
        Put32(b, v);
        offsets.insert(offsets.end(), b, b + 4);
    };
    putOffset(0);
    std::int64_t offset = 0;
    std::int64_t k = 0;
    TLineReader reader(table.Get());
    std::string line;
    while (reader.Next(line)) {
        ++k;
        offset += static_cast<std::int64_t>(line.size()) + 2;
        if (offset > INT32_MAX || k >= INT32_MAX)
            return false; // beyond what 32-bit offsets and line numbers can hold
        items.push_back({LineId(line), static_cast<std::int32_t>(k)});
        putOffset(static_cast<std::int32_t>(offset));
    }
    if (reader.Failed())
        return false;

    struct stat st;
    if (::fstat(table.Get(), &st) != 0)
        return false;
    const std::uint64_t stamp = StatStamp(st);
    unsigned char stampBytes[8];
    Put64(stampBytes, stamp);
    offsets.insert(offsets.end(), stampBytes, stampBytes + 8);
    if (!WriteAt(idpFd_, 0, offsets.data(), offsets.size()))
        return false;

    std::sort(items.begin(), items.end(), [](const TIdiItem &a, const TIdiItem &b) {
        return a.Id != b.Id ? a.Id < b.Id : a.Line < b.Line;
    });
    std::vector<unsigned char> idi(items.size() * 8);
    for (std::size_t i = 0; i < items.size(); ++i) {
        Put32(&idi[8 * i], items[i].Id);
        Put32(&idi[8 * i + 4], items[i].Line);
    }
    if (!idi.empty() && !WriteAt(idiFd_, 0, idi.data(), idi.size()))
        return false;
    stamp_ = stamp;
    return true;
}


namespace {

// Adds delta to the 32-bit slots [first, last] of the offset index.
bool AdjustSlots(int fd, std::int64_t first, std::int64_t last, std::int64_t delta)
{
    std::vector<unsigned char> buf;
    for (std::int64_t s = first; s <= last;) {
        const std::int64_t n = std::min<std::int64_t>(MoveBufferSize / 4, last - s + 1);
        buf.resize(static_cast<std::size_t>(4 * n));
        if (!ReadAt(fd, 4 * s, buf.data(), buf.size()))
            return false;
        for (std::int64_t j = 0; j < n; ++j)
            Put32(&buf[static_cast<std::size_t>(4 * j)], AddWrapped(Get32(&buf[static_cast<std::size_t>(4 * j)]), delta));
        if (!WriteAt(fd, 4 * s, buf.data(), buf.size()))
            return false;
        s += n;
    }
    return true;
}

// Moves slots [first, last] of the offset index by `shift` slots (+1 or -1),
// adding delta to each value on the way.
bool ShiftSlots(int fd, std::int64_t first, std::int64_t last, int shift, std::int64_t delta)
{
    const std::int64_t chunkSlots = MoveBufferSize / 4;
    std::vector<unsigned char> buf;
    if (shift > 0) {
        std::int64_t end = last + 1;
        while (end > first) {
            const std::int64_t n = std::min(chunkSlots, end - first);
            const std::int64_t s = end - n;
            buf.resize(static_cast<std::size_t>(4 * n));
            if (!ReadAt(fd, 4 * s, buf.data(), buf.size()))
                return false;
            for (std::int64_t j = 0; j < n; ++j)
                Put32(&buf[static_cast<std::size_t>(4 * j)], AddWrapped(Get32(&buf[static_cast<std::size_t>(4 * j)]), delta));
            if (!WriteAt(fd, 4 * (s + shift), buf.data(), buf.size()))
                return false;
            end = s;
        }
    } else {
        for (std::int64_t s = first; s <= last;) {
            const std::int64_t n = std::min(chunkSlots, last - s + 1);
            buf.resize(static_cast<std::size_t>(4 * n));
            if (!ReadAt(fd, 4 * s, buf.data(), buf.size()))
                return false;
            for (std::int64_t j = 0; j < n; ++j)
                Put32(&buf[static_cast<std::size_t>(4 * j)], AddWrapped(Get32(&buf[static_cast<std::size_t>(4 * j)]), delta));
            if (!WriteAt(fd, 4 * (s + shift), buf.data(), buf.size()))
                return false;
            s += n;
        }
    }
    return true;
}

std::string WithLineBreak(const std::string &text)
{
    std::string bytes;
    bytes.reserve(text.size() + 2);
    bytes.append(text);
    bytes.append("\r\n", 2);
    return bytes;
}

} // namespace

int TTextTable::RecordCount()
{
    TIndexState s;
    if (!Check(s))
        return 0;
    return static_cast<int>(std::min<std::int64_t>(s.count, INT_MAX));
}

std::string TTextTable::ReadLine(int line)
{
    TIndexState s;
    if (!Check(s))
        return {};
    return ReadLineAt(s, line);
}

std::string TTextTable::ReadLineAt(const TIndexState &s, int line)
{
    if (line < 1 || line > s.count)
        return {};
    unsigned char b[8];
    if (!ReadAt(idpFd_, 4 * static_cast<std::int64_t>(line - 1), b, sizeof b))
        return {};
    const std::int64_t start = Get32(b);
    const std::int64_t end = Get32(b + 4);
    if (start < 0 || end - start < 2)
        return {};
    // A short line is read straight away (a read past the end fails); a long
    // one only when the table really holds it.
    if (end - start > (1 << 16)) {
        const std::int64_t size = s.tableSize >= 0 ? s.tableSize : FdSize(tableFd_);
        if (end > size)
            return {};
    }
    std::string text(static_cast<std::size_t>(end - start - 2), '\0');
    if (!text.empty() && !ReadAt(tableFd_, start, text.data(), text.size()))
        return {};
    return text;
}

// Search of the ID index among its first `count` entries. Every probe reads a
// window of entries; when the sought ID lies within a window's IDs the rest is
// a binary search in memory. The first probe goes where the IDs of the last
// windows read suggest (a position hint only: what is read decides), later
// probes alternately follow the window's IDs and halve the range, so a
// search needs at most about 2 log2(N / 256) reads and on the usual densely
// numbered tables one. Among equal IDs any entry may be found.
TTextTable::TSearchResult TTextTable::Search(std::int64_t count, std::int32_t id)
{
    TSearchResult res;
    std::int64_t lo = 0, hi = count - 1;
    unsigned char buf[8 * SearchWindowEntries];
    auto clampToRange = [&](double guess) {
        if (!(guess >= static_cast<double>(lo)))
            return lo;
        if (guess >= static_cast<double>(hi))
            return hi;
        return static_cast<std::int64_t>(guess);
    };
    std::int64_t center = lo + (hi - lo) / 2;
    if (hintValid_ && count > 0)
        center = clampToRange(static_cast<double>(hintIndex_) +
                              (static_cast<double>(id) - static_cast<double>(hintId_)) * hintSlope_);
    bool interpolate = true;
    while (lo <= hi) {
        std::int64_t ws = std::max(lo, center - SearchWindowEntries / 2);
        const std::int64_t we = std::min(hi, ws + SearchWindowEntries - 1);
        ws = std::max(lo, we - SearchWindowEntries + 1);
        const std::int64_t n = we - ws + 1;
        if (!ReadAt(idiFd_, 8 * ws, buf, static_cast<std::size_t>(8 * n)))
            return res;
        const std::int32_t first = Get32(buf);
        const std::int32_t last = Get32(buf + 8 * (n - 1));
        if (last > first && n > 1) {
            hintValid_ = true;
            hintId_ = first;
            hintIndex_ = ws;
            hintSlope_ = static_cast<double>(n - 1) / (static_cast<double>(last) - static_cast<double>(first));
        }
        if (id < first) {
            hi = ws - 1;
        } else if (id > last) {
            lo = we + 1;
        } else {
            std::int64_t l = 0, h = n - 1;
            while (l <= h) {
                const std::int64_t m = l + (h - l) / 2;
                const std::int32_t eid = Get32(buf + 8 * m);
                if (id < eid) {
                    h = m - 1;
                } else if (id == eid) {
                    res.ok = res.found = true;
                    res.index = ws + m;
                    res.line = Get32(buf + 8 * m + 4);
                    return res;
                } else {
                    l = m + 1;
                }
            }
            res.ok = true;
            res.low = ws + l;
            return res;
        }
        if (lo > hi)
            break;
        if (interpolate && last > first)
            center = clampToRange(static_cast<double>(ws) +
                                  (static_cast<double>(id) - static_cast<double>(first)) * hintSlope_);
        else
            center = lo + (hi - lo) / 2;
        interpolate = !interpolate;
    }
    res.ok = true;
    res.low = lo;
    return res;
}

TTextTable::TSearchResult TTextTable::SearchRepairing(TIndexState &s, std::int32_t id)
{
    TSearchResult r = Search(s.count, id);
    // A read that fails inside the N entries the offset index promises means
    // an ID index that does not belong to it.
    if (!r.ok && needCheckIndex_ && Repair() && LoadState(s, true))
        r = Search(s.count, id);
    return r;
}

int TTextTable::LineOfId(int id)
{
    TIndexState s;
    if (!Check(s))
        return -1;
    const TSearchResult r = SearchRepairing(s, id);
    return r.ok && r.found ? r.line : -1;
}

std::string TTextTable::ReadById(int id)
{
    TIndexState s;
    if (!Check(s))
        return {};
    const TSearchResult r = SearchRepairing(s, id);
    return r.ok && r.found ? ReadLineAt(s, r.line) : std::string();
}

bool TTextTable::IdPosition(std::int32_t id, std::int64_t count, std::int64_t &position)
{
    position = 0;
    if (count <= 0)
        return true;
    const TSearchResult r = Search(count, id);
    if (!r.ok)
        return false;
    position = 8 * (r.found ? r.index + 1 : r.low);
    return true;
}

bool TTextTable::FindEntry(std::int32_t id, std::int32_t line, std::int64_t count, std::int64_t &past)
{
    past = -1;
    if (count <= 0)
        return true;
    const TSearchResult r = Search(count, id);
    if (!r.ok)
        return false;
    if (!r.found)
        return true;
    if (r.line == line) {
        past = 8 * (r.index + 1);
        return true;
    }
    // Equal IDs lie next to each other: look through the run on both sides.
    std::vector<unsigned char> buf;
    for (int dir : {-1, 1}) {
        std::int64_t i = r.index + dir;
        bool runEnded = false;
        while (!runEnded && i >= 0 && i < count) {
            const std::int64_t n = std::min<std::int64_t>(IdiChunkEntries, dir < 0 ? i + 1 : count - i);
            const std::int64_t first = dir < 0 ? i - n + 1 : i;
            buf.resize(static_cast<std::size_t>(8 * n));
            if (!ReadAt(idiFd_, 8 * first, buf.data(), buf.size()))
                return false;
            for (std::int64_t j = 0; j < n; ++j) {
                const std::int64_t idx = dir < 0 ? i - j : i + j;
                const unsigned char *e = &buf[static_cast<std::size_t>(8 * (idx - first))];
                if (Get32(e) != id) {
                    runEnded = true;
                    break;
                }
                if (Get32(e + 4) == line) {
                    past = 8 * (idx + 1);
                    return true;
                }
            }
            i += dir * n;
        }
    }
    return true;
}

bool TTextTable::MarkStampDirty(std::int64_t idpSize)
{
    return idpSize >= 8 && WriteAt(idpFd_, idpSize - 8, DirtyStamp, sizeof DirtyStamp);
}

bool TTextTable::WriteStamp(std::int64_t at)
{
    struct stat st;
    if (::fstat(tableFd_, &st) != 0)
        return false;
    const std::uint64_t stamp = StatStamp(st);
    unsigned char b[8];
    Put64(b, stamp);
    if (!WriteAt(idpFd_, at, b, sizeof b))
        return false;
    stamp_ = stamp;
    return true;
}

// Completes the state for a change: the ID index must hold one entry per
// line and the last offset must be the table's end. Damaged otherwise.
TTextTable::TResult TTextTable::PrepareChange(TIndexState &s, std::int64_t &idiSize)
{
    if (!tableWritable_ || !indexWritable_)
        return TResult::Failed;
    idiSize = FdSize(idiFd_);
    s.tableSize = FdSize(tableFd_);
    if (idiSize < 0 || s.tableSize < 0)
        return TResult::Failed;
    if (!LooksSound(s) || idiSize != 8 * s.count)
        return TResult::Damaged;
    return TResult::Ok;
}


template <class Op> bool TTextTable::RunWrite(Op op)
{
    TIndexState s;
    if (!Check(s))
        return false;
    TResult r = op(s);
    // The index disagreed with the table in a way its sizes and stamp did
    // not show: repair it and try once more.
    if (r == TResult::Damaged && needCheckIndex_ && Repair() && LoadState(s, true))
        r = op(s);
    return r == TResult::Ok;
}

bool TTextTable::ModifyLine(int line, const std::string &text)
{
    return RunWrite([&](TIndexState &s) { return DoModifyLine(s, line, text); });
}

bool TTextTable::ModifyById(int id, const std::string &text)
{
    return RunWrite([&](TIndexState &s) {
        const TSearchResult r = Search(s.count, id);
        if (!r.ok)
            return TResult::Damaged;
        return r.found ? DoModifyLine(s, r.line, text) : TResult::Failed;
    });
}

bool TTextTable::AppendLine(const std::string &text)
{
    return RunWrite([&](TIndexState &s) { return DoAppendLine(s, text); });
}

bool TTextTable::InsertLine(int line, const std::string &text)
{
    return RunWrite([&](TIndexState &s) { return DoInsertLine(s, line, text); });
}

bool TTextTable::DeleteLine(int line)
{
    return RunWrite([&](TIndexState &s) { return DoDeleteLine(s, line); });
}

TTextTable::TResult TTextTable::LineSpan(const TIndexState &s, int line, std::int64_t &start,
                                         std::int64_t &end)
{
    unsigned char b[8];
    if (!ReadAt(idpFd_, 4 * static_cast<std::int64_t>(line - 1), b, sizeof b))
        return TResult::Failed;
    start = Get32(b);
    end = Get32(b + 4);
    // A line holds at least its CR LF and lies inside the table.
    return start < 0 || end - start < 2 || end > s.tableSize ? TResult::Damaged : TResult::Ok;
}

TTextTable::TResult TTextTable::DoModifyLine(TIndexState &s, int line, const std::string &text)
{
    if (line < 1 || line > s.count)
        return TResult::Failed;
    std::int64_t idiSize;
    if (const TResult r = PrepareChange(s, idiSize); r != TResult::Ok)
        return r;
    std::int64_t start = 0, end = 0;
    if (const TResult r = LineSpan(s, line, start, end); r != TResult::Ok)
        return r;

    const std::int64_t oldLen = end - start;
    std::string old(static_cast<std::size_t>(oldLen), '\0');
    if (!ReadAt(tableFd_, start, old.data(), old.size()))
        return TResult::Failed;
    if (old[old.size() - 2] != '\r' || old.back() != '\n')
        return TResult::Damaged;
    const std::int32_t oldId = LineId(std::string_view(old).substr(0, old.size() - 2));
    const std::int32_t newId = LineId(text);
    const std::string bytes = WithLineBreak(text);
    const auto newLen = static_cast<std::int64_t>(bytes.size());
    if (s.tableSize - oldLen + newLen > INT32_MAX)
        return TResult::Failed;
    std::int64_t past = -1;
    if (oldId != newId) {
        if (!FindEntry(oldId, line, s.count, past))
            return TResult::Failed;
        if (past < 0)
            return TResult::Damaged;
    }

    if (!MarkStampDirty(s.idpSize))
        return TResult::Failed;
    // The table: replace the line in place, opening or closing the difference.
    bool ok;
    if (newLen == oldLen)
        ok = WriteAt(tableFd_, start, bytes.data(), bytes.size());
    else if (newLen > oldLen)
        ok = TextDBFile::OpenGap(tableFd_, end, newLen - oldLen, s.tableSize) &&
             WriteAt(tableFd_, start, bytes.data(), bytes.size());
    else
        ok = WriteAt(tableFd_, start, bytes.data(), bytes.size()) &&
             TextDBFile::RemoveBytes(tableFd_, end, oldLen - newLen, s.tableSize);
    if (!ok)
        return TResult::Failed;

    // The offsets of this line's end and of every later line move together.
    if (newLen != oldLen && !AdjustSlots(idpFd_, line, s.count, newLen - oldLen))
        return TResult::Failed;

    // The ID index: move the line's entry to the place of its new ID.
    if (oldId != newId) {
        std::int64_t q;
        if (!IdPosition(newId, s.count, q))
            return TResult::Failed;
        unsigned char e[8];
        Put32(e, newId);
        Put32(e + 4, line);
        if (past == q)
            ok = WriteAt(idiFd_, past - 8, e, 8);
        else if (past < q)
            ok = MoveBytes(idiFd_, past, past - 8, q - past) && WriteAt(idiFd_, q - 8, e, 8);
        else
            ok = MoveBytes(idiFd_, q, q + 8, past - 8 - q) && WriteAt(idiFd_, q, e, 8);
        if (!ok)
            return TResult::Failed;
    }
    return WriteStamp(s.idpSize - 8) ? TResult::Ok : TResult::Failed;
}

TTextTable::TResult TTextTable::DoAppendLine(TIndexState &s, const std::string &text)
{
    std::int64_t idiSize;
    if (const TResult r = PrepareChange(s, idiSize); r != TResult::Ok)
        return r;
    const std::string bytes = WithLineBreak(text);
    const std::int64_t newEnd = s.tableSize + static_cast<std::int64_t>(bytes.size());
    if (newEnd > INT32_MAX || s.count + 1 > INT32_MAX)
        return TResult::Failed;
    const std::int32_t id = LineId(text);
    const auto line = static_cast<std::int32_t>(s.count + 1);
    std::int64_t q = 0;
    if (!IdPosition(id, s.count, q))
        return TResult::Failed;

    if (!MarkStampDirty(s.idpSize))
        return TResult::Failed;
    if (!WriteAt(tableFd_, s.tableSize, bytes.data(), bytes.size()))
        return TResult::Failed;
    // The new offset goes over the first half of the old stamp; the stamp
    // follows it, so the offset index grows by 4 bytes.
    unsigned char b[4];
    Put32(b, static_cast<std::int32_t>(newEnd));
    if (!WriteAt(idpFd_, s.idpSize - 8, b, 4))
        return TResult::Failed;
    unsigned char e[8];
    Put32(e, id);
    Put32(e + 4, line);
    if (q < idiSize && !TextDBFile::OpenGap(idiFd_, q, 8, idiSize))
        return TResult::Failed;
    if (!WriteAt(idiFd_, q, e, 8))
        return TResult::Failed;
    return WriteStamp(s.idpSize - 4) ? TResult::Ok : TResult::Failed;
}

TTextTable::TResult TTextTable::DoInsertLine(TIndexState &s, int line, const std::string &text)
{
    if (line < 1 || line > s.count + 1)
        return TResult::Failed;
    std::int64_t idiSize;
    if (const TResult r = PrepareChange(s, idiSize); r != TResult::Ok)
        return r;
    unsigned char b[4];
    if (!ReadAt(idpFd_, 4 * static_cast<std::int64_t>(line - 1), b, 4))
        return TResult::Failed;
    const std::int64_t at = Get32(b);
    if (at < 0 || at > s.tableSize)
        return TResult::Damaged;
    if (at > 0) {
        char brk[2];
        if (!ReadAt(tableFd_, at - 2, brk, 2))
            return TResult::Failed;
        if (brk[0] != '\r' || brk[1] != '\n')
            return TResult::Damaged;
    }
    const std::string bytes = WithLineBreak(text);
    const auto newLen = static_cast<std::int64_t>(bytes.size());
    if (s.tableSize + newLen > INT32_MAX || s.count + 1 > INT32_MAX)
        return TResult::Failed;
    const std::int32_t id = LineId(text);

    if (!MarkStampDirty(s.idpSize))
        return TResult::Failed;
    if (!TextDBFile::OpenGap(tableFd_, at, newLen, s.tableSize) || !WriteAt(tableFd_, at, bytes.data(), bytes.size()))
        return TResult::Failed;
    // Slots line-1 .. N move one slot up, each plus the new length; slot
    // line-1 keeps its value. The stamp then lies 4 bytes further on.
    if (!ShiftSlots(idpFd_, line - 1, s.count, 1, newLen))
        return TResult::Failed;

    // ID index: renumber the lines from `line` on, then add the new entry.
    std::vector<unsigned char> buf;
    for (std::int64_t i = 0; i < s.count;) {
        const std::int64_t n = std::min(IdiChunkEntries, s.count - i);
        buf.resize(static_cast<std::size_t>(8 * n));
        if (!ReadAt(idiFd_, 8 * i, buf.data(), buf.size()))
            return TResult::Failed;
        bool changed = false;
        for (std::int64_t j = 0; j < n; ++j) {
            unsigned char *e = &buf[static_cast<std::size_t>(8 * j + 4)];
            const std::int32_t l = Get32(e);
            if (l >= line) {
                Put32(e, AddWrapped(l, 1));
                changed = true;
            }
        }
        if (changed && !WriteAt(idiFd_, 8 * i, buf.data(), buf.size()))
            return TResult::Failed;
        i += n;
    }
    std::int64_t q = 0;
    if (!IdPosition(id, s.count, q))
        return TResult::Failed;
    unsigned char e[8];
    Put32(e, id);
    Put32(e + 4, line);
    if (q < idiSize && !TextDBFile::OpenGap(idiFd_, q, 8, idiSize))
        return TResult::Failed;
    if (!WriteAt(idiFd_, q, e, 8))
        return TResult::Failed;
    return WriteStamp(s.idpSize - 4) ? TResult::Ok : TResult::Failed;
}

TTextTable::TResult TTextTable::DoDeleteLine(TIndexState &s, int line)
{
    if (line < 1 || line > s.count)
        return TResult::Failed;
    std::int64_t idiSize;
    if (const TResult r = PrepareChange(s, idiSize); r != TResult::Ok)
        return r;
    std::int64_t start = 0, end = 0;
    if (const TResult r = LineSpan(s, line, start, end); r != TResult::Ok)
        return r;
    std::string old(static_cast<std::size_t>(end - start), '\0');
    if (!ReadAt(tableFd_, start, old.data(), old.size()))
        return TResult::Failed;
    if (old[old.size() - 2] != '\r' || old.back() != '\n')
        return TResult::Damaged;
    std::int64_t past = -1;
    if (!FindEntry(LineId(std::string_view(old).substr(0, old.size() - 2)), line, s.count, past))
        return TResult::Failed;
    if (past < 0)
        return TResult::Damaged;
    const std::int64_t removed = end - start;

    if (!MarkStampDirty(s.idpSize))
        return TResult::Failed;
    if (!TextDBFile::RemoveBytes(tableFd_, end, removed, s.tableSize))
        return TResult::Failed;
    // Slots line+1 .. N move one slot down, each minus the removed length.
    if (!ShiftSlots(idpFd_, line + 1, s.count, -1, -removed) || !Truncate(idpFd_, s.idpSize - 4))
        return TResult::Failed;

    // ID index: drop the line's entry, renumber the later lines, close up.
    std::vector<unsigned char> in, out;
    std::int64_t writePos = 0;
    for (std::int64_t i = 0; i < s.count;) {
        const std::int64_t n = std::min(IdiChunkEntries, s.count - i);
        in.resize(static_cast<std::size_t>(8 * n));
        if (!ReadAt(idiFd_, 8 * i, in.data(), in.size()))
            return TResult::Failed;
        out.clear();
        for (std::int64_t j = 0; j < n; ++j) {
            const unsigned char *e = &in[static_cast<std::size_t>(8 * j)];
            const std::int32_t l = Get32(e + 4);
            if (l == line)
                continue;
            unsigned char o[8];
            std::memcpy(o, e, 4);
            Put32(o + 4, l > line ? AddWrapped(l, -1) : l);
            out.insert(out.end(), o, o + 8);
        }
        if (!out.empty() && !WriteAt(idiFd_, writePos, out.data(), out.size()))
            return TResult::Failed;
        writePos += static_cast<std::int64_t>(out.size());
        i += n;
    }
    if (!Truncate(idiFd_, writePos))
        return TResult::Failed;
    return WriteStamp(s.idpSize - 12) ? TResult::Ok : TResult::Failed;
}

int TTextTable::NextFreeId(int floor)
{
    TIndexState s;
    if (!Check(s))
        return -1;
    std::int64_t size = FdSize(idiFd_);
    if (size != 8 * s.count && needCheckIndex_ && Repair() && LoadState(s, true))
        size = FdSize(idiFd_);
    if (size < 0)
        return -1;
    std::int64_t a = floor;
    std::vector<unsigned char> buf;
    for (std::int64_t i = 0, count = size / 8; i < count;) {
        const std::int64_t n = std::min(IdiChunkEntries, count - i);
        buf.resize(static_cast<std::size_t>(8 * n));
        if (!ReadAt(idiFd_, 8 * i, buf.data(), buf.size()))
            return -1;
        for (std::int64_t j = 0; j < n; ++j) {
            const std::int64_t id = Get32(&buf[static_cast<std::size_t>(8 * j)]);
            if (id - a > 1)
                return a + 1 > INT32_MAX ? -1 : static_cast<int>(a + 1);
            a = id;
        }
        i += n;
    }
    return a + 1 > INT32_MAX ? -1 : static_cast<int>(a + 1);
}
