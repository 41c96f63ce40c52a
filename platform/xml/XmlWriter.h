#pragma once

#include <QString>

struct XmlNodeData;

// Appends a node's XML text, the way it goes to the device and into saved
// files: start and end tags always (never the short empty-element form),
// attributes with double quotes, the five markup characters as character
// references, and nothing added between nodes. Works without recursion.
void appendXml(QString& out, const XmlNodeData* node);
