#pragma once

#include "platform/Variant.h"

#include <QString>
#include <functional>
#include <utility>

struct XmlNodeData;
class IXMLNodeList;

enum class XMLNodeType {
    Element,
    Attribute,
    Text,
    CData,
    Comment,
    ProcessingInstruction,
    Document,
};

// Shared reference to one node of an XML document. The node lives while any
// handle holds it, also after its document was closed or loaded again; it
// then keeps the rest of its old tree with it, no longer part of a document.
// A default-constructed handle is "no node"; using it for anything but
// isNull() and comparison raises Error.
//
// Names and values are wide text exactly as the document has them.
class IXMLNode {
public:
    IXMLNode() = default;
    IXMLNode(const IXMLNode& other);
    IXMLNode(IXMLNode&& other) noexcept;
    IXMLNode& operator=(IXMLNode other) noexcept;
    ~IXMLNode();

    bool isNull() const { return node_ == nullptr; }
    explicit operator bool() const { return node_ != nullptr; }
    // Same node, not equal content.
    friend bool operator==(const IXMLNode& a, const IXMLNode& b) { return a.node_ == b.node_; }

    XMLNodeType nodeType() const;
    // Element and attribute names as written, prefix included; "#text",
    // "#cdata-section", "#comment", "#document"; a processing instruction's target.
    QString nodeName() const;
    // Attribute value, character data, comment text or instruction data; empty
    // for elements and the document node.
    QString nodeValue() const;
    // Replaces the value of a node that has one (an attribute keeps its place).
    void setNodeValue(const QString& value) const;

    IXMLNodeList childNodes() const;
    IXMLNodeList attributeNodes() const;
    // The value of the element's attribute of that name as wide text, or Null
    // when there is none. Creates nothing.
    Variant attribute(const QString& name) const;

    // An element's only text or CDATA child's value. An element without
    // children gets an empty text child and reads as empty; any other content
    // raises "Element does not contain a single text node". Other nodes give
    // their node value.
    QString text() const;

    // The node as XML: start and end tags always, the five markup characters as
    // character references, nothing added between nodes.
    QString xml() const;

    // The next node in the parent's list; no node at its end or without parent.
    IXMLNode nextSibling() const;
    IXMLNode parentNode() const;

private:
    friend struct XmlNodeAccess;
    explicit IXMLNode(XmlNodeData* node);
    XmlNodeData& data() const;

    XmlNodeData* node_ = nullptr;
};

// One list of a node: its children (all kinds, document order) or its
// attributes. The list is a live view: nodes added later are in it.
class IXMLNodeList {
public:
    int count() const;
    // Zero-based; out of range raises "List index out of bounds (n)".
    IXMLNode item(int index) const;
    IXMLNode first() const;
    // First node whose name, or whose name without its prefix, is exactly this
    // name (case-sensitive); no node when none is. Never creates anything.
    IXMLNode find(const QString& name) const;
    // As find, but a missing node is created: a child list appends a new empty
    // element, an attribute list adds an attribute with an empty value.
    IXMLNode findOrCreate(const QString& name) const;

private:
    friend class IXMLNode;
    IXMLNodeList(IXMLNode owner, bool attributes)
        : owner_(std::move(owner)), attributes_(attributes) {}

    IXMLNode owner_;
    bool attributes_;
};

// Visits a node and everything below it (children, not attributes) in document
// order, with the depth below the start node, without recursion. The visitor
// may add nodes; they are visited when they come after the current one.
void walkXMLTree(const IXMLNode& start,
                 const std::function<void(const IXMLNode& node, int depth)>& visit);
