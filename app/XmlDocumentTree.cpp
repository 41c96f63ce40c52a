#include "app/XmlDocumentTree.h"

#include "diagnostics/XmlTreeItems.h"
#include "platform/xml/TXMLDocument.h"

#include <vector>

namespace {

std::vector<IXMLNode> nodesOf(const IXMLNodeList& list) {
    std::vector<IXMLNode> nodes;
    nodes.reserve(static_cast<std::size_t>(list.count()));
    for (int i = 0; i < list.count(); ++i)
        nodes.push_back(list.item(i));
    return nodes;
}

} // namespace

std::unique_ptr<QTreeWidgetItem> documentTree(const TXMLDocument& document) {
    if (!document.active())
        return nullptr;
    return XmlTreeItems::build(
        document.documentNode(),
        [](const IXMLNode& node) {
            return XmlTreeItems::Row{node.nodeName(), node.nodeValue()};
        },
        [](const IXMLNode& node) {
            std::vector<IXMLNode> children;
            if (node.nodeType() == XMLNodeType::Element)
                children = nodesOf(node.attributeNodes());
            for (IXMLNode& child : nodesOf(node.childNodes()))
                children.push_back(std::move(child));
            return children;
        });
}
