#include "platform/components/Reflection.h"

#include "platform/Error.h"
#include "platform/Win1250.h"
#include "platform/components/AsciiName.h"
#include "platform/components/ElementNames.h"
#include "platform/components/EventDispatch.h"
#include "platform/components/EventTypes.h"

#include <QHash>
#include <QMetaProperty>
#include <cmath>
#include <limits>
#include <unordered_map>

namespace {

// ASCII names hashed and compared without regard to case, so that a lookup needs
// no lower-cased copy of the name it looks for.
struct NameHash {
    using is_transparent = void;
    std::size_t operator()(QByteArrayView name) const noexcept {
        std::size_t hash = 14695981039346656037ull; // FNV-1a
        for (char c : name) {
            hash ^= static_cast<unsigned char>(AsciiName::lowered(c));
            hash *= 1099511628211ull;
        }
        return hash;
    }
};

struct NameEqual {
    using is_transparent = void;
    bool operator()(QByteArrayView a, QByteArrayView b) const noexcept {
        return AsciiName::sameName(a, b);
    }
};

TypeKind kindOf(const QMetaProperty& p) {
    if (p.isFlagType())
        return TypeKind::Set;
    if (p.isEnumType())
        return TypeKind::Enumeration;
    const QMetaType type = p.metaType();
    if (EventTypes::isEventType(type))
        return TypeKind::Method;
    if (type.flags().testFlag(QMetaType::PointerToQObject))
        return TypeKind::Class;
    switch (type.id()) {
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::UInt:
        return TypeKind::Integer;
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return TypeKind::Char;
    case QMetaType::QChar:
    case QMetaType::Char16:
        return TypeKind::WChar;
    case QMetaType::Bool:
        return TypeKind::Enumeration;
    case QMetaType::Float:
    case QMetaType::Double:
        return TypeKind::Float;
    case QMetaType::QByteArray:
        return TypeKind::LString;
    case QMetaType::QString:
        return TypeKind::WString;
    default:
        return TypeKind::Unknown;
    }
}

// A published property with its kind, worked out once: every read and write of a
// script asks for the kind, and finding it out compares the property's type
// with every event type.
struct PublishedProperty {
    QMetaProperty meta;
    TypeKind kind;
};

using PropertyTable = std::unordered_map<QByteArray, PublishedProperty, NameHash, NameEqual>;

// The properties of one class by name. The object's own class wins over its
// ancestors, as a search from the most derived class up would find it. Built once
// per class: sheets look up several properties for every attribute they set, and
// Qt's own lookup resolves an enumeration's type by name each time.
const PropertyTable& propertiesOf(const QMetaObject* meta) {
    static std::unordered_map<const QMetaObject*, PropertyTable> byClass;
    auto it = byClass.find(meta);
    if (it == byClass.end()) {
        PropertyTable properties;
        for (int i = QObject::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i) {
            const QMetaProperty p = meta->property(i);
            properties.insert_or_assign(QByteArray(p.name()), PublishedProperty{p, kindOf(p)});
        }
        it = byClass.emplace(meta, std::move(properties)).first;
    }
    return it->second;
}

// Null when the class has no such property. Tables never change once built, so
// the property stays where it is.
const PublishedProperty* findProperty(const QMetaObject* meta, QByteArrayView name) {
    if (!meta)
        return nullptr;
    const PropertyTable& properties = propertiesOf(meta);
    const auto found = properties.find(name);
    return found == properties.end() ? nullptr : &found->second;
}

const QMetaObject* classOf(const QObject* instance) {
    return instance ? instance->metaObject() : nullptr;
}

const PublishedProperty& requireProperty(const QMetaObject* meta, const QByteArray& name) {
    if (const PublishedProperty* p = findProperty(meta, name))
        return *p;
    throw Error(QStringLiteral("Property %1 does not exist").arg(Win1250::toWide(name)));
}

bool isBoolean(const QMetaProperty& p) {
    return p.metaType().id() == QMetaType::Bool;
}

[[noreturn]] void invalidType(const QMetaProperty& p) {
    QByteArray name = p.typeName();
    if (name.endsWith('*'))
        name.chop(1);
    throw Error(QStringLiteral("Invalid property type: %1").arg(QString::fromLatin1(name)));
}

struct Range {
    qint64 lowest;
    qint64 highest;
};

Range rangeOf(const QMetaProperty& p) {
    const QMetaObject* meta = p.enclosingMetaObject();
    const int info = meta->indexOfClassInfo(QByteArray("Range:").append(p.name()).constData());
    if (info >= 0) {
        const QList<QByteArray> limits = QByteArray(meta->classInfo(info).value()).split('.');
        return {limits.first().toLongLong(), limits.last().toLongLong()};
    }
    switch (p.metaType().id()) {
    case QMetaType::Short:
        return {std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max()};
    case QMetaType::UShort:
    case QMetaType::QChar:
    case QMetaType::Char16:
        return {0, std::numeric_limits<quint16>::max()};
    case QMetaType::UInt:
        return {0, std::numeric_limits<quint32>::max()};
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return {0, 255};
    default:
        return {std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()};
    }
}

// Number conversion of an ordinal write: to a number, truncated, range-checked.
qint64 truncatedInRange(const Variant& value, Range range) {
    const double number = std::trunc(value.toReal());
    if (!(number >= static_cast<double>(range.lowest) &&
          number <= static_cast<double>(range.highest)))
        throw Error(QStringLiteral("Range check error"));
    return static_cast<qint64>(number);
}

Range enumerationRange(const QMetaEnum& e) {
    return {0, static_cast<qint64>(e.keyCount()) - 1};
}

QVariant ofPropertyType(const QMetaProperty& p, int ordinal) {
    return QVariant(p.metaType(), &ordinal);
}

int ordinalOf(const QVariant& stored) {
    int ordinal = 0;
    if (stored.metaType().sizeOf() == sizeof(int))
        ordinal = *static_cast<const int*>(stored.constData());
    return ordinal;
}

QByteArray textOf(const Variant& value) {
    return value.isNull() ? QByteArray() : value.toText();
}

QVariant enumerationValue(const QMetaProperty& p, const Variant& value) {
    if (isBoolean(p)) {
        if (value.kind() == VarKind::String)
            return QVariant(ElementNames::truthOf(value.textValue()));
        if (value.kind() == VarKind::Boolean)
            return QVariant(value.booleanValue());
        return QVariant(truncatedInRange(value, {0, 1}) != 0);
    }
    const QMetaEnum e = p.enumerator();
    if (value.kind() == VarKind::String)
        return ofPropertyType(p, ElementNames::valueOf(e, value.textValue()));
    const int ordinal = value.kind() == VarKind::Boolean
                            ? (value.booleanValue() ? 1 : 0)
                            : static_cast<int>(truncatedInRange(value, enumerationRange(e)));
    return ofPropertyType(p, ordinal);
}

QVariant integerValue(const QMetaProperty& p, const Variant& value) {
    QVariant stored(truncatedInRange(value, rangeOf(p)));
    stored.convert(p.metaType());
    return stored;
}

// The value converted to the property's type; raises before anything is stored.
QVariant convertedForWrite(const PublishedProperty& property, const Variant& value) {
    const QMetaProperty& p = property.meta;
    switch (property.kind) {
    case TypeKind::Integer:
    case TypeKind::Char:
    case TypeKind::WChar:
        return integerValue(p, value);
    case TypeKind::Enumeration:
        return enumerationValue(p, value);
    case TypeKind::Set:
        if (value.kind() == VarKind::Integer)
            return ofPropertyType(p, value.integerValue());
        return ofPropertyType(p, ElementNames::setFromText(p.enumerator(), textOf(value)));
    case TypeKind::Float: {
        QVariant stored(value.toReal());
        stored.convert(p.metaType());
        return stored;
    }
    case TypeKind::LString:
    case TypeKind::String:
        return QVariant(textOf(value));
    case TypeKind::WString:
        return QVariant(value.isNull() ? QString() : value.toWideText());
    default:
        invalidType(p);
    }
}

// Objects of class properties read as a number that identifies them while
// they live; the number is never reused.
int objectNumber(QObject* object) {
    static QHash<QObject*, int> numbers;
    static int next = 0;
    if (!object)
        return 0;
    auto found = numbers.constFind(object);
    if (found != numbers.constEnd())
        return *found;
    const int number = ++next;
    numbers.insert(object, number);
    QObject::connect(object, &QObject::destroyed, [object] { numbers.remove(object); });
    return number;
}

} // namespace

bool IsPublishedProp(const QObject* instance, const QByteArray& propName) {
    return findProperty(classOf(instance), propName) != nullptr;
}

TypeKind PropType(const QObject* instance, const QByteArray& propName) {
    return requireProperty(classOf(instance), propName).kind;
}

bool IsPublishedClassProp(const QMetaObject& componentClass, const QByteArray& propName) {
    return findProperty(&componentClass, propName) != nullptr;
}

TypeKind ClassPropType(const QMetaObject& componentClass, const QByteArray& propName) {
    return requireProperty(&componentClass, propName).kind;
}

QByteArrayList ClassPropElements(const QMetaObject& componentClass, const QByteArray& propName) {
    const QMetaProperty& p = requireProperty(&componentClass, propName).meta;
    QByteArrayList names;
    if (isBoolean(p))
        return {"False", "True"};
    if (p.isEnumType() || p.isFlagType()) {
        const QMetaEnum e = p.enumerator();
        for (int i = 0; i < e.keyCount(); ++i)
            names.append(e.key(i));
    }
    return names;
}

void CheckPropValue(const QMetaObject& componentClass, const QByteArray& propName,
                    const Variant& value) {
    convertedForWrite(requireProperty(&componentClass, propName), value);
}

Variant GetPropValue(const QObject* instance, const QByteArray& propName, bool preferStrings) {
    const PublishedProperty& found = requireProperty(classOf(instance), propName);
    const QMetaProperty& p = found.meta;
    const TypeKind kind = found.kind;
    if (kind == TypeKind::Method)
        return Variant::fromText(p.typeName());
    const QVariant stored = p.read(instance);
    switch (kind) {
    case TypeKind::Integer:
    case TypeKind::Char:
    case TypeKind::WChar:
        return Variant::fromInt(static_cast<std::int32_t>(stored.toLongLong()));
    case TypeKind::Class:
        return Variant::fromInt(objectNumber(stored.value<QObject*>()));
    case TypeKind::Enumeration:
        if (isBoolean(p))
            return preferStrings ? Variant::fromText(stored.toBool() ? "True" : "False")
                                 : Variant::fromBool(stored.toBool());
        return preferStrings ? Variant::fromText(p.enumerator().valueToKey(ordinalOf(stored)))
                             : Variant::fromInt(ordinalOf(stored));
    case TypeKind::Set:
        return preferStrings
                   ? Variant::fromText(ElementNames::setToText(p.enumerator(), ordinalOf(stored)))
                   : Variant::fromInt(ordinalOf(stored));
    case TypeKind::Float:
        return Variant::fromDouble(stored.toDouble());
    case TypeKind::LString:
    case TypeKind::String:
        return Variant::fromText(stored.toByteArray());
    case TypeKind::WString:
        return Variant::fromWideText(stored.toString());
    default:
        invalidType(p);
    }
}

namespace {

// Writes through the object's own generated code, so that a setter's exception
// (a naming error) reaches our caller without crossing Qt's library frames.
void writeStored(QObject* instance, const QMetaProperty& p, QVariant stored) {
    int status = -1;
    int flags = 0;
    void* argv[] = {stored.data(), &stored, &status, &flags};
    EventDispatch::ProgramAction action;
    instance->qt_metacall(QMetaObject::WriteProperty, p.propertyIndex(), argv);
    action.finish();
}

} // namespace

void SetPropValue(QObject* instance, const QByteArray& propName, const Variant& value) {
    const PublishedProperty& p = requireProperty(classOf(instance), propName);
    writeStored(instance, p.meta, convertedForWrite(p, value));
}

void BindEvent(QObject* instance, const QByteArray& eventName, MethodRef method) {
    const PublishedProperty& p = requireProperty(classOf(instance), eventName);
    if (p.kind != TypeKind::Method)
        invalidType(p.meta);
    writeStored(instance, p.meta, EventTypes::wrap(p.meta.metaType(), method));
}
