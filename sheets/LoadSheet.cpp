#include "sheets/LoadSheet.h"

#include "diagnostics/DiagnosticLog.h"
#include "platform/Win1250.h"
#include "platform/components/AsciiName.h"
#include "platform/xml/TXMLDocument.h"
#include "script/TScript.h"
#include "sheets/SheetContext.h"
#include "sheets/SheetDirectories.h"
#include "sheets/SheetLogColours.h"
#include "sheets/SheetRegistry.h"
#include "sheets/TScriptNodeObject.h"

#include <QFileInfo>
#include <exception>

namespace {

QByteArray AttributeText(const IXMLNode& element, const char* name) {
    return element.attribute(QString::fromLatin1(name)).toText();
}

// Runs the SCRIPT children and builds the other children of the sheet's root,
// in document order. The root is held here, so the walk is not disturbed when
// a script loads another sheet meanwhile.
void BuildSheet(const SheetContext& context, const IXMLNode& root) {
    for (IXMLNode child = root.childNodes().first(); !child.isNull(); child = child.nextSibling()) {
        try {
            if (AsciiName::sameName(child.nodeName(), "SCRIPT"))
                context.MainScript.Run(Win1250::fromWide(child.text()));
            else
                TScriptNodeObject::Create(context, child, nullptr);
        } catch (const std::exception&) {
            context.Log.LogColor(SheetLogColours::Red, Win1250::fromWide(child.nodeName()));
        }
    }
}

} // namespace

void LoadSheet(const SheetContext& context, DeviceIdentity& device) {
    context.SheetComponents.Clear();
    if (context.XML_Device.isEmpty()) {
        context.Log.LogInfo("Nepodarilo se nacist a rozparsovat soubor 'x.xm'");
        return;
    }
    if (context.ShowDeviceXML)
        context.ShowDeviceXML(context.XML_Device);
    context.Log.LogInfo("Soubor 'x.xm' byl uspesne nacten a rozparsovan.");

    const IXMLNode deviceElement =
        context.XML_Device.documentElement().childNodes().findOrCreate(QStringLiteral("DEVICE"));
    device.DeviceVersion = AttributeText(deviceElement, "version");
    device.DeviceType = AttributeText(deviceElement, "type");

    for (const QFileInfo& file : SheetDirectories::firstCandidates(context.SheetDirectories)) {
        const QByteArray fileName = Win1250::fromWide(file.fileName());
        context.XML_Sheet.loadFromFile(file.filePath());
        const IXMLNode root = context.XML_Sheet.documentElement();
        const QByteArray type = AttributeText(root, "type");
        const QByteArray version = AttributeText(root, "version");
        if (!context.XML_Sheet.isEmpty() && type == device.DeviceType &&
            version == device.DeviceVersion) {
            context.Log.LogInfo("Nalezen soubor '" + fileName + "' pro konfiguraci zarizeni");
            if (context.ShowSheetXML)
                context.ShowSheetXML(context.XML_Sheet);
            BuildSheet(context, root);
            return;
        }
        context.Log.LogInfo("Soubor '" + fileName + "' neodpovida typu nebo verzi zarizeni.");
    }
}
