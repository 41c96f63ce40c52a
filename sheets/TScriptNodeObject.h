#pragma once

#include "platform/components/Component.h"
#include "platform/xml/IXMLNode.h"

#include <QByteArray>
#include <QPointer>
#include <memory>
#include <vector>

struct SheetContext;

// The builder object of one sheet element: it turns the element and everything
// below it into live widgets. Construction runs in ten fixed steps: class
// lookup, creation, registration, the "Vytvoren prvek" line, placement in the
// enclosing widget, the children (combo-box entries or child widgets), the
// attributes, and last the page assignment of a tab sheet.
//
// A failing child is logged in red with its node name and its siblings are
// still built. Elements are built without recursion, and elements nested
// deeper than MaxDepth below the top-level one fail like a name without a
// class, so no sheet can exhaust the stack here or in the widget tree. Once
// the registry lists MaxWidgets widgets, further elements fail the same way:
// the widget toolkit slows down with the square of the number of controls in
// one window, and a sheet far beyond any real device's size would hang the
// program instead of reporting what it could not build.
class TScriptNodeObject {
public:
    static constexpr int MaxDepth = 100;
    static constexpr int MaxWidgets = 5000;

    // Builds a top-level element (no enclosing widget) or an element placed in
    // `enclosing`. Raises when the element itself fails; what was built up to
    // the failure stays.
    static std::unique_ptr<TScriptNodeObject>
    Create(const SheetContext& context, const IXMLNode& element, TComponent* enclosing);
    // Builds a child element of `parent`, whose widget encloses it.
    static std::unique_ptr<TScriptNodeObject>
    CreateChild(const SheetContext& context, const IXMLNode& element, TScriptNodeObject* parent);

    // The element's node name as 8-bit text.
    QByteArray GetNodeName() const;
    // The node names from the top-level element down to this one, joined by ".".
    QByteArray GetFullName() const;

    IXMLNode Node;
    // The widget built from the element; never owned by the builder object.
    QPointer<TComponent> Component;
    TScriptNodeObject* Parent = nullptr;
    // The builder objects of the child elements that were built, in document order.
    std::vector<std::unique_ptr<TScriptNodeObject>> Children;
    // Levels below the top-level element.
    int Depth = 0;

private:
    mutable QByteArray fullName_;
};
