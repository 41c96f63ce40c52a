#pragma once

#include <QFile>
#include <QList>
#include <QRegularExpression>
#include <QString>

// The sheet author's guide, and the parts of it that tests keep true: each part
// stands between the lines "<!-- NAME begin -->" and "<!-- NAME end -->".
namespace GuideBlocks {

struct Block {
    QString name;
    QString text; // without the marker lines
};

inline QString guide() {
    QFile file(QStringLiteral(KONFIDOR_DOCS "/sheets.md"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// Every part, in document order.
inline QList<Block> all(const QString& text) {
    static const QRegularExpression begin(QStringLiteral("<!-- (.+) begin -->\\n"));
    QList<Block> found;
    for (QRegularExpressionMatchIterator it = begin.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const QString name = match.captured(1);
        const qsizetype from = match.capturedEnd();
        const qsizetype to = text.indexOf(QStringLiteral("<!-- %1 end -->").arg(name), from);
        if (to >= 0)
            found.append({name, text.mid(from, to - from)});
    }
    return found;
}

// The parts of that name.
inline QStringList named(const QString& text, const QString& name) {
    QStringList texts;
    for (const Block& block : all(text)) {
        if (block.name == name)
            texts.append(block.text);
    }
    return texts;
}

// The lines of the first fenced block of a part, each with its line feed.
inline QString fenced(const QString& part) {
    const qsizetype open = part.indexOf(QStringLiteral("```"));
    const qsizetype from = part.indexOf(u'\n', open) + 1;
    const qsizetype to = part.indexOf(QStringLiteral("```"), from);
    return open < 0 || to < 0 ? QString() : part.mid(from, to - from);
}

} // namespace GuideBlocks
