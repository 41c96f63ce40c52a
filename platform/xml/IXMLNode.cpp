#include "platform/xml/IXMLNode.h"

#include "platform/Error.h"
#include "platform/xml/XmlNodeData.h"
#include "platform/xml/XmlWriter.h"

#include <utility>

IXMLNode::IXMLNode(XmlNodeData* node) : node_(node) {
    if (node_)
        retainNode(node_);
}

IXMLNode::IXMLNode(const IXMLNode& other) : IXMLNode(other.node_) {}

IXMLNode::IXMLNode(IXMLNode&& other) noexcept : node_(std::exchange(other.node_, nullptr)) {}

IXMLNode& IXMLNode::operator=(IXMLNode other) noexcept {
    std::swap(node_, other.node_);
    return *this;
}

IXMLNode::~IXMLNode() {
    if (node_)
        releaseNode(node_);
}

XmlNodeData& IXMLNode::data() const {
    if (!node_)
        throw Error(QStringLiteral("No node"));
    return *node_;
}

XMLNodeType IXMLNode::nodeType() const {
    return data().type;
}

QString IXMLNode::nodeName() const {
    return data().ownName();
}

QString IXMLNode::nodeValue() const {
    return data().ownValue();
}

void IXMLNode::setNodeValue(const QString& value) const {
    XmlNodeData& node = data();
    if (node.type == XMLNodeType::Element || node.type == XMLNodeType::Document)
        throw Error(QStringLiteral("Node has no value"));
    node.storage->noteString(value);
    node.value = value;
}

IXMLNodeList IXMLNode::childNodes() const {
    data();
    return IXMLNodeList(*this, false);
}

IXMLNodeList IXMLNode::attributeNodes() const {
    data();
    return IXMLNodeList(*this, true);
}

Variant IXMLNode::attribute(const QString& name) const {
    const IXMLNode found = attributeNodes().find(name);
    return found ? Variant::fromWideText(found.node_->ownValue()) : Variant::null();
}

QString IXMLNode::text() const {
    XmlNodeData& node = data();
    if (node.type != XMLNodeType::Element)
        return node.ownValue();
    if (node.children().empty()) {
        appendChild(&node, XMLNodeType::Text, QStringLiteral("#text"), QString());
        return QString();
    }
    const XmlNodeData* only = node.children().front();
    if (node.children().size() != 1 ||
        (only->type != XMLNodeType::Text && only->type != XMLNodeType::CData))
        throw Error(QStringLiteral("Element does not contain a single text node"));
    return only->ownValue();
}

QString IXMLNode::xml() const {
    QString out;
    appendXml(out, &data());
    return out;
}

IXMLNode IXMLNode::nextSibling() const {
    const XmlNodeData& node = data();
    if (!node.parent)
        return IXMLNode();
    const auto& siblings =
        node.type == XMLNodeType::Attribute ? node.parent->attributes() : node.parent->children();
    const auto next = std::size_t(node.index) + 1;
    return next < siblings.size() ? IXMLNode(siblings[next]) : IXMLNode();
}

IXMLNode IXMLNode::parentNode() const {
    return IXMLNode(data().parent);
}

void walkXMLTree(const IXMLNode& start,
                 const std::function<void(const IXMLNode& node, int depth)>& visit) {
    XmlNodeData* const root = XmlNodeAccess::data(start);
    if (!root)
        return;
    XmlNodeData* node = root;
    int depth = 0;
    while (node) {
        // The handle keeps the node alive should the visitor drop the last
        // other reference to it.
        const IXMLNode current = XmlNodeAccess::wrap(node);
        visit(current, depth);
        if (!node->children().empty()) {
            node = node->children().front();
            ++depth;
            continue;
        }
        // Climb until a node on the way up has a next sibling.
        while (node != root) {
            XmlNodeData* parent = node->parent;
            const auto next = std::size_t(node->index) + 1;
            if (next < parent->children().size()) {
                node = parent->children()[next];
                break;
            }
            node = parent;
            --depth;
        }
        if (node == root)
            node = nullptr;
    }
}
