#pragma once

#include "script/ScriptHost.h"
#include "sheets/SheetRegistry.h"

#include <QStringList>

// Script host whose registry commands go to the sheet registry, as the main
// window's do; the rest is recorded.
class SheetHost : public ScriptHost {
public:
    explicit SheetHost(SheetRegistry& registry) : registry_(registry) {}

    QStringList calls;

    QObject* FindSheetComponent(const QByteArray& name) override;
    bool UnregisterSheetComponent(QObject* component) override;
    void DestroySheetComponents() override { registry_.DestroySheetComponents(); }
    void ApplySettings() override { calls << QStringLiteral("Set"); }
    void Disconnect() override { calls << QStringLiteral("Disconnect"); }
    void Connect(QObject*) override { calls << QStringLiteral("Connect"); }
    void ShowMainWindow() override {}
    void HideMainWindow() override {}
    void CloseWaitDialog() override {}
    bool ReconnectRequested() const override { return false; }
    void ClearReconnectRequested() override {}
    void AddScriptFunction(const QByteArray&, TSMethod*) override {}
    void LogColor(std::uint32_t, const QByteArray&) override {}
    void ShowMessage(const QString& text) override { calls << text; }

private:
    SheetRegistry& registry_;
};
