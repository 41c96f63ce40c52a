#include "diagnostics/CoalescedCall.h"

#include "platform/EntryGuard.h"

#include <QMetaObject>

void CoalescedCall::request() {
    if (pending_)
        return;
    pending_ = true;
    QMetaObject::invokeMethod(
        context_,
        [this] {
            pending_ = false;
            EntryGuard::guardEntry(action_);
        },
        Qt::QueuedConnection);
}
