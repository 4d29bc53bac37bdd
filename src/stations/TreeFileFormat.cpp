#include "stations/TreeFileFormat.h"

#include "app/CommonU.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

bool IsLockedGroupKind(int kind) { return kind >= LockedGroupKindLow && kind <= LockedGroupKindHigh; }
bool IsUserGroupKind(int kind) { return kind < -100; }

int ParseTreeNumber(const std::string &text, int def)
{
    const char *first = text.data();
    const char *last = first + text.size();
    if (first != last && *first == '+')
        ++first;
    int value = 0;
    auto [end, ec] = std::from_chars(first, last, value);
    return (ec == std::errc() && end == last && first != last) ? value : def;
}

// --- Group lists ------------------------------------------------------------

TGroupListEntry ParseGroupListLine(const std::string &line)
{
    std::string rest = line;
    TGroupListEntry entry;
    entry.ImageIndex = ParseTreeNumber(SplitFirst(rest, "/"), -1);
    entry.StateIndex = ParseTreeNumber(SplitFirst(rest, "/"), -1);
    entry.KindText = SplitFirst(rest, "/");
    const auto eq = rest.find('=');
    if (eq == std::string::npos) {
        entry.FileName = rest;
    } else {
        entry.Caption = rest.substr(0, eq);
        entry.FileName = rest.substr(eq + 1);
    }
    return entry;
}

std::string ComposeGroupListLine(const TGroupListEntry &entry)
{
    return std::to_string(entry.ImageIndex) + "/" + std::to_string(entry.StateIndex) + "/" + entry.KindText + "/" +
           entry.Caption + "=" + entry.FileName;
}

int GroupListLineKind(const std::string &line) { return ParseTreeNumber(GetField(line, 3, '/'), NewUserGroupKind); }

void SplitGroupLists(const std::vector<std::string> &lines, std::vector<std::string> &systemLines,
                     std::vector<std::string> &userLines)
{
    for (const auto &line : lines) {
        const int kind = GroupListLineKind(line);
        if (IsUserGroupKind(kind))
            userLines.push_back(line);
        else if (kind != ManualUpdateGroupKind)
            systemLines.push_back(line);
    }
}

// --- Group files ------------------------------------------------------------

TGroupFileLine ParseGroupFileLine(const std::string &line)
{
    TGroupFileLine result;
    size_t depth = 0;
    while (depth < line.size() && (line[depth] == '\t' || line[depth] == ' '))
        ++depth;
    // Clamped so that an absurd indentation still compares as "too deep".
    result.Depth = static_cast<int>(std::min<size_t>(depth, MaxGroupDepth + 1));
    std::string rest = line.substr(depth);
    result.ImageIndex = ParseTreeNumber(SplitFirst(rest, "/"), -1);
    result.StateIndex = ParseTreeNumber(SplitFirst(rest, "/"), -1);
    result.Number = ParseTreeNumber(SplitFirst(rest, "/"), -1);
    result.Caption = std::move(rest);
    return result;
}

std::string ComposeGroupFileLine(const TGroupFileLine &line)
{
    std::string caption = line.Caption;
    ReplaceChar(caption, '\r', ' ');
    ReplaceChar(caption, '\n', ' ');
    return std::string(static_cast<size_t>(std::max(line.Depth, 0)), '\t') + std::to_string(line.ImageIndex) + "/" +
           std::to_string(line.StateIndex) + "/" + std::to_string(line.Number) + "/" + caption;
}

TSubtree NestGroupFile(const std::vector<std::string> &lines)
{
    TSubtree tree;
    if (lines.empty())
        return tree;
    tree.HasHead = true;
    tree.Head = ParseGroupFileLine(lines.front());
    // path[d] is the last node placed at depth d; depth 0 is the group itself.
    std::vector<int> path{-1};
    tree.Nodes.reserve(lines.size() - 1);
    for (size_t i = 1; i < lines.size(); ++i) {
        TGroupFileLine line = ParseGroupFileLine(lines[i]);
        const int depth = line.Depth;
        const int previousDepth = static_cast<int>(path.size()) - 1;
        if (depth == 0 || depth > previousDepth + 1 || depth > MaxGroupDepth)
            continue;
        path.resize(static_cast<size_t>(depth));
        const int parent = path.back();
        path.push_back(static_cast<int>(tree.Nodes.size()));
        tree.Nodes.push_back({parent, std::move(line)});
    }
    return tree;
}

// --- Files ------------------------------------------------------------------

bool ReadTextLines(const std::string &fileName, std::vector<std::string> &lines)
{
    FILE *f = std::fopen(fileName.c_str(), "rb");
    if (!f)
        return false;
    struct stat st {};
    if (fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) {
        std::fclose(f);
        return false;
    }
    std::string current;
    bool afterCr = false; // the last line ended in CR: a LF right after it belongs to it
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
        size_t start = 0;
        for (size_t i = 0; i < n; ++i) {
            const char c = buffer[i];
            if (c != '\r' && c != '\n')
                continue;
            current.append(buffer + start, i - start);
            start = i + 1;
            if (c == '\n' && afterCr && current.empty()) {
                afterCr = false;
                continue;
            }
            lines.push_back(std::move(current));
            current.clear();
            afterCr = c == '\r';
        }
        if (start < n) {
            current.append(buffer + start, n - start);
            afterCr = false;
        }
    }
    const bool ok = !std::ferror(f);
    std::fclose(f);
    if (!current.empty())
        lines.push_back(std::move(current));
    return ok;
}

bool WriteTextLines(const std::string &fileName, const std::vector<std::string> &lines)
{
    static unsigned counter = 0;
    const std::string tmp = fileName + ".tmp" + std::to_string(getpid()) + "_" + std::to_string(counter++);
    FILE *f = std::fopen(tmp.c_str(), "wb");
    if (!f)
        return false;
    bool ok = true;
    for (const auto &line : lines) {
        if (std::fwrite(line.data(), 1, line.size(), f) != line.size() || std::fwrite("\r\n", 1, 2, f) != 2) {
            ok = false;
            break;
        }
    }
    ok = (std::fflush(f) == 0) && ok;
    ok = (std::fclose(f) == 0) && ok;
    if (ok)
        ok = std::rename(tmp.c_str(), fileName.c_str()) == 0;
    if (!ok)
        std::remove(tmp.c_str());
    return ok;
}

std::string SystemGroupListName(const std::string &dataPath) { return dataPath + "treesys.dat"; }
std::string UserGroupListName(const std::string &dataPath) { return dataPath + "treeuser.dat"; }
std::string OldGroupListName(const std::string &dataPath) { return dataPath + "tree.dat"; }

std::string GroupFilePath(const std::string &dataPath, const std::string &fileName)
{
    std::string name = fileName;
    ReplaceChar(name, '\\', '/');
    if (name.empty() || name.front() == '/' || name.back() == '/')
        return {};
    std::string rest = name;
    while (!rest.empty()) {
        const std::string part = SplitFirst(rest, "/");
        if (part == "..")
            return {};
    }
    return dataPath + name;
}

std::string NewUserGroupFileName(const std::vector<std::string> &taken)
{
    for (int k = 1;; ++k) {
        std::string name = "tree_user" + std::to_string(k) + ".dat";
        if (std::find(taken.begin(), taken.end(), name) == taken.end())
            return name;
    }
}

void MigrateTreeFile(const std::string &dataPath)
{
    const std::string oldName = OldGroupListName(dataPath);
    std::vector<std::string> lines;
    // An unreadable old list stays where it is: deleting it would lose the
    // user's groups.
    if (!ReadTextLines(oldName, lines))
        return;
    bool converted;
    if (access(SystemGroupListName(dataPath).c_str(), F_OK) == 0) {
        std::vector<std::string> userLines;
        for (const auto &line : lines)
            if (IsUserGroupKind(GroupListLineKind(line)))
                userLines.push_back(line);
        converted = userLines.empty() || WriteTextLines(UserGroupListName(dataPath), userLines);
    } else {
        converted = WriteTextLines(SystemGroupListName(dataPath), lines);
    }
    if (converted)
        std::remove(oldName.c_str());
}
