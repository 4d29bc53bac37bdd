#pragma once
// The station tree's text files without any widget: group list lines, group
// file lines and how a group file's indentation nests its nodes, reading and
// writing whole files of lines, the group file names, and the conversion of
// the older single group list.
//
// A group list line is  image "/" state "/" kind "/" caption "=" file name.
// A group file line is  depth TABs, image "/" state "/" number "/" caption;
// its first line stands for the group itself.

#include <string>
#include <vector>

// Group kinds that carry rules of their own.
constexpr int ChannelsGroupKind = -11;
constexpr int LockedGroupKindLow = -49;     // -49 ... -11: locked
constexpr int LockedGroupKindHigh = -11;
constexpr int ManualUpdateGroupKind = -96;  // built at load time, never saved
constexpr int RecentGroupKind = -97;
constexpr int FavoritesGroupKind = -99;
constexpr int NewUserGroupKind = -101;      // below -100: the user's groups

bool IsLockedGroupKind(int kind);
bool IsUserGroupKind(int kind);

// A decimal 32-bit integer with an optional sign; `def` for anything else.
int ParseTreeNumber(const std::string &text, int def);

// Nodes nested deeper than this below their group are dropped when a group
// file is read, so a hostile file cannot exhaust the stack of tree walks.
constexpr int MaxGroupDepth = 256;

// --- Group lists ------------------------------------------------------------

struct TGroupListEntry {
    int ImageIndex = -1;
    int StateIndex = -1;
    std::string KindText; // kept as written
    std::string Caption;
    std::string FileName; // relative to the data folder, may be empty
};

// Fields cut at the first three "/", a missing or malformed number giving -1;
// then the caption up to the first "=" and the file name after it (no "=":
// empty caption, the rest is the file name).
TGroupListEntry ParseGroupListLine(const std::string &line);
std::string ComposeGroupListLine(const TGroupListEntry &entry);

// The kind of a group list line as saved: its third "/" field, -101 (a user
// group) when that is not a number.
int GroupListLineKind(const std::string &line);

// The lines of a whole tree's group list shared out: kinds below -100 to the
// user's list, the manual update node dropped, everything else to the
// maker's list.
void SplitGroupLists(const std::vector<std::string> &lines, std::vector<std::string> &systemLines,
                     std::vector<std::string> &userLines);

// --- Group files ------------------------------------------------------------

struct TGroupFileLine {
    int Depth = 0; // leading TABs and spaces
    int ImageIndex = -1;
    int StateIndex = -1;
    int Number = -1; // the group's kind, a station ID or a negative sub-group value
    std::string Caption;
};

TGroupFileLine ParseGroupFileLine(const std::string &line);
// Line breaks in the caption become spaces: one node is one line.
std::string ComposeGroupFileLine(const TGroupFileLine &line);

// One node of a group file, placed under an earlier node of the same file.
struct TSubtreeNode {
    int Parent; // index into TSubtree::Nodes, -1 for the group node itself
    TGroupFileLine Line;
};

struct TSubtree {
    bool HasHead = false; // the file had a first line
    TGroupFileLine Head;  // that line: applies to the group node
    std::vector<TSubtreeNode> Nodes; // pre-order
};

// Nests group file lines: each line relative to the node before it — the
// same depth makes a sibling, one deeper a child, shallower climbs back.
// A line deeper by more than one is dropped, and so are the lines below it
// that stay too deep. A further line at the group's own depth would stand
// beside the group rather than in it, and is dropped too.
TSubtree NestGroupFile(const std::vector<std::string> &lines);

// --- Files ------------------------------------------------------------------

// Appends the file's lines (CR LF, LF or CR end a line; a final line break
// makes no empty line). False when the file cannot be opened or read to its
// end; the lines read before a read error are kept.
bool ReadTextLines(const std::string &fileName, std::vector<std::string> &lines);
// Writes every line followed by CR LF to a temporary file beside the target
// and renames it over the target, so a failed write leaves the old file whole.
bool WriteTextLines(const std::string &fileName, const std::vector<std::string> &lines);

// Names of the tree files in a data folder (ending in "/").
std::string SystemGroupListName(const std::string &dataPath); // "treesys.dat"
std::string UserGroupListName(const std::string &dataPath);   // "treeuser.dat"
std::string OldGroupListName(const std::string &dataPath);    // "tree.dat"

// The path of a group file named in a group list: data folder + name, with
// "\" read as "/". Empty when the name could reach outside the data folder
// (absolute, or with a ".." part) or names no file (empty, ends in "/").
std::string GroupFilePath(const std::string &dataPath, const std::string &fileName);

// "tree_user" + k + ".dat" for the smallest k >= 1 that is not in `taken`.
std::string NewUserGroupFileName(const std::vector<std::string> &taken);

// Converts the older single group list "tree.dat": beside a "treesys.dat"
// its user groups (kind below -100) become "treeuser.dat" and it is deleted;
// without one it becomes "treesys.dat", deleted only once copied.
void MigrateTreeFile(const std::string &dataPath);
