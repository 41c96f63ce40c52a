#pragma once

#include "SheetScriptRig.h"
#include "script/ComponentObjects.h"
#include "diagnostics/DiagnosticLog.h"
#include "platform/components/Component.h"
#include "platform/xml/TXMLDocument.h"
#include "script/TScript.h"
#include "sheets/SheetContext.h"
#include "sheets/SheetRegistry.h"

#include <QPointer>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// The documents, registry, log and script engine of one main window, with a
// temporary sheet directory. The event log is kept as "kind|text" lines with
// the builder's colours named (lime, cream, yellow, red), so that tests
// compare it line by line without the time.
class SheetTest : public ::testing::Test {
protected:
    SheetTest();
    ~SheetTest() override;

    // Loads the device document from its XML text.
    void loadDevice(const QByteArray& xml);
    // A sheet file in the sheet directory.
    void writeSheet(const QString& fileName, const QByteArray& content);
    // Loads `<S type="T" version="1">` + body + `</S>` into XML_Sheet and builds
    // its first child as a top-level element; null when the element fails.
    TComponent* build(const QByteArray& body);
    // A built widget by name, or null.
    template <typename T> T* find(const char* name) {
        return qobject_cast<T*>(registry.FindSheetComponent(name).Component);
    }
    // Keeps a top-level widget that the registry no longer lists, so that it
    // is freed at the end of the test.
    void keep(TComponent* widget) { kept_.append(widget); }
    // Log lines since the last call.
    std::vector<std::string> takeLog();
    // Lets deferred deletions happen.
    static void flushDeletions();

    TXMLDocument device;
    TXMLDocument sheet;
    SheetRegistry registry;
    DiagnosticLog log;
    SheetHost host{registry};
    ComponentObjects objects;
    TScript script{host, objects, nullptr};
    QTemporaryDir directory;
    SheetContext context{device, sheet, registry, log, script, {}, {directory.path()}, {}};

private:
    std::vector<std::string> lines_;
    QList<QPointer<TComponent>> kept_;
};
