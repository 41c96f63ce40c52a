#pragma once

#include <QStringList>
#include <functional>

class DiagnosticLog;
class SheetRegistry;
class TScript;
class TXMLDocument;

// What loading and building a sheet works with. The main window owns all of
// it and hands it over; the sheet code keeps no state of its own beyond it.
struct SheetContext {
    // The device's configuration as last loaded; bindings read and write it.
    TXMLDocument& XML_Device;
    // The sheet file being examined, and after a match the sheet built.
    TXMLDocument& XML_Sheet;
    // The widgets of the current sheet.
    SheetRegistry& SheetComponents;
    DiagnosticLog& Log;
    // Runs the sheet's scripts and the scripts of its events.
    TScript& MainScript;
    // Shows the device document in the diagnostics window; may be empty.
    std::function<void(const TXMLDocument&)> ShowDeviceXML;
    // Where the sheet files may be, in order; the first that holds any is searched.
    QStringList SheetDirectories;
    // Told of the matching sheet before it is built (the diagnostics window shows it);
    // may be empty.
    std::function<void(const TXMLDocument&)> ShowSheetXML;
};
