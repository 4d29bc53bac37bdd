// orvane_make_station_data: makes a shipped maker's station file.
//   orvane_make_station_data --source LIST.tsv --out DIR/data.dat [--plain] [--stamp-unix SECONDS]
// Reads the reviewable source list, enciphers every record after its ID with
// the data cipher (unless --plain) and writes the table with its ".idp" and
// ".idi". The stored stamp, and the table's last-write time, is SECONDS
// (default 2025-01-01 00:00:00 UTC), so the same list always gives the same
// bytes.
#include "stations/StationData.h"
#include "stations/TextDB.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char **argv)
{
    std::string source, out;
    bool plain = false;
    long long stampUnix = 1735689600; // 2025-01-01T00:00:00Z
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--source" && i + 1 < argc)
            source = argv[++i];
        else if (a == "--out" && i + 1 < argc)
            out = argv[++i];
        else if (a == "--plain")
            plain = true;
        else if (a == "--stamp-unix" && i + 1 < argc)
            stampUnix = std::atoll(argv[++i]);
        else {
            std::fprintf(stderr, "usage: %s --source LIST.tsv --out DIR/data.dat [--plain] [--stamp-unix S]\n",
                         argv[0]);
            return 2;
        }
    }
    if (source.empty() || out.empty()) {
        std::fprintf(stderr, "both --source and --out are needed\n");
        return 2;
    }
    std::vector<TStationColumns> rows;
    std::string error;
    if (!ReadStationSource(source, rows, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::vector<std::string> lines;
    lines.reserve(rows.size());
    for (const TStationColumns &row : rows)
        lines.push_back(ComposeStationLine(row, !plain));
    if (!WriteTableFiles(out, lines, TTextTable::UnixTimeToFileTime(stampUnix, 0), error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::printf("%s: %zu stations%s\n", out.c_str(), rows.size(), plain ? " (plain)" : "");
    return 0;
}
