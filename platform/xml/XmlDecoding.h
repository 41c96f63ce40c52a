#pragma once

#include <QByteArray>
#include <QString>

// Turns a document's bytes into text. The encoding comes from a UTF-16
// byte-order mark, else from the encoding named in the XML declaration (any
// letter case, from the supported list), else it is UTF-8. Decoding is strict:
// a byte that the encoding does not define fails with a parse error naming it
// ("Invalid Windows-1250 sequence "0x80""), instead of becoming some other
// character. Line ends come out normalised: CR LF and a lone CR become LF.
QString decodeXml(const QByteArray& bytes);
