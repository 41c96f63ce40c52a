#include "platform/Error.h"
#include "platform/xml/IXMLNode.h"
#include "platform/xml/XmlNodeData.h"

namespace {

const XmlNodeData::List& nodesOf(const IXMLNode& owner, bool attributes) {
    const XmlNodeData* data = XmlNodeAccess::data(owner);
    return attributes ? data->attributes() : data->children();
}

// A name finds a node by its full name or by its local name, the part after
// the prefix and colon.
bool matches(const XmlNodeData* node, const QString& name) {
    if (node->name == name)
        return true;
    const qsizetype colon = node->name.indexOf(u':');
    return colon >= 0 && QStringView(node->name).sliced(colon + 1) == name;
}

} // namespace

int IXMLNodeList::count() const {
    return int(nodesOf(owner_, attributes_).size());
}

IXMLNode IXMLNodeList::item(int index) const {
    const auto& nodes = nodesOf(owner_, attributes_);
    if (index < 0 || std::size_t(index) >= nodes.size())
        throw Error(QStringLiteral("List index out of bounds (%1)").arg(index));
    return XmlNodeAccess::wrap(nodes[std::size_t(index)]);
}

IXMLNode IXMLNodeList::first() const {
    const auto& nodes = nodesOf(owner_, attributes_);
    return nodes.empty() ? IXMLNode() : XmlNodeAccess::wrap(nodes.front());
}

IXMLNode IXMLNodeList::find(const QString& name) const {
    for (XmlNodeData* node : nodesOf(owner_, attributes_)) {
        if (matches(node, name))
            return XmlNodeAccess::wrap(node);
    }
    return IXMLNode();
}

IXMLNode IXMLNodeList::findOrCreate(const QString& name) const {
    if (IXMLNode found = find(name))
        return found;
    XmlNodeData* owner = XmlNodeAccess::data(owner_);
    const bool canHold =
        attributes_ ? owner->type == XMLNodeType::Element
                    : owner->type == XMLNodeType::Element || owner->type == XMLNodeType::Document;
    if (!canHold)
        throw Error(QStringLiteral("Operation not supported by this node type"));
    return XmlNodeAccess::wrap(attributes_
                                   ? appendAttribute(owner, name, QString())
                                   : appendChild(owner, XMLNodeType::Element, name, QString()));
}
