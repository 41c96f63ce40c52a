#include "platform/components/Component.h"

#include "platform/Error.h"
#include "platform/Win1250.h"
#include "platform/components/AsciiName.h"
#include "platform/components/EventDispatch.h"

TComponent::TComponent(TComponent* owner) : TPersistent(owner) {}

TComponent::~TComponent() {
    DestroyOwnedComponents();
    if (!freed_) {
        freed_ = true;
        emit freed(this);
    }
}

void TComponent::SetName(const QByteArray& name) {
    if (name == name_)
        return;
    if (!name.isEmpty() && !AsciiName::isIdentifier(name))
        throw Error(
            QStringLiteral("''%1'' is not a valid component name").arg(Win1250::toWide(name)));
    if (TComponent* owner = Owner(); owner && !AsciiName::sameName(name, name_)) {
        for (const QObject* child : owner->children()) {
            const auto* sibling = qobject_cast<const TComponent*>(child);
            if (sibling && sibling != this && !name.isEmpty() &&
                AsciiName::sameName(sibling->Name(), name))
                throw Error(QStringLiteral("A component named %1 already exists")
                                .arg(Win1250::toWide(name)));
        }
    }
    name_ = name;
    setObjectName(Win1250::toWide(name));
}

TComponent* TComponent::Owner() const {
    return qobject_cast<TComponent*>(parent());
}

QList<TComponent*> TComponent::Components() const {
    QList<TComponent*> owned;
    for (QObject* child : children()) {
        if (auto* component = qobject_cast<TComponent*>(child))
            owned.append(component);
    }
    return owned;
}

void TComponent::Free() {
    if (freed_)
        return;
    MarkFreed();
    setParent(nullptr);
    EventDispatch::deleteWhenIdle(this);
}

void TComponent::MarkFreed() {
    freed_ = true;
    Freeing();
    emit freed(this);
    for (TComponent* owned : Components()) {
        if (!owned->freed_)
            owned->MarkFreed();
    }
}

void TComponent::DestroyOwnedComponents() {
    for (QList<TComponent*> owned = Components(); !owned.isEmpty(); owned = Components())
        delete owned.last();
}
