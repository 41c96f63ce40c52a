#include "platform/xml/XmlTreeBuilder.h"

#include "platform/xml/XmlDecoding.h"
#include "platform/xml/XmlNodeData.h"
#include "platform/xml/XmlParseError.h"
#include "platform/xml/XmlPositions.h"
#include "platform/xml/XmlSource.h"

#include <QXmlStreamReader>
#include <algorithm>
#include <array>
#include <unordered_set>
#include <vector>

namespace {

// How many characters all entity references of a document may add, together.
// Documents of the program use no entities of their own; this leaves room for
// ones that do and stops expansion bombs long before memory runs out.
constexpr qsizetype kEntityExpansionBudget = qsizetype(1) << 20;

// The parser gets the text in pieces of this many characters. Handed the whole
// text, it keeps a UTF-8 copy and a decoded copy of all of it at once: for a
// large configuration three times the text's own size.
constexpr qsizetype kFeedCharacters = qsizetype(1) << 16;

// Text only the white-space rule drops: nothing but characters up to U+0020.
bool isBlankRun(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar ch) { return ch.unicode() <= 0x20; });
}

// One copy of each element and attribute name, kept in the tree's storage: a
// device document repeats a few dozen names thousands of times. A small
// direct-mapped cache in front of the set answers most look-ups with one
// comparison.
class NamePool {
public:
    void keepIn(XmlStorage* storage) { storage_ = storage; }

    QString get(QStringView name) {
        QString& cached = recent_[slotOf(name)];
        if (cached != name) {
            auto found = names_.find(name);
            if (found == names_.end())
                found = names_.emplace(storage_->keep(name)).first;
            cached = *found;
        }
        return cached;
    }

private:
    // Names of one length often share their first and last letters ("name",
    // "note"), so the middle one counts too.
    static std::size_t slotOf(QStringView name) {
        const std::size_t letters = name.isEmpty() ? 0
                                                   : name.front().unicode() * 7u +
                                                         name[name.size() / 2].unicode() * 3u +
                                                         name.back().unicode();
        return (std::size_t(name.size()) * 31u + letters) % kSlots;
    }

    struct Hash {
        using is_transparent = void;
        std::size_t operator()(QStringView name) const noexcept { return qHash(name); }
    };
    struct Equal {
        using is_transparent = void;
        bool operator()(QStringView a, QStringView b) const noexcept { return a == b; }
    };
    static constexpr std::size_t kSlots = 256;
    XmlStorage* storage_ = nullptr;
    std::array<QString, kSlots> recent_;
    std::unordered_set<QString, Hash, Equal> names_;
};

class TreeBuilder {
public:
    TreeBuilder(const XmlSource& source, XmlPositions* positions)
        : source_(source), positions_(positions),
          characterBudget_(source.text().size() + kEntityExpansionBudget) {
        reader_.setNamespaceProcessing(false);
        // Every reference may expand by its share of the budget; the parser
        // builds a whole attribute value or text run before handing it over.
        reader_.setEntityExpansionLimit(
            int(kEntityExpansionBudget / std::max<qsizetype>(1, source.entityReferences())));
    }

    XmlTree build() {
        if (positions_)
            positions_->setText(source_.text());
        XmlTree tree{XmlNodeAccess::wrap(createDocumentNode()),
                     readXmlDeclaration(source_.parserText())};
        current_ = XmlNodeAccess::data(tree.documentNode);
        names_.keepIn(current_->storage);
        feed();
        for (;;) {
            const QXmlStreamReader::TokenType token = reader_.readNext();
            if (reader_.error() == QXmlStreamReader::PrematureEndOfDocumentError && feed())
                continue;
            take(token);
            tokenStart_ = reader_.characterOffset();
            if (reader_.atEnd())
                break;
        }
        if (reader_.hasError())
            fail(reader_.errorString());
        return tree;
    }

private:
    // Gives the parser the next piece of the text; false when all of it is given.
    // A piece never ends between the two halves of a surrogate pair.
    bool feed() {
        const QString& text = source_.parserText();
        if (fed_ >= text.size())
            return false;
        qsizetype length = std::min(kFeedCharacters, text.size() - fed_);
        if (fed_ + length < text.size() && text.at(fed_ + length - 1).isHighSurrogate())
            ++length;
        reader_.addData(QStringView(text).sliced(fed_, length).toString());
        fed_ += length;
        return true;
    }

    void take(QXmlStreamReader::TokenType token) {
        switch (token) {
        case QXmlStreamReader::StartElement:
            startElement();
            break;
        case QXmlStreamReader::EndElement:
            flushText();
            current_ = current_->parent;
            break;
        case QXmlStreamReader::Characters:
            if (reader_.isCDATA()) {
                flushText();
                record(add(XMLNodeType::CData, QStringLiteral("#cdata-section"), reader_.text()),
                       tokenStart_ + qsizetype(sizeof("<![CDATA[") - 1));
            } else {
                if (pendingText_.isEmpty())
                    pendingTextStart_ = tokenStart_;
                pendingText_.append(reader_.text());
                spend(reader_.text().size());
            }
            break;
        case QXmlStreamReader::Comment:
            flushText();
            record(add(XMLNodeType::Comment, QStringLiteral("#comment"), reader_.text()),
                   tokenStart_);
            break;
        case QXmlStreamReader::ProcessingInstruction:
            flushText();
            record(add(XMLNodeType::ProcessingInstruction,
                       names_.get(reader_.processingInstructionTarget()),
                       reader_.processingInstructionData()),
                   tokenStart_);
            break;
        case QXmlStreamReader::EntityReference:
            fail(QStringLiteral("Entity '%1' not declared.").arg(reader_.name()));
        case QXmlStreamReader::DTD:
            refuseExternalEntities();
            break;
        case QXmlStreamReader::EndDocument:
            flushText();
            break;
        default:
            break; // the declaration adds no node; errors end the loop
        }
    }

    // The parser reads no external files and would expand a reference to an
    // external entity into nothing; such text must not vanish unnoticed.
    void refuseExternalEntities() {
        for (const QXmlStreamEntityDeclaration& entity : reader_.entityDeclarations()) {
            const bool external = !entity.systemId().isEmpty() || !entity.publicId().isEmpty();
            if (external && entity.notationName().isEmpty())
                fail(QStringLiteral("External entity '%1' cannot be read.").arg(entity.name()));
        }
    }

    void startElement() {
        flushText();
        current_ = appendChild(current_, XMLNodeType::Element, names_.get(reader_.qualifiedName()),
                               QString());
        spend(current_->name.size());
        record(current_, tokenStart_);
        const QXmlStreamAttributes& attributes = reader_.attributes();
        current_->attributesToChange().reserve(std::size_t(attributes.size()));
        for (const QXmlStreamAttribute& attribute : attributes) {
            const XmlNodeData* node =
                appendAttribute(current_, names_.get(attribute.qualifiedName()),
                                current_->storage->keep(attribute.value()));
            spend(node->name.size() + node->value.size());
        }
        if (positions_)
            recordAttributes();
    }

    XmlNodeData* add(XMLNodeType type, QString name, QStringView value) {
        XmlNodeData* node =
            appendChild(current_, type, std::move(name), current_->storage->keep(value));
        spend(value.size());
        return node;
    }

    // The attributes' names, found in the start tag's source text in the order the
    // parser reported them.
    void recordAttributes() {
        const QString& text = source_.text();
        qsizetype pos = source_.text().lastIndexOf(u'<', source_.textOffset(tokenStart_)) + 1;
        const auto blank = [&](qsizetype at) {
            return at < text.size() && text[at].unicode() <= 0x20;
        };
        while (pos < text.size() && !blank(pos) && text[pos] != u'/' && text[pos] != u'>')
            ++pos;
        for (XmlNodeData* attribute : current_->attributes()) {
            while (blank(pos))
                ++pos;
            if (pos >= text.size() || text[pos] == u'/' || text[pos] == u'>')
                return;
            positions_->record(XmlNodeAccess::wrap(attribute), pos);
            const qsizetype equals = text.indexOf(u'=', pos);
            if (equals < 0)
                return;
            pos = equals + 1;
            while (blank(pos))
                ++pos;
            if (pos >= text.size())
                return;
            const qsizetype close = text.indexOf(text[pos], pos + 1);
            if (close < 0)
                return;
            pos = close + 1;
        }
    }

    // A node that starts where the last token ended; one that starts with "<" may
    // stand one character before it: the parser reads the "<" that ends a text.
    void record(XmlNodeData* node, qsizetype parserOffset) {
        if (!positions_)
            return;
        qsizetype offset = source_.textOffset(parserOffset);
        if (node->type != XMLNodeType::Text && node->type != XMLNodeType::CData)
            offset = source_.text().lastIndexOf(u'<', offset);
        positions_->record(XmlNodeAccess::wrap(node), offset);
    }

    void flushText() {
        if (pendingText_.isEmpty())
            return;
        if (!isBlankRun(pendingText_))
            record(appendChild(current_, XMLNodeType::Text, QStringLiteral("#text"),
                               current_->storage->keep(pendingText_)),
                   pendingTextStart_);
        pendingText_.truncate(0); // keeps the buffer for the next run
    }

    // Without entities a tree holds no more characters than the document; only
    // expansions declared in a document type can make it grow beyond that.
    void spend(qsizetype characters) {
        characterBudget_ -= characters;
        if (characterBudget_ < 0)
            fail(QStringLiteral("Entity expansion exceeds the allowed size."));
    }

    [[noreturn]] void fail(const QString& reason) {
        const qsizetype offset = source_.textOffset(reader_.characterOffset());
        if (positions_)
            positions_->recordError(offset);
        throw xmlParseError(reason, source_.text(), offset);
    }

    const XmlSource& source_;
    XmlPositions* positions_;
    QXmlStreamReader reader_;
    // Where the token being read starts in the parser text: where the last one ended.
    qsizetype tokenStart_ = 0;
    qsizetype pendingTextStart_ = 0;
    qsizetype fed_ = 0;
    qsizetype characterBudget_;
    NamePool names_;
    XmlNodeData* current_ = nullptr;
    QString pendingText_;
};

} // namespace

XmlTree loadXmlTree(const QByteArray& bytes, XmlPositions* positions) {
    const XmlSource source(decodeXml(bytes));
    return TreeBuilder(source, positions).build();
}
