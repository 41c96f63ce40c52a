#include "sheets/TComboBoxObject.h"

TComboBoxObject::TComboBoxObject(TComponent* owner, const IXMLNode& item)
    : TComponent(owner), Node(item) {}

QByteArray TComboBoxObject::GetValue() const {
    return Node.attribute(QStringLiteral("value")).toText();
}
