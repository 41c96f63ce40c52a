#include "platform/components/ElementNames.h"

#include "platform/Error.h"
#include "platform/Win1250.h"
#include "platform/components/AsciiName.h"

namespace ElementNames {
namespace {

[[noreturn]] void unknownElement(QByteArrayView name) {
    throw Error(QStringLiteral("Invalid property element: %1").arg(Win1250::toWide(name)));
}

bool isSeparator(char c) {
    return c == ' ' || c == ',' || c == ']';
}

} // namespace

int valueOf(const QMetaEnum& enumeration, QByteArrayView name) {
    for (int i = 0; i < enumeration.keyCount(); ++i) {
        if (AsciiName::sameName(enumeration.key(i), name))
            return enumeration.value(i);
    }
    unknownElement(name);
}

bool truthOf(QByteArrayView name) {
    if (AsciiName::sameName("True", name))
        return true;
    if (AsciiName::sameName("False", name))
        return false;
    unknownElement(name);
}

int setFromText(const QMetaEnum& set, QByteArrayView text) {
    qsizetype pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '['))
        ++pos;
    int mask = 0;
    while (pos < text.size()) {
        while (pos < text.size() && isSeparator(text[pos]))
            ++pos;
        const qsizetype start = pos;
        while (pos < text.size() && !isSeparator(text[pos]))
            ++pos;
        if (pos > start)
            mask |= valueOf(set, text.sliced(start, pos - start));
    }
    return mask;
}

QByteArray setToText(const QMetaEnum& set, int mask) {
    QByteArray text;
    for (int bit = 0; bit < 32; ++bit) {
        const unsigned value = 1u << bit;
        if (!(static_cast<unsigned>(mask) & value))
            continue;
        if (const char* key = set.valueToKey(static_cast<int>(value))) {
            if (!text.isEmpty())
                text += ',';
            text += key;
        }
    }
    return text;
}

} // namespace ElementNames
