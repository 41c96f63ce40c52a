#include "script/ScriptCommands.h"

#include "platform/Win1250.h"
#include "script/ScriptHost.h"
#include "script/ScriptObjects.h"
#include "script/TScript.h"

#include <QObject>
#include <QPointer>

namespace {

void destroyWindow(TScript& script, QObject* window) {
    ScriptHost& host = script.Host();
    const QPointer<QObject> target(window);
    if (host.UnregisterSheetComponent(window) && target)
        script.Objects().freeWindow(target);
    if (host.ReconnectRequested()) {
        // Logging in again leaves the windows as "Připojit" does: the main window
        // hidden behind the next sheet, or shown again by a failed attempt.
        host.ClearReconnectRequested();
        host.Connect(&script);
        return;
    }
    host.ShowMainWindow();
}

} // namespace

namespace ScriptCommands {

void Run(TScript& script, const QByteArray& word) {
    ScriptHost& host = script.Host();
    if (word == "Show")
        host.ShowMainWindow();
    else if (word == "Hide")
        host.HideMainWindow();
    else if (word == "Set")
        host.ApplySettings();
    else if (word == "Disconnect")
        host.Disconnect();
    else if (word == "Release")
        host.DestroySheetComponents();
    else if (!script.CallFunction(word))
        host.ShowMessage(
            QStringLiteral("Script - Unknown command: '%1'").arg(Win1250::toWide(word)));
}

void RunOnWindow(TScript& script, QObject* window, const QByteArray& word) {
    ScriptObjects& objects = script.Objects();
    if (word == "Show") {
        objects.showWindow(window);
    } else if (word == "Close") {
        objects.closeWindow(window);
    } else if (word == "ShowModal") {
        script.Host().CloseWaitDialog();
        objects.showWindowModal(window);
    } else if (word == "Hide") {
        objects.hideWindow(window);
    } else if (word == "Destroy") {
        destroyWindow(script, window);
    } else {
        script.Host().ShowMessage(
            QStringLiteral("Object Form don't support this function or property!"));
    }
}

} // namespace ScriptCommands
