#include "app/SheetSide.h"

#include "platform/components/Component.h"
#include "platform/xml/TXMLDocument.h"
#include "sheets/SettingChanges.h"
#include "sheets/SheetDirectories.h"

#include <QCoreApplication>

SheetSide::SheetSide(Documents documents, DiagnosticLog& log, TScript& mainScript,
                     const QString& sheetDirectory, ShowDocument showDevice, ShowDocument showSheet,
                     ApplyEnvironment applyEnvironment)
    : context_{documents.XML_Device,
               documents.XML_Sheet,
               registry_,
               log,
               mainScript,
               std::move(showDevice),
               sheetDirectory.isEmpty()
                   ? SheetDirectories::standard(QCoreApplication::applicationDirPath())
                   : QStringList{sheetDirectory},
               [this](const TXMLDocument& sheet) {
                   sheetMatched_ = true;
                   if (showSheet_)
                       showSheet_(sheet);
               }},
      showSheet_(std::move(showSheet)), applyEnvironment_(std::move(applyEnvironment)) {}

// XML_Sheet holds the last file examined, whether it matched or not: only the load
// itself tells which. The diagnostics window shows the sheet of this load, or none.
void SheetSide::LoadSheet() {
    sheetMatched_ = false;
    if (showSheet_)
        showSheet_(TXMLDocument());
    ::LoadSheet(context_, device_);
}

QObject* SheetSide::FindSheetComponent(const QByteArray& name) {
    return registry_.FindSheetComponent(name).Component;
}

bool SheetSide::UnregisterSheetComponent(QObject* component) {
    auto* sheetComponent = qobject_cast<TComponent*>(component);
    return sheetComponent && registry_.UnregisterSheetComponent(sheetComponent);
}

void SheetSide::DestroySheetComponents() {
    registry_.DestroySheetComponents();
}

std::vector<SettingChange> SheetSide::pendingChanges(const IXMLNode& receivedRoot) const {
    return PendingChanges(context_, receivedRoot);
}

std::vector<SettingState> SheetSide::boundSettingStates(const IXMLNode& baselineRoot) const {
    return BoundSettingStates(context_, baselineRoot);
}

std::vector<SettingState>
SheetSide::unboundSettingStates(const IXMLNode& baselineRoot,
                                const std::vector<SettingState>& bound) const {
    return UnboundSettingStates(context_, baselineRoot, bound);
}

void SheetSide::saveAsSetWouldWrite(const QString& file) const {
    SaveAsSetWouldWrite(context_, file);
}

void SheetSide::SendDeviceDocument() {
    ::SendDeviceDocument(context_, applyEnvironment_);
}

void SheetSide::ApplySettings() {
    ::ApplySettings(context_, applyEnvironment_);
}

void SheetSide::setDeviceSetting(const IXMLNode& receivedRoot, const SettingRequest& request) {
    SetDeviceSetting(context_, receivedRoot, request);
}

std::vector<SettingChange> SheetSide::changesToSend(const IXMLNode& receivedRoot) {
    WriteBoundValues(context_);
    return PendingChanges(context_, receivedRoot);
}
