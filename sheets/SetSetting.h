#pragma once

#include <QList>
#include <QString>

class IXMLNode;
struct SheetContext;

// A device setting to be given a value from outside the sheet, as automation names
// it: NODE.attribute=VALUE, NODE an element below the configuration's root as
// bindings name it.
struct SettingRequest {
    QString setting;
    QString value;
};

// "NODE.attribute=VALUE", split at the first "=". Raises Error for a text without
// "=", with an empty setting name, or with a name that is not NODE.attribute.
SettingRequest ParseSettingRequest(const QString& text);

// The requests of a settings file: UTF-8, one NODE.attribute=VALUE per line, blank
// lines and lines starting with "#" left out, space around the name and the value
// trimmed. Raises Error "FILE: REASON" when it cannot be read, "FILE:LINE: ..." for a
// line that is no request.
QList<SettingRequest> ReadSettingsFile(const QString& file);

// Gives the setting its value. A registered widget that binds the setting takes it
// as an operator's edit would: its bound property is set with the conversion that
// loading uses, and its change event fires (a combo box as if its entry was chosen
// from the list). Without such a widget the value goes into the device document
// directly. Raises Error naming the setting when the configuration the device sent
// (`receivedRoot`) lacks the element or the attribute, when the widget that binds it
// is disabled (nothing is changed then), or when the widget refuses the value: "Set"
// would not write exactly that text (the widget may hold what it made of it).
void SetDeviceSetting(const SheetContext& context, const IXMLNode& receivedRoot,
                      const SettingRequest& request);
