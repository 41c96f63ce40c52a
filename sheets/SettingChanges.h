#pragma once

#include "diagnostics/SettingState.h"

#include <QString>
#include <optional>
#include <vector>

class IXMLNode;
struct SheetContext;
class TXMLDocument;

// One device setting that two configurations hold differently. A setting is an
// attribute of an element below the configuration's root, named as bindings name
// it: NODE.attribute, with the path of elements joined by "/" for deeper ones
// (and "[n]" for the n-th of several elements of one name).
struct SettingChange {
    QString setting;
    std::optional<QString> before; // none: the attribute is not there
    std::optional<QString> after;
};

// Every attribute of every element that differs between the two configurations'
// roots, in the order of `before` (then what only `after` holds).
std::vector<SettingChange> CompareSettings(const IXMLNode& beforeRoot, const IXMLNode& afterRoot);

// What the device document now holds differently from the configuration the
// device sent (`receivedRoot`): the settings the sheet's widgets bind first, in
// registry order, then any other difference in document order.
std::vector<SettingChange> PendingChanges(const SheetContext& context,
                                          const IXMLNode& receivedRoot);

// Every setting a widget binds, in registry order (one per widget), as
// `baselineRoot` holds it and with the value "Set" would write now, taken by the
// same conversion it uses, without writing anything. Costs a few lookups per widget.
std::vector<SettingState> BoundSettingStates(const SheetContext& context,
                                             const IXMLNode& baselineRoot);
// Every other setting the device document holds differently from `baselineRoot`,
// in document order. Costs a walk of both documents; the operator's edits in the
// widgets do not change it, only the device document does (a load, "Set").
std::vector<SettingState> UnboundSettingStates(const SheetContext& context,
                                               const IXMLNode& baselineRoot,
                                               const std::vector<SettingState>& bound);

// Loads a stored configuration to compare with or restore. Raises Error
// "Soubor FILE nelze použít: REASON" when it cannot be read, is not well-formed
// or has no DEVICE element.
void LoadStoredConfiguration(TXMLDocument& document, const QString& file);

// A copy of the device document with the bound values written into it, as "Set"
// would write them now, saved as "Set" saves without a connection (UTF-8). The
// device document itself is left as it is. Raises when the file cannot be written.
void SaveAsSetWouldWrite(const SheetContext& context, const QString& file);
