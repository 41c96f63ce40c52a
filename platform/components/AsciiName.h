#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

// Names of classes, properties, methods and enumeration elements are compared
// the way sheet authors expect: ASCII letters without regard to case,
// everything else (digits, "_", bytes above 127) exactly.
namespace AsciiName {

constexpr char lowered(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline QByteArray lowered(QByteArrayView name) {
    QByteArray result(name.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < name.size(); ++i)
        result[i] = lowered(name[i]);
    return result;
}

inline bool sameName(QByteArrayView a, QByteArrayView b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (lowered(a[i]) != lowered(b[i]))
            return false;
    }
    return true;
}

// A name read from an XML document against a name of the program's own (ASCII):
// "ſcript" is not "SCRIPT", although Unicode upper-casing makes it so.
inline bool sameName(QStringView name, QByteArrayView asciiName) {
    if (name.size() != asciiName.size())
        return false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (c > 0x7F || lowered(static_cast<char>(c)) != lowered(asciiName[i]))
            return false;
    }
    return true;
}

inline bool isIdentifierStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

// An ASCII letter or "_" first, then ASCII letters, digits or "_".
inline bool isIdentifier(QByteArrayView text) {
    if (text.isEmpty() || !isIdentifierStart(text[0]))
        return false;
    for (char c : text) {
        if (!isIdentifierStart(c) && !(c >= '0' && c <= '9'))
            return false;
    }
    return true;
}

} // namespace AsciiName
