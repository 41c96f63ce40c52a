#include "sheets/SetSetting.h"

#include "platform/Error.h"
#include "platform/Variant.h"
#include "platform/Win1250.h"
#include "platform/components/Component.h"
#include "platform/components/Reflection.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/Control.h"
#include "platform/xml/IXMLNode.h"
#include "platform/xml/TXMLDocument.h"
#include "sheets/ApplySettings.h"
#include "sheets/SheetContext.h"
#include "sheets/SheetRegistry.h"
#include "sheets/XMLPath.h"

#include <QFile>
#include <QPointer>
#include <mutex>

namespace {

const QString NothingSent = QStringLiteral(" Nic nebylo odesláno.");

// The registered widget whose binding names the setting, and its bound property.
struct BoundWidget {
    QPointer<TControl> control;
    QByteArray property;
    TSheetComponent entry;
};

BoundWidget widgetBinding(const SheetContext& context, const QString& node,
                          const QString& attribute) {
    SheetRegistry& registry = context.SheetComponents;
    std::lock_guard guard(registry.SheetLock());
    for (const TSheetComponent& entry : registry.Entries()) {
        const Variant binding = entry.Node.attribute(QStringLiteral("XMLpath"));
        if (binding.isNull())
            continue;
        const XMLPathParts parts = SplitXMLPath(binding.toText());
        if (Win1250::toWide(parts.NodeName) == node &&
            Win1250::toWide(parts.AttributeName) == attribute)
            return {qobject_cast<TControl*>(entry.Component), parts.PropertyName, entry};
    }
    return {};
}

} // namespace

SettingRequest ParseSettingRequest(const QString& text) {
    const qsizetype equals = text.indexOf(u'=');
    if (equals < 0)
        throw Error(QStringLiteral("Invalid setting %1 (NODE.attribute=VALUE)").arg(text));
    const QString setting = text.left(equals);
    if (setting.isEmpty())
        throw Error(QStringLiteral("Invalid setting %1: the setting name is empty").arg(text));
    const qsizetype dot = setting.indexOf(u'.');
    if (dot <= 0 || dot == setting.size() - 1)
        throw Error(QStringLiteral("Invalid setting %1 (NODE.attribute=VALUE)").arg(text));
    return {setting, text.mid(equals + 1)};
}

QList<SettingRequest> ReadSettingsFile(const QString& file) {
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("%1: %2").arg(file, input.errorString()));
    QList<SettingRequest> requests;
    const QList<QByteArray> lines = input.readAll().split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = QString::fromUtf8(lines[i]).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        try {
            SettingRequest request = ParseSettingRequest(line);
            requests.append({request.setting.trimmed(), request.value.trimmed()});
        } catch (const Error& error) {
            throw Error(QStringLiteral("%1:%2: %3").arg(file).arg(i + 1).arg(error.message()));
        }
    }
    return requests;
}

void SetDeviceSetting(const SheetContext& context, const IXMLNode& receivedRoot,
                      const SettingRequest& request) {
    const qsizetype dot = request.setting.indexOf(u'.');
    const QString node = request.setting.left(dot);
    const QString attribute = request.setting.mid(dot + 1);
    const IXMLNode received = receivedRoot.isNull() ? IXMLNode() : receivedRoot.childNodes().find(node);
    if (received.isNull())
        throw Error(QStringLiteral("Nastavení %1: konfigurace zařízení nemá prvek %2.")
                        .arg(request.setting, node) +
                    NothingSent);
    if (received.attribute(attribute).isNull())
        throw Error(QStringLiteral("Nastavení %1: prvek %2 v konfiguraci zařízení nemá atribut %3.")
                        .arg(request.setting, node, attribute) +
                    NothingSent);

    const Variant value = Variant::fromWideText(request.value);
    const BoundWidget bound = widgetBinding(context, node, attribute);
    if (!bound.control) {
        DeviceSetting(context.XML_Device, Win1250::fromWide(node))
            .attributeNodes()
            .findOrCreate(attribute)
            .setNodeValue(request.value);
        return;
    }
    const QString widget = Win1250::toWide(bound.control->Name());
    if (!bound.control->Enabled())
        throw Error(QStringLiteral("Nastavení %1: prvek %2 je zakázaný, hodnotu nelze změnit.")
                        .arg(request.setting, widget) +
                    NothingSent);
    // Taken means "Set" writes exactly the value asked for: a combo box without an
    // entry of that value, or a spin edit that keeps its limits, refuses it.
    bool taken = false;
    try {
        const Variant given = BoundPropertyValue(bound.control, value);
        SetPropValue(bound.control, bound.property, given);
        taken = given.isEqual(GetPropValue(bound.control, bound.property, false));
        const std::optional<BoundWrite> write = BoundSettingWrite(bound.entry);
        taken = taken && write && write->text == request.value;
    } catch (const Error&) {
        taken = false;
    }
    if (!taken)
        throw Error(QStringLiteral("Nastavení %1: prvek %2 nepřijal hodnotu \"%3\".")
                        .arg(request.setting, widget, request.value) +
                    NothingSent);
    // The operator's choice from a list is what fires a combo box's events; an
    // edit's text fires its change event as it is assigned.
    if (auto* combo = qobject_cast<TCustomCombo*>(bound.control.data()))
        combo->ChooseAsOperator(combo->ItemIndex());
}
