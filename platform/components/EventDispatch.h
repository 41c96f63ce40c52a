#pragma once

#include "platform/components/MethodRef.h"

#include <exception>

// Who sees an error raised by an event handler, and when freed components are
// really deleted.
//
// When the program itself causes a widget event (a property write, a form's
// Show or Close), the error travels back to that program code: the handler's
// exception is caught at the Qt boundary and rethrown by ProgramAction::finish
// once the Qt call has returned. When the operator causes it, the application's
// error reporter shows it (EntryGuard).
namespace EventDispatch {

// Calls a bound event handler with the sender. Never throws.
void fire(const MethodRef& handler, QObject* sender) noexcept;

// Marks a program-initiated action on a widget for its lifetime.
class ProgramAction {
public:
    ProgramAction();
    ~ProgramAction();
    ProgramAction(const ProgramAction&) = delete;
    ProgramAction& operator=(const ProgramAction&) = delete;

    // Rethrows the first error that an event handler raised during the action.
    void finish();

private:
    std::exception_ptr* previous_;
    std::exception_ptr captured_;
};

// Marks a nested event loop that waits for the operator (a modal form): events
// inside it are the operator's, even when a program action started the loop.
class OperatorLoop {
public:
    OperatorLoop();
    ~OperatorLoop();
    OperatorLoop(const OperatorLoop&) = delete;
    OperatorLoop& operator=(const OperatorLoop&) = delete;

private:
    std::exception_ptr* previous_;
};

// Keeps freed components alive while component code is on the stack (a running
// event handler, a modal loop). Freed objects are deleted only once no such
// code runs any more.
class InUse {
public:
    InUse();
    ~InUse();
    InUse(const InUse&) = delete;
    InUse& operator=(const InUse&) = delete;
};

// Deletes the object once no component code is running; never at once.
void deleteWhenIdle(QObject* object);

} // namespace EventDispatch
