// Values of every kind the program makes, from the bytes: each is converted to
// every form and combined with and compared to the others. Conversions may raise
// errors; they must not crash, and an operation that fails leaves its left
// operand as it was.
#include "FuzzTargets.h"

#include "platform/Error.h"
#include "platform/Variant.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace {

// Takes one value from the front of the bytes: a kind byte, then its content.
Variant takeValue(QByteArray& bytes) {
    if (bytes.isEmpty())
        return Variant();
    const char kind = bytes.front();
    bytes.remove(0, 1);
    // The high bits of the kind byte give the content's length, 1 to 16 bytes.
    const qsizetype length = std::min<qsizetype>(bytes.size(), 1 + ((kind >> 3) & 15));
    const QByteArray content = bytes.left(length);
    bytes.remove(0, length);
    switch (kind & 7) {
    case 0:
        return Variant();
    case 1:
        return Variant::null();
    case 2:
        return Variant::fromText(content);
    case 3:
        return Variant::fromWideText(QString::fromUtf8(content));
    case 4:
        return Variant::fromBool(!content.isEmpty() && content.front() & 1);
    case 5: {
        std::int32_t value = 0;
        std::memcpy(&value, content.constData(), std::min<std::size_t>(sizeof value, content.size()));
        return Variant::fromInt(value);
    }
    case 6: {
        double value = 0;
        std::memcpy(&value, content.constData(), std::min<std::size_t>(sizeof value, content.size()));
        return Variant::fromDouble(value);
    }
    default:
        return Variant::fromTextForXml(content);
    }
}

template <typename Conversion> void tryConversion(Conversion convert) {
    try {
        convert();
    } catch (const Error&) {
    }
}

bool sameValue(const Variant& a, const Variant& b) {
    return a.kind() == b.kind() && a.integerValue() == b.integerValue() &&
           (a.doubleValue() == b.doubleValue() ||
            (std::isnan(a.doubleValue()) && std::isnan(b.doubleValue()))) &&
           a.textValue() == b.textValue() && a.wideTextValue() == b.wideTextValue();
}

} // namespace

void FuzzTargets::variant(const QByteArray& input) {
    QByteArray bytes = input;
    Variant::setDecimalSeparator(bytes.startsWith('.') ? QChar(u'.') : QChar(u','));
    std::vector<Variant> values;
    while (!bytes.isEmpty() && values.size() < 8)
        values.push_back(takeValue(bytes));
    for (const Variant& value : values) {
        tryConversion([&] { (void)value.toText(); });
        tryConversion([&] { (void)value.toWideText(); });
        tryConversion([&] { (void)value.toReal(); });
        tryConversion([&] { (void)value.toInteger(); });
        tryConversion([&] { (void)value.toBoolean(); });
        (void)Variant::kindName(value.kind());
    }
    for (const Variant& left : values) {
        for (const Variant& right : values) {
            tryConversion([&] { (void)left.isEqual(right); });
            tryConversion([&] { (void)left.isNotEqual(right); });
            tryConversion([&] { (void)left.isLess(right); });
            tryConversion([&] { (void)left.isGreater(right); });
            using Operation = void (Variant::*)(const Variant&);
            for (Operation operation : {&Variant::add, &Variant::subtract, &Variant::andWith,
                                        &Variant::orWith}) {
                Variant result = left;
                try {
                    (result.*operation)(right);
                } catch (const Error&) {
                    check(sameValue(result, left), "a failed operation changed its left operand");
                }
            }
        }
    }
}
