#pragma once

#include <initializer_list>
#include <utility>

// A fact that an event handler hands to a waiting loop on the same (GUI) thread.
// It is set until a wait or a zero-time test consumes it; setting it again while
// it is set changes nothing.
class AutoResetSignal {
public:
    AutoResetSignal() = default;
    AutoResetSignal(const AutoResetSignal&) = delete;
    AutoResetSignal& operator=(const AutoResetSignal&) = delete;

    void set() noexcept { set_ = true; }
    void reset() noexcept { set_ = false; }
    bool isSet() const noexcept { return set_; }

    // The zero-time test: tells whether the signal is set and clears it when it is.
    bool test() noexcept { return std::exchange(set_, false); }

private:
    bool set_ = false;
};

// What waitForAny returns when no signal was set in time.
inline constexpr int WaitTimedOut = -1;

// Waits until one of the signals is set or timeoutMs have passed, keeping the message
// loop running meanwhile (so the handlers that set the signals can run), in steps of at
// most 100 ms. When several are set, the one that stands first in the list wins; only
// that one is cleared. Returns its index in the list, or WaitTimedOut. A time limit of
// zero only tests the signals and processes no messages.
int waitForAny(std::initializer_list<AutoResetSignal*> candidates, int timeoutMs);

// Processes every pending message, then handles one more, waiting at most maxWaitMs for
// one to arrive. Never busy-waits: the wait sleeps in the event dispatcher.
void processMessages(int maxWaitMs);
