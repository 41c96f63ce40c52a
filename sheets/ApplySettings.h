#pragma once

#include "link/ConfigurationHistory.h"
#include "sheets/XMLPath.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

class OperatorDialogs;
class TXMLDocument;
struct LinkSignals;
struct SheetContext;
struct TSheetComponent;

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

// What "Set" writes for one registry entry: the text of its bound widget's value
// (a combo box gives its selected item's value) and the setting it goes to. None
// for an entry without a binding or with a disabled widget; raises for an entry
// whose value cannot be taken.
struct BoundWrite {
    XMLPathParts path;
    QString text;
};
std::optional<BoundWrite> BoundSettingWrite(const TSheetComponent& entry);

// Visits every registry entry whose widget is alive, in registry order under
// SheetLock, with what "Set" writes for it (none also when its value cannot be taken).
using BoundWriteVisitor =
    std::function<void(const TSheetComponent& entry, const std::optional<BoundWrite>& write)>;
void ForEachBoundWrite(const SheetContext& context, const BoundWriteVisitor& visit);

// The first part alone: the bound values written into the device document. An
// entry whose attribute the document lacks is skipped.
void WriteBoundValues(const SheetContext& context);
// The same into another document, a copy of the device document.
void WriteBoundValues(const SheetContext& context, TXMLDocument& device);

// The second part alone, for a document restored as a whole: sends the device
// document (nothing is written into it first) and waits for the confirmation as
// "Set" does. Needs the connection.
void SendDeviceDocument(const SheetContext& context, ApplyEnvironment& environment);
