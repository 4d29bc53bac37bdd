// orvane_make_tree: the shipped station tree of one language, made from the
// station source list that also makes the language's data.dat.
//   orvane_make_tree --source stations-eng.tsv --lang eng --out data/Data/eng
// Writes treesys.dat and one group file per group: the channels (the first
// ten stations of the list, locked), empty favourites and recently played,
// and every station by genre, by country and state, and by language.
// Sub-groups are sorted by caption; stations keep the list's order.
#include "stations/StationData.h"
#include "stations/TreeFileFormat.h"

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

enum TColumn { ColId = 0, ColName = 1, ColGenre = 2, ColCountry = 3, ColState = 4, ColLanguage = 6 };

constexpr int StationImage = 0;
constexpr int SubGroupImage = 1;
constexpr int ChannelCount = 10;

struct TCaptions {
    const char *Channels, *Favorites, *Recent, *Genres, *Countries, *Languages, *Unknown;
};

bool CaptionsFor(const std::string &lang, TCaptions &captions)
{
    if (lang == "eng")
        captions = {"Channels", "Favorites", "Recently Played", "Genres", "Countries/Regions", "Languages", "Unknown"};
    else if (lang == "chs")
        captions = {"\xe9\xa2\x91\xe9\x81\x93",                         // 频道
                    "\xe6\x94\xb6\xe8\x97\x8f\xe5\xa4\xb9",             // 收藏夹
                    "\xe6\x9c\x80\xe8\xbf\x91\xe6\x92\xad\xe6\x94\xbe", // 最近播放
                    "\xe6\xb5\x81\xe6\xb4\xbe",                         // 流派
                    "\xe5\x9b\xbd\xe5\xae\xb6/\xe5\x9c\xb0\xe5\x8c\xba", // 国家/地区
                    "\xe8\xaf\xad\xe8\xa8\x80",                         // 语言
                    "\xe6\x9c\xaa\xe7\x9f\xa5"};                        // 未知
    else
        return false;
    return true;
}

using TRows = std::vector<const TStationColumns *>;

// One group's file, built line by line in pre-order.
class TGroupFile {
public:
    TGroupFile(int image, int kind, const std::string &caption) { Add(0, image, kind, caption); }
    void SubGroup(int depth, const std::string &caption) { Add(depth, SubGroupImage, -1, caption); }
    void Stations(int depth, const TRows &rows)
    {
        for (const TStationColumns *row : rows)
            Add(depth, StationImage, std::stoi((*row)[ColId]), (*row)[ColName]);
    }
    const std::vector<std::string> &Lines() const { return lines_; }

private:
    void Add(int depth, int image, int number, const std::string &caption)
    {
        lines_.push_back(ComposeGroupFileLine({depth, image, -1, number, caption}));
    }
    std::vector<std::string> lines_;
};

// Stations under one sub-group per value of a column.
std::map<std::string, TRows> ByColumn(const TRows &rows, int column, const std::string &unknown)
{
    std::map<std::string, TRows> groups;
    for (const TStationColumns *row : rows)
        groups[(*row)[column].empty() ? unknown : (*row)[column]].push_back(row);
    return groups;
}

// One sub-group per value at `depth`, its stations one level deeper.
void AddByColumn(TGroupFile &file, const TRows &rows, int column, const std::string &unknown, int depth = 1)
{
    for (const auto &[caption, members] : ByColumn(rows, column, unknown)) {
        file.SubGroup(depth, caption);
        file.Stations(depth + 1, members);
    }
}

// Countries, within each its states; stations without a state stay directly
// under their country.
void AddByCountryAndState(TGroupFile &file, const TRows &rows, const std::string &unknown)
{
    for (const auto &[country, members] : ByColumn(rows, ColCountry, unknown)) {
        file.SubGroup(1, country);
        TRows withoutState, withState;
        for (const TStationColumns *row : members)
            ((*row)[ColState].empty() ? withoutState : withState).push_back(row);
        AddByColumn(file, withState, ColState, unknown, 2);
        file.Stations(2, withoutState);
    }
}

struct TShippedGroup {
    TGroupFile File;
    std::string FileName;
};

bool WriteTree(const std::vector<TStationColumns> &stations, const TCaptions &captions, const std::string &out)
{
    TRows all;
    for (const auto &row : stations)
        all.push_back(&row);
    const TRows channels(all.begin(), all.begin() + std::min<size_t>(all.size(), ChannelCount));

    std::vector<std::pair<int, TShippedGroup>> groups; // image and group
    auto add = [&](int image, int kind, const char *caption, const char *fileName) -> TGroupFile & {
        groups.push_back({image, {TGroupFile(image, kind, caption), fileName}});
        return groups.back().second.File;
    };
    add(9, ChannelsGroupKind, captions.Channels, "tree_channels.dat").Stations(1, channels);
    add(2, FavoritesGroupKind, captions.Favorites, "tree_favorites.dat");
    add(3, RecentGroupKind, captions.Recent, "tree_recent.dat");
    AddByColumn(add(6, 1, captions.Genres, "tree_genre.dat"), all, ColGenre, captions.Unknown);
    AddByCountryAndState(add(7, 2, captions.Countries, "tree_country.dat"), all, captions.Unknown);
    AddByColumn(add(8, 3, captions.Languages, "tree_language.dat"), all, ColLanguage, captions.Unknown);

    std::vector<std::string> groupList;
    for (const auto &[image, group] : groups) {
        const TGroupFileLine head = ParseGroupFileLine(group.File.Lines().front());
        groupList.push_back(ComposeGroupListLine({image, -1, std::to_string(head.Number), head.Caption, group.FileName}));
        if (!WriteTextLines(out + group.FileName, group.File.Lines())) {
            std::fprintf(stderr, "%s%s: cannot be written\n", out.c_str(), group.FileName.c_str());
            return false;
        }
    }
    if (!WriteTextLines(SystemGroupListName(out), groupList)) {
        std::fprintf(stderr, "%s: cannot be written\n", SystemGroupListName(out).c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    std::string source, lang, out;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--source")
            source = argv[i + 1];
        else if (option == "--lang")
            lang = argv[i + 1];
        else if (option == "--out")
            out = argv[i + 1];
    }
    TCaptions captions{};
    if (source.empty() || out.empty() || !CaptionsFor(lang, captions) || argc % 2 == 0) {
        std::fprintf(stderr, "usage: %s --source LIST.tsv --lang eng|chs --out FOLDER\n", argv[0]);
        return 2;
    }
    if (out.back() != '/')
        out += '/';
    std::vector<TStationColumns> stations;
    std::string error;
    if (!ReadStationSource(source, stations, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    if (!WriteTree(stations, captions, out))
        return 1;
    std::printf("%s: tree of %zu stations\n", out.c_str(), stations.size());
    return 0;
}
