#pragma once

#include "platform/Error.h"

#include <QString>

#include <exception>
#include <functional>
#include <utility>

// Every place where Qt calls into the program (slots, event overrides, timers,
// socket notifications) runs its body through guardEntry, so that no exception
// ever unwinds through Qt's frames. What escapes the body goes to the
// application's error reporter, which the program points at its error box.
namespace EntryGuard {

using Reporter = std::function<void(const QString& message)>;

// Installs the reporter and returns the previous one (tests restore it).
Reporter setReporter(Reporter reporter);

// Shows the message through the current reporter; never throws.
void report(const QString& message) noexcept;

template <typename Body>
void guardEntry(Body&& body) noexcept {
    try {
        std::forward<Body>(body)();
    } catch (const Error& e) {
        report(e.message());
    } catch (const std::exception& e) {
        report(QString::fromUtf8(e.what()));
    } catch (...) {
        report(QStringLiteral("Unknown error"));
    }
}

} // namespace EntryGuard
