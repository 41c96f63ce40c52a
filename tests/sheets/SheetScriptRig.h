#pragma once

#include "script/QuietScriptHost.h"
#include "sheets/SheetRegistry.h"

#include <QStringList>

// Script host whose registry commands go to the sheet registry, as the main
// window's do; the rest is recorded.
class SheetHost : public QuietScriptHost {
public:
    explicit SheetHost(SheetRegistry& registry) : registry_(registry) {}

    QStringList calls;

    QObject* FindSheetComponent(const QByteArray& name) override;
    bool UnregisterSheetComponent(QObject* component) override;
    void DestroySheetComponents() override { registry_.DestroySheetComponents(); }
    void ApplySettings() override { calls << QStringLiteral("Set"); }
    void Disconnect() override { calls << QStringLiteral("Disconnect"); }
    void Connect(QObject*) override { calls << QStringLiteral("Connect"); }
    void ShowMessage(const QString& text) override { calls << text; }

private:
    SheetRegistry& registry_;
};
