#pragma once

#include <QTreeWidgetItem>
#include <memory>

class TXMLDocument;

// The rows the diagnostics window shows for a document: each node's name and value,
// an element's attributes before its children. Nothing for an inactive document.
std::unique_ptr<QTreeWidgetItem> documentTree(const TXMLDocument& document);
