#include "diagnostics/XmlTreeItems.h"

namespace XmlTreeItems {

void release(std::unique_ptr<QTreeWidgetItem> top) {
    if (!top)
        return;
    // All items, every parent before its descendants.
    std::vector<QTreeWidgetItem*> items{top.get()};
    for (std::size_t i = 0; i < items.size(); ++i)
        for (int c = 0; c < items[i]->childCount(); ++c)
            items.push_back(items[i]->child(c));
    // Walking backwards, an item's children are leaves by the time it is reached:
    // taking and freeing them costs nothing per level. (Taking children that still
    // have subtrees walks those subtrees, which is quadratic in the depth.)
    for (auto it = items.rbegin(); it != items.rend(); ++it)
        qDeleteAll((*it)->takeChildren());
}

} // namespace XmlTreeItems
