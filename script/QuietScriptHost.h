#pragma once

#include "script/ScriptHost.h"
#include "script/ScriptObjects.h"

// A host with no program behind it: no widgets, no device, no windows, no log.
// Scripts run against it where only the engine itself matters (the sheet linter,
// benchmarks); each overrides what it watches.
class QuietScriptHost : public ScriptHost {
public:
    QObject* FindSheetComponent(const QByteArray&) override { return nullptr; }
    bool UnregisterSheetComponent(QObject*) override { return false; }
    void DestroySheetComponents() override {}
    void ApplySettings() override {}
    void Disconnect() override {}
    void Connect(QObject*) override {}
    void ShowMainWindow() override {}
    void HideMainWindow() override {}
    void CloseWaitDialog() override {}
    bool ReconnectRequested() const override { return false; }
    void ClearReconnectRequested() override {}
    void AddScriptFunction(const QByteArray&, TSMethod*) override {}
    void LogColor(std::uint32_t, const QByteArray&) override {}
    void ShowMessage(const QString&) override {}
};

// Objects whose windows nothing shows: the window commands do nothing. The
// properties are each user's own.
class QuietScriptObjects : public ScriptObjects {
public:
    bool isWindow(const QObject*) override { return false; }
    void showWindow(QObject*) override {}
    void hideWindow(QObject*) override {}
    void closeWindow(QObject*) override {}
    void showWindowModal(QObject*) override {}
    void freeWindow(QObject*) override {}
};
