#include "link/AutoResetSignal.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>

namespace {

constexpr int WaitStepMs = 100;

int firstSet(std::initializer_list<AutoResetSignal*> candidates) {
    int index = 0;
    for (AutoResetSignal* signal : candidates) {
        if (signal->isSet())
            return index;
        ++index;
    }
    return WaitTimedOut;
}

// Handles the next message, sleeping in the event dispatcher until one arrives; the
// wake-up timer bounds that sleep.
void handleNextMessage(int maxWaitMs) {
    QTimer wakeUp;
    wakeUp.setSingleShot(true);
    wakeUp.start(std::max(0, maxWaitMs));
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

} // namespace

void processMessages(int maxWaitMs) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    handleNextMessage(maxWaitMs);
}

int waitForAny(std::initializer_list<AutoResetSignal*> candidates, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        const int index = firstSet(candidates);
        if (index != WaitTimedOut) {
            std::data(candidates)[index]->reset();
            return index;
        }
        const qint64 left = timeoutMs - clock.elapsed();
        if (left <= 0)
            return WaitTimedOut;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (firstSet(candidates) != WaitTimedOut)
            continue;
        handleNextMessage(static_cast<int>(std::min<qint64>(left, WaitStepMs)));
    }
}
