#pragma once

#include "platform/xml/IXMLNode.h"

#include <QHash>
#include <optional>
#include <vector>

// Where a node stands in its document's text: lines from 1, columns from 1,
// counted in characters of the decoded text with its line ends normalised.
struct XmlPosition {
    int line = 0;
    int column = 0;
};

// The positions a load records when asked to: each element's and comment's "<",
// each attribute's name, each text or CDATA node's first character, and the fault
// of a document that does not load. Only tools that report positions (the sheet
// linter) ask; a plain load records nothing.
class XmlPositions {
public:
    // `offset` characters into the node's text (for a text node without
    // references, its value; for an attribute, its name).
    std::optional<XmlPosition> of(const IXMLNode& node, qsizetype offset = 0) const;
    const std::optional<XmlPosition>& error() const { return error_; }

    // The loader's side: the text the offsets count in, then the nodes.
    void setText(const QString& text);
    void record(const IXMLNode& node, qsizetype textOffset);
    void recordError(qsizetype textOffset) { error_ = positionAt(textOffset); }

private:
    XmlPosition positionAt(qsizetype textOffset) const;

    std::vector<qsizetype> lineStarts_{0};
    qsizetype textSize_ = 0;
    QHash<const void*, qsizetype> offsets_;
    std::optional<XmlPosition> error_;
};
