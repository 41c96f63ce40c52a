#include "sheets/ApplySettings.h"

#include "link/LinkSignals.h"
#include "link/LinkTimings.h"
#include "platform/Error.h"
#include "platform/Win1250.h"
#include "platform/components/Reflection.h"
#include "platform/dialogs/OperatorDialogs.h"
#include "platform/widgets/ComboBox.h"
#include "platform/xml/TXMLDocument.h"
#include "sheets/SheetContext.h"
#include "sheets/SheetRegistry.h"
#include "sheets/TComboBoxObject.h"
#include "sheets/XMLPath.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QPointer>
#include <exception>
#include <mutex>

namespace {

const QString ReconnectCaption = QStringLiteral("Znovu přihlásit");
const QString AppliedText = QStringLiteral(
    "Konfigurace byla úspěšně provedena, zařízení nyní provede reset s novými parametry. "
    "Přejete si se k zařízení znovu přihlásit?");
const QString PartlyAppliedText = QStringLiteral(
    "Konfigurace byla provedena pouze částečně. Některé parametry nebylo možno přenastavit. "
    "Zkontrolujte prosím platnost zadaných hodnot. Zařízení nyní provede reset s novými "
    "parametry. Přejete si se k zařízení znovu přihlásit?");
const QString WrongPasswordText = QStringLiteral("Špatné heslo!");
const QString NotConfirmedText =
    QStringLiteral("Zařízení nepotvrdilo správné nastavení. Zkuste akci opakovat, nebo se znovu "
                   "připojit!");

// The value a bound widget gives back: its property preferring text, or for a
// combo box the value of its selected entry's item.
Variant BoundValue(TControl& control, const QByteArray& propertyName) {
    Variant value = GetPropValue(&control, propertyName, true);
    if (const auto* combo = qobject_cast<const TComboBox*>(&control)) {
        const int index = combo->ItemIndex();
        if (index < 0 || index >= combo->ItemCount())
            throw Error(QStringLiteral("List index out of bounds (%1)").arg(index));
        if (const auto* item = qobject_cast<const TComboBoxObject*>(combo->ItemObject(index)))
            value = Variant::fromText(item->GetValue());
    }
    return value;
}

// Asks whether to log in again after the device took the settings.
void AskToReconnect(ApplyEnvironment& environment, const QString& text) {
    if (!environment.Dialogs.askYesNo(ReconnectCaption, text))
        return;
    if (environment.LinkConnected()) {
        environment.ReconnectRequested = true;
    } else {
        environment.ReconnectRequested = false;
        environment.Reconnect();
    }
}

void SendAndConfirm(const SheetContext& context, ApplyEnvironment& environment) {
    const QByteArray document = Win1250::fromWide(context.XML_Device.documentElement().xml());
    environment.SendText(document + '\r');

    LinkSignals& flags = environment.Signals;
    const QDeadlineTimer deadline(LinkTimings::current().applyWaitMs);
    const int answer =
        waitForAny({&flags.hReconfigured, &flags.hPartiallyApplied, &flags.hWrongPassword},
                   static_cast<int>(deadline.remainingTime()));
    // Kept before the question: the operator may leave it open for long.
    if (environment.KeepSent)
        environment.KeepSent(document, answer == 0   ? ConfigurationHistory::Answer::Applied
                                       : answer == 1 ? ConfigurationHistory::Answer::PartlyApplied
                                                     : ConfigurationHistory::Answer::NotConfirmed);
    switch (answer) {
    case 0:
        AskToReconnect(environment, AppliedText);
        break;
    case 1:
        AskToReconnect(environment, PartlyAppliedText);
        break;
    case 2:
        environment.Dialogs.showNotice(WrongPasswordText);
        break;
    default:
        environment.Dialogs.showNotice(NotConfirmedText);
        break;
    }
}

// Sets a flag for its lifetime, so that every exit clears it.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

} // namespace

QString DefaultSaveFileName() {
#ifdef Q_OS_WIN
    return QStringLiteral("c:\\temp.xml");
#else
    return QDir::temp().filePath(QStringLiteral("temp.xml"));
#endif
}

std::optional<BoundWrite> BoundSettingWrite(const TSheetComponent& entry) {
    const Variant binding = entry.Node.attribute(QStringLiteral("XMLpath"));
    if (binding.isNull())
        return std::nullopt;
    auto* control = qobject_cast<TControl*>(entry.Component);
    if (!control)
        throw Error(QStringLiteral("Invalid class typecast"));
    if (!control->Enabled())
        return std::nullopt;
    const XMLPathParts path = SplitXMLPath(binding.toText());
    return BoundWrite{path, BoundValue(*control, path.PropertyName).toWideText()};
}

void ForEachBoundWrite(const SheetContext& context, const BoundWriteVisitor& visit) {
    SheetRegistry& registry = context.SheetComponents;
    std::lock_guard guard(registry.SheetLock());
    for (const TSheetComponent& entry : registry.Entries()) {
        // Reading a property may run a script that frees widgets; their
        // entries leave the registry, and they are not touched here.
        const QPointer<TComponent> widget(entry.Component);
        if (!widget || widget->IsFreed())
            continue;
        std::optional<BoundWrite> write;
        try {
            write = BoundSettingWrite(entry);
        } catch (const std::exception&) {
            // An entry whose value cannot be taken writes nothing.
        }
        visit(entry, write);
    }
}

void WriteBoundValues(const SheetContext& context) {
    WriteBoundValues(context, context.XML_Device);
}

void WriteBoundValues(const SheetContext& context, TXMLDocument& device) {
    ForEachBoundWrite(context, [&](const TSheetComponent&, const std::optional<BoundWrite>& write) {
        if (!write)
            return;
        try {
            const IXMLNode attribute = DeviceSetting(device, write->path.NodeName)
                                           .attributeNodes()
                                           .find(Win1250::toWide(write->path.AttributeName));
            if (!attribute.isNull())
                attribute.setNodeValue(write->text);
        } catch (const std::exception&) {
            // A node name that is no element name: the entry is skipped, the others
            // still are written.
        }
    });
}

void SendDeviceDocument(const SheetContext& context, ApplyEnvironment& environment) {
    const FlagScope inProgress(environment.ApplyInProgress);
    SendAndConfirm(context, environment);
}

void ApplySettings(const SheetContext& context, ApplyEnvironment& environment) {
    const FlagScope inProgress(environment.ApplyInProgress);
    WriteBoundValues(context);
    if (environment.ReviewBeforeSend && !environment.ReviewBeforeSend())
        return;
    if (environment.LinkConnected()) {
        SendAndConfirm(context, environment);
    } else {
        context.XML_Device.setEncoding(QStringLiteral("UTF-8"));
        context.XML_Device.saveToFile(environment.SaveFileName);
    }
}
