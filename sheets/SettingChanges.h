#pragma once

#include <QString>
#include <optional>
#include <vector>

class IXMLNode;
struct SheetContext;

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
std::vector<SettingChange> PendingChanges(const SheetContext& context, const IXMLNode& receivedRoot);
