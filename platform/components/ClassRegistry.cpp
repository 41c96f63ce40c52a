#include "platform/components/ClassRegistry.h"

#include "platform/Error.h"
#include "platform/Win1250.h"
#include "platform/components/AsciiName.h"
#include "platform/components/Component.h"
#include "platform/widgets/MenuItem.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<const ComponentClass*>& registered() {
    static std::vector<const ComponentClass*> classes = {&TMenuItem::staticMetaObject,
                                                         &TComponent::staticMetaObject,
                                                         &TPersistent::staticMetaObject};
    return classes;
}

const ComponentClass* lookUp(QByteArrayView name) {
    for (const ComponentClass* c : registered()) {
        if (AsciiName::sameName(c->className(), name))
            return c;
    }
    return nullptr;
}

QString notFound(QByteArrayView name) {
    return QStringLiteral("Class %1 not found").arg(Win1250::toWide(name));
}

} // namespace

void RegisterClasses(std::initializer_list<const ComponentClass*> classes) {
    auto& all = registered();
    for (const ComponentClass* c : classes) {
        for (; c; c = c->superClass()) {
            if (std::find(all.begin(), all.end(), c) != all.end())
                break;
            all.push_back(c);
            if (c == &TPersistent::staticMetaObject)
                break;
        }
    }
}

const ComponentClass& FindClass(const QByteArray& name) {
    if (const ComponentClass* c = lookUp(name))
        return *c;
    throw Error(notFound(name));
}

TComponent* CreateComponent(const ComponentClass& componentClass, TComponent* owner) {
    if (!componentClass.inherits(&TComponent::staticMetaObject))
        throw Error(notFound(componentClass.className()));
    QObject* made = componentClass.newInstance(Q_ARG(TComponent*, owner));
    if (!made)
        throw Error(notFound(componentClass.className()));
    return static_cast<TComponent*>(made);
}
