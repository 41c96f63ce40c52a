#include "platform/EntryGuard.h"

#include <QtGlobal>

namespace EntryGuard {
namespace {

Reporter& currentReporter() {
    static Reporter reporter = [](const QString& message) { qWarning("%s", qPrintable(message)); };
    return reporter;
}

} // namespace

Reporter setReporter(Reporter reporter) {
    return std::exchange(currentReporter(), std::move(reporter));
}

void report(const QString& message) noexcept {
    try {
        if (currentReporter())
            currentReporter()(message);
    } catch (...) {
        // The reporter is the last line of defence; a failure in it must not escape into Qt.
        qWarning("error while reporting: %s", qPrintable(message));
    }
}

} // namespace EntryGuard
