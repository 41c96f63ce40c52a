#pragma once

#include <QString>
#include <QTreeWidgetItem>
#include <memory>
#include <utility>
#include <vector>

// Tree items for the diagnostics window's XML tabs, built from any XML node type
// through three small functions, so this code needs nothing of the DOM itself.
// Documents can be nested tens of thousands of levels deep: building and freeing
// work with explicit stacks and never recurse.
namespace XmlTreeItems {

// One row of the tree: the node's name and its value (attribute value, text).
struct Row {
    QString name;
    QString value;
};

// Builds the items for `root` and everything below it, children in document
// order. `describe(node)` gives the node's row; `children(node)` gives its child
// nodes as a container of Node.
template <typename Node, typename Describe, typename Children>
std::unique_ptr<QTreeWidgetItem> build(const Node& root, Describe describe, Children children) {
    auto makeItem = [&describe](const Node& node) {
        const Row row = describe(node);
        return new QTreeWidgetItem(QStringList{row.name, row.value});
    };
    std::unique_ptr<QTreeWidgetItem> top(makeItem(root));
    std::vector<std::pair<Node, QTreeWidgetItem*>> pending{{root, top.get()}};
    while (!pending.empty()) {
        auto [node, item] = std::move(pending.back());
        pending.pop_back();
        for (const Node& child : children(node)) {
            QTreeWidgetItem* childItem = makeItem(child);
            item->addChild(childItem);
            pending.emplace_back(child, childItem);
        }
    }
    return top;
}

// Frees the items bottom up, so that no item's destructor recurses into a deep subtree.
void release(std::unique_ptr<QTreeWidgetItem> top);

} // namespace XmlTreeItems
