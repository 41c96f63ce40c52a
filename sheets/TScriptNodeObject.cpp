#include "sheets/TScriptNodeObject.h"

#include "diagnostics/DiagnosticLog.h"
#include "platform/Error.h"
#include "platform/Win1250.h"
#include "platform/components/AsciiName.h"
#include "platform/components/ClassRegistry.h"
#include "platform/components/EventDispatch.h"
#include "platform/components/Reflection.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/PageControl.h"
#include "sheets/SheetContext.h"
#include "sheets/SheetLogColours.h"
#include "sheets/SheetRegistry.h"
#include "sheets/TComboBoxObject.h"
#include "sheets/TonEventObject.h"
#include "sheets/XMLPath.h"

#include <QStringBuilder>
#include <exception>

namespace {

QByteArray NodeNameOf(const IXMLNode& node) {
    return Win1250::fromWide(node.nodeName());
}

// Builds one element and its subtree depth first with an explicit stack: each
// element's children are complete, attributes included, before its own
// attributes are applied.
class ElementBuilder {
public:
    explicit ElementBuilder(const SheetContext& context) : context_(context) {}

    std::unique_ptr<TScriptNodeObject> Build(const IXMLNode& element, TComponent* enclosing,
                                             TScriptNodeObject* parent);

private:
    // An element under construction: its builder object and the next child node.
    struct Frame {
        std::unique_ptr<TScriptNodeObject> object;
        TComponent* enclosing;
        IXMLNode nextChild;
    };

    // Steps 1 to 7: the widget exists, is registered, logged and placed.
    Frame Begin(const IXMLNode& element, TComponent* enclosing, TScriptNodeObject* parent);
    // One step of LoadChildren; false when all children are done.
    bool LoadNextChild(std::vector<Frame>& stack);
    void AddComboItem(TComboBox& combo, const IXMLNode& item);
    void ApplyAttributes(const TScriptNodeObject& object);
    void SetAttribute(TComponent* widget, const QByteArray& name, const QByteArray& text);
    void BindEvent(TComponent* widget, const QByteArray& name, const IXMLNode& element);
    static void PlaceTabSheet(const Frame& frame);
    // A script run by an event of the sheet may have freed the widget meanwhile.
    static TComponent& AliveWidget(const TScriptNodeObject& object);
    void LogFailed(const IXMLNode& node);

    const SheetContext& context_;
};

std::unique_ptr<TScriptNodeObject>
ElementBuilder::Build(const IXMLNode& element, TComponent* enclosing, TScriptNodeObject* parent) {
    // Widgets that a script frees while they are being built stay in memory
    // until the build is over.
    EventDispatch::InUse inUse;
    std::vector<Frame> stack;
    stack.push_back(Begin(element, enclosing, parent));
    for (;;) {
        try {
            if (LoadNextChild(stack))
                continue;
            const Frame& frame = stack.back();
            ApplyAttributes(*frame.object);
            PlaceTabSheet(frame);
        } catch (const std::exception&) {
            if (stack.size() == 1)
                throw;
            LogFailed(stack.back().object->Node);
            stack.pop_back();
            continue;
        }
        if (stack.size() == 1)
            return std::move(stack.back().object);
        std::unique_ptr<TScriptNodeObject> done = std::move(stack.back().object);
        stack.pop_back();
        stack.back().object->Children.push_back(std::move(done));
    }
}

ElementBuilder::Frame ElementBuilder::Begin(const IXMLNode& element, TComponent* enclosing,
                                            TScriptNodeObject* parent) {
    auto object = std::make_unique<TScriptNodeObject>();
    object->Node = element;
    object->Parent = parent;
    object->Depth = parent ? parent->Depth + 1 : 0;
    if (object->Depth > TScriptNodeObject::MaxDepth)
        throw Error(QStringLiteral("Sheet elements nested too deep"));
    if (context_.SheetComponents.Count() >= TScriptNodeObject::MaxWidgets)
        throw Error(QStringLiteral("Too many widgets in one sheet"));

    const ComponentClass& componentClass = FindClass("T" + object->GetNodeName());
    TComponent* widget = CreateComponent(componentClass, enclosing);
    object->Component = widget;
    context_.SheetComponents.RegisterSheetComponent(widget, element);
    context_.Log.LogColor(SheetLogColours::Lime,
                          QByteArray("Vytvoren prvek :" % object->GetFullName()));

    auto* control = qobject_cast<TControl*>(widget);
    auto* container = qobject_cast<TWinControl*>(enclosing);
    if (control && container)
        control->SetParent(container);

    const IXMLNodeList children = element.childNodes();
    return Frame{std::move(object), enclosing, children.first()};
}

bool ElementBuilder::LoadNextChild(std::vector<Frame>& stack) {
    Frame& frame = stack.back();
    if (frame.nextChild.isNull())
        return false;
    const IXMLNode child = frame.nextChild;
    frame.nextChild = child.nextSibling();
    TComponent& widget = AliveWidget(*frame.object);

    auto* combo = qobject_cast<TComboBox*>(&widget);
    if (combo && AsciiName::sameName(child.nodeName(), "ITEM")) {
        AddComboItem(*combo, child);
        return true;
    }
    try {
        Frame childFrame = Begin(child, &widget, frame.object.get());
        stack.push_back(std::move(childFrame));
    } catch (const std::exception&) {
        LogFailed(child);
    }
    return true;
}

void ElementBuilder::AddComboItem(TComboBox& combo, const IXMLNode& item) {
    const QByteArray caption = item.attribute(QStringLiteral("caption")).toText();
    combo.AddItem(caption, new TComboBoxObject(&combo, item));
    context_.Log.LogColor(SheetLogColours::Cream, "        Nactena hodnota vyberu: '" + caption +
                                                      "' - '" + Win1250::fromWide(item.xml()));
}

void ElementBuilder::ApplyAttributes(const TScriptNodeObject& object) {
    const IXMLNodeList attributes = object.Node.attributeNodes();
    for (int index = 0; index < attributes.count(); ++index) {
        const IXMLNode attribute = attributes.item(index);
        const QByteArray name = NodeNameOf(attribute);
        const QByteArray value = Win1250::fromWide(attribute.nodeValue());
        TComponent& widget = AliveWidget(object);
        if (IsPublishedProp(&widget, name)) {
            if (PropType(&widget, name) == TypeKind::Method)
                BindEvent(&widget, name, object.Node);
            else
                SetAttribute(&widget, name, value);
        } else if (name == "XMLpath") {
            LoadXMLPathValue(context_, object, value);
        }
    }
}

void ElementBuilder::SetAttribute(TComponent* widget, const QByteArray& name,
                                  const QByteArray& text) {
    try {
        SetPropValue(widget, name, Variant::fromText(text));
    } catch (const Error&) {
        context_.Log.LogError("    spatna hodnota atributu: " + name + "=" + text);
        return;
    }
    // One allocation for the message: this entry is written for every attribute.
    context_.Log.LogInfo(QByteArray("    atribut nastaven: " % name % '=' % text));
}

void ElementBuilder::BindEvent(TComponent* widget, const QByteArray& name,
                               const IXMLNode& element) {
    try {
        auto* handler = new TonEventObject(widget, name, element, &context_.MainScript);
        ::BindEvent(widget, name, FindPublishedMethod(handler, "Execute"));
    } catch (const Error&) {
        context_.Log.LogError("    chyba pri nastavovani atributu udalosti: " + name);
        return;
    }
    context_.Log.LogInfo("    atribut udalosti nastaven: " + name);
}

void ElementBuilder::PlaceTabSheet(const Frame& frame) {
    auto* sheet = qobject_cast<TTabSheet*>(&AliveWidget(*frame.object));
    auto* pages = qobject_cast<TPageControl*>(frame.enclosing);
    if (sheet && pages)
        sheet->SetPageControl(pages);
}

TComponent& ElementBuilder::AliveWidget(const TScriptNodeObject& object) {
    if (!object.Component || object.Component->IsFreed())
        throw Error(QStringLiteral("The widget was freed while it was being built"));
    return *object.Component;
}

void ElementBuilder::LogFailed(const IXMLNode& node) {
    context_.Log.LogColor(SheetLogColours::Red, NodeNameOf(node));
}

} // namespace

std::unique_ptr<TScriptNodeObject> TScriptNodeObject::Create(const SheetContext& context,
                                                             const IXMLNode& element,
                                                             TComponent* enclosing) {
    return ElementBuilder(context).Build(element, enclosing, nullptr);
}

std::unique_ptr<TScriptNodeObject> TScriptNodeObject::CreateChild(const SheetContext& context,
                                                                  const IXMLNode& element,
                                                                  TScriptNodeObject* parent) {
    return ElementBuilder(context).Build(element, parent->Component, parent);
}

QByteArray TScriptNodeObject::GetNodeName() const {
    return NodeNameOf(Node);
}

QByteArray TScriptNodeObject::GetFullName() const {
    // Every element's full name is logged: each one keeps its own for its children.
    if (fullName_.isEmpty())
        fullName_ = Parent ? Parent->GetFullName() % '.' % GetNodeName() : GetNodeName();
    return fullName_;
}
