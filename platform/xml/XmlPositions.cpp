#include "platform/xml/XmlPositions.h"

#include "platform/xml/XmlNodeData.h"

#include <algorithm>

std::optional<XmlPosition> XmlPositions::of(const IXMLNode& node, qsizetype offset) const {
    const auto found = offsets_.constFind(XmlNodeAccess::data(node));
    if (found == offsets_.cend())
        return std::nullopt;
    return positionAt(*found + offset);
}

void XmlPositions::setText(const QString& text) {
    lineStarts_.assign(1, 0);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n')
            lineStarts_.push_back(i + 1);
    }
    textSize_ = text.size();
}

void XmlPositions::record(const IXMLNode& node, qsizetype textOffset) {
    offsets_.insert(XmlNodeAccess::data(node), textOffset);
}

XmlPosition XmlPositions::positionAt(qsizetype textOffset) const {
    textOffset = std::clamp<qsizetype>(textOffset, 0, textSize_);
    const auto line = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), textOffset) - 1;
    return {int(line - lineStarts_.begin()) + 1, int(textOffset - *line) + 1};
}
