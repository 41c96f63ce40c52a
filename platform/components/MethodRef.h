#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>

// A method reference: an object together with one of its published methods
// (a Q_INVOKABLE or a public slot). Event properties hold one.
//
// The target method takes either no argument or the sender (QObject*). Events
// with further arguments (close action, key, allow-change flag) never pass
// them on, so a bound method can never alter them.
class MethodRef {
public:
    MethodRef() = default;
    MethodRef(QObject* object, int methodIndex) : object_(object), methodIndex_(methodIndex) {}

    // True while the reference names a method of a live object.
    bool isBound() const { return object_ && methodIndex_ >= 0; }
    QObject* object() const { return object_; }
    int methodIndex() const { return methodIndex_; }

    // Calls the method with the sender; does nothing when unbound. Exceptions
    // from the method come out of this call (the call never passes through
    // Qt's own library frames, only through the target's generated code).
    void invoke(QObject* sender) const;

    friend bool operator==(const MethodRef& a, const MethodRef& b) {
        return a.object_ == b.object_ && a.methodIndex_ == b.methodIndex_;
    }

private:
    QPointer<QObject> object_;
    int methodIndex_ = -1;
};

// The published method of that name (ASCII case ignored) of the object's class
// or an ancestor; an unbound reference when there is none.
MethodRef FindPublishedMethod(QObject* instance, const QByteArray& name);
