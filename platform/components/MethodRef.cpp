#include "platform/components/MethodRef.h"

#include "platform/components/AsciiName.h"

#include <QMetaMethod>

void MethodRef::invoke(QObject* sender) const {
    if (!isBound())
        return;
    QObject* target = object_;
    // A method without parameters simply does not read the sender slot.
    void* args[] = {nullptr, &sender};
    // qt_metacall dispatches through the target's own generated code only, so an
    // exception raised by the method travels back to our caller safely.
    target->qt_metacall(QMetaObject::InvokeMetaMethod, methodIndex_, args);
}

MethodRef FindPublishedMethod(QObject* instance, const QByteArray& name) {
    if (!instance)
        return {};
    const QMetaObject* meta = instance->metaObject();
    for (int i = meta->methodCount() - 1; i >= QObject::staticMetaObject.methodCount(); --i) {
        const QMetaMethod m = meta->method(i);
        if (m.access() != QMetaMethod::Public || m.methodType() == QMetaMethod::Signal)
            continue;
        if (m.methodType() == QMetaMethod::Constructor || !AsciiName::sameName(m.name(), name))
            continue;
        const bool takesSender = m.parameterCount() == 1 && m.parameterMetaType(0).flags().testFlag(
                                                                QMetaType::PointerToQObject);
        if (m.parameterCount() == 0 || takesSender)
            return MethodRef(instance, i);
    }
    return {};
}
