// orvane_gen_stations: writes a large synthetic station table with its index
// files, for benchmarks and load tests.
//   orvane_gen_stations --out FILE [--count 100000] [--seed 1] [--first-id 1] [--encipher]
// A plain table is stamped with its real last-write time, so a table opened
// with the index check trusts the written index.
#include "stations/StationData.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char **argv)
{
    std::string out;
    int count = 100000;
    unsigned seed = 1;
    int firstId = 1;
    bool encipher = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--out" && i + 1 < argc)
            out = argv[++i];
        else if (a == "--count" && i + 1 < argc)
            count = std::atoi(argv[++i]);
        else if (a == "--seed" && i + 1 < argc)
            seed = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
        else if (a == "--first-id" && i + 1 < argc)
            firstId = std::atoi(argv[++i]);
        else if (a == "--encipher")
            encipher = true;
        else {
            std::fprintf(stderr,
                         "usage: %s --out FILE [--count N] [--seed S] [--first-id ID] [--encipher]\n", argv[0]);
            return 2;
        }
    }
    if (out.empty() || count < 0) {
        std::fprintf(stderr, "--out is needed and --count may not be negative\n");
        return 2;
    }
    std::string error;
    if (!WriteTableFiles(out, GenerateSyntheticLines(count, seed, firstId, encipher), 0, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::printf("%s: %d synthetic stations\n", out.c_str(), count);
    return 0;
}
