#pragma once

#include <QByteArray>
#include <QMetaObject>
#include <initializer_list>

class TComponent;

// A class that sheets can name: the meta-object of a TPersistent descendant.
// Component classes are made through their Q_INVOKABLE (TComponent* owner)
// constructor, so each class sets up its own defaults.
using ComponentClass = QMetaObject;

// Registers each class in list order together with its ancestors, stopping at
// the first ancestor already registered or after TPersistent. TMenuItem (with
// TComponent and TPersistent) is registered from the start.
void RegisterClasses(std::initializer_list<const ComponentClass*> classes);

// The registered class of that name (ASCII case ignored); raises
// "Class %s not found".
const ComponentClass& FindClass(const QByteArray& name);

// A new instance owned by owner (or by nobody). A class that is no component
// class (TPersistent) fails like an unknown one: "Class %s not found".
TComponent* CreateComponent(const ComponentClass& componentClass, TComponent* owner);
