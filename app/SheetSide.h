#pragma once

#include "sheets/ApplySettings.h"
#include "sheets/LoadSheet.h"
#include "sheets/SetSetting.h"
#include "sheets/SettingChanges.h"
#include "sheets/SheetContext.h"
#include "sheets/SheetRegistry.h"

#include <QByteArray>
#include <QString>
#include <functional>

class QObject;

// The configuration sheets as the main window reaches them: LoadSheet with the
// device it identified, the registry of built widgets (with SheetLock) and
// ApplySettings. This is the one place where the main window meets the sheets code.
class SheetSide {
public:
    // Shows a document in one of the diagnostics window's trees.
    using ShowDocument = std::function<void(const TXMLDocument&)>;

    struct Documents {
        TXMLDocument& XML_Device;
        TXMLDocument& XML_Sheet;
    };

    // `sheetDirectory` empty: the sheets are looked for in the program's directory,
    // then in the installed and the user's sheet directories.
    SheetSide(Documents documents, DiagnosticLog& log, TScript& mainScript,
              const QString& sheetDirectory, ShowDocument showDevice, ShowDocument showSheet,
              ApplyEnvironment applyEnvironment);

    void LoadSheet();
    QObject* FindSheetComponent(const QByteArray& name);
    bool UnregisterSheetComponent(QObject* component);
    void DestroySheetComponents();
    void ApplySettings();
    // Sends the device document as it is, as "Set" sends one.
    void SendDeviceDocument();
    // What "Set" has written differently from the configuration the device sent.
    std::vector<SettingChange> pendingChanges(const IXMLNode& receivedRoot) const;
    // Every bound setting as `baselineRoot` holds it and as "Set" would write it now;
    // then the other settings the device document holds differently.
    std::vector<SettingState> boundSettingStates(const IXMLNode& baselineRoot) const;
    std::vector<SettingState> unboundSettingStates(const IXMLNode& baselineRoot,
                                                   const std::vector<SettingState>& bound) const;
    // Saves what "Set" would write now, leaving the device document as it is.
    void saveAsSetWouldWrite(const QString& file) const;
    // Gives a device setting a value, through the widget that binds it or in the
    // device document; see SetDeviceSetting.
    void setDeviceSetting(const IXMLNode& receivedRoot, const SettingRequest& request);
    // What "Set" would send differently from the configuration the device sent: the
    // bound values are written into the device document first, as "Set" writes them.
    std::vector<SettingChange> changesToSend(const IXMLNode& receivedRoot);

    const DeviceIdentity& device() const { return device_; }
    SheetRegistry& registry() { return registry_; }
    // Whether the last LoadSheet found a sheet for the device (and built it).
    bool sheetMatchesDevice() const { return sheetMatched_; }

private:
    SheetRegistry registry_;
    SheetContext context_;
    ShowDocument showSheet_;
    ApplyEnvironment applyEnvironment_;
    DeviceIdentity device_;
    bool sheetMatched_ = false;
};
