#include "stations/StationData.h"

#include "cipher/Encipher.h"
#include "stations/TextDB.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

void Put32(std::string &out, std::int32_t value)
{
    const auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

bool WriteWhole(const std::string &path, const std::string &bytes)
{
    const std::string tmp = path + ".new";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush())
            return false;
    }
    if (std::rename(tmp.c_str(), path.c_str()) != 0) {
        std::remove(tmp.c_str());
        return false;
    }
    return true;
}

} // namespace

bool ReadStationSource(const std::string &path, std::vector<TStationColumns> &rows, std::string &error)
{
    rows.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot be read";
        return false;
    }
    std::vector<bool> seen(100001, false);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        const std::string where = path + ":" + std::to_string(number) + ": ";
        if (!line.empty() && line.back() == '\r') {
            error = where + "CR in a line (the list uses LF line ends)";
            return false;
        }
        if (line.empty() || line[0] == '#' || line.find_first_not_of(" \t") == std::string::npos)
            continue;
        std::vector<std::string> parts;
        for (std::size_t start = 0;;) {
            const std::size_t tab = line.find('\t', start);
            parts.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
            if (tab == std::string::npos)
                break;
            start = tab + 1;
        }
        if (parts.size() != StationColumnCount) {
            error = where + "expected " + std::to_string(StationColumnCount) + " TAB-separated columns, found " +
                    std::to_string(parts.size());
            return false;
        }
        TStationColumns cols;
        std::move(parts.begin(), parts.end(), cols.begin());
        const std::string &id = cols[0];
        if (id.empty() || id.size() > 6 || id.find_first_not_of("0123456789") != std::string::npos ||
            id[0] == '0' || std::stoi(id) > 100000) {
            error = where + "the ID must be a number from 1 to 100000";
            return false;
        }
        const int v = std::stoi(id);
        if (seen[static_cast<std::size_t>(v)]) {
            error = where + "ID " + id + " is used twice";
            return false;
        }
        seen[static_cast<std::size_t>(v)] = true;
        rows.push_back(std::move(cols));
    }
    return true;
}

std::string ComposeStationLine(const TStationColumns &columns, bool encipher)
{
    std::string rest;
    for (int i = 1; i < StationColumnCount; ++i) {
        if (i > 1)
            rest += '\t';
        rest += columns[static_cast<std::size_t>(i)];
    }
    return columns[0] + '\t' + (encipher ? EncipherText(rest) : rest);
}

bool WriteTableFiles(const std::string &tableName, const std::vector<std::string> &lines, std::uint64_t stamp,
                     std::string &error)
{
    std::string table;
    std::string idp;
    std::vector<TIdiItem> items;
    items.reserve(lines.size());
    Put32(idp, 0);
    std::int64_t offset = 0;
    int k = 0;
    for (const std::string &line : lines) {
        table += line;
        table += "\r\n";
        offset += static_cast<std::int64_t>(line.size()) + 2;
        if (offset > INT32_MAX) {
            error = "table larger than 32-bit offsets allow";
            return false;
        }
        Put32(idp, static_cast<std::int32_t>(offset));
        items.push_back({TTextTable::LineId(line), ++k});
    }
    if (!WriteWhole(tableName, table)) {
        error = tableName + ": cannot be written";
        return false;
    }
    if (stamp != 0) {
        // FILETIME back to Unix time, and make it the table's last-write time.
        const std::uint64_t ticks = stamp - 116444736000000000ULL;
        struct timespec times[2];
        times[0].tv_sec = times[1].tv_sec = static_cast<time_t>(ticks / 10000000ULL);
        times[0].tv_nsec = times[1].tv_nsec = static_cast<long>((ticks % 10000000ULL) * 100);
        if (::utimensat(AT_FDCWD, tableName.c_str(), times, 0) != 0) {
            error = tableName + ": cannot set its last-write time";
            return false;
        }
    } else {
        stamp = TTextTable::FileStamp(tableName);
    }
    Put32(idp, static_cast<std::int32_t>(static_cast<std::uint32_t>(stamp)));
    Put32(idp, static_cast<std::int32_t>(static_cast<std::uint32_t>(stamp >> 32)));

    std::sort(items.begin(), items.end(), [](const TIdiItem &a, const TIdiItem &b) {
        return a.Id != b.Id ? a.Id < b.Id : a.Line < b.Line;
    });
    std::string idi;
    idi.reserve(items.size() * 8);
    for (const TIdiItem &e : items) {
        Put32(idi, e.Id);
        Put32(idi, e.Line);
    }
    const std::string idpName = TTextTable::IndexFileName(tableName, ".idp");
    const std::string idiName = TTextTable::IndexFileName(tableName, ".idi");
    if (!WriteWhole(idpName, idp) || !WriteWhole(idiName, idi)) {
        error = tableName + ": cannot write its index files";
        return false;
    }
    return true;
}

std::vector<std::string> GenerateSyntheticLines(int count, std::uint32_t seed, int firstId, bool encipher)
{
    static const char *const genres[] = {"Pop", "Rock", "Jazz", "Classical", "News", "Talk", "Electronic",
                                         "Country", "Folk", "Blues", "Ambient", "Hip Hop", "Sports", "Oldies"};
    static const char *const countries[] = {"United States", "United Kingdom", "Germany", "France", "China",
                                            "Japan", "Canada", "Australia", "Brazil", "India", "Italy", "Spain"};
    static const char *const languages[] = {"English", "German", "French", "Chinese", "Japanese", "Spanish",
                                            "Portuguese", "Italian", "Hindi"};
    static const char *const speeds[] = {"32K", "48K", "64K", "96K", "128K", "192K", "256K", "320K"};
    static const char *const words[] = {"Sky", "River", "Metro", "Coast", "Valley", "Harbor", "Summit", "Prairie",
                                        "Lantern", "Echo", "Pulse", "Horizon", "Aurora", "Delta", "Canyon"};
    std::mt19937 rng(seed);
    auto pick = [&rng](const auto &list) {
        return std::string(list[rng() % (sizeof(list) / sizeof(list[0]))]);
    };
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        const int id = firstId + i;
        const std::string host = "station" + std::to_string(id) + ".example.net";
        TStationColumns c;
        c[0] = std::to_string(id);
        c[1] = pick(words) + " " + pick(words) + " Radio " + std::to_string(id);
        c[2] = pick(genres);
        c[3] = pick(countries);
        c[4] = "State " + std::to_string(rng() % 50);
        c[5] = "City " + std::to_string(rng() % 500);
        c[6] = pick(languages);
        c[7] = std::to_string(rng() % 4);
        c[8] = std::to_string(rng() % 5);
        c[9] = pick(speeds);
        c[10] = rng() % 2 ? "FM " + std::to_string(88 + rng() % 20) + "." + std::to_string(rng() % 10) : "";
        c[11] = "";
        c[12] = "http://www." + host + "/";
        c[13] = rng() % 3 ? "http://www." + host + "/schedule" : "";
        const int addresses = 1 + static_cast<int>(rng() % 3);
        for (int a = 0; a < addresses; ++a) {
            if (a > 0)
                c[14] += "||";
            c[14] += "http://stream" + std::to_string(a + 1) + "." + host + ":8000/live" +
                     std::to_string(rng() % 1000) + ".mp3";
        }
        lines.push_back(ComposeStationLine(c, encipher));
    }
    return lines;
}
