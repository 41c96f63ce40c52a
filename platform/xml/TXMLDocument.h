#pragma once

#include "platform/xml/IXMLNode.h"
#include "platform/xml/XmlDeclaration.h"

#include <QByteArray>
#include <QString>

// An XML document: the device's configuration or a sheet file. It starts
// inactive; a successful load makes it active, a failed one leaves it inactive.
// Nodes handed out stay alive after the document is closed or loaded again,
// but they are no longer part of it.
//
// Failures raise Error: "FileName cannot be blank", "No active document", a
// parse error, or the file system's message.
class TXMLDocument {
public:
    TXMLDocument() = default;
    TXMLDocument(const TXMLDocument&) = delete;
    TXMLDocument& operator=(const TXMLDocument&) = delete;

    // Closes the document, takes the file name and loads the file.
    void loadFromFile(const QString& fileName);
    // Closes the document and loads it from bytes; the file name is kept.
    void loadFromBytes(const QByteArray& bytes);

    bool active() const { return !documentNode_.isNull(); }
    // True loads from FileName unless already active; false discards the tree.
    void setActive(bool active);

    const QString& fileName() const { return fileName_; }
    // A document loaded from a file is closed when its file name changes.
    void setFileName(const QString& fileName);

    // Inactive, or without any top-level node.
    bool isEmpty() const;
    // The root of the tree: its children are the top-level nodes.
    IXMLNode documentNode() const;
    // The last top-level element; no node when there is none.
    IXMLNode documentElement() const;

    // Values of the XML declaration; empty when the file did not give them.
    QString version() const;
    QString encoding() const;
    QString standalone() const;
    void setEncoding(const QString& encoding);

    // Writes the declaration and every top-level node, each followed by a line
    // end: UTF-8 with CR LF line ends when the declared encoding is empty or
    // exactly "UTF-8", otherwise UTF-16 little-endian with a byte-order mark,
    // declared "UTF-16".
    void saveToFile(const QString& fileName) const;

private:
    void close();
    void load(const QByteArray& bytes);
    void requireActive() const;

    QString fileName_;
    bool loadedFromFile_ = false;
    IXMLNode documentNode_;
    XmlDeclaration declaration_;
};
