#pragma once

#include <QByteArray>

class QObject;
class TScript;

// The commands a statement runs at its top-level ";". Words match exactly,
// letter case included.
namespace ScriptCommands {

// With no current object: "Show", "Hide", "Set", "Disconnect", "Release", or a
// script function called by its name and "()".
void Run(TScript& script, const QByteArray& word);

// With a window as the current object: "Show", "Close", "ShowModal", "Hide",
// "Destroy".
void RunOnWindow(TScript& script, QObject* window, const QByteArray& word);

} // namespace ScriptCommands
