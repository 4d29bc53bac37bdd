#include "stations/RadioTextDB.h"

#include "app/GlobalUnit.h"
#include "appearance/LanguageU.h"
#include "stations/des_my.h"

#include <string_view>

namespace {

// Message keys of the station description and the format and rating names.
enum : int {
    MsgName = 65, MsgGenre, MsgLanguage, MsgPlace, MsgFormat, MsgSpeed, MsgValidity,
    MsgStreamUrl, MsgHomepage, MsgSchedule, MsgProxy, MsgFrequency,
    MsgAuto = 77, MsgRP = 78, MsgWMP = 79,
    MsgBad = 82, MsgGood, MsgBetter, MsgBest, MsgUnknown
};

// Cuts the first column off `rest` (up to the first TAB, or all of it).
std::string CutFront(std::string_view &rest)
{
    const std::size_t tab = rest.find('\t');
    std::string col(rest.substr(0, tab));
    rest = tab == std::string_view::npos ? std::string_view() : rest.substr(tab + 1);
    return col;
}

// Cuts the last column off `rest` (after the last TAB, or all of it).
std::string CutBack(std::string_view &rest)
{
    const std::size_t tab = rest.rfind('\t');
    if (tab == std::string_view::npos) {
        std::string col(rest);
        rest = std::string_view();
        return col;
    }
    std::string col(rest.substr(tab + 1));
    rest = rest.substr(0, tab);
    return col;
}

std::string LowerAscii(std::string_view s)
{
    std::string out(s);
    for (char &c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string_view TrimView(std::string_view s)
{
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ')
        s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ')
        s.remove_suffix(1);
    return s;
}

bool IsBlank(const std::string &line) { return TrimView(line).empty(); }

// The ID, name and address columns of a plain line, split as ParseRecord does.
struct TKeyColumns {
    std::string id, name, url;
};

TKeyColumns KeyColumns(const std::string &line)
{
    std::string_view rest(line);
    TKeyColumns k;
    k.id = CutFront(rest);
    k.name = CutFront(rest);
    k.url = CutBack(rest);
    return k;
}

} // namespace

bool IsSystemStationId(int id) { return id <= MaxSystemStationId; }

std::string StationFileName(int id)
{
    return IsSystemStationId(id) ? DataFileName() : UserDataFileName();
}

void TRadioTable::SetEncry(bool value)
{
    encry_ = value;
    SetNeedCheckIndex(!value);
}

void TRadioTable::SelectById(int id)
{
    SetTableName(StationFileName(id));
    SetEncry(IsSystemStationId(id));
}

void TRadioTable::ClearFields()
{
    for (std::string *f : {&VID, &VRadioName, &VGenre, &VCountry, &VState, &VCity, &VLanguage, &VFormat,
                           &VValidity, &VSpeed, &VFrequency, &VProxy, &VHomepage, &VSchedule, &VStreamURL})
        f->clear();
}

void TRadioTable::ParseRecord(const std::string &line)
{
    std::string_view rest(line);
    VID = CutFront(rest);
    std::string plain;
    if (encry_) {
        plain = DecipherText(std::string(rest));
        rest = plain;
    }
    VRadioName = CutFront(rest);
    VStreamURL = CutBack(rest);
    VSchedule = CutBack(rest);
    for (std::string *f : {&VGenre, &VCountry, &VState, &VCity, &VLanguage, &VFormat, &VValidity, &VSpeed,
                           &VFrequency, &VProxy, &VHomepage})
        *f = CutFront(rest);
}

std::string TRadioTable::ComposeRecord() const
{
    std::string line;
    bool first = true;
    for (const std::string *f : {&VID, &VRadioName, &VGenre, &VCountry, &VState, &VCity, &VLanguage, &VFormat,
                                 &VValidity, &VSpeed, &VFrequency, &VProxy, &VHomepage, &VSchedule, &VStreamURL}) {
        if (!first)
            line += '\t';
        line += *f;
        first = false;
    }
    return line;
}

bool TRadioTable::LoadById(int id)
{
    const std::string line = ReadById(id);
    ParseRecord(line);
    return !line.empty();
}

bool TRadioTable::SaveById(int id) { return ModifyById(id, ComposeRecord()); }

std::string TRadioTable::LoadLine(int line)
{
    std::string text = ReadLine(line);
    ParseRecord(text);
    return text;
}

bool TRadioTable::SaveLine(int line) { return ModifyLine(line, ComposeRecord()); }

bool TRadioTable::AppendRecord() { return AppendLine(ComposeRecord()); }

bool TRadioTable::InsertRecord(int line) { return InsertLine(line, ComposeRecord()); }

int TRadioTable::FindByNameOrUrl(const std::string &name, const std::string &url)
{
    const std::string lowerUrl = LowerAscii(url);
    const std::string lowerName = LowerAscii(name);
    int result = 0;
    TextDBFile::ReadTextLines(TableName(), [&](int, const std::string &text) {
        TKeyColumns k = KeyColumns(text);
        k.name = LowerAscii(k.name);
        k.url = LowerAscii(k.url);
        int r = 0;
        if (!lowerUrl.empty() && k.url.find(lowerUrl) != std::string::npos)
            r = 2;
        if (k.name == lowerName)
            r += 1;
        if (r == 0)
            return true;
        result = r;
        VID = k.id;
        VRadioName = k.name;
        VStreamURL = k.url;
        return false;
    });
    return result;
}

int TRadioTable::FindInColumn(const std::string &text, int after, bool lastColumn)
{
    const std::string sought = LowerAscii(text);
    if (sought.empty())
        return 0;
    int found = 0;
    std::string foundLine;
    TextDBFile::ReadTextLines(TableName(), [&](int number, const std::string &line) {
        if (number <= after)
            return true;
        const TKeyColumns k = KeyColumns(line);
        if (LowerAscii(lastColumn ? k.url : k.name).find(sought) == std::string::npos)
            return true;
        found = number;
        foundLine = line;
        return false;
    });
    if (found > 0)
        ParseRecord(foundLine);
    return found;
}

int TRadioTable::FindName(const std::string &text, int after) { return FindInColumn(text, after, false); }

int TRadioTable::FindUrl(const std::string &text, int after) { return FindInColumn(text, after, true); }

std::vector<std::string> TRadioTable::SplitAddresses(const std::string &joined)
{
    std::vector<std::string> list;
    if (joined.empty())
        return list;
    std::size_t start = 0;
    for (;;) {
        const std::size_t sep = joined.find("||", start);
        if (sep == std::string::npos) {
            list.push_back(joined.substr(start));
            return list;
        }
        list.push_back(joined.substr(start, sep - start));
        start = sep + 2;
    }
}

std::string TRadioTable::JoinAddresses(const std::vector<std::string> &addresses)
{
    std::string joined;
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        if (i > 0)
            joined += "||";
        joined += addresses[i];
    }
    return joined;
}

std::string TRadioTable::FormatName(const std::string &code)
{
    if (code == "1" || code == "3")
        return Msg(MsgRP);
    if (code == "2" || code == "4")
        return Msg(MsgWMP);
    return Msg(MsgAuto);
}

std::string TRadioTable::ValidityName(const std::string &code)
{
    if (code == "1")
        return Msg(MsgBad);
    if (code == "2")
        return Msg(MsgGood);
    if (code == "3")
        return Msg(MsgBetter);
    if (code == "4")
        return Msg(MsgBest);
    return Msg(MsgUnknown);
}

std::string TRadioTable::StationInfoText() const
{
    auto line = [](int key, const std::string &value) { return Msg(key) + "  " + value; };
    std::string text;
    text += line(MsgName, VRadioName) + "\r\n";
    text += line(MsgGenre, VGenre) + "\r\n";
    text += line(MsgLanguage, VLanguage) + "\r\n";
    text += line(MsgPlace, VCountry + " " + VState + " " + VCity) + "\r\n";
    text += line(MsgFormat, FormatName(VFormat)) + "\r\n";
    text += line(MsgSpeed, VSpeed) + "\r\n";
    text += line(MsgValidity, ValidityName(VValidity)) + "\r\n";
    if (!encry_) {
        const std::size_t sep = VStreamURL.find("||");
        text += line(MsgStreamUrl, std::string(TrimView(std::string_view(VStreamURL).substr(0, sep)))) + "\r\n";
    }
    text += line(MsgHomepage, VHomepage) + "\r\n";
    text += line(MsgSchedule, VSchedule) + "\r\n";
    text += line(MsgProxy, VProxy) + "\r\n";
    text += line(MsgFrequency, VFrequency);
    return text;
}

std::string ReferenceListFileName(const std::string &name)
{
    return LanguagePath() + CurLng() + "/" + name;
}

std::vector<std::string> ReadTextLines(const std::string &fileName)
{
    std::vector<std::string> lines;
    TextDBFile::ReadTextLines(fileName, [&lines](int, const std::string &text) {
        lines.push_back(text);
        return true;
    });
    return lines;
}

std::vector<std::string> LoadChoiceList(const std::string &fileName)
{
    std::vector<std::string> list;
    for (std::string &line : ReadTextLines(fileName))
        if (!IsBlank(line))
            list.push_back(std::move(line));
    return list;
}

std::vector<std::string> CountryList(const std::vector<std::string> &lines)
{
    std::vector<std::string> list;
    for (const std::string &line : lines)
        if (!IsBlank(line) && line[0] != '\t')
            list.push_back(line);
    return list;
}

std::vector<std::string> StateList(const std::vector<std::string> &lines, const std::string &country)
{
    std::vector<std::string> list;
    std::size_t i = 0;
    while (i < lines.size() && lines[i] != country)
        ++i;
    for (++i; i < lines.size(); ++i) {
        const std::string &line = lines[i];
        if (IsBlank(line))
            continue;
        if (line[0] != '\t')
            break;
        if (line.size() >= 2 && line[1] != '\t')
            list.push_back(line.substr(1));
    }
    return list;
}

std::vector<std::string> CityList(const std::vector<std::string> &lines, const std::string &country,
                                  const std::string &state)
{
    std::vector<std::string> list;
    std::size_t i = 0;
    while (i < lines.size() && lines[i] != country)
        ++i;
    const std::string stateLine = "\t" + state;
    for (++i; i < lines.size() && lines[i] != stateLine; ++i) {
    }
    for (++i; i < lines.size(); ++i) {
        const std::string &line = lines[i];
        if (IsBlank(line))
            continue;
        if (line.size() < 2 || line[0] != '\t' || line[1] != '\t')
            break;
        list.push_back(line.substr(2));
    }
    return list;
}
