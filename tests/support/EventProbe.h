#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

// A binding object for tests: its published Execute counts the calls, keeps
// the last sender and runs an optional action (throw, free a form...).
class EventProbe : public QObject {
    Q_OBJECT
public:
    int calls = 0;
    QPointer<QObject> lastSender;
    std::function<void(QObject* sender)> action;

    Q_INVOKABLE void Execute(QObject* sender) {
        ++calls;
        lastSender = sender;
        if (action)
            action(sender);
    }
};
