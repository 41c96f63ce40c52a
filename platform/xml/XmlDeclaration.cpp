#include "platform/xml/XmlDeclaration.h"

namespace {

bool isBlank(QChar ch) {
    return ch == u' ' || ch == u'\t' || ch == u'\r' || ch == u'\n';
}

class DeclarationReader {
public:
    explicit DeclarationReader(QStringView text) : text_(text) {}

    void skipBlanks() {
        while (pos_ < text_.size() && isBlank(text_[pos_]))
            ++pos_;
    }

    // Reads name = "value" into the two views; false at the "?" or at anything unexpected.
    bool next(QStringView& name, QStringView& value) {
        skipBlanks();
        const qsizetype nameStart = pos_;
        while (pos_ < text_.size() && !isBlank(text_[pos_]) && text_[pos_] != u'=' &&
               text_[pos_] != u'?')
            ++pos_;
        name = text_.sliced(nameStart, pos_ - nameStart);
        skipBlanks();
        if (name.isEmpty() || pos_ >= text_.size() || text_[pos_] != u'=')
            return false;
        ++pos_;
        skipBlanks();
        if (pos_ >= text_.size() || (text_[pos_] != u'"' && text_[pos_] != u'\''))
            return false;
        const QChar quote = text_[pos_++];
        const qsizetype valueEnd = text_.indexOf(quote, pos_);
        if (valueEnd < 0)
            return false;
        value = text_.sliced(pos_, valueEnd - pos_);
        pos_ = valueEnd + 1;
        return true;
    }

private:
    QStringView text_;
    qsizetype pos_ = 0;
};

} // namespace

XmlDeclaration readXmlDeclaration(QStringView text) {
    XmlDeclaration declaration;
    const QStringView opening = u"<?xml";
    if (!text.startsWith(opening) || text.size() <= opening.size() ||
        !isBlank(text[opening.size()]))
        return declaration;
    DeclarationReader reader(text.sliced(opening.size()));
    QStringView name;
    QStringView value;
    while (reader.next(name, value)) {
        if (name == u"version")
            declaration.version = value.toString();
        else if (name == u"encoding")
            declaration.encoding = value.toString();
        else if (name == u"standalone")
            declaration.standalone = value.toString();
    }
    return declaration;
}
