#include "platform/xml/XmlParseError.h"

#include <algorithm>

namespace {
constexpr qsizetype kSourceExcerptLength = 40;
}

Error xmlParseError(const QString& reason, QStringView text, qsizetype offset) {
    offset = std::clamp<qsizetype>(offset, 0, text.size());
    const QStringView before = text.first(offset);
    const qsizetype lineNumber = before.count(u'\n') + 1;
    const qsizetype lineStart = before.lastIndexOf(u'\n') + 1;
    QStringView line = text.sliced(lineStart);
    if (const qsizetype lineEnd = line.indexOf(u'\n'); lineEnd >= 0)
        line = line.first(lineEnd);
    return Error(reason + QStringLiteral("\r\nLine: ") + QString::number(lineNumber) +
                 QStringLiteral("\r\n") +
                 line.first(std::min(line.size(), kSourceExcerptLength)).toString());
}
