#include "StationTestSupport.h"

#include "TestSupport.h"
#include "stations/TextDB.h"

#include <algorithm>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>

namespace {

std::int32_t Get32(const std::string &b, std::size_t at)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    return static_cast<std::int32_t>(v);
}

} // namespace

void SetFileTime(const std::string &path, std::int64_t seconds, long nanoseconds)
{
    struct timespec t[2];
    t[0].tv_sec = t[1].tv_sec = static_cast<time_t>(seconds);
    t[0].tv_nsec = t[1].tv_nsec = nanoseconds;
    if (utimensat(AT_FDCWD, path.c_str(), t, 0) != 0)
        throw std::runtime_error("utimensat failed: " + path);
}

void TouchLater(const std::string &path, std::int64_t seconds)
{
    struct stat st;
    if (stat(path.c_str(), &st) != 0)
        throw std::runtime_error("stat failed: " + path);
    SetFileTime(path, st.st_mtim.tv_sec + seconds, st.st_mtim.tv_nsec);
}

std::vector<std::int32_t> IdpOffsets(const std::string &idpPath)
{
    const std::string b = ReadFileBytes(idpPath);
    std::vector<std::int32_t> v;
    if (b.size() < 8)
        return v;
    for (std::size_t i = 0; i < (b.size() - 8) / 4; ++i)
        v.push_back(Get32(b, 4 * i));
    return v;
}

std::uint64_t IdpStamp(const std::string &idpPath)
{
    const std::string b = ReadFileBytes(idpPath);
    if (b.size() < 8)
        return 0;
    return static_cast<std::uint32_t>(Get32(b, b.size() - 8)) |
           (static_cast<std::uint64_t>(static_cast<std::uint32_t>(Get32(b, b.size() - 4))) << 32);
}

std::vector<std::pair<std::int32_t, std::int32_t>> IdiEntries(const std::string &idiPath)
{
    const std::string b = ReadFileBytes(idiPath);
    std::vector<std::pair<std::int32_t, std::int32_t>> v;
    for (std::size_t at = 0; at + 8 <= b.size(); at += 8)
        v.emplace_back(Get32(b, at), Get32(b, at + 4));
    return v;
}

std::string JoinCrLf(const std::vector<std::string> &lines)
{
    std::string s;
    for (const std::string &l : lines)
        s += l + "\r\n";
    return s;
}

std::string CheckTableFiles(const std::string &tableName, const std::vector<std::string> &lines)
{
    const std::string idp = TTextTable::IndexFileName(tableName, ".idp");
    const std::string idi = TTextTable::IndexFileName(tableName, ".idi");
    if (ReadFileBytes(tableName) != JoinCrLf(lines))
        return "table bytes differ";
    const std::string idpBytes = ReadFileBytes(idp);
    if (idpBytes.size() != 4 * (lines.size() + 1) + 8)
        return "offset index size " + std::to_string(idpBytes.size());
    std::int64_t offset = 0;
    if (Get32(idpBytes, 0) != 0)
        return "offset[0] is not 0";
    for (std::size_t k = 1; k <= lines.size(); ++k) {
        offset += static_cast<std::int64_t>(lines[k - 1].size()) + 2;
        if (Get32(idpBytes, 4 * k) != offset)
            return "offset[" + std::to_string(k) + "] differs";
    }
    if (IdpStamp(idp) != TTextTable::FileStamp(tableName))
        return "stamp is not the table's last-write time";
    auto entries = IdiEntries(idi);
    if (entries.size() != lines.size())
        return "ID index has " + std::to_string(entries.size()) + " entries";
    for (std::size_t i = 1; i < entries.size(); ++i)
        if (entries[i - 1].first > entries[i].first)
            return "ID index not sorted at entry " + std::to_string(i);
    std::vector<std::pair<std::int32_t, std::int32_t>> expected;
    for (std::size_t k = 0; k < lines.size(); ++k)
        expected.emplace_back(TTextTable::LineId(lines[k]), static_cast<std::int32_t>(k + 1));
    std::sort(expected.begin(), expected.end());
    std::sort(entries.begin(), entries.end());
    if (entries != expected)
        return "ID index entries differ";
    return {};
}
