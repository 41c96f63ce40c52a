#include "script/ComponentObjects.h"

#include "platform/components/Reflection.h"
#include "platform/widgets/Form.h"

namespace {

// The engine runs window commands only on objects that isWindow accepted.
TCustomForm& form(QObject* window) {
    auto* form = qobject_cast<TCustomForm*>(window);
    Q_ASSERT(form);
    return *form;
}

} // namespace

Variant ComponentObjects::readProperty(const QObject* object, const QByteArray& name) {
    return GetPropValue(object, name, true);
}

void ComponentObjects::writeProperty(QObject* object, const QByteArray& name,
                                     const Variant& value) {
    SetPropValue(object, name, value);
}

bool ComponentObjects::isWindow(const QObject* object) {
    return qobject_cast<const TCustomForm*>(object) != nullptr;
}

void ComponentObjects::showWindow(QObject* window) {
    form(window).Show();
}

void ComponentObjects::hideWindow(QObject* window) {
    form(window).Hide();
}

void ComponentObjects::closeWindow(QObject* window) {
    form(window).Close();
}

void ComponentObjects::showWindowModal(QObject* window) {
    // Scripts ignore the modal result.
    form(window).ShowModal();
}

void ComponentObjects::freeWindow(QObject* window) {
    form(window).Free();
}
