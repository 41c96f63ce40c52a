#pragma once

#include "platform/xml/IXMLNode.h"

#include <QByteArray>

class TComponent;
class TScriptNodeObject;
class Variant;
class TXMLDocument;
struct SheetContext;

// The three parts of a binding text "property:node.attribute".
struct XMLPathParts {
    QByteArray PropertyName;
    QByteArray NodeName;
    QByteArray AttributeName;
};

// Splits at the first ":" and the first "." of the whole text; nothing is
// trimmed or checked. Without ":" the property name is empty, without "." the
// attribute name is the whole text, and a "." before the ":" leaves the node
// name empty.
XMLPathParts SplitXMLPath(const QByteArray& text);

// Whether a device setting's node name is one that an XML document can hold.
bool IsElementName(const QString& name);

// The first child of the device document's root with that name, appended as a
// new empty element when there is none. Raises for a name that is not a valid
// element name (empty, for one), so that no malformed element is ever added.
IXMLNode DeviceSetting(TXMLDocument& device, const QByteArray& nodeName);

// What a widget's bound property is given for a device value as loading gives it:
// the value itself, or for a combo box the index of the first entry whose item value
// equals it (-1 for none). Raises for an entry whose item has no value.
Variant BoundPropertyValue(const TComponent* widget, const Variant& deviceValue);

// Loads the widget's bound property from the device document while its element
// is built, and logs the outcome. Only a failed property write is handled here
// (a red line); every other failure raises and ends the element's construction.
void LoadXMLPathValue(const SheetContext& context, const TScriptNodeObject& builder,
                      const QByteArray& bindingText);
