#include "sheets/XMLPath.h"

#include "diagnostics/DiagnosticLog.h"
#include "platform/Error.h"
#include "platform/Win1250.h"
#include "platform/components/Reflection.h"
#include "platform/widgets/ComboBox.h"
#include "platform/xml/TXMLDocument.h"
#include "sheets/SheetContext.h"
#include "sheets/SheetLogColours.h"
#include "sheets/TComboBoxObject.h"
#include "sheets/TScriptNodeObject.h"

XMLPathParts SplitXMLPath(const QByteArray& text) {
    // Positions as counted from 1; 0 when the character does not occur.
    const qsizetype c = text.indexOf(':') + 1;
    const qsizetype d = text.indexOf('.') + 1;
    XMLPathParts parts;
    if (c > 1)
        parts.PropertyName = text.left(c - 1);
    if (d > c + 1)
        parts.NodeName = text.mid(c, d - c - 1);
    parts.AttributeName = text.mid(d);
    return parts;
}

// The document access would create an element of any name, and an empty or
// malformed one would corrupt the document that "Set" sends to the device.
bool IsElementName(const QString& name) {
    if (name.isEmpty() || name[0].isDigit() || name[0] == u'-' || name[0] == u'.')
        return false;
    for (const QChar c : name) {
        if (!c.isLetterOrNumber() && c != u'_' && c != u'-' && c != u'.' && c != u':')
            return false;
    }
    return true;
}

namespace {

// The value a combo box is loaded with: the index of the first entry whose item
// value equals the device value, -1 when none does, or the device value itself
// when the list is empty.
Variant ComboBoxIndexOf(const TComboBox& combo, const Variant& deviceValue) {
    Variant value = deviceValue;
    for (int index = 0; index < combo.ItemCount(); ++index) {
        const auto* item = qobject_cast<const TComboBoxObject*>(combo.ItemObject(index));
        if (item && Variant::fromTextForXml(item->GetValue()).isEqual(deviceValue))
            return Variant::fromInt(index);
        value = Variant::fromInt(-1);
    }
    return value;
}

} // namespace

Variant BoundPropertyValue(const TComponent* widget, const Variant& deviceValue) {
    if (const auto* combo = qobject_cast<const TComboBox*>(widget))
        return ComboBoxIndexOf(*combo, deviceValue);
    return deviceValue;
}

IXMLNode DeviceSetting(TXMLDocument& device, const QByteArray& nodeName) {
    const QString name = Win1250::toWide(nodeName);
    if (!IsElementName(name))
        throw Error(QStringLiteral("Invalid element name: '%1'").arg(name));
    return device.documentElement().childNodes().findOrCreate(name);
}

void LoadXMLPathValue(const SheetContext& context, const TScriptNodeObject& builder,
                      const QByteArray& bindingText) {
    const XMLPathParts path = SplitXMLPath(bindingText);
    TComponent* widget = builder.Component;

    const IXMLNode setting = DeviceSetting(context.XML_Device, path.NodeName);
    const Variant deviceValue = setting.attribute(Win1250::toWide(path.AttributeName));

    const Variant value = BoundPropertyValue(widget, deviceValue);
    try {
        SetPropValue(widget, path.PropertyName, value);
    } catch (const Error&) {
        context.Log.LogColor(SheetLogColours::Red,
                             "Chyba pri nastavovani property :" + path.PropertyName +
                                 " - u prvku :" + Win1250::fromWide(builder.Node.xml()));
    }

    const Variant readBack = GetPropValue(widget, path.PropertyName, false);
    const QByteArray binding = "XMLpath=" + bindingText;
    if (value.isEqual(readBack))
        context.Log.LogColor(SheetLogColours::Yellow, "    nactena hodnota: " + binding);
    else
        context.Log.LogColor(SheetLogColours::Red, "    nepodarilo se nacist hodnotu: " + binding);
}
