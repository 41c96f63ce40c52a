#include "app/SheetSide.h"

#include "platform/components/Component.h"
#include "platform/xml/TXMLDocument.h"

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
               sheetDirectory.isEmpty() ? QCoreApplication::applicationDirPath() : sheetDirectory},
      showSheet_(std::move(showSheet)), applyEnvironment_(std::move(applyEnvironment)) {}

void SheetSide::LoadSheet() {
    ::LoadSheet(context_, device_);
    if (showSheet_ && sheetMatchesDevice())
        showSheet_(context_.XML_Sheet);
}

// XML_Sheet holds the last file examined, which is the built sheet only when it matched.
bool SheetSide::sheetMatchesDevice() const {
    if (context_.XML_Sheet.isEmpty())
        return false;
    const IXMLNode root = context_.XML_Sheet.documentElement();
    return root.attribute(QStringLiteral("type")).toText() == device_.DeviceType &&
           root.attribute(QStringLiteral("version")).toText() == device_.DeviceVersion;
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

void SheetSide::ApplySettings() {
    ::ApplySettings(context_, applyEnvironment_);
}
