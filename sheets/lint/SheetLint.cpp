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
#include "script/TSMethod.h"
#include "sheets/TScriptNodeObject.h"
#include "sheets/XMLPath.h"
#include "sheets/lint/ScriptLint.h"

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

} // namespace

QString InvalidValueText(const QMetaObject& widgetClass, const QByteArray& name,
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

namespace {

class SheetLinter {
public:
    SheetLinter(const QString& file, const XmlPositions& positions,
                const std::vector<LintDevice>& devices)
        : file_(file), positions_(positions), devices_(devices) {}

    void lintRoot(const IXMLNode& root);
    std::vector<LintFinding> takeFindings() { return std::move(findings_); }

private:
    // A script text of the sheet and where its characters stand.
    struct ScriptSource {
        IXMLNode node;      // the text node, or the event attribute
        qsizetype base = 0; // the text's first character, counted from the node's position
        QByteArray text;
        qsizetype searchFrom = 0;
    };
    struct Located {
        LintFinding finding;
        bool found = false;
    };
    void lintScripts(const IXMLNode& root);
    std::optional<ScriptSource> scriptOf(const IXMLNode& element);
    void lintBalance(const ScriptSource& source);
    std::vector<Located> locate(ScriptSource& source,
                                const std::vector<ScriptLint::Problem>& problems);

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
    // What the scripts meet: the widgets each top-level element builds, and the
    // event attributes, in document order.
    struct BuiltWidget {
        QByteArray name;
        const QMetaObject* widgetClass;
    };
    // One list per top-level widget element of the root, in document order.
    std::vector<std::vector<BuiltWidget>> builtByTop_;
    std::vector<IXMLNode> events_;
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
        builtByTop_.emplace_back();
        while (!stack.empty()) {
            const Pending pending = std::move(stack.back());
            stack.pop_back();
            lintWidget(pending, stack);
        }
    }
    lintScripts(root);
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
    // The name as the widget takes it: the attribute "Name" in any letter case.
    const IXMLNodeList attributes = element.attributeNodes();
    for (int index = 0; index < attributes.count(); ++index) {
        const IXMLNode attribute = attributes.item(index);
        if (AsciiName::sameName(attribute.nodeName(), "Name") && !builtByTop_.empty())
            builtByTop_.back().push_back(
                {Win1250::fromWide(attribute.nodeValue()), componentClass});
    }

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
            if (ClassPropType(widgetClass, name) == TypeKind::Method) {
                events_.push_back(attribute);
                continue;
            }
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
        report(attribute, Severity::Error, InvalidValueText(widgetClass, name, value));
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

// The scripts run as the program runs them: each SCRIPT element when the build
// reaches it, with the widgets built before it; the events later, with all of
// them; then every function body once, so that functions nothing calls are
// checked too.
void SheetLinter::lintScripts(const IXMLNode& root) {
    ScriptLint scripts;
    std::vector<ScriptSource> sources;
    std::vector<std::size_t> sourceOfFunction;
    std::vector<Located> statements;
    const auto runSource = [&](const ScriptSource& source) {
        lintBalance(source);
        sources.push_back(source);
        const std::vector<ScriptLint::Problem> problems = scripts.run(source.text);
        for (std::size_t i = sourceOfFunction.size(); i < scripts.functions().size(); ++i)
            sourceOfFunction.push_back(sources.size() - 1);
        const std::vector<Located> located = locate(sources.back(), problems);
        statements.insert(statements.end(), located.begin(), located.end());
    };
    std::size_t top = 0;
    for (IXMLNode child = root.childNodes().first(); !child.isNull(); child = child.nextSibling()) {
        if (child.nodeType() != XMLNodeType::Element)
            continue;
        if (!AsciiName::sameName(child.nodeName(), "SCRIPT")) {
            if (top < builtByTop_.size()) {
                for (const BuiltWidget& widget : builtByTop_[top])
                    scripts.addWidget(widget.name, *widget.widgetClass);
            }
            ++top;
        } else if (std::optional<ScriptSource> source = scriptOf(child)) {
            runSource(*source);
        }
    }
    for (const IXMLNode& event : events_)
        runSource({event, event.nodeName().size() + 2, Win1250::fromWide(event.nodeValue())});

    std::vector<Located> bodies;
    for (std::size_t i = 0; i < sourceOfFunction.size(); ++i) {
        const TSMethod* function = scripts.functions()[i];
        ScriptSource& source = sources[sourceOfFunction[i]];
        const QByteArray body = function->GetBody();
        source.searchFrom = std::max<qsizetype>(0, source.text.indexOf(body));
        const std::vector<Located> located = locate(source, scripts.run(body));
        bodies.insert(bodies.end(), located.begin(), located.end());
    }
    // A problem a statement's text does not hold came from a function it called;
    // the body's own run reports it where it is.
    for (const Located& statement : statements) {
        const bool fromBody =
            !statement.found && std::any_of(bodies.begin(), bodies.end(), [&](const Located& body) {
                return body.finding.text == statement.finding.text;
            });
        if (!fromBody)
            findings_.push_back(statement.finding);
    }
    for (const Located& body : bodies)
        findings_.push_back(body.finding);
}

// The text LoadSheet runs for a SCRIPT element; it fails one that holds more.
std::optional<SheetLinter::ScriptSource> SheetLinter::scriptOf(const IXMLNode& element) {
    const IXMLNodeList children = element.childNodes();
    if (children.count() == 0)
        return std::nullopt;
    const IXMLNode text = children.first();
    const bool single = children.count() == 1 && (text.nodeType() == XMLNodeType::Text ||
                                                  text.nodeType() == XMLNodeType::CData);
    if (!single) {
        report(element, Severity::Error,
               QStringLiteral("a SCRIPT element holds its script text only: the builder fails "
                              "this one"));
        return std::nullopt;
    }
    return ScriptSource{text, 0, Win1250::fromWide(text.nodeValue())};
}

void SheetLinter::lintBalance(const ScriptSource& source) {
    const struct {
        char open;
        char close;
    } pairs[] = {{'(', ')'}, {'{', '}'}};
    for (const auto& [open, close] : pairs) {
        std::vector<qsizetype> opened;
        for (qsizetype i = 0; i < source.text.size(); ++i) {
            if (source.text[i] == open) {
                opened.push_back(i);
            } else if (source.text[i] == close) {
                if (opened.empty())
                    report(source.node, Severity::Error,
                           QStringLiteral("'%1' closes nothing").arg(QLatin1Char(close)),
                           source.base + i);
                else
                    opened.pop_back();
            }
        }
        for (const qsizetype at : opened)
            report(source.node, Severity::Error,
                   QStringLiteral("'%1' is never closed").arg(QLatin1Char(open)), source.base + at);
    }
}

// Each problem at its word: the occurrence it names, or the next one after the
// last problem's, else the first in the text; without a word, or with one the text does not hold,
// at the text's start.
std::vector<SheetLinter::Located>
SheetLinter::locate(ScriptSource& source, const std::vector<ScriptLint::Problem>& problems) {
    std::vector<Located> located;
    for (const ScriptLint::Problem& problem : problems) {
        qsizetype at = -1;
        if (!problem.word.isEmpty() && problem.occurrence > 0) {
            for (int n = 0; n < problem.occurrence; ++n)
                at = source.text.indexOf(problem.word, at + 1);
        } else if (!problem.word.isEmpty()) {
            at = source.text.indexOf(problem.word, source.searchFrom);
            if (at < 0)
                at = source.text.indexOf(problem.word);
        }
        if (at >= 0)
            source.searchFrom = at + problem.word.size();
        const std::optional<XmlPosition> position =
            positions_.of(source.node, source.base + std::max<qsizetype>(at, 0));
        located.push_back({{file_, position ? position->line : 0, position ? position->column : 0,
                            problem.severity, problem.text},
                           at >= 0});
    }
    return located;
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
    // A function's body runs once per call and once on its own.
    own.erase(std::unique(own.begin(), own.end(),
                          [](const LintFinding& a, const LintFinding& b) {
                              return a.line == b.line && a.column == b.column && a.text == b.text;
                          }),
              own.end());
    findings.insert(findings.end(), own.begin(), own.end());
    return findings;
}
