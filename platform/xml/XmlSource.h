#pragma once

#include <QString>
#include <vector>

// A document's text made ready for the stream parser, with what the loader
// needs to know about it beforehand.
//
// The parser would turn tabs and line feeds inside attribute values into
// blanks; written as character references they stay what they are. Positions
// the parser reports map back to the document's own text for error messages.
class XmlSource {
public:
    // Takes decoded text with normalised line ends. Fails with a parse error when a
    // start tag has more attributes than any real document does: the parser's
    // duplicate check would take quadratic time on such a tag.
    explicit XmlSource(QString text);

    const QString& text() const { return text_; }
    const QString& parserText() const { return parserText_; }

    // An upper bound of the references to entities other than the five
    // predefined ones, which only a document type declaration can define.
    qsizetype entityReferences() const { return entityReferences_; }

    qsizetype textOffset(qsizetype parserOffset) const;

private:
    void scanMarkup();
    qsizetype skipStartTag(qsizetype pos);
    qsizetype skipDeclaration(qsizetype pos) const;
    void protectAttributeChar(qsizetype pos, QLatin1StringView reference);
    void countEntityReferences();

    // Where each protected character ends in the parser text, and how many
    // characters the parser text is longer up to there.
    struct Shift {
        qsizetype parserEnd;
        qsizetype extra;
    };

    QString text_;
    QString parserText_;
    qsizetype copiedUpTo_ = 0; // text_ copied into parserText_ so far, once protecting started
    bool protecting_ = false;
    std::vector<Shift> shifts_;
    qsizetype entityReferences_ = 0;
};
