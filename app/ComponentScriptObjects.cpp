#include "app/ComponentScriptObjects.h"

#include "platform/components/Reflection.h"
#include "platform/widgets/Form.h"

namespace {

// The window commands are only given objects that isWindow accepted.
TCustomForm& form(QObject* window) {
    return *static_cast<TCustomForm*>(window);
}

} // namespace

Variant ComponentScriptObjects::readProperty(const QObject* object, const QByteArray& name) {
    return GetPropValue(object, name, true);
}

void ComponentScriptObjects::writeProperty(QObject* object, const QByteArray& name,
                                           const Variant& value) {
    SetPropValue(object, name, value);
}

bool ComponentScriptObjects::isWindow(const QObject* object) {
    return qobject_cast<const TCustomForm*>(object) != nullptr;
}

void ComponentScriptObjects::showWindow(QObject* window) {
    form(window).Show();
}

void ComponentScriptObjects::hideWindow(QObject* window) {
    form(window).Hide();
}

void ComponentScriptObjects::closeWindow(QObject* window) {
    form(window).Close();
}

void ComponentScriptObjects::showWindowModal(QObject* window) {
    form(window).ShowModal();
}

void ComponentScriptObjects::freeWindow(QObject* window) {
    form(window).Free();
}
