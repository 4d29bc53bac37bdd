#include "app/Funs.h"

#include "stations/des_my.h"

#include "platform/FolderPicker.h"
#include "platform/IniFile.h"
#include "platform/SystemShutdown.h"

#include <QDesktopServices>
#include <QCursor>
#include <QGuiApplication>
#include <QUrl>

#include <charconv>
#include <climits>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <malloc.h>
#include <string_view>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// The program's own file version, read back from the executable by
// GetFileVersionText. "used" keeps it in every binary that links this file.
[[gnu::used]] constexpr char kVersionMarker[] = "ORVANE_FILE_VERSION:" ORVANE_VERSION;
constexpr std::string_view kVersionPrefix(kVersionMarker, sizeof "ORVANE_FILE_VERSION:" - 1);

// A read-only view of a whole file; empty when it cannot be mapped.
class TMappedFile {
public:
    explicit TMappedFile(const std::string &path)
    {
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return;
        struct stat st {};
        if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
            void *data = mmap(nullptr, size_t(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
            if (data != MAP_FAILED) {
                data_ = data;
                size_ = size_t(st.st_size);
            }
        }
        close(fd);
    }
    ~TMappedFile()
    {
        if (data_)
            munmap(data_, size_);
    }
    TMappedFile(const TMappedFile &) = delete;
    TMappedFile &operator=(const TMappedFile &) = delete;

    std::string_view Bytes() const { return {static_cast<const char *>(data_), size_}; }

private:
    void *data_ = nullptr;
    size_t size_ = 0;
};

// "a.b.c.d" ended by a NUL, each number fitting a 16-bit version field, at the
// start of the text; the version as "%d.%d.%d.%d" or empty.
std::string ParseEmbeddedVersion(std::string_view text)
{
    std::string version;
    const char *p = text.data();
    const char *end = p + text.size();
    for (int i = 0; i < 4; ++i) {
        unsigned number = 0;
        const auto [next, ec] = std::from_chars(p, end, number);
        const char expected = i < 3 ? '.' : '\0';
        if (ec != std::errc() || number > 65535 || next == end || *next != expected)
            return {};
        version += (i ? "." : "") + std::to_string(number);
        p = next + 1;
    }
    return version;
}

int VersionNumber(const std::string &text, int index)
{
    int number = 0;
    return ParseInt(GetField(text, index, '.'), number) ? number : 0;
}

TDateTime FromTimestamp(const statx_timestamp &t)
{
    return DateTimeFromTimeT(std::time_t(t.tv_sec)) + t.tv_nsec / 86400e9;
}

timespec ToTimespec(TDateTime value) { return {DateTimeToTimeT(value), 0}; }

bool StartsWithDot(const fs::path &p) { return p.filename().string().starts_with('.'); }

// The entries of a folder in directory order; false when it cannot be read.
bool ListEntries(const fs::path &folder, std::vector<fs::directory_entry> &entries)
{
    std::error_code ec;
    fs::directory_iterator it(folder, ec), end;
    for (; !ec && it != end; it.increment(ec))
        entries.push_back(*it);
    return !ec;
}

bool IsRealFolder(const fs::directory_entry &entry)
{
    std::error_code ec;
    return entry.symlink_status(ec).type() == fs::file_type::directory;
}

// A real folder is emptied and then removed; anything else, links included,
// is removed as a file.
bool RemoveEntry(const fs::directory_entry &entry)
{
    bool ok = true;
    if (IsRealFolder(entry)) {
        std::vector<fs::directory_entry> children;
        ok = ListEntries(entry.path(), children);
        for (const auto &child : children)
            ok = RemoveEntry(child) && ok;
    }
    std::error_code ec;
    return fs::remove(entry.path(), ec) && ok;
}

bool CopyOneFile(const fs::path &from, const fs::path &to)
{
    std::error_code ec;
    if (!fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec))
        return false;
    // A read-only copy would block the next update of the same file.
    fs::permissions(to, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
    return true;
}

// Every named key with its virtual key code.
const std::map<int, std::string> &KeyNames()
{
    static const std::map<int, std::string> names = [] {
        std::map<int, std::string> m = {
            {33, "Page Up"}, {34, "Page Down"}, {35, "End"},   {36, "Home"},  {37, "Left"},  {38, "Up"},
            {39, "Right"},   {40, "Down"},      {106, "Num *"}, {107, "Num +"}, {109, "Num -"}, {110, "Num ."},
            {111, "Num /"},  {186, ";"},        {187, "="},     {188, ","},     {189, "-"},     {190, "."},
            {191, "/"},      {192, "`"},        {219, "["},     {220, "\\"},    {221, "]"},     {222, "'"},
        };
        for (int c = '0'; c <= '9'; ++c)
            m[c] = std::string(1, char(c));
        for (int c = 'A'; c <= 'Z'; ++c)
            m[c] = std::string(1, char(c));
        for (int d = 0; d <= 9; ++d)
            m[96 + d] = "Num " + std::to_string(d);
        for (int f = 1; f <= 12; ++f)
            m[111 + f] = "F" + std::to_string(f);
        return m;
    }();
    return names;
}

// Sets the wait cursor while alive, so it is restored on every way out.
class TWaitCursor {
public:
    TWaitCursor() : active_(qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr)
    {
        if (active_)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    ~TWaitCursor()
    {
        if (active_)
            QGuiApplication::restoreOverrideCursor();
    }
    TWaitCursor(const TWaitCursor &) = delete;
    TWaitCursor &operator=(const TWaitCursor &) = delete;

private:
    bool active_;
};

} // namespace

std::string ExecutableFileName()
{
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.string();
}

std::string GetFileVersionText(const std::string &path)
{
    const TMappedFile file(path);
    const std::string_view bytes = file.Bytes();
    // Other copies of the prefix (string tables, this very scanner) are
    // passed over until one is followed by a well-formed version.
    for (size_t pos = bytes.find(kVersionPrefix); pos != std::string_view::npos;
         pos = bytes.find(kVersionPrefix, pos + 1)) {
        std::string version = ParseEmbeddedVersion(bytes.substr(pos + kVersionPrefix.size()));
        if (!version.empty())
            return version;
    }
    return {};
}

int CompareFileVersions(const std::string &a, const std::string &b)
{
    return CompareVersionText(GetFileVersionText(a), GetFileVersionText(b));
}

int CompareVersionText(const std::string &a, const std::string &b)
{
    for (int i = 1; i <= 34; ++i) {
        const int x = VersionNumber(a, i);
        const int y = VersionNumber(b, i);
        if (x != y)
            return x > y ? 1 : -1;
    }
    return 0;
}

std::int64_t FileSizeByName(const std::string &path)
{
    struct stat st {};
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return -1;
    return st.st_size;
}

TDateTime GetFileDateTime(const std::string &path, int which)
{
    struct statx stx {};
    if (statx(AT_FDCWD, path.c_str(), 0, STATX_BTIME | STATX_ATIME | STATX_MTIME, &stx) != 0)
        return 0;
    switch (which) {
    case ftCreation:
        return (stx.stx_mask & STATX_BTIME) ? FromTimestamp(stx.stx_btime) : 0;
    case ftLastAccess:
        return (stx.stx_mask & STATX_ATIME) ? FromTimestamp(stx.stx_atime) : 0;
    case ftLastWrite:
        return (stx.stx_mask & STATX_MTIME) ? FromTimestamp(stx.stx_mtime) : 0;
    default:
        return 0;
    }
}

bool SetFileDateTimes(const std::string &path, TDateTime lastWrite, TDateTime lastAccess, TDateTime creation)
{
    const timespec times[2] = {ToTimespec(lastAccess), ToTimespec(lastWrite)};
    return utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

bool SetFileDateTime(const std::string &path, TDateTime value) { return SetFileDateTimes(path, value, value, value); }

void ListFiles(const std::string &folder, std::vector<std::string> &list)
{
    std::vector<fs::directory_entry> entries;
    ListEntries(folder, entries);
    for (const auto &entry : entries) {
        std::error_code ec;
        if (!StartsWithDot(entry.path()) && !entry.is_directory(ec))
            list.push_back(IncludeBackslash(folder) + entry.path().filename().string());
    }
}

bool CopyFolder(const std::string &source, const std::string &target)
{
    std::error_code ec;
    fs::create_directories(target, ec);
    std::vector<fs::directory_entry> entries;
    bool ok = fs::is_directory(target, ec) && ListEntries(source, entries);
    for (const auto &entry : entries) {
        if (StartsWithDot(entry.path()))
            continue;
        const std::string name = entry.path().filename().string();
        const std::string to = IncludeBackslash(target) + name;
        if (IsRealFolder(entry))
            ok = CopyFolder(IncludeBackslash(source) + name + "/", to + "/") && ok;
        else if (entry.is_regular_file(ec))
            ok = CopyOneFile(entry.path(), to) && ok;
    }
    return ok;
}

bool DeleteFolderContents(const std::string &folder)
{
    std::error_code ec;
    if (folder.empty() || !fs::is_directory(folder, ec))
        return false;
    std::vector<fs::directory_entry> entries;
    if (!ListEntries(folder, entries))
        return false;
    if (entries.empty()) {
        fs::remove(folder, ec);
        return false;
    }
    bool ok = true;
    for (const auto &entry : entries)
        ok = RemoveEntry(entry) && ok;
    return ok;
}

bool OpenInBrowser(const std::string &address)
{
    const TWaitCursor wait;
    return QDesktopServices::openUrl(QUrl::fromUserInput(QString::fromStdString(address)));
}

bool SelectFolder(const std::string &title, const std::string &root, std::string &folder)
{
    const std::optional<std::string> chosen = FolderPicker().Pick(title, root, folder);
    if (!chosen)
        return false;
    folder = *chosen;
    return true;
}

bool ShutDownWindows() { return SystemShutdown().PowerOff(); }

void TrimWorkingSet() { malloc_trim(0); }

std::string KeyToText(int key)
{
    const auto &names = KeyNames();
    const auto it = names.find(key);
    return it == names.end() ? std::string() : it->second;
}

int TextToKey(const std::string &name)
{
    static const std::map<std::string, int> codes = [] {
        std::map<std::string, int> m;
        for (const auto &[code, text] : KeyNames())
            m[text] = code;
        return m;
    }();
    const auto it = codes.find(name);
    return it == codes.end() ? 0 : it->second;
}

int TextToModifiers(const std::string &text)
{
    int flags = 0;
    if (text.find("Ctrl") != std::string::npos)
        flags |= 2;
    if (text.find("Alt") != std::string::npos)
        flags |= 1;
    if (text.find("Shift") != std::string::npos)
        flags |= 4;
    return flags;
}

std::string ModifiersToText(int flags)
{
    std::string text;
    if (flags & 2)
        text += "Ctrl + ";
    if (flags & 1)
        text += "Alt + ";
    if (flags & 4)
        text += "Shift + ";
    return text;
}

const std::array<const char *, 4> ServerAddressTable = {
    "090BA6F03060682E086F059BFF4DE54D49CF9BE16CCAFD24",
    "090BA6F03060682E595A661CCE33704DFE151D61E6AC4BC2",
    "090BA6F03060682E086F059BFF4DE54D11B1220AAA754DAF",
    "111B79F668ED83DA086F059BFF4DE54DEB078B451C7030096CDC899A3F1768BF0A81623517BA7879",
};

std::string UpdateBaseAddress(int index, const std::string &lng)
{
    if (index < 0 || index >= static_cast<int>(ServerAddressTable.size()))
        return {};
    return DecipherText(HexToBytes(ServerAddressTable[index])) + lng + "/";
}
