#pragma once

#include <QObject>
#include <functional>

// Runs an action once from the message loop, however often it was requested
// before the loop got to it: views catch up with the logs in batches this way.
// The action runs under the entry guard; it is dropped with its context object.
class CoalescedCall {
public:
    CoalescedCall(QObject* context, std::function<void()> action)
        : context_(context), action_(std::move(action)) {}

    void request();
    // The action ran directly; a pending request may run again but finds nothing to do.
    void markDone() { pending_ = false; }

private:
    QObject* context_;
    std::function<void()> action_;
    bool pending_ = false;
};
