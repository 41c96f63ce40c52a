#include "platform/xml/XmlSource.h"

#include "platform/xml/XmlParseError.h"

#include <algorithm>
#include <utility>

namespace {

// Far above what a sheet or device element carries, low enough that the
// parser's check for repeated attribute names stays fast.
constexpr int kMaxAttributesPerTag = 1024;

qsizetype skipPast(const QString& text, qsizetype from, QStringView terminator) {
    const qsizetype end = text.indexOf(terminator, from);
    return end < 0 ? text.size() : end + terminator.size();
}

bool isPredefinedEntity(QStringView afterAmpersand) {
    for (QStringView name : {u"lt;", u"gt;", u"amp;", u"apos;", u"quot;"}) {
        if (afterAmpersand.startsWith(name))
            return true;
    }
    return false;
}

} // namespace

XmlSource::XmlSource(QString text) : text_(std::move(text)) {
    scanMarkup();
    if (protecting_)
        parserText_.append(QStringView(text_).sliced(copiedUpTo_));
    else
        parserText_ = text_;
    countEntityReferences();
}

void XmlSource::scanMarkup() {
    qsizetype pos = text_.indexOf(u'<');
    while (pos >= 0 && pos < text_.size()) {
        const QStringView rest = QStringView(text_).sliced(pos);
        const QChar next = rest.size() > 1 ? rest[1] : QChar();
        if (next == u'/')
            pos = text_.indexOf(u'>', pos + 2); // an end tag; not found ends the scan
        else if (next != u'!' && next != u'?')
            pos = skipStartTag(pos + 1);
        else if (rest.startsWith(u"<!--"))
            pos = skipPast(text_, pos + 4, u"-->");
        else if (rest.startsWith(u"<![CDATA["))
            pos = skipPast(text_, pos + 9, u"]]>");
        else if (rest.startsWith(u"<?"))
            pos = skipPast(text_, pos + 2, u"?>");
        else
            pos = skipDeclaration(pos + 2);
        if (pos >= 0)
            pos = text_.indexOf(u'<', pos);
    }
}

qsizetype XmlSource::skipStartTag(qsizetype pos) {
    const qsizetype tagStart = pos - 1;
    const char16_t* chars = reinterpret_cast<const char16_t*>(text_.constData());
    const qsizetype size = text_.size();
    int attributes = 0;
    while (pos < size) {
        const char16_t ch = chars[pos++];
        if (ch == u'>')
            return pos;
        if (ch != u'"' && ch != u'\'')
            continue;
        if (++attributes > kMaxAttributesPerTag)
            throw xmlParseError(QStringLiteral("Too many attributes in one tag"), text_, tagStart);
        // Inside the quoted value up to its closing quote.
        for (; pos < size && chars[pos] != ch; ++pos) {
            if (chars[pos] == u'\t')
                protectAttributeChar(pos, QLatin1StringView("&#9;"));
            else if (chars[pos] == u'\n')
                protectAttributeChar(pos, QLatin1StringView("&#10;"));
        }
        ++pos;
    }
    return size;
}

// A document type declaration or another "<!" construct: up to its ">",
// passing over quoted text, an internal subset in brackets and comments in it.
qsizetype XmlSource::skipDeclaration(qsizetype pos) const {
    int depth = 0;
    QChar quote;
    while (pos < text_.size()) {
        const QChar ch = text_[pos];
        if (!quote.isNull()) {
            if (ch == quote)
                quote = QChar();
        } else if (QStringView(text_).sliced(pos).startsWith(u"<!--")) {
            pos = skipPast(text_, pos + 4, u"-->");
            continue;
        } else if (ch == u'"' || ch == u'\'') {
            quote = ch;
        } else if (ch == u'[') {
            ++depth;
        } else if (ch == u']') {
            --depth;
        } else if (ch == u'>' && depth <= 0) {
            return pos + 1;
        }
        ++pos;
    }
    return pos;
}

void XmlSource::protectAttributeChar(qsizetype pos, QLatin1StringView reference) {
    if (!protecting_) {
        protecting_ = true;
        parserText_.reserve(text_.size() + text_.size() / 16 + 16);
    }
    parserText_.append(QStringView(text_).sliced(copiedUpTo_, pos - copiedUpTo_));
    parserText_.append(reference);
    copiedUpTo_ = pos + 1;
    const qsizetype extra = (shifts_.empty() ? 0 : shifts_.back().extra) + reference.size() - 1;
    shifts_.push_back({parserText_.size(), extra});
}

// Counts every "&" that starts neither a character reference nor a predefined
// entity, wherever it is: counting too many only makes the loader stricter.
void XmlSource::countEntityReferences() {
    for (qsizetype pos = text_.indexOf(u'&'); pos >= 0; pos = text_.indexOf(u'&', pos + 1)) {
        const QStringView after = QStringView(text_).sliced(pos + 1);
        if (!after.startsWith(u'#') && !isPredefinedEntity(after))
            ++entityReferences_;
    }
}

qsizetype XmlSource::textOffset(qsizetype parserOffset) const {
    const auto after = std::upper_bound(
        shifts_.begin(), shifts_.end(), parserOffset,
        [](qsizetype offset, const Shift& shift) { return offset < shift.parserEnd; });
    const qsizetype extra = after == shifts_.begin() ? 0 : std::prev(after)->extra;
    return std::clamp<qsizetype>(parserOffset - extra, 0, text_.size());
}
