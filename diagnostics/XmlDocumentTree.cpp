#include "diagnostics/XmlDocumentTree.h"

#include "diagnostics/XmlTreeItems.h"
#include "platform/xml/TXMLDocument.h"

namespace {

bool isBlankText(const IXMLNode& node) {
    return node.nodeType() == XMLNodeType::Text && node.nodeValue().trimmed().isEmpty();
}

std::vector<IXMLNode> shownChildren(const IXMLNode& node) {
    std::vector<IXMLNode> shown;
    if (node.nodeType() != XMLNodeType::Element)
        return shown;
    const IXMLNodeList attributes = node.attributeNodes();
    for (int i = 0; i < attributes.count(); ++i)
        shown.push_back(attributes.item(i));
    const IXMLNodeList children = node.childNodes();
    for (int i = 0; i < children.count(); ++i) {
        IXMLNode child = children.item(i);
        if (!isBlankText(child))
            shown.push_back(std::move(child));
    }
    return shown;
}

} // namespace

std::unique_ptr<QTreeWidgetItem> xmlDocumentTree(const TXMLDocument& document) {
    return document.active() ? xmlElementTree(document.documentElement()) : nullptr;
}

std::unique_ptr<QTreeWidgetItem> xmlElementTree(const IXMLNode& element) {
    if (element.isNull())
        return nullptr;
    return XmlTreeItems::build(
        element,
        [](const IXMLNode& node) {
            return XmlTreeItems::Row{node.nodeName(), node.nodeValue()};
        },
        shownChildren);
}
