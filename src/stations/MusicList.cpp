#include "stations/MusicList.h"

#include "app/CommonU.h"
#include "app/GlobalUnit.h"
#include "appearance/LanguageU.h"
#include "playback/StreamUrlParserUnit.h"
#include "stations/TreeFileFormat.h"

#include <algorithm>
#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace {

// The file name part of a path: after the last "/".
std::string FileNamePart(const std::string &path) { return path.substr(path.rfind('/') + 1); }

void CollectFolder(const fs::path &folder, std::set<fs::path> &visited, std::vector<std::string> &files)
{
    std::error_code ec;
    const fs::path real = fs::canonical(folder, ec);
    if (ec || !visited.insert(real).second)
        return;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path &path = it->path();
        if (path.filename().string().starts_with('.'))
            continue;
        std::error_code typeError;
        if (it->is_directory(typeError))
            CollectFolder(path, visited, files);
        else if (IsAcceptedMusicFile(path.string()))
            files.push_back(path.string());
    }
}

// A position to insert at: the end when negative or past it.
int InsertPosition(int position, int count) { return position < 0 || position > count ? count : position; }

// Indexes sorted, without repeats and without any outside the list.
std::vector<int> ValidIndexes(std::vector<int> indexes, int count)
{
    std::erase_if(indexes, [count](int i) { return i < 0 || i >= count; });
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    return indexes;
}

} // namespace

std::string MusicListFileName() { return AppPath() + "Orvane.m3u"; }

bool IsMusicAddress(const std::string &entry) { return entry.find("//") != std::string::npos; }

bool IsAcceptedMusicFile(const std::string &path)
{
    const std::string name = FileNamePart(path);
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        return false;
    std::string extension = name.substr(dot) + ".";
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return std::string_view(WindowsMediaExtensions).find(extension) != std::string_view::npos ||
           std::string_view(RealExtensions).find(extension) != std::string_view::npos;
}

std::string MusicDisplayName(const std::string &entry)
{
    return IsMusicAddress(entry) ? entry : FileNameWithoutExt(entry);
}

std::string MusicItemText(const std::string &entry, int index, int count)
{
    const int width = static_cast<int>(std::to_string(count).size());
    return SpacePad(index + 1, width) + ". " + MusicDisplayName(entry);
}

std::vector<std::string> CollectMusicFiles(const std::string &path)
{
    std::vector<std::string> files;
    std::error_code ec;
    if (fs::is_regular_file(path, ec)) {
        if (IsAcceptedMusicFile(path))
            files.push_back(path);
        return files;
    }
    std::string folder = path;
    if (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    if (folder.empty())
        return files;
    std::set<fs::path> visited;
    CollectFolder(folder, visited, files);
    return files;
}

std::string ExtensionListPattern(const std::string &extensions)
{
    const std::string pattern = ReplaceAll(extensions, ".", ";*.");
    return pattern.size() < 4 ? std::string() : pattern.substr(1, pattern.size() - 4);
}

std::vector<std::pair<std::string, std::string>> MusicFileFilters()
{
    return {
        {Msg(102), "*.mp3;*.mp2;*.mpa;*.mp1;*.mpga"},
        {Msg(135), "*.m3u;*.asx;*.pls;*.xpl;*.rmp;*.wax;*.wpl;*.wvx;*.wmx"},
        {Msg(136), ExtensionListPattern(RealExtensions)},
        {Msg(137), ExtensionListPattern(WindowsMediaExtensions)},
        {Msg(50), "*.*"},
    };
}

// --- TMusicList -------------------------------------------------------------------------

int TMusicList::SetCurrent(int index)
{
    if (index < 0 || index >= Count())
        return -1;
    current_ = index;
    return current_;
}

std::string TMusicList::CurrentFile() const
{
    return current_ >= 0 && current_ < Count() ? entries_[current_] : std::string();
}

int TMusicList::Step(int mode, int focused)
{
    if (entries_.empty())
        return current_;
    int next = mode == 0 ? focused : mode == 1 ? current_ + 1 : current_ - 1;
    if (next >= Count())
        next = 0;
    else if (next < 0)
        next = Count() - 1;
    current_ = next;
    return current_;
}

int TMusicList::AddEntries(const std::vector<std::string> &paths, int position)
{
    int at = InsertPosition(position, Count());
    int added = 0;
    for (const auto &path : paths) {
        const std::vector<std::string> files = CollectMusicFiles(path);
        entries_.insert(entries_.begin() + at, files.begin(), files.end());
        at += static_cast<int>(files.size());
        added += static_cast<int>(files.size());
    }
    changed_ = true;
    return added;
}

void TMusicList::InsertEntry(const std::string &entry, int position)
{
    entries_.insert(entries_.begin() + InsertPosition(position, Count()), entry);
    changed_ = true;
}

void TMusicList::Remove(std::vector<int> indexes)
{
    indexes = ValidIndexes(std::move(indexes), Count());
    for (auto it = indexes.rbegin(); it != indexes.rend(); ++it)
        entries_.erase(entries_.begin() + *it);
    changed_ = true;
}

void TMusicList::Clear()
{
    entries_.clear();
    changed_ = true;
}

void TMusicList::MoveEntries(std::vector<int> indexes, int target)
{
    indexes = ValidIndexes(std::move(indexes), Count());
    if (indexes.empty())
        return;
    target = std::clamp(target, 0, Count() - 1);
    std::vector<char> selected(entries_.size(), 0);
    for (int i : indexes)
        selected[i] = 1;
    // The moved entries go in as one block, in their order: before the target
    // entry when they come from behind it, after it when they come from ahead.
    int at = static_cast<int>(std::count(selected.begin(), selected.begin() + target, 0));
    if (!selected[target] && indexes.front() < target)
        ++at;
    std::vector<std::string> moved, rest;
    for (size_t i = 0; i < entries_.size(); ++i)
        (selected[i] ? moved : rest).push_back(std::move(entries_[i]));
    rest.insert(rest.begin() + at, std::make_move_iterator(moved.begin()), std::make_move_iterator(moved.end()));
    entries_ = std::move(rest);
    changed_ = true;
}

void TMusicList::Load(const std::string &fileName, int current)
{
    std::vector<std::string> lines;
    ReadTextLines(fileName, lines);
    std::erase_if(lines, [](const std::string &line) { return line.empty(); });
    entries_ = std::move(lines);
    current_ = current >= 0 && current < Count() ? current : 0;
    changed_ = false;
}

bool TMusicList::Save(const std::string &fileName)
{
    if (!changed_)
        return true;
    std::error_code ec;
    if (entries_.empty() && !fs::exists(fileName, ec)) {
        changed_ = false;
        return true;
    }
    if (!WriteTextLines(fileName, entries_))
        return false;
    changed_ = false;
    return true;
}
