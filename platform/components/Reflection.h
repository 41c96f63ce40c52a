#pragma once

#include "platform/Variant.h"
#include "platform/components/MethodRef.h"
#include "platform/components/TypeKind.h"

#include <QByteArray>
#include <QObject>

// Access to published properties by name, with the program's own conversion
// rules on top of Qt's meta-object system. Published properties are the
// Q_PROPERTYs a class declares beyond QObject's own. Names ignore ASCII case.
//
// Integer properties with a narrower range than 32 bits name it in a class info
// entry "Range:<Property>" with the value "<lowest>..<highest>".

// True when the object's class publishes a property of that name. Never throws.
bool IsPublishedProp(const QObject* instance, const QByteArray& propName);

// The property's kind; raises "Property %s does not exist".
TypeKind PropType(const QObject* instance, const QByteArray& propName);

// The property's current value. With preferStrings, enumerations and sets read
// as their element names. Raises "Property %s does not exist" and
// "Invalid property type: %s".
Variant GetPropValue(const QObject* instance, const QByteArray& propName, bool preferStrings);

// Converts the value to the property's kind and stores it; the property keeps
// its value when the conversion fails. An error raised by an event handler
// that the write fired comes out of this call once the write has finished.
void SetPropValue(QObject* instance, const QByteArray& propName, const Variant& value);

// The same questions of a class, without an instance: what the sheet linter asks.
bool IsPublishedClassProp(const QMetaObject& componentClass, const QByteArray& propName);
TypeKind ClassPropType(const QMetaObject& componentClass, const QByteArray& propName);
// The element names of an enumeration, set or boolean property; empty for others.
QByteArrayList ClassPropElements(const QMetaObject& componentClass, const QByteArray& propName);
// Converts the value as SetPropValue would and stores nothing: raises what the
// conversion raises ("Property %s does not exist", a range or element name error).
// What a property's own setter refuses is not known here.
void CheckPropValue(const QMetaObject& componentClass, const QByteArray& propName,
                    const Variant& value);

// Stores the method reference in the event property of that name. Raises
// "Property %s does not exist", and "Invalid property type: %s" when the
// property is no event.
void BindEvent(QObject* instance, const QByteArray& eventName, MethodRef method);
