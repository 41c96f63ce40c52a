#pragma once

#include "platform/xml/IXMLNode.h"

class TComponent;

// One registry entry: a built widget and the sheet element it was built from.
// Copies are independent: each holds its own reference to the element, and the
// element stays alive while any copy does. The widget is never owned.
struct TSheetComponent {
    TComponent* Component = nullptr;
    IXMLNode Node;
};
