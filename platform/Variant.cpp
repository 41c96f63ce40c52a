#include "platform/Variant.h"

#include "platform/Win1250.h"

#include <QLocale>

Variant Variant::null() {
    Variant v;
    v.kind_ = VarKind::Null;
    return v;
}

Variant Variant::fromText(const QByteArray& text) {
    Variant v;
    v.kind_ = VarKind::String;
    v.text_ = text;
    return v;
}

Variant Variant::fromWideText(const QString& text) {
    Variant v;
    v.kind_ = VarKind::OleStr;
    v.wideText_ = text;
    return v;
}

Variant Variant::fromTextForXml(const QByteArray& text) {
    return fromWideText(Win1250::toWide(text));
}

Variant Variant::fromBool(bool value) {
    Variant v;
    v.kind_ = VarKind::Boolean;
    v.integer_ = value ? -1 : 0;
    return v;
}

Variant Variant::fromInt(std::int32_t value) {
    Variant v;
    v.kind_ = VarKind::Integer;
    v.integer_ = value;
    return v;
}

Variant Variant::fromDouble(double value) {
    Variant v;
    v.kind_ = VarKind::Double;
    v.real_ = value;
    return v;
}

QString Variant::kindName(VarKind kind) {
    switch (kind) {
    case VarKind::Empty:
        return QStringLiteral("Empty");
    case VarKind::Null:
        return QStringLiteral("Null");
    case VarKind::Smallint:
        return QStringLiteral("Smallint");
    case VarKind::Integer:
        return QStringLiteral("Integer");
    case VarKind::Single:
        return QStringLiteral("Single");
    case VarKind::Double:
        return QStringLiteral("Double");
    case VarKind::Currency:
        return QStringLiteral("Currency");
    case VarKind::Date:
        return QStringLiteral("Date");
    case VarKind::OleStr:
        return QStringLiteral("OleStr");
    case VarKind::Dispatch:
        return QStringLiteral("Dispatch");
    case VarKind::Error:
        return QStringLiteral("Error");
    case VarKind::Boolean:
        return QStringLiteral("Boolean");
    case VarKind::Variant:
        return QStringLiteral("Variant");
    case VarKind::Unknown:
        return QStringLiteral("Unknown");
    case VarKind::Decimal:
        return QStringLiteral("Decimal");
    case VarKind::ShortInt:
        return QStringLiteral("ShortInt");
    case VarKind::Byte:
        return QStringLiteral("Byte");
    case VarKind::Word:
        return QStringLiteral("Word");
    case VarKind::LongWord:
        return QStringLiteral("LongWord");
    case VarKind::Int64:
        return QStringLiteral("Int64");
    case VarKind::String:
        return QStringLiteral("String");
    }
    // A code outside the model, written as its number.
    return QStringLiteral("$%1").arg(static_cast<unsigned>(kind), 4, 16, QChar(u'0')).toUpper();
}

namespace {

QChar systemDecimalSeparator() {
    const QString point = QLocale::system().decimalPoint();
    return point.size() == 1 ? point[0] : QChar(u'.');
}

QChar& decimalSeparatorSlot() {
    static QChar separator = systemDecimalSeparator();
    return separator;
}

} // namespace

QChar Variant::decimalSeparator() {
    return decimalSeparatorSlot();
}

void Variant::setDecimalSeparator(QChar separator) {
    decimalSeparatorSlot() = separator;
}
