#pragma once

#include "diagnostics/DiagnosticLog.h"
#include "platform/xml/TXMLDocument.h"
#include "script/ComponentObjects.h"
#include "script/TScript.h"
#include "sheets/LoadSheet.h"
#include "sheets/SheetContext.h"
#include "sheets/SheetRegistry.h"
#include "sheets/SheetScriptRig.h"

#include <QByteArray>
#include <QString>

// One main window's sheet side for a fuzz input: a small device configuration
// (type "F", version "1"), a sheet directory, the registry, the log and the
// script engine. Modal shows return at once, as in the check mode. Everything
// the input built is freed when the rig goes.
class FuzzSheetRig {
public:
    FuzzSheetRig();
    ~FuzzSheetRig();
    FuzzSheetRig(const FuzzSheetRig&) = delete;
    FuzzSheetRig& operator=(const FuzzSheetRig&) = delete;

    // Finds and builds the sheet as "Připojit" does, with these bytes as the only
    // sheet file; errors the program reports are swallowed.
    void build(const QByteArray& sheetFile);
    // Runs the text as the sheet's scripts run; errors are swallowed.
    void run(const QByteArray& scriptText);

    // The rig's own sheet: a form with a page, an edit bound to the device, a
    // combo box, a button and script functions that show and close the form.
    static const QByteArray SampleSheet;

private:
    TXMLDocument device_;
    TXMLDocument sheet_;
    SheetRegistry registry_;
    DiagnosticLog log_;
    SheetHost host_{registry_};
    ComponentObjects objects_;
    TScript script_{host_, objects_, nullptr};
    SheetContext context_;
    DeviceIdentity identity_;
};
