#include "platform/xml/TXMLDocument.h"

#include "platform/Error.h"
#include "platform/xml/XmlNodeData.h"
#include "platform/xml/XmlTreeBuilder.h"
#include "platform/xml/XmlWriter.h"

#include <QFile>
#include <QSaveFile>

namespace {

QByteArray readFile(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(file.errorString());
    return file.readAll();
}

QString quoted(const QString& value) {
    return u'"' + value + u'"';
}

QByteArray utf16LittleEndianWithMark(const QString& text) {
    QByteArray bytes;
    bytes.reserve(2 + 2 * text.size());
    bytes.append("\xFF\xFE", 2);
    for (QChar ch : text) {
        bytes.append(char(ch.unicode() & 0xFF));
        bytes.append(char(ch.unicode() >> 8));
    }
    return bytes;
}

} // namespace

void TXMLDocument::loadFromFile(const QString& fileName) {
    close();
    fileName_ = fileName;
    setActive(true);
}

void TXMLDocument::loadFromBytes(const QByteArray& bytes) {
    close();
    load(bytes);
    loadedFromFile_ = false;
}

void TXMLDocument::setActive(bool active) {
    if (active == this->active())
        return;
    if (!active) {
        close();
        return;
    }
    if (fileName_.trimmed().isEmpty())
        throw Error(QStringLiteral("FileName cannot be blank"));
    load(readFile(fileName_));
    loadedFromFile_ = true;
}

void TXMLDocument::setFileName(const QString& fileName) {
    if (active() && loadedFromFile_)
        close();
    fileName_ = fileName;
}

void TXMLDocument::close() {
    documentNode_ = IXMLNode();
    declaration_ = XmlDeclaration();
    loadedFromFile_ = false;
}

void TXMLDocument::load(const QByteArray& bytes) {
    XmlTree tree = loadXmlTree(bytes);
    documentNode_ = std::move(tree.documentNode);
    declaration_ = std::move(tree.declaration);
}

void TXMLDocument::requireActive() const {
    if (!active())
        throw Error(QStringLiteral("No active document"));
}

bool TXMLDocument::isEmpty() const {
    return !active() || XmlNodeAccess::data(documentNode_)->children().empty();
}

IXMLNode TXMLDocument::documentNode() const {
    requireActive();
    return documentNode_;
}

IXMLNode TXMLDocument::documentElement() const {
    requireActive();
    const auto& topLevel = XmlNodeAccess::data(documentNode_)->children();
    for (auto node = topLevel.rbegin(); node != topLevel.rend(); ++node) {
        if ((*node)->type == XMLNodeType::Element)
            return XmlNodeAccess::wrap(*node);
    }
    return IXMLNode();
}

QString TXMLDocument::version() const {
    return declaration_.version;
}

QString TXMLDocument::encoding() const {
    return declaration_.encoding;
}

QString TXMLDocument::standalone() const {
    return declaration_.standalone;
}

void TXMLDocument::setEncoding(const QString& encoding) {
    requireActive();
    declaration_.encoding = encoding;
}

void TXMLDocument::saveToFile(const QString& fileName) const {
    requireActive();
    const bool utf8 = declaration_.encoding.isEmpty() || declaration_.encoding == u"UTF-8";
    const QString encoding = utf8 ? declaration_.encoding : QStringLiteral("UTF-16");

    QString text =
        QStringLiteral("<?xml version=") +
        quoted(declaration_.version.isEmpty() ? QStringLiteral("1.0") : declaration_.version);
    if (!encoding.isEmpty())
        text += QStringLiteral(" encoding=") + quoted(encoding);
    if (!declaration_.standalone.isEmpty())
        text += QStringLiteral(" standalone=") + quoted(declaration_.standalone);
    text += QStringLiteral("?>\n");
    for (const XmlNodeData* node : XmlNodeAccess::data(documentNode_)->children()) {
        appendXml(text, node);
        text += u'\n';
    }

    const QByteArray bytes = utf8 ? text.replace(u'\n', QStringLiteral("\r\n")).toUtf8()
                                  : utf16LittleEndianWithMark(text);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw Error(file.errorString());
}
