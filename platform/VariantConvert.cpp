// Conversions of a Variant to text, to Real, to Integer and to a truth value.
//
// Text reads through the number syntax of VariantText first (the user's number
// format); the fall-backs below apply only when the text is not such a number at
// all. A number that is out of range fails with the overflow message at once.
// Reading a real needs no second step: the program's own float syntax is the same
// as the user's number format.
#include "platform/Variant.h"
#include "platform/VariantError.h"
#include "platform/VariantText.h"
#include "platform/Win1250.h"

namespace {

// Wide text to read numbers and truth words from; kind is String or OleStr.
QString readableText(const Variant& v) {
    return v.kind() == VarKind::String ? Win1250::toWide(v.textValue()) : v.wideTextValue();
}

double textToReal(const Variant& v) {
    double value = 0;
    switch (VariantText::readNumber(readableText(v), Variant::decimalSeparator(), value)) {
    case VariantText::NumberRead::Ok:
        return value;
    case VariantText::NumberRead::Overflow:
        VariantError::overflow(v.kind(), VarKind::Double);
    case VariantText::NumberRead::Mismatch:
        break;
    }
    VariantError::cannotConvert(v.kind(), VarKind::Double);
}

std::int32_t textToInteger(const Variant& v) {
    const QString text = readableText(v);
    double number = 0;
    std::int32_t integer = 0;
    switch (VariantText::readNumber(text, Variant::decimalSeparator(), number)) {
    case VariantText::NumberRead::Ok:
        if (!VariantText::roundToInt32(number, integer))
            VariantError::overflow(v.kind(), VarKind::Integer);
        return integer;
    case VariantText::NumberRead::Overflow:
        VariantError::overflow(v.kind(), VarKind::Integer);
    case VariantText::NumberRead::Mismatch:
        break;
    }
    if (VariantText::readProgramInteger(text, integer))
        return integer;
    // A truth word counts 1 here, not -1 as a Boolean would.
    bool truth = false;
    if (VariantText::readTruthWord(text, truth))
        return truth ? 1 : 0;
    VariantError::cannotConvert(v.kind(), VarKind::Boolean);
}

bool textToBoolean(const Variant& v) {
    const QString text = readableText(v);
    bool truth = false;
    if (VariantText::readTruthWord(text, truth))
        return truth;
    double number = 0;
    switch (VariantText::readNumber(text, Variant::decimalSeparator(), number)) {
    case VariantText::NumberRead::Ok:
        return number != 0.0;
    // Too large for a double, but certainly not zero.
    case VariantText::NumberRead::Overflow:
        return true;
    case VariantText::NumberRead::Mismatch:
        break;
    }
    VariantError::cannotConvert(v.kind(), VarKind::Boolean);
}

} // namespace

QByteArray Variant::toText() const {
    switch (kind_) {
    case VarKind::String:
        return text_;
    case VarKind::Integer:
        return QByteArray::number(integer_);
    case VarKind::Null:
        VariantError::cannotConvert(kind_, VarKind::String);
    default:
        return Win1250::fromWide(toWideText());
    }
}

QString Variant::toWideText() const {
    switch (kind_) {
    case VarKind::Empty:
        return QString();
    case VarKind::Integer:
        return QString::number(integer_);
    case VarKind::Double:
        return VariantText::formatReal(real_, decimalSeparator());
    case VarKind::Boolean:
        // Spelled so in every language.
        return integer_ != 0 ? QStringLiteral("True") : QStringLiteral("False");
    case VarKind::String:
        return Win1250::toWide(text_);
    case VarKind::OleStr:
        return wideText_;
    default:
        VariantError::cannotConvert(kind_, VarKind::OleStr); // Null
    }
}

double Variant::toReal() const {
    switch (kind_) {
    case VarKind::Empty:
        return 0.0;
    case VarKind::Integer:
    case VarKind::Boolean:
        return integer_;
    case VarKind::Double:
        return real_;
    case VarKind::String:
    case VarKind::OleStr:
        return textToReal(*this);
    default:
        VariantError::cannotConvert(kind_, VarKind::Double);
    }
}

std::int32_t Variant::toInteger() const {
    switch (kind_) {
    case VarKind::Empty:
        return 0;
    case VarKind::Integer:
    case VarKind::Boolean:
        return integer_;
    case VarKind::Double: {
        std::int32_t rounded = 0;
        if (!VariantText::roundToInt32(real_, rounded))
            VariantError::overflow(kind_, VarKind::Integer);
        return rounded;
    }
    case VarKind::String:
    case VarKind::OleStr:
        return textToInteger(*this);
    default:
        VariantError::cannotConvert(kind_, VarKind::Integer);
    }
}

bool Variant::toBoolean() const {
    switch (kind_) {
    case VarKind::Empty:
        return false;
    case VarKind::Integer:
    case VarKind::Boolean:
        return integer_ != 0;
    case VarKind::Double:
        return real_ != 0.0;
    case VarKind::String:
    case VarKind::OleStr:
        return textToBoolean(*this);
    default:
        VariantError::cannotConvert(kind_, VarKind::Boolean);
    }
}
