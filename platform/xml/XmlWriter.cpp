#include "platform/xml/XmlWriter.h"

#include "platform/xml/XmlNodeData.h"

#include <utility>
#include <vector>

namespace {

void appendEscaped(QString& out, const QString& text) {
    qsizetype plainFrom = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i].unicode();
        const char* reference = nullptr;
        switch (ch) {
        case u'<':
            reference = "&#60;";
            break;
        case u'>':
            reference = "&#62;";
            break;
        case u'&':
            reference = "&#38;";
            break;
        case u'\'':
            reference = "&#39;";
            break;
        case u'"':
            reference = "&#34;";
            break;
        case u'\r':
            // Read back, a bare one would become a line feed; on the wire it
            // would end the message to the device.
            reference = "&#13;";
            break;
        default:
            continue;
        }
        out.append(QStringView(text).sliced(plainFrom, i - plainFrom));
        out.append(QLatin1StringView(reference));
        plainFrom = i + 1;
    }
    out.append(QStringView(text).sliced(plainFrom));
}

void appendAttribute(QString& out, const XmlNodeData* attribute) {
    out.append(QStringView(attribute->name));
    out.append(u"=\"");
    appendEscaped(out, attribute->value);
    out.append(u'"');
}

void appendStartTag(QString& out, const XmlNodeData* element) {
    out.append(u'<');
    out.append(QStringView(element->name));
    for (const XmlNodeData* attribute : element->attributes()) {
        out.append(u' ');
        appendAttribute(out, attribute);
    }
    out.append(u'>');
}

void appendEndTag(QString& out, const XmlNodeData* element) {
    out.append(u"</");
    out.append(QStringView(element->name));
    out.append(u'>');
}

// Everything except elements and the document node, which have children.
void appendLeaf(QString& out, const XmlNodeData* node) {
    switch (node->type) {
    case XMLNodeType::Attribute:
        appendAttribute(out, node);
        break;
    case XMLNodeType::Text:
        appendEscaped(out, node->value);
        break;
    case XMLNodeType::CData:
        out.append(u"<![CDATA[");
        out.append(QStringView(node->value));
        out.append(u"]]>");
        break;
    case XMLNodeType::Comment:
        out.append(u"<!--");
        out.append(QStringView(node->value));
        out.append(u"-->");
        break;
    case XMLNodeType::ProcessingInstruction:
        out.append(u"<?");
        out.append(QStringView(node->name));
        // Without data no blank: the parser takes "<?a$b?>" as one target but
        // refuses "<?a$b ?>".
        if (!node->value.isEmpty()) {
            out.append(u' ');
            out.append(QStringView(node->value));
        }
        out.append(u"?>");
        break;
    case XMLNodeType::Element:
    case XMLNodeType::Document:
        break;
    }
}

bool hasChildren(const XmlNodeData* node) {
    return node->type == XMLNodeType::Element || node->type == XMLNodeType::Document;
}

void openTag(QString& out, const XmlNodeData* node) {
    if (node->type == XMLNodeType::Element)
        appendStartTag(out, node);
}

void closeTag(QString& out, const XmlNodeData* node) {
    if (node->type == XMLNodeType::Element)
        appendEndTag(out, node);
}

} // namespace

void appendXml(QString& out, const XmlNodeData* node) {
    if (!hasChildren(node)) {
        appendLeaf(out, node);
        return;
    }
    // Each entry is an open element or document node and its next child to write.
    std::vector<std::pair<const XmlNodeData*, std::size_t>> openNodes{{node, 0}};
    openTag(out, node);
    while (!openNodes.empty()) {
        auto& [parent, next] = openNodes.back();
        if (next == parent->children().size()) {
            closeTag(out, parent);
            openNodes.pop_back();
            continue;
        }
        const XmlNodeData* child = parent->children()[next++];
        if (hasChildren(child)) {
            openTag(out, child);
            openNodes.emplace_back(child, 0);
        } else {
            appendLeaf(out, child);
        }
    }
}
