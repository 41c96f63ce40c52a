#include "sheets/lint/SheetLint.h"

#include "platform/Error.h"
#include "platform/Win1250.h"
#include "platform/components/AsciiName.h"
#include "platform/components/ClassRegistry.h"
#include "platform/components/Component.h"
#include "platform/components/Reflection.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/Control.h"
#include "platform/xml/XmlPositions.h"
#include "platform/xml/XmlTreeBuilder.h"
#include "sheets/TScriptNodeObject.h"
#include "sheets/XMLPath.h"

#include <QHash>
#include <algorithm>
#include <optional>

namespace {

using Severity = LintFinding::Severity;

QByteArray nameOf(const IXMLNode& node) {
    return Win1250::fromWide(node.nodeName());
}

QString quoted(const QString& text) {
    return u'\'' + text + u'\'';
}

QString quoted(const QByteArray& text) {
    return quoted(Win1250::toWide(text));
}

QString at(const std::optional<XmlPosition>& position) {
    return position ? QStringLiteral("line %1, column %2").arg(position->line).arg(position->column)
                    : QStringLiteral("an earlier place");
}

// A widget element on the walk, with what its children need to know of it.
struct Pending {
    IXMLNode element;
    IXMLNode enclosing; // the enclosing widget's element; none at the top
    const QMetaObject* enclosingClass = nullptr;
    int depth = 0;
};

// What a property takes, for the text of a value it refuses.
QString invalidValueText(const QMetaObject& widgetClass, const QByteArray& name,
                         const QByteArray& value) {
    const QString property = Win1250::toWide(name);
    switch (ClassPropType(widgetClass, name)) {
    case TypeKind::Class:
        return QStringLiteral("property %1 cannot be set from a sheet").arg(property);
    case TypeKind::Integer:
    case TypeKind::Char:
    case TypeKind::WChar:
        return QStringLiteral("invalid value %1 for integer property %2: expected a decimal "
                              "number within the property's range")
            .arg(quoted(value), property);
    case TypeKind::Float:
        return QStringLiteral("invalid value %1 for number property %2: expected a number")
            .arg(quoted(value), property);
    case TypeKind::Set:
        return QStringLiteral("invalid value %1 for set property %2: expected [] or a list "
                              "of: %3")
            .arg(quoted(value), property,
                 Win1250::toWide(ClassPropElements(widgetClass, name).join(", ")));
    default:
        return QStringLiteral("invalid value %1 for property %2: expected one of: %3")
            .arg(quoted(value), property,
                 Win1250::toWide(ClassPropElements(widgetClass, name).join(", ")));
    }
}

class SheetLinter {
public:
    SheetLinter(const QString& file, const XmlPositions& positions,
                const std::vector<LintDevice>& devices)
        : file_(file), positions_(positions), devices_(devices) {}

    void lintRoot(const IXMLNode& root);
    std::vector<LintFinding> takeFindings() { return std::move(findings_); }

private:
    void report(const IXMLNode& node, Severity severity, const QString& text,
                qsizetype offset = 0) {
        const std::optional<XmlPosition> position = positions_.of(node, offset);
        findings_.push_back({file_, position ? position->line : 0, position ? position->column : 0,
                             severity, text});
    }

    void lintWidget(const Pending& pending, std::vector<Pending>& stack);
    bool lintNonElement(const IXMLNode& node, const QString& where);
    const QMetaObject* widgetClass(const Pending& pending);
    void lintAttributes(const IXMLNode& element, const QMetaObject& widgetClass,
                        const IXMLNode& enclosing);
    void lintValue(const IXMLNode& attribute, const QMetaObject& widgetClass);
    void lintName(const IXMLNode& attribute, const IXMLNode& enclosing);
    void lintBinding(const IXMLNode& attribute, const QMetaObject& widgetClass);
    void lintItem(const IXMLNode& item, bool comboBound);

    const QString& file_;
    const XmlPositions& positions_;
    const std::vector<LintDevice>& devices_;
    std::vector<LintFinding> findings_;
    int widgets_ = 0;
    // The first element of each name (ASCII case ignored), with its enclosing widget.
    struct Named {
        IXMLNode attribute;
        IXMLNode enclosing;
    };
    QHash<QByteArray, Named> names_;
};

void SheetLinter::lintRoot(const IXMLNode& root) {
    for (const char* attribute : {"type", "version"}) {
        if (root.attribute(QLatin1String(attribute)).isNull())
            report(root, Severity::Warning,
                   QStringLiteral("the root element has no '%1' attribute: no device matches "
                                  "the sheet")
                       .arg(QLatin1String(attribute)));
    }
    std::vector<Pending> stack;
    for (IXMLNode child = root.childNodes().first(); !child.isNull(); child = child.nextSibling()) {
        if (lintNonElement(child, QStringLiteral("the root element")))
            continue;
        if (AsciiName::sameName(child.nodeName(), "SCRIPT"))
            continue;
        stack.push_back({child, IXMLNode(), nullptr, 0});
        while (!stack.empty()) {
            const Pending pending = std::move(stack.back());
            stack.pop_back();
            lintWidget(pending, stack);
        }
    }
}

// Text and comments where the builder expects a widget element: it tries to build
// them as one and fails.
bool SheetLinter::lintNonElement(const IXMLNode& node, const QString& where) {
    switch (node.nodeType()) {
    case XMLNodeType::Element:
        return false;
    case XMLNodeType::Comment:
    case XMLNodeType::ProcessingInstruction:
        report(node, Severity::Warning,
               QStringLiteral("a %1 in %2 is built as a widget element and fails (a red log line)")
                   .arg(node.nodeType() == XMLNodeType::Comment
                            ? QStringLiteral("comment")
                            : QStringLiteral("processing instruction"),
                        where));
        return true;
    default: {
        // At the text itself, not at the line end in front of it.
        const QString value = node.nodeValue();
        qsizetype blank = 0;
        while (blank < value.size() && value[blank].unicode() <= 0x20)
            ++blank;
        report(node, Severity::Error,
               QStringLiteral("text in %1 is no widget element: the builder fails it").arg(where),
               node.nodeType() == XMLNodeType::Text ? blank : 0);
        return true;
    }
    }
}

void SheetLinter::lintWidget(const Pending& pending, std::vector<Pending>& stack) {
    const IXMLNode& element = pending.element;
    if (pending.depth > TScriptNodeObject::MaxDepth) {
        report(element, Severity::Error,
               QStringLiteral("elements nested deeper than %1 levels below a top-level widget "
                              "are not built")
                   .arg(TScriptNodeObject::MaxDepth));
        return;
    }
    if (++widgets_ == TScriptNodeObject::MaxWidgets + 1)
        report(element, Severity::Error,
               QStringLiteral("a sheet builds at most %1 widgets: this one and all after it fail")
                   .arg(TScriptNodeObject::MaxWidgets));
    const QMetaObject* componentClass = widgetClass(pending);
    if (!componentClass)
        return;
    lintAttributes(element, *componentClass, pending.enclosing);

    const bool combo = componentClass->inherits(&TComboBox::staticMetaObject);
    const bool bound = !element.attribute(QStringLiteral("XMLpath")).isNull();
    const QString where = QStringLiteral("<%1>").arg(element.nodeName());
    // Pushed in reverse, so that the children come off the stack in document order.
    std::vector<Pending> children;
    for (IXMLNode child = element.childNodes().first(); !child.isNull();
         child = child.nextSibling()) {
        if (lintNonElement(child, where))
            continue;
        if (combo && AsciiName::sameName(child.nodeName(), "ITEM"))
            lintItem(child, bound);
        else
            children.push_back({child, element, componentClass, pending.depth + 1});
    }
    stack.insert(stack.end(), children.rbegin(), children.rend());
}

// The element's class as the builder finds it, or none (reported) when the builder
// would fail the element and everything in it.
const QMetaObject* SheetLinter::widgetClass(const Pending& pending) {
    const IXMLNode& element = pending.element;
    const QByteArray name = nameOf(element);
    const QMetaObject* componentClass = nullptr;
    try {
        componentClass = &FindClass("T" + name);
    } catch (const Error&) {
        QString text = QStringLiteral("unknown widget class %1: no class T%2 is registered")
                           .arg(quoted(name), Win1250::toWide(name));
        if (AsciiName::sameName(element.nodeName(), "ITEM"))
            text += QStringLiteral(" (ITEM entries belong in a ComboBox)");
        report(element, Severity::Error, text);
        return nullptr;
    }
    if (!componentClass->inherits(&TComponent::staticMetaObject)) {
        report(element, Severity::Error,
               QStringLiteral("%1 is no widget class: T%2 makes no component")
                   .arg(quoted(name), Win1250::toWide(name)));
        return nullptr;
    }
    if (pending.enclosingClass && componentClass->inherits(&TControl::staticMetaObject) &&
        !pending.enclosingClass->inherits(&TWinControl::staticMetaObject))
        report(element, Severity::Error,
               QStringLiteral("%1 holds no widgets: this %2 is made but never shown")
                   .arg(QString::fromLatin1(pending.enclosingClass->className()),
                        QString::fromLatin1(componentClass->className())));
    return componentClass;
}

void SheetLinter::lintAttributes(const IXMLNode& element, const QMetaObject& widgetClass,
                                 const IXMLNode& enclosing) {
    const IXMLNodeList attributes = element.attributeNodes();
    for (int index = 0; index < attributes.count(); ++index) {
        const IXMLNode attribute = attributes.item(index);
        const QByteArray name = nameOf(attribute);
        if (IsPublishedClassProp(widgetClass, name)) {
            if (ClassPropType(widgetClass, name) == TypeKind::Method)
                continue;
            if (AsciiName::sameName(name, "Name"))
                lintName(attribute, enclosing);
            else
                lintValue(attribute, widgetClass);
        } else if (name == "XMLpath") {
            lintBinding(attribute, widgetClass);
        } else {
            const bool event = name.size() > 2 && AsciiName::sameName(name.first(2), "On");
            QString text = QStringLiteral("%1 has no %2 %3: the attribute is ignored")
                               .arg(QString::fromLatin1(widgetClass.className()),
                                    event ? QStringLiteral("event") : QStringLiteral("property"),
                                    quoted(name));
            if (AsciiName::sameName(name, "XMLpath"))
                text += QStringLiteral(" (a binding is written XMLpath)");
            report(attribute, Severity::Error, text);
        }
    }
}

void SheetLinter::lintValue(const IXMLNode& attribute, const QMetaObject& widgetClass) {
    const QByteArray name = nameOf(attribute);
    const QByteArray value = Win1250::fromWide(attribute.nodeValue());
    try {
        CheckPropValue(widgetClass, name, Variant::fromText(value));
    } catch (const Error&) {
        report(attribute, Severity::Error, invalidValueText(widgetClass, name, value));
    }
}

// The name rules of the widgets themselves: an identifier, unique among the
// widgets one widget encloses. Elsewhere in the sheet a second one is allowed, but
// scripts and bindings only ever find the first.
void SheetLinter::lintName(const IXMLNode& attribute, const IXMLNode& enclosing) {
    const QByteArray name = Win1250::fromWide(attribute.nodeValue());
    if (name.isEmpty())
        return;
    if (!AsciiName::isIdentifier(name)) {
        report(attribute, Severity::Error,
               QStringLiteral("%1 is not a valid name (a letter or '_', then letters, digits "
                              "and '_'): the builder refuses it")
                   .arg(quoted(name)));
        return;
    }
    const QByteArray key = AsciiName::lowered(name);
    const auto first = names_.constFind(key);
    if (first == names_.cend()) {
        names_.insert(key, {attribute, enclosing});
        return;
    }
    const QString earlier = at(positions_.of(first->attribute));
    if (!enclosing.isNull() && first->enclosing == enclosing)
        report(attribute, Severity::Error,
               QStringLiteral("the enclosing widget already holds a widget named %1 (%2): the "
                              "builder refuses the name")
                   .arg(quoted(name), earlier));
    else
        report(attribute, Severity::Warning,
               QStringLiteral("the name %1 is already used (%2): scripts and bindings find "
                              "only the first")
                   .arg(quoted(name), earlier));
}

void SheetLinter::lintBinding(const IXMLNode& attribute, const QMetaObject& widgetClass) {
    const QByteArray text = Win1250::fromWide(attribute.nodeValue());
    const XMLPathParts path = SplitXMLPath(text);
    const QString expected = QStringLiteral(" (expected Property:NODE.attribute)");
    if (path.PropertyName.isEmpty()) {
        report(attribute, Severity::Error,
               QStringLiteral("XMLpath %1 names no property").arg(quoted(text)) + expected);
        return;
    }
    if (!IsPublishedClassProp(widgetClass, path.PropertyName))
        report(attribute, Severity::Error,
               QStringLiteral("XMLpath %1 binds property %2, which %3 does not publish")
                   .arg(quoted(text), Win1250::toWide(path.PropertyName),
                        QString::fromLatin1(widgetClass.className())));
    const QString node = Win1250::toWide(path.NodeName);
    const QString attributeName = Win1250::toWide(path.AttributeName);
    if (!IsElementName(node) || attributeName.isEmpty()) {
        report(attribute, Severity::Error,
               QStringLiteral("XMLpath %1 names no device setting").arg(quoted(text)) + expected);
        return;
    }
    for (const auto& [deviceFile, root] : devices_) {
        const IXMLNode element = root.isNull() ? IXMLNode() : root.childNodes().find(node);
        if (element.isNull())
            report(attribute, Severity::Warning,
                   QStringLiteral("%1 has no element %2: the program adds it empty, and the "
                                  "widget gets no value")
                       .arg(deviceFile, node));
        else if (element.attributeNodes().find(attributeName).isNull())
            report(attribute, Severity::Warning,
                   QStringLiteral("%1 has no attribute %2.%3: the widget gets no value, and "
                                  "\"Set\" cannot write it")
                       .arg(deviceFile, node, attributeName));
    }
}

void SheetLinter::lintItem(const IXMLNode& item, bool comboBound) {
    if (item.attribute(QStringLiteral("caption")).isNull())
        report(item, Severity::Error,
               QStringLiteral("ITEM has no 'caption': the builder fails the whole combo box"));
    if (comboBound && item.attribute(QStringLiteral("value")).isNull())
        report(item, Severity::Error,
               QStringLiteral("ITEM of a bound combo box has no 'value': loading the device "
                              "value fails the combo box"));
}

// The last top-level element, as documents name their root.
IXMLNode rootElement(const XmlTree& tree) {
    IXMLNode root;
    for (IXMLNode node = tree.documentNode.childNodes().first(); !node.isNull();
         node = node.nextSibling()) {
        if (node.nodeType() == XMLNodeType::Element)
            root = node;
    }
    return root;
}

// A document that does not load: its parse error, at the fault.
LintFinding parseFailure(const QString& file, const XmlPositions& positions, const Error& error) {
    const std::optional<XmlPosition>& position = positions.error();
    return {file, position ? position->line : 0, position ? position->column : 0, Severity::Error,
            QStringLiteral("not well-formed: ") + error.message().section(u'\r', 0, 0)};
}

} // namespace

std::optional<LintDevice> LintDeviceConfiguration(const QString& file, const QByteArray& bytes,
                                                  std::vector<LintFinding>& findings) {
    XmlPositions positions;
    try {
        return LintDevice{file, rootElement(loadXmlTree(bytes, &positions))};
    } catch (const Error& e) {
        findings.push_back(parseFailure(file, positions, e));
        return std::nullopt;
    }
}

std::vector<LintFinding> LintSheet(const QString& file, const QByteArray& bytes,
                                   const std::vector<LintDevice>& devices) {
    std::vector<LintFinding> findings;
    XmlPositions positions;
    XmlTree tree;
    try {
        tree = loadXmlTree(bytes, &positions);
    } catch (const Error& e) {
        findings.push_back(parseFailure(file, positions, e));
        return findings;
    }
    const IXMLNode root = rootElement(tree);
    if (root.isNull()) {
        findings.push_back(
            {file, 1, 1, Severity::Error, QStringLiteral("the sheet has no root element")});
        return findings;
    }
    SheetLinter linter(file, positions, devices);
    linter.lintRoot(root);
    std::vector<LintFinding> own = linter.takeFindings();
    // The walk meets a widget's text and comments before its child widgets.
    std::stable_sort(own.begin(), own.end(), [](const LintFinding& a, const LintFinding& b) {
        return std::pair(a.line, a.column) < std::pair(b.line, b.column);
    });
    findings.insert(findings.end(), own.begin(), own.end());
    return findings;
}
