#include "SheetScriptRig.h"

#include "platform/components/Reflection.h"
#include "platform/widgets/Form.h"

QObject* SheetHost::FindSheetComponent(const QByteArray& name) {
    return registry_.FindSheetComponent(name).Component;
}

bool SheetHost::UnregisterSheetComponent(QObject* component) {
    return registry_.UnregisterSheetComponent(qobject_cast<TComponent*>(component));
}

Variant SheetObjects::readProperty(const QObject* object, const QByteArray& name) {
    return GetPropValue(object, name, true);
}

void SheetObjects::writeProperty(QObject* object, const QByteArray& name, const Variant& value) {
    SetPropValue(object, name, value);
}

bool SheetObjects::isWindow(const QObject* object) {
    return qobject_cast<const TCustomForm*>(object) != nullptr;
}

void SheetObjects::showWindow(QObject* window) {
    qobject_cast<TCustomForm*>(window)->Show();
}

void SheetObjects::hideWindow(QObject* window) {
    qobject_cast<TCustomForm*>(window)->Hide();
}

void SheetObjects::closeWindow(QObject* window) {
    qobject_cast<TCustomForm*>(window)->Close();
}

void SheetObjects::showWindowModal(QObject* window) {
    qobject_cast<TCustomForm*>(window)->ShowModal();
}

void SheetObjects::freeWindow(QObject* window) {
    qobject_cast<TComponent*>(window)->Free();
}
