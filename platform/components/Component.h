#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>

// The root of the classes that sheets can name. It publishes nothing itself.
class TPersistent : public QObject {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TPersistent(QObject* parent = nullptr) : QObject(parent) {}
};

// A component: named, tagged, owned by another component or by nobody.
//
// The owner is the QObject parent: an owner frees the components it owns when
// it is freed. Placement on screen (the parent control) is a separate matter
// of the control classes.
class TComponent : public TPersistent {
    Q_OBJECT
    Q_PROPERTY(QByteArray Name READ Name WRITE SetName)
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)
public:
    Q_INVOKABLE explicit TComponent(TComponent* owner = nullptr);
    ~TComponent() override;

    const QByteArray& Name() const { return name_; }
    // Empty, or an identifier unique among the owner's components (letter case
    // ignored). Raises Error with the naming error texts.
    void SetName(const QByteArray& name);

    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

    TComponent* Owner() const;
    // The owned components in creation order.
    QList<TComponent*> Components() const;

    // Frees the component and everything it owns. It leaves its owner, its
    // parent control and the screen at once, and `freed` is emitted for it and
    // each owned component at once; the objects themselves are deleted once no
    // event handler is running any more, so freeing is safe from inside one of
    // the component's own events.
    void Free();
    bool IsFreed() const { return freed_; }

signals:
    // Emitted once per component, as soon as it is freed by any path (Free, its
    // owner's Free, or plain deletion).
    void freed(TComponent* component);

protected:
    // Called once when the component is being freed, before it is deleted:
    // controls leave the screen here.
    virtual void Freeing() {}
    // Deletes the owned components, newest first. Classes that hold widgets call
    // it before they delete their own widget, so that destruction has one order.
    void DestroyOwnedComponents();

private:
    void MarkFreed();

    QByteArray name_;
    int tag_ = 0;
    bool freed_ = false;
};
