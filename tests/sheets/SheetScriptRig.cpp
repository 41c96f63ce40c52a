#include "SheetScriptRig.h"

#include "platform/components/Component.h"

QObject* SheetHost::FindSheetComponent(const QByteArray& name) {
    return registry_.FindSheetComponent(name).Component;
}

bool SheetHost::UnregisterSheetComponent(QObject* component) {
    return registry_.UnregisterSheetComponent(qobject_cast<TComponent*>(component));
}
