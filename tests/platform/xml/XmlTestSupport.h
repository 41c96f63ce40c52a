#pragma once

#include "platform/Error.h"
#include "platform/xml/TXMLDocument.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <ostream>

// Readable failure output for wide text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// The document element of a document read from bytes. The document itself is
// gone when this returns; the nodes live on in the returned handle.
inline IXMLNode rootOf(const QByteArray& bytes) {
    TXMLDocument document;
    document.loadFromBytes(bytes);
    return document.documentElement();
}

// The message a failed load raises; empty when the load succeeds.
inline QString loadError(const QByteArray& bytes) {
    TXMLDocument document;
    try {
        document.loadFromBytes(bytes);
    } catch (const Error& error) {
        EXPECT_FALSE(document.active());
        return error.message();
    }
    return QString();
}

inline QStringList childNames(const IXMLNode& node) {
    QStringList names;
    const IXMLNodeList children = node.childNodes();
    for (int i = 0; i < children.count(); ++i)
        names << children.item(i).nodeName();
    return names;
}
