#pragma once

#include "script/ScriptObjects.h"

// How MainScript reaches the program's components: published properties through
// the reflection layer, and the window commands through the forms' own Show, Hide,
// Close, ShowModal and Free.
class ComponentScriptObjects : public ScriptObjects {
public:
    Variant readProperty(const QObject* object, const QByteArray& name) override;
    void writeProperty(QObject* object, const QByteArray& name, const Variant& value) override;
    bool isWindow(const QObject* object) override;
    void showWindow(QObject* window) override;
    void hideWindow(QObject* window) override;
    void closeWindow(QObject* window) override;
    void showWindowModal(QObject* window) override;
    void freeWindow(QObject* window) override;
};
