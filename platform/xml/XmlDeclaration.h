#pragma once

#include <QString>
#include <QStringView>

// The values of a document's XML declaration; empty when a value is not given.
struct XmlDeclaration {
    QString version;
    QString encoding;
    QString standalone;
};

// Reads the declaration at the very start of the text: "<?xml", white space,
// then pseudo-attributes up to the "?". Malformed declarations give what could
// be read; the parser reports what is wrong with them.
XmlDeclaration readXmlDeclaration(QStringView text);
