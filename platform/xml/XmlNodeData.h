#pragma once

#include "platform/xml/IXMLNode.h"

#include <QString>
#include <vector>

// Storage of one node of a document tree. Nodes are reference-counted: a
// parent holds its children and attributes, every IXMLNode handle holds its
// node, and a node lives while anyone holds it. The parent link is not a
// reference; it is cleared when the parent goes, so a node kept after its
// document was closed stays readable as the root of its own subtree.
//
// Used on the GUI thread only, so the count is a plain integer.
struct XmlNodeData {
    XmlNodeData(XMLNodeType type, QString name, QString value)
        : type(type), name(std::move(name)), value(std::move(value)) {}

    XMLNodeType type;
    int references = 0;
    qsizetype index = 0; // position in the parent's child or attribute list
    XmlNodeData* parent = nullptr;
    QString name;
    QString value; // attributes, text, CDATA, comments and processing instructions
    std::vector<XmlNodeData*> children;
    std::vector<XmlNodeData*> attributes;
};

void retainNode(XmlNodeData* node);

// Drops one reference. Frees the nodes that nobody holds any more, whole
// subtrees included, without recursion: a document may be nested tens of
// thousands of levels deep.
void releaseNode(XmlNodeData* node);

// Adds a new node at the end of the parent's child or attribute list.
void appendChild(XmlNodeData* parent, XmlNodeData* child);
void appendAttribute(XmlNodeData* element, XmlNodeData* attribute);

// Bridge between the public handles and the storage, for the XML code only.
struct XmlNodeAccess {
    static IXMLNode wrap(XmlNodeData* node) { return IXMLNode(node); }
    static XmlNodeData* data(const IXMLNode& node) { return node.node_; }
};
