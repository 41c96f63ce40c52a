#include "platform/components/EventDispatch.h"

#include "platform/EntryGuard.h"

#include <QCoreApplication>
#include <QPointer>
#include <vector>

namespace EventDispatch {
namespace {

// Where a handler's error goes: the capture slot of the innermost program
// action, or nowhere (the operator's error box) when none is active.
std::exception_ptr* currentCapture = nullptr;

int inUseDepth = 0;
bool purgeScheduled = false;

std::vector<QPointer<QObject>>& graveyard() {
    static std::vector<QPointer<QObject>> objects;
    return objects;
}

void purge() {
    purgeScheduled = false;
    if (inUseDepth > 0)
        return; // InUse's destructor schedules the purge again
    std::vector<QPointer<QObject>> doomed;
    doomed.swap(graveyard());
    for (const QPointer<QObject>& object : doomed)
        delete object.data();
}

void schedulePurge() {
    if (purgeScheduled || graveyard().empty())
        return;
    purgeScheduled = true;
    QMetaObject::invokeMethod(QCoreApplication::instance(), &purge, Qt::QueuedConnection);
}

} // namespace

void fire(const MethodRef& handler, QObject* sender) noexcept {
    if (!handler.isBound())
        return;
    InUse inUse;
    if (currentCapture) {
        try {
            handler.invoke(sender);
        } catch (...) {
            if (!*currentCapture)
                *currentCapture = std::current_exception();
        }
    } else {
        EntryGuard::guardEntry([&] { handler.invoke(sender); });
    }
}

ProgramAction::ProgramAction() : previous_(currentCapture) {
    currentCapture = &captured_;
}

ProgramAction::~ProgramAction() {
    currentCapture = previous_;
}

void ProgramAction::finish() {
    currentCapture = previous_;
    if (captured_)
        std::rethrow_exception(std::exchange(captured_, nullptr));
}

OperatorLoop::OperatorLoop() : previous_(currentCapture) {
    currentCapture = nullptr;
}

OperatorLoop::~OperatorLoop() {
    currentCapture = previous_;
}

InUse::InUse() {
    ++inUseDepth;
}

InUse::~InUse() {
    if (--inUseDepth == 0)
        schedulePurge();
}

void deleteWhenIdle(QObject* object) {
    graveyard().emplace_back(object);
    schedulePurge();
}

} // namespace EventDispatch
