#pragma once

#include <QByteArray>

struct SheetContext;

// The device as the last LoadSheet identified it: `type` and `version` of the
// device document's DEVICE element, as 8-bit text.
struct DeviceIdentity {
    QByteArray DeviceType;
    QByteArray DeviceVersion;
};

// Finds the sheet file written for the device in XML_Device and builds it:
// empties the registry (freeing nothing), identifies the device, examines the
// "*.xml" entries of the sheet directory in name order (hidden and system
// files and matching directories included) and, at the first one whose root
// carries the same `type` and `version`, runs its SCRIPT children and builds
// its other children in document order. Each child that fails is logged in red
// with its node name.
//
// Raises when the device lacks `type` or `version`, or when an examined file
// does not load or lacks them; the search ends there.
void LoadSheet(const SheetContext& context, DeviceIdentity& device);
