#include "platform/Variant.h"

#include "platform/Win1250.h"

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
