#include "platform/xml/XmlDecoding.h"

#include "platform/Win1250.h"
#include "platform/xml/XmlDeclaration.h"
#include "platform/xml/XmlParseError.h"

#include <QStringDecoder>
#include <array>
#include <cstdint>
#include <cstring>
#include <map>
#include <optional>

namespace {

// Marks a byte that the encoding leaves undefined.
constexpr char16_t kUndefined = 0xFFFF;

bool mapsAsciiToItself(const std::array<char16_t, 256>& chars) {
    for (char16_t byte = 0; byte < 0x80; ++byte) {
        if (chars[byte] != byte)
            return false;
    }
    return true;
}

struct SingleByteEncoding {
    SingleByteEncoding(QString name, const std::array<char16_t, 256>& chars)
        : name(std::move(name)), chars(chars), asciiIsItself(mapsAsciiToItself(chars)) {}

    QString name; // as the failure reason names it
    std::array<char16_t, 256> chars;
    bool asciiIsItself; // bytes below 0x80 stand for the same code points
};

struct KnownEncoding {
    const char* name;
    const char* alias;
    const char* codecName; // nullptr: the program's own Windows-1250 table
};

constexpr KnownEncoding kKnownEncodings[] = {
    {"ISO-8859-1", "Latin-1", "ISO-8859-1"},    {"ISO-8859-2", "Latin-2", "ISO-8859-2"},
    {"ISO-8859-3", "Latin-3", "ISO-8859-3"},    {"ISO-8859-4", "Latin-4", "ISO-8859-4"},
    {"ISO-8859-5", "Cyrillic", "ISO-8859-5"},   {"ISO-8859-6", "Arabic", "ISO-8859-6"},
    {"ISO-8859-7", "Greek", "ISO-8859-7"},      {"ISO-8859-8", "Hebrew", "ISO-8859-8"},
    {"ISO-8859-9", "Latin-5", "ISO-8859-9"},    {"ISO-8859-10", "Latin-6", "ISO-8859-10"},
    {"ISO-8859-13", "Latin-7", "ISO-8859-13"},  {"ISO-8859-14", "Latin-8", "ISO-8859-14"},
    {"ISO-8859-15", "Latin-9", "ISO-8859-15"},  {"KOI8-R", nullptr, "KOI8-R"},
    {"cp10000_MacRoman", nullptr, "macintosh"}, {"Windows-1250", "cp1250", nullptr},
    {"Windows-1251", "cp1251", "windows-1251"}, {"Windows-1252", "cp1252", "windows-1252"},
};

// The table of a codec, byte by byte; nothing when this Qt cannot decode it.
std::optional<std::array<char16_t, 256>> tableFromCodec(const char* codecName) {
    std::array<char16_t, 256> chars{};
    for (int byte = 0; byte < 256; ++byte) {
        QStringDecoder decoder(codecName, QStringDecoder::Flag::Stateless);
        if (!decoder.isValid())
            return std::nullopt;
        const QString decoded = decoder(QByteArray(1, char(byte)));
        const bool defined =
            !decoder.hasError() && decoded.size() == 1 && decoded[0] != QChar::ReplacementCharacter;
        chars[std::size_t(byte)] = defined ? decoded[0].unicode() : kUndefined;
    }
    return chars;
}

// The documents' Windows-1250 has no euro sign and no characters for the
// bytes the code page leaves unassigned.
std::array<char16_t, 256> strictWindows1250() {
    std::array<char16_t, 256> chars{};
    for (int byte = 0; byte < 256; ++byte)
        chars[std::size_t(byte)] = Win1250::toUnicode(static_cast<unsigned char>(byte));
    for (int undefinedByte : {0x80, 0x81, 0x83, 0x88, 0x90, 0x98})
        chars[std::size_t(undefinedByte)] = kUndefined;
    return chars;
}

// The single-byte encoding that the declared name stands for; nothing for
// UTF-8, for names off the list and for codecs this Qt lacks.
const SingleByteEncoding* encodingFor(const QString& declaredName) {
    static std::map<QString, std::optional<SingleByteEncoding>> built;
    for (const KnownEncoding& known : kKnownEncodings) {
        const QString name = QString::fromLatin1(known.name);
        if (declaredName.compare(name, Qt::CaseInsensitive) != 0 &&
            (!known.alias ||
             declaredName.compare(QLatin1StringView(known.alias), Qt::CaseInsensitive) != 0))
            continue;
        auto [entry, isNew] = built.try_emplace(name);
        if (isNew) {
            const auto chars =
                known.codecName ? tableFromCodec(known.codecName) : strictWindows1250();
            if (chars)
                entry->second.emplace(name, *chars);
        }
        return entry->second ? &*entry->second : nullptr;
    }
    return nullptr;
}

// CR LF and a lone CR become LF.
QString normaliseLineEnds(QString text) {
    const qsizetype cr = text.indexOf(u'\r');
    if (cr < 0)
        return text;
    QChar* chars = text.data();
    qsizetype out = cr;
    for (qsizetype in = cr; in < text.size(); ++in) {
        if (chars[in] == u'\r') {
            chars[out++] = u'\n';
            if (in + 1 < text.size() && chars[in + 1] == u'\n')
                ++in;
        } else {
            chars[out++] = chars[in];
        }
    }
    text.truncate(out);
    return text;
}

QString hexByte(unsigned char byte) {
    return QStringLiteral("\"0x%1\"")
        .arg(QString::number(byte, 16).toUpper().rightJustified(2, u'0'));
}

// Fails at the byte where decoding stopped; the text before it places the fault.
[[noreturn]] void failAt(const QString& encodingName, unsigned char byte, const QString& before) {
    const QString text = normaliseLineEnds(before);
    throw xmlParseError(QStringLiteral("Invalid %1 sequence ").arg(encodingName) + hexByte(byte),
                        text, text.size());
}

// Four bytes, each widened to a 16-bit character, in the same memory order.
std::uint64_t widenFour(const char* in) {
    std::uint32_t bytes;
    std::memcpy(&bytes, in, sizeof bytes);
    std::uint64_t chars = bytes;
    chars = (chars | chars << 16) & 0x0000FFFF0000FFFFu;
    return (chars | chars << 8) & 0x00FF00FF00FF00FFu;
}

// Copies the plain ASCII other than CR from the position on, in whole words of
// eight, and says how many bytes it copied: most of a device document is such
// text, which most single-byte encodings leave as it is.
qsizetype copyPlainAscii(const QByteArray& bytes, qsizetype from, char16_t* out) {
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    constexpr std::uint64_t kHighBits = 0x8080808080808080u;
    qsizetype pos = from;
    for (; pos + 8 <= bytes.size(); pos += 8, out += 8) {
        const char* in = bytes.constData() + pos;
        std::uint64_t word;
        std::memcpy(&word, in, sizeof word);
        const std::uint64_t carriageReturns = word ^ (kOnes * '\r');
        const bool hasCarriageReturn =
            ((carriageReturns - kOnes) & ~carriageReturns & kHighBits) != 0;
        if ((word & kHighBits) != 0 || hasCarriageReturn)
            break;
        const std::uint64_t chars[2] = {widenFour(in), widenFour(in + 4)};
        std::memcpy(out, chars, sizeof chars);
    }
    return pos - from;
}

// Single-byte text is decoded and its line ends normalised in one pass: this
// is the device document's path, and it is read on every connection.
QString decodeSingleByte(const QByteArray& bytes, const SingleByteEncoding& encoding) {
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    qsizetype length = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (encoding.asciiIsItself) {
            const qsizetype run = copyPlainAscii(bytes, i, out + length);
            i += run;
            length += run;
            if (i == bytes.size())
                break;
        }
        const auto byte = static_cast<unsigned char>(bytes[i]);
        char16_t ch = encoding.chars[byte];
        if (ch == kUndefined)
            failAt(encoding.name, byte, text.first(length));
        if (ch == u'\r') {
            ch = u'\n';
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        }
        out[length++] = ch;
    }
    text.truncate(length);
    return text;
}

// Length of the well-formed UTF-8 sequence at the position, 0 when there is none.
qsizetype utf8SequenceLength(const QByteArray& bytes, qsizetype pos) {
    const auto lead = static_cast<unsigned char>(bytes[pos]);
    if (lead < 0x80)
        return 1;
    qsizetype length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (pos + length > bytes.size())
        return 0;
    for (qsizetype i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(bytes[pos + i]);
        if (next < (i == 1 ? low : 0x80) || next > (i == 1 ? high : 0xBF))
            return 0;
    }
    return length;
}

QString decodeUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (!decoder.hasError())
        return text;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        const qsizetype length = utf8SequenceLength(bytes, pos);
        if (length == 0)
            break;
        pos += length;
    }
    const unsigned char bad = pos < bytes.size() ? static_cast<unsigned char>(bytes[pos]) : 0;
    failAt(QStringLiteral("UTF-8"), bad, QString::fromUtf8(bytes.first(pos)));
}

QString decodeUtf16(const QByteArray& bytes, bool littleEndian) {
    const QByteArray content = bytes.sliced(2);
    QString text(content.size() / 2, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    const auto* in = reinterpret_cast<const unsigned char*>(content.constData());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t first = in[2 * i];
        const char16_t second = in[2 * i + 1];
        out[i] = littleEndian ? char16_t(first | second << 8) : char16_t(first << 8 | second);
    }
    if (content.size() % 2 != 0)
        failAt(QStringLiteral("UTF-16"), static_cast<unsigned char>(content.back()), text);
    return text;
}

QString declaredEncodingName(const QByteArray& bytes) {
    const qsizetype declarationEnd = bytes.indexOf('>');
    const QByteArray start = declarationEnd < 0 ? bytes : bytes.first(declarationEnd + 1);
    return readXmlDeclaration(QString::fromLatin1(start)).encoding;
}

} // namespace

QString decodeXml(const QByteArray& bytes) {
    if (bytes.startsWith("\xFF\xFE"))
        return normaliseLineEnds(decodeUtf16(bytes, true));
    if (bytes.startsWith("\xFE\xFF"))
        return normaliseLineEnds(decodeUtf16(bytes, false));
    if (const SingleByteEncoding* encoding = encodingFor(declaredEncodingName(bytes)))
        return decodeSingleByte(bytes, *encoding);
    return normaliseLineEnds(decodeUtf8(bytes));
}
