#pragma once
// Helpers of the station tree tests: a tree written out as comparable text.

#include <string>
#include <vector>

class QTreeWidgetItem;
class TRadioTreeView;

// One line per node in pre-order: depth, image, state, the number (or the
// group data at the top level) and the caption.
std::vector<std::string> DumpTree(const TRadioTreeView &tree);
// The same for one node and its subtree, depths counted from it.
std::vector<std::string> DumpSubtree(const QTreeWidgetItem *node);
