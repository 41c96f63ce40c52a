#pragma once

#include "script/ScriptObjects.h"

// Scripts reach sheet widgets through the component model: published
// properties by reflection and forms through their own show, hide, close,
// modal show and free.
class ComponentObjects : public ScriptObjects {
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
