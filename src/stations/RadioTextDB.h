#pragma once
// TRadioTable: the station database, a text table whose every line is one
// station of fifteen TAB-separated columns:
//   ID, name, genre, country, state, city, language, format, validity, speed,
//   frequency, proxy, homepage, schedule, stream addresses ("||"-joined).
// In an enciphered table (the maker's "data.dat") a line is the ID, one TAB
// and the data cipher's text of columns 2 to 15.
//
// Station IDs choose the file: 1..100000 are the maker's stations in
// DataFileName() (enciphered), above 100000 the user's in UserDataFileName().

#include "stations/TextDB.h"

#include <string>
#include <vector>

// Highest ID of a maker's station; user stations take IDs above it.
constexpr int MaxSystemStationId = 100000;

bool IsSystemStationId(int id);
// DataFileName() for a maker's station, UserDataFileName() otherwise.
std::string StationFileName(int id);

class TRadioTable : public TTextTable {
public:
    TRadioTable() = default;

    // The records are enciphered after the ID column. Setting it also sets
    // NeedCheckIndex to the opposite: an enciphered table is never re-indexed.
    bool Encry() const { return encry_; }
    void SetEncry(bool value);

    // Points the table at the file of station `id` by the ID rule (TableName
    // and Encry); an open table on another file is closed first.
    void SelectById(int id);

    // The fifteen columns, as stored.
    std::string VID;
    std::string VRadioName;
    std::string VGenre;
    std::string VCountry;
    std::string VState;
    std::string VCity;
    std::string VLanguage;
    std::string VFormat;    // "0" auto, "1" Real, "2" Windows Media, "3" Flash; empty counts as "0"
    std::string VValidity;  // "0" unknown, "1" bad, "2" good, "3" better, "4" best
    std::string VSpeed;     // e.g. "128K"
    std::string VFrequency;
    std::string VProxy;
    std::string VHomepage;
    std::string VSchedule;
    std::string VStreamURL; // one or more addresses joined by "||"

    void ClearFields();
    // Fills the fields from a line, deciphering after the ID when Encry is set.
    // Short lines keep their meaning: ID, name, [schedule,] addresses.
    void ParseRecord(const std::string &line);
    // The fifteen fields joined by TAB, always plain.
    std::string ComposeRecord() const;

    // ReadById + ParseRecord; a missing ID leaves every field empty. True
    // when a line was found.
    bool LoadById(int id);
    bool SaveById(int id);
    // ReadLine + ParseRecord; returns the raw line.
    std::string LoadLine(int line);
    bool SaveLine(int line);
    bool AppendRecord();
    bool InsertRecord(int line);

    // Duplicate search over the plain file: 2 when a line's address column
    // contains `url` (ignoring case), plus 1 when its name equals `name`
    // (ignoring case). The first line with a non-zero result ends the search
    // and sets VID, VRadioName and VStreamURL (the last two in lower case).
    int FindByNameOrUrl(const std::string &name, const std::string &url);
    // First line after line `after` whose name (FindName) or address column
    // (FindUrl) contains `text` ignoring case: parsed into the fields, its
    // line number returned; 0 when none.
    int FindName(const std::string &text, int after);
    int FindUrl(const std::string &text, int after);

    static std::vector<std::string> SplitAddresses(const std::string &joined);
    static std::string JoinAddresses(const std::vector<std::string> &addresses);
    // "1" or "3": "RP"; "2" or "4": "WMP"; else "Auto" (from the message table).
    static std::string FormatName(const std::string &code);
    // "1" Bad, "2" Good, "3" Better, "4" Best, else Unknown.
    static std::string ValidityName(const std::string &code);
    // The description shown for a station, lines joined by CR LF; the stream
    // address only for plain (user) tables.
    std::string StationInfoText() const;

private:
    int FindInColumn(const std::string &text, int after, bool lastColumn);

    bool encry_ = false;
};

// The reference lists of the current language: LanguagePath() + CurLng() + "/" + name
// ("genre.txt", "language.txt", "speed.txt", "country.txt").
std::string ReferenceListFileName(const std::string &name);
// The lines of a text file (any line break), as they stand; empty when the
// file cannot be read.
std::vector<std::string> ReadTextLines(const std::string &fileName);
// A choice list ("genre.txt", "language.txt", "speed.txt"): one choice per
// line; lines that are blank after trimming are left out.
std::vector<std::string> LoadChoiceList(const std::string &fileName);

// "country.txt" is a three-level outline: a country at the start of a line,
// its states after one TAB, a state's cities after two TABs. Lines blank after
// trimming are ignored.
std::vector<std::string> CountryList(const std::vector<std::string> &lines);
std::vector<std::string> StateList(const std::vector<std::string> &lines, const std::string &country);
std::vector<std::string> CityList(const std::vector<std::string> &lines, const std::string &country,
                                  const std::string &state);
