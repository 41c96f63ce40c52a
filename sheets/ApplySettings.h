#pragma once

#include "link/ConfigurationHistory.h"

#include <QByteArray>
#include <QString>
#include <functional>

class OperatorDialogs;
struct LinkSignals;
struct SheetContext;

// What "Set" works with besides the sheet: the device connection, its
// confirmation signals, the operator's message boxes and the two program-wide
// flags. The main window owns all of it.
struct ApplyEnvironment {
    // True while the connection to the device is open.
    std::function<bool()> LinkConnected;
    // Sends wire text (Windows-1250) through that connection.
    std::function<void(const QByteArray&)> SendText;
    LinkSignals& Signals;
    OperatorDialogs& Dialogs;
    // True while ApplySettings runs: a configuration block that arrives then is
    // not loaded.
    bool& ApplyInProgress;
    // The operator asked to log in again once the device has reset.
    bool& ReconnectRequested;
    // Starts the login at once, as "Připojit" does.
    std::function<void()> Reconnect;
    // Where the configuration goes when there is no connection.
    QString SaveFileName;
    // Called once the bound values are written, before anything is sent or saved;
    // false stops there. May be empty.
    std::function<bool()> ReviewBeforeSend;
    // Told of every document sent and how the device answered; may be empty.
    std::function<void(const QByteArray& document, ConfigurationHistory::Answer answer)> KeepSent;
};

// "c:\temp.xml" on Windows, elsewhere temp.xml in the system temp directory.
QString DefaultSaveFileName();

// Writes the value of every registered, enabled, bound widget into its device
// attribute (an entry that cannot be written is skipped silently), then sends
// the device document and waits for the device's confirmation, or without a
// connection saves the document as UTF-8.
//
// A Yes to the question whether to log in again is remembered in
// ReconnectRequested while the connection is still open, for the disconnection
// handling to act on. When the device has already disconnected by then (it
// resets soon after confirming), the login starts at once instead, because the
// disconnection handling that would have acted on it has already run.
//
// Raises when the send or the save fails; ApplyInProgress is cleared on every exit.
void ApplySettings(const SheetContext& context, ApplyEnvironment& environment);

// The first part alone: the bound values written into the device document.
void WriteBoundValues(const SheetContext& context);

// The second part alone, for a document restored as a whole: sends the device
// document (nothing is written into it first) and waits for the confirmation as
// "Set" does. Needs the connection.
void SendDeviceDocument(const SheetContext& context, ApplyEnvironment& environment);
