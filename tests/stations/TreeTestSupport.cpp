#include "TreeTestSupport.h"

#include "stations/RadioTreeViewU.h"

namespace {

std::string DumpNode(const QTreeWidgetItem *item, int depth)
{
    const TRadioTreeNode *node = TRadioTreeView::Node(item);
    if (!node)
        return std::to_string(depth) + " <foreign item>";
    std::string data = item->type() == TRadioGroupNode::NodeType
                           ? static_cast<const TRadioGroupNode *>(item)->GroupData()
                           : std::to_string(node->Number());
    return std::to_string(depth) + " " + std::to_string(node->ImageIndex()) + "/" +
           std::to_string(node->StateIndex()) + "/" + data + "/" + node->Caption();
}

} // namespace

std::vector<std::string> DumpSubtree(const QTreeWidgetItem *node)
{
    std::vector<std::string> lines{DumpNode(node, 0)};
    ForEachDescendant(node, [&](const QTreeWidgetItem *child, int depth) {
        lines.push_back(DumpNode(child, depth));
        return true;
    });
    return lines;
}

std::vector<std::string> DumpTree(const TRadioTreeView &tree)
{
    std::vector<std::string> lines;
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        auto sub = DumpSubtree(tree.topLevelItem(i));
        lines.insert(lines.end(), sub.begin(), sub.end());
    }
    return lines;
}
