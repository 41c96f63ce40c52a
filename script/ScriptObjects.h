#pragma once

#include "platform/Variant.h"

#include <QByteArray>

class QObject;

// How scripts reach the widgets that the registry hands out: published
// properties by name and the few window operations of the script language.
// Property names follow the reflection's rules; failures raise Error.
class ScriptObjects {
public:
    virtual ~ScriptObjects() = default;

    // The property's value with enumerations, sets and truth values given as
    // their names, so that a script compares them as text.
    virtual Variant readProperty(const QObject* object, const QByteArray& name) = 0;
    virtual void writeProperty(QObject* object, const QByteArray& name, const Variant& value) = 0;

    // True when the object is a window (a form) that the window commands act on.
    virtual bool isWindow(const QObject* object) = 0;

    virtual void showWindow(QObject* window) = 0;
    virtual void hideWindow(QObject* window) = 0;
    // Closes through the window's normal close handling.
    virtual void closeWindow(QObject* window) = 0;
    // Shows the window modally and returns once it has closed. The window may
    // have been freed by then.
    virtual void showWindowModal(QObject* window) = 0;
    // Frees the window and everything it owns. The script may be running inside
    // an event of that window or of one of its widgets, so the objects must
    // stay alive until control is back in the event loop.
    virtual void freeWindow(QObject* window) = 0;
};
