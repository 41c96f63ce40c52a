#pragma once

#include "link/AutoResetSignal.h"

// The six signals that carry facts from the link's event handlers to the waiting loops
// (the connect wait here, the apply wait of ApplySettings, the keep-alive).
struct LinkSignals {
    // Set by ClientSocketConnect; ends the connect wait with success.
    AutoResetSignal hConnected;
    // Set at every read event; the keep-alive tick tests (and so clears) it.
    AutoResetSignal hDataReceived;
    // The device took over all new settings.
    AutoResetSignal hReconfigured;
    // The device took over only some of the new settings.
    AutoResetSignal hPartiallyApplied;
    // The disconnection in progress was caused by a rejected password.
    AutoResetSignal hWrongPassword;
    // The attempt failed and the operator has been told, or the operator cancelled it.
    AutoResetSignal hAborted;
};
