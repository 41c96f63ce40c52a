#include "platform/VariantText.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace VariantText {

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

int hexDigit(QChar c) {
    if (isDigit(c))
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

QStringView trimBlanks(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

// Reads an optional sign at pos; true when it was a minus.
bool readSign(QStringView text, qsizetype& pos) {
    if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-'))
        return text[pos++] == u'-';
    return false;
}

// Exponents beyond this magnitude are out of range for any mantissa a text can hold;
// clamping keeps the arithmetic below from overflowing.
constexpr std::int64_t ExponentClamp = 1'000'000'000;

} // namespace

NumberRead readNumber(QStringView text, QChar separator, double& value) {
    const QStringView t = trimBlanks(text);
    qsizetype pos = 0;
    const bool negative = readSign(t, pos);

    // The mantissa's digits without leading zeros, and how many of them (or of the
    // dropped zeros) came after the separator.
    std::string digits;
    std::int64_t fractionDigits = 0;
    qsizetype digitCount = 0;
    bool afterSeparator = false;
    for (; pos < t.size(); ++pos) {
        const QChar c = t[pos];
        if (isDigit(c)) {
            ++digitCount;
            if (afterSeparator)
                ++fractionDigits;
            if (!digits.empty() || c != u'0')
                digits.push_back(char(c.unicode()));
        } else if (c == separator && !afterSeparator) {
            afterSeparator = true;
        } else {
            break;
        }
    }
    if (digitCount == 0)
        return NumberRead::Mismatch;

    std::int64_t exponent = 0;
    if (pos < t.size() && (t[pos] == u'e' || t[pos] == u'E')) {
        ++pos;
        const bool negativeExponent = readSign(t, pos);
        const qsizetype exponentStart = pos;
        for (; pos < t.size() && isDigit(t[pos]); ++pos)
            exponent = std::min(exponent * 10 + (t[pos].unicode() - u'0'), ExponentClamp);
        if (pos == exponentStart)
            return NumberRead::Mismatch;
        if (negativeExponent)
            exponent = -exponent;
    }
    if (pos != t.size())
        return NumberRead::Mismatch;

    if (digits.empty()) {
        value = negative ? -0.0 : 0.0;
        return NumberRead::Ok;
    }
    const std::int64_t scale = exponent - fractionDigits;
    const std::string normalized = digits + 'e' + std::to_string(scale);
    double magnitude = 0;
    const auto result =
        std::from_chars(normalized.data(), normalized.data() + normalized.size(), magnitude);
    if (result.ec == std::errc::result_out_of_range) {
        // Out of range either way: too large when the leading digit sits left of the
        // decimal point, otherwise too small, which reads as zero.
        if (std::int64_t(digits.size()) + scale > 0)
            return NumberRead::Overflow;
        magnitude = 0.0;
    }
    value = negative ? -magnitude : magnitude;
    return NumberRead::Ok;
}

bool readProgramInteger(QStringView text, std::int32_t& value) {
    const QStringView t = trimBlanks(text);
    qsizetype pos = 0;
    const bool negative = readSign(t, pos);

    int radix = 10;
    if (t.sliced(pos).startsWith(u'$')) {
        radix = 16;
        pos += 1;
    } else if (t.sliced(pos).startsWith(u"0x", Qt::CaseInsensitive)) {
        radix = 16;
        pos += 2;
    }
    // Decimal magnitudes stop at 2^31 (the most negative value), hexadecimal ones at
    // 2^32 - 1 (any bit pattern).
    const std::uint64_t limit = radix == 16 ? 0xFFFF'FFFFu : 0x8000'0000u;
    std::uint64_t magnitude = 0;
    const qsizetype digitsStart = pos;
    for (; pos < t.size(); ++pos) {
        const int digit = hexDigit(t[pos]);
        if (digit < 0 || digit >= radix)
            return false;
        magnitude = magnitude * radix + digit;
        if (magnitude > limit)
            return false;
    }
    if (pos == digitsStart)
        return false;
    if (radix == 10 && !negative && magnitude == limit)
        return false;

    const auto bits = static_cast<std::uint32_t>(negative ? 0u - magnitude : magnitude);
    value = static_cast<std::int32_t>(bits);
    return true;
}

bool readTruthWord(QStringView text, bool& value) {
    const QStringView t = trimBlanks(text);
    if (t.compare(u"True", Qt::CaseInsensitive) == 0) {
        value = true;
        return true;
    }
    if (t.compare(u"False", Qt::CaseInsensitive) == 0) {
        value = false;
        return true;
    }
    return false;
}

bool roundToInt32(double value, std::int32_t& rounded) {
    // The comparison also turns NaN away.
    if (!(value > -2147483649.0 && value < 2147483648.0))
        return false;
    double whole = std::floor(value);
    const double fraction = value - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0))
        whole += 1.0;
    if (whole < -2147483648.0 || whole > 2147483647.0)
        return false;
    rounded = static_cast<std::int32_t>(whole);
    return true;
}

QString formatReal(double value, QChar separator) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (value == 0.0)
        return QStringLiteral("0");

    // "d.dddddddddddddde±x": 15 significant digits, correctly rounded.
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                   std::chars_format::scientific, 14)
                         .ptr;
    const std::string scientific(buffer, end);
    const auto e = scientific.find('e');
    std::string digits = scientific.substr(0, 1) + scientific.substr(2, e - 2);
    const int exponent = std::stoi(scientific.substr(e + 1));
    digits.erase(digits.find_last_not_of('0') + 1);

    QString text;
    if (value < 0)
        text += u'-';
    const auto fromDigits = [&](std::size_t from, std::size_t count = std::string::npos) {
        return QString::fromLatin1(digits.substr(from, count));
    };
    if (exponent >= -5 && exponent < 15) {
        if (exponent < 0) {
            text += u'0';
            text += separator;
            text += QString(-exponent - 1, u'0');
            text += fromDigits(0);
        } else {
            const auto integerDigits = std::size_t(exponent) + 1;
            if (digits.size() < integerDigits)
                digits.append(integerDigits - digits.size(), '0');
            text += fromDigits(0, integerDigits);
            if (digits.size() > integerDigits) {
                text += separator;
                text += fromDigits(integerDigits);
            }
        }
    } else {
        text += fromDigits(0, 1);
        if (digits.size() > 1) {
            text += separator;
            text += fromDigits(1);
        }
        text += u'E';
        text += QString::number(exponent);
    }
    return text;
}

} // namespace VariantText
