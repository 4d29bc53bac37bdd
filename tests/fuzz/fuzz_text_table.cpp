// Fuzzes the text table against hostile files: the input supplies a table
// file, an offset index and an ID index (truncated, foreign, or with a stamp
// that matches the table's time although the rest does not), then a list of
// operations. Three phases:
//   1. the operations on the files as given (with or without the index
//      check): no crash, and the table never grows beyond what the
//      operations and a normalisation can account for;
//   2. the index check after an outside change: the files must then agree
//      exactly with the table's lines;
//   3. more operations with the check on, mirrored in a list of lines that
//      the files must equal after each one.
#include "stations/TextDB.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

const std::string &Dir()
{
    static const std::string dir = [] {
        std::string d = "/dev/shm/orvane-fuzz-" + std::to_string(::getpid());
        if (::access("/dev/shm", W_OK) != 0)
            d = "/tmp/orvane-fuzz-" + std::to_string(::getpid());
        ::mkdir(d.c_str(), 0700);
        return d + "/";
    }();
    return dir;
}

void WriteFile(const std::string &path, const std::string &bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    Require(fd >= 0);
    Require(::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()));
    ::close(fd);
}

std::string ReadFile(const std::string &path)
{
    std::string out;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return out;
    char buf[65536];
    ssize_t r;
    while ((r = ::read(fd, buf, sizeof buf)) > 0)
        out.append(buf, static_cast<std::size_t>(r));
    ::close(fd);
    return out;
}

std::int64_t FileSize(const std::string &path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? static_cast<std::int64_t>(st.st_size) : -1;
}

void SetTime(const std::string &path, std::uint64_t fileTime)
{
    const std::uint64_t ticks = fileTime - 116444736000000000ULL;
    struct timespec t[2];
    t[0].tv_sec = t[1].tv_sec = static_cast<time_t>(ticks / 10000000ULL);
    t[0].tv_nsec = t[1].tv_nsec = static_cast<long>(ticks % 10000000ULL) * 100;
    ::utimensat(AT_FDCWD, path.c_str(), t, 0);
}

std::uint32_t Get32(const std::string &b, std::size_t at)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    return v;
}

// The table's lines as the table reads them (CR LF, LF or CR end a line).
std::vector<std::string> TextLines(const std::string &bytes)
{
    std::vector<std::string> lines;
    std::string cur;
    bool any = false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(cur);
            cur.clear();
            any = false;
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            cur += c;
            any = true;
        }
    }
    if (any)
        lines.push_back(cur);
    return lines;
}

// The three files agree exactly with `lines`.
void RequireConsistent(TTextTable &t, const std::string &table, const std::vector<std::string> &lines)
{
    std::string expect;
    for (const std::string &l : lines)
        expect += l + "\r\n";
    Require(ReadFile(table) == expect);
    const std::string idp = ReadFile(Dir() + "t.idp");
    const std::string idi = ReadFile(Dir() + "t.idi");
    Require(idp.size() == 4 * (lines.size() + 1) + 8);
    Require(idi.size() == 8 * lines.size());
    std::uint32_t offset = 0;
    Require(Get32(idp, 0) == 0);
    for (std::size_t k = 0; k < lines.size(); ++k) {
        offset += static_cast<std::uint32_t>(lines[k].size() + 2);
        Require(Get32(idp, 4 * (k + 1)) == offset);
    }
    std::vector<std::pair<std::int32_t, std::int32_t>> entries, expected;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        entries.emplace_back(static_cast<std::int32_t>(Get32(idi, 8 * i)),
                             static_cast<std::int32_t>(Get32(idi, 8 * i + 4)));
        expected.emplace_back(TTextTable::LineId(lines[i]), static_cast<std::int32_t>(i + 1));
    }
    for (std::size_t i = 1; i < entries.size(); ++i)
        Require(entries[i - 1].first <= entries[i].first);
    std::sort(entries.begin(), entries.end());
    std::sort(expected.begin(), expected.end());
    Require(entries == expected);
    Require(t.RecordCount() == static_cast<int>(lines.size()));
    for (std::size_t k = 0; k < lines.size() && k < 64; ++k) {
        Require(t.ReadLine(static_cast<int>(k + 1)) == lines[k]);
        const int id = TTextTable::LineId(lines[k]);
        const int line = t.LineOfId(id);
        Require(line >= 1 && TTextTable::LineId(lines[static_cast<std::size_t>(line - 1)]) == id);
    }
}

std::string Text(FuzzedDataProvider &in)
{
    std::string s = in.ConsumeRandomLengthString(64);
    // The table's texts are single lines.
    s.erase(std::remove_if(s.begin(), s.end(), [](char c) { return c == '\r' || c == '\n'; }), s.end());
    if (in.ConsumeBool())
        s = std::to_string(in.ConsumeIntegralInRange<int>(-3, 40)) + "\t" + s;
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const std::string table = Dir() + "t.dat";
    const std::string idpName = Dir() + "t.idp";
    const std::string idiName = Dir() + "t.idi";
    ::unlink(table.c_str());
    ::unlink(idpName.c_str());
    ::unlink(idiName.c_str());
    ::unlink((table + ".tmp").c_str());

    const bool check = in.ConsumeBool();
    const bool lyingStamp = in.ConsumeBool();
    const bool withIdp = in.ConsumeBool();
    const bool withIdi = in.ConsumeBool();
    const std::string tableBytes = in.ConsumeRandomLengthString(2048);
    std::string idp = in.ConsumeRandomLengthString(512);
    const std::string idi = in.ConsumeRandomLengthString(512);
    WriteFile(table, tableBytes);
    if (withIdp) {
        if (lyingStamp && idp.size() >= 8) {
            // The stamp says "the table as it is now".
            const std::uint64_t ft = TTextTable::UnixTimeToFileTime(1600000000, 0);
            for (int i = 0; i < 8; ++i)
                idp[idp.size() - 8 + static_cast<std::size_t>(i)] = static_cast<char>(ft >> (8 * i));
        }
        WriteFile(idpName, idp);
    }
    if (withIdi)
        WriteFile(idiName, idi);
    SetTime(table, TTextTable::UnixTimeToFileTime(1600000000, 0));

    // Phase 1: the files as given.
    std::int64_t bound = 2 * static_cast<std::int64_t>(tableBytes.size()) + 2;
    {
        TTextTable t;
        t.SetTableName(table);
        t.SetNeedCheckIndex(check);
        Require(t.Open());
        const int ops = in.ConsumeIntegralInRange<int>(0, 12);
        for (int i = 0; i < ops && in.remaining_bytes() > 0; ++i) {
            const int line = in.ConsumeIntegralInRange<int>(-1, 20);
            switch (in.ConsumeIntegralInRange<int>(0, 9)) {
            case 0: (void)t.ReadLine(line); break;
            case 1: (void)t.ReadById(line); break;
            case 2: (void)t.LineOfId(line); break;
            case 3: (void)t.RecordCount(); break;
            case 4: (void)t.NextFreeId(in.ConsumeIntegral<int>()); break;
            case 5: { const std::string s = Text(in); bound += static_cast<std::int64_t>(s.size()) + 2; (void)t.AppendLine(s); break; }
            case 6: { const std::string s = Text(in); bound += static_cast<std::int64_t>(s.size()) + 2; (void)t.InsertLine(line, s); break; }
            case 7: { const std::string s = Text(in); bound += static_cast<std::int64_t>(s.size()) + 2; (void)t.ModifyLine(line, s); break; }
            case 8: { const std::string s = Text(in); bound += static_cast<std::int64_t>(s.size()) + 2; (void)t.ModifyById(line, s); break; }
            case 9: (void)t.DeleteLine(line); break;
            }
            Require(FileSize(table) <= bound);
        }
    }

    // Phase 2: an outside change; the next check repairs everything.
    const std::vector<std::string> lines = TextLines(ReadFile(table));
    SetTime(table, TTextTable::UnixTimeToFileTime(1700000000, 0));
    TTextTable t;
    t.SetTableName(table);
    Require(t.Open());
    Require(t.CheckIndex());
    RequireConsistent(t, table, lines);

    // Phase 3: changes with the check on, against a model.
    std::vector<std::string> model = lines;
    const int ops = in.ConsumeIntegralInRange<int>(0, 16);
    for (int i = 0; i < ops && in.remaining_bytes() > 0; ++i) {
        const int n = static_cast<int>(model.size());
        const int line = in.ConsumeIntegralInRange<int>(0, n + 1);
        const std::string s = Text(in);
        const bool valid = line >= 1 && line <= n;
        switch (in.ConsumeIntegralInRange<int>(0, 3)) {
        case 0:
            Require(t.AppendLine(s));
            model.push_back(s);
            break;
        case 1:
            Require(t.InsertLine(line, s) == (line >= 1 && line <= n + 1));
            if (line >= 1 && line <= n + 1)
                model.insert(model.begin() + (line - 1), s);
            break;
        case 2:
            Require(t.ModifyLine(line, s) == valid);
            if (valid)
                model[static_cast<std::size_t>(line - 1)] = s;
            break;
        case 3:
            Require(t.DeleteLine(line) == valid);
            if (valid)
                model.erase(model.begin() + (line - 1));
            break;
        }
        RequireConsistent(t, table, model);
    }
    return 0;
}
