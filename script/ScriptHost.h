#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

class QObject;
class TSMethod;

// What the script engine needs of the rest of the program. The main window
// implements it; the engine never reaches the registry, the device link, the
// windows or the diagnostics any other way. Every operation may raise Error,
// which then ends the running script and reaches the caller of Run.
class ScriptHost {
public:
    virtual ~ScriptHost() = default;

    // The first registered sheet widget whose current name equals `name`
    // exactly (same bytes, letter case significant), or nullptr.
    virtual QObject* FindSheetComponent(const QByteArray& name) = 0;

    // Removes the registry entry of `component`; true when one was removed.
    // The engine then frees it through ScriptObjects::freeWindow.
    virtual bool UnregisterSheetComponent(QObject* component) = 0;

    // Frees every registered sheet widget and empties the registry. A script
    // may run this from an event of one of those widgets, so the registry must
    // be empty on return while the objects themselves stay alive until control
    // is back in the event loop.
    virtual void DestroySheetComponents() = 0;

    // "Set": writes the bound values back, sends them and waits for the device.
    virtual void ApplySettings() = 0;

    // Closes the client socket when one exists and is open; otherwise nothing.
    virtual void Disconnect() = 0;

    // Starts the connect procedure again, as if `sender` had pressed "Připojit".
    virtual void Connect(QObject* sender) = 0;

    virtual void ShowMainWindow() = 0;
    virtual void HideMainWindow() = 0;
    virtual void CloseWaitDialog() = 0;

    // The operator's answer to the apply outcome: log in again afterwards.
    virtual bool ReconnectRequested() const = 0;
    virtual void ClearReconnectRequested() = 0;

    // Appends one entry to the diagnostics list of script functions: the name
    // (8-bit text) and the function, whose GetBody the list shows. The method
    // lives as long as the engine.
    virtual void AddScriptFunction(const QByteArray& name, TSMethod* method) = 0;

    // A diagnostics log line (8-bit text) on a background colour given as
    // $00BBGGRR.
    virtual void LogColor(std::uint32_t colour, const QByteArray& text) = 0;

    // A modal notice with one OK button; returns when the operator closed it.
    virtual void ShowMessage(const QString& text) = 0;
};
