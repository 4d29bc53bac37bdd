#pragma once
// Helpers of the station storage tests: file times and the index files' content.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class TTextTable;

// Sets a file's last-write time.
void SetFileTime(const std::string &path, std::int64_t seconds, long nanoseconds = 0);
// Moves a file's last-write time `seconds` later, as an edit in another program would.
void TouchLater(const std::string &path, std::int64_t seconds = 10);

// The offsets stored in an offset index (slots 0..N), without the stamp.
std::vector<std::int32_t> IdpOffsets(const std::string &idpPath);
// The stamp stored in an offset index (its last 8 bytes).
std::uint64_t IdpStamp(const std::string &idpPath);
// The (ID, line) entries of an ID index, in file order.
std::vector<std::pair<std::int32_t, std::int32_t>> IdiEntries(const std::string &idiPath);

// The lines joined with CR LF after each.
std::string JoinCrLf(const std::vector<std::string> &lines);

// Checks the table file and both index files against the expected lines:
// exact table bytes, offsets, stamp = the table's last-write time, and one
// sorted ID entry per line. Returns an empty text or what differs.
std::string CheckTableFiles(const std::string &tableName, const std::vector<std::string> &lines);
