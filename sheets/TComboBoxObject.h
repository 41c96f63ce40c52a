#pragma once

#include "platform/components/Component.h"
#include "platform/xml/IXMLNode.h"

#include <QByteArray>

// The object attached to one combo-box entry built from an ITEM element. It is
// owned by its combo box and holds its own reference to the element, so the
// entry keeps its value after another sheet has been loaded.
class TComboBoxObject : public TComponent {
    Q_OBJECT
public:
    TComboBoxObject(TComponent* owner, const IXMLNode& item);

    // The element's `value` attribute as 8-bit text; raises when it is missing.
    QByteArray GetValue() const;

    const IXMLNode Node;
};
