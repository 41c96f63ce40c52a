#pragma once

#include "platform/xml/IXMLNode.h"
#include "platform/xml/XmlDeclaration.h"

#include <QByteArray>

class XmlPositions;

struct XmlTree {
    IXMLNode documentNode;
    XmlDeclaration declaration;
};

// Reads a whole document: decodes the bytes, normalises line ends and builds
// the tree. Character data that is nothing but characters up to U+0020 is
// dropped, any other run stays whole and becomes one text node; comments,
// CDATA sections and processing instructions are nodes in place; the XML
// declaration gives the declaration values. A document that cannot be read
// raises its parse error.
//
// Hostile documents end in a parse error: entity expansion is limited to a
// fixed budget, and the tree is built and freed without recursion.
//
// With `positions`, the load also records where each node stands in the text,
// and where the fault is when the document cannot be read.
XmlTree loadXmlTree(const QByteArray& bytes, XmlPositions* positions = nullptr);
