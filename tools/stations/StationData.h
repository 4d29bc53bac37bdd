#pragma once
// Making station table files outside the program: the shipped maker's data
// (enciphered "data.dat" with its ".idp" and ".idi") from a reviewable source
// list, and large synthetic tables for the benchmarks.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

constexpr int StationColumnCount = 15;
// ID, name, genre, country, state, city, language, format, validity, speed,
// frequency, proxy, homepage, schedule, stream addresses ("||"-joined).
using TStationColumns = std::array<std::string, StationColumnCount>;

// Reads a station source list: UTF-8 text, one station per line of exactly 15
// TAB-separated columns in record order; lines starting with "#" and blank
// lines are skipped. IDs must be decimal, 1 to 100000 and unique; no column
// may hold CR. On failure `error` names the line.
bool ReadStationSource(const std::string &path, std::vector<TStationColumns> &rows, std::string &error);

// One table line: the columns joined by TAB, or, enciphered, the ID, one TAB
// and the data cipher's text of columns 2 to 15 joined by TAB.
std::string ComposeStationLine(const TStationColumns &columns, bool encipher);

// Writes the table file and its two index files directly from the lines
// (each line gets CR LF). The offsets are the lines' byte lengths, so an
// enciphered table whose cipher text holds CR or LF bytes is indexed right.
// A non-zero `stamp` (FILETIME) becomes the table file's last-write time and
// the stored stamp, so the output does not depend on when it was made; 0 takes
// the table file's real last-write time. Each file is written beside its
// place and renamed over it.
bool WriteTableFiles(const std::string &tableName, const std::vector<std::string> &lines, std::uint64_t stamp,
                     std::string &error);

// `count` synthetic station lines with IDs firstId, firstId+1, ... (plain, or
// enciphered after the ID), about 200 bytes each, the same for the same seed.
std::vector<std::string> GenerateSyntheticLines(int count, std::uint32_t seed, int firstId = 1,
                                                bool encipher = false);
