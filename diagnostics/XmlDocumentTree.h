#pragma once

#include <QTreeWidgetItem>
#include <memory>

class IXMLNode;
class TXMLDocument;

// The tree the diagnostics window shows for an XML document: the document
// element at the top; below each element its attributes (name and value), then
// its child nodes in document order (text with its value, comments...). Text
// that is only white space between elements is left out. Nullptr for an
// inactive document or one without an element.
std::unique_ptr<QTreeWidgetItem> xmlDocumentTree(const TXMLDocument& document);

// The same tree for an element and everything below it; nullptr for a null node.
std::unique_ptr<QTreeWidgetItem> xmlElementTree(const IXMLNode& element);
