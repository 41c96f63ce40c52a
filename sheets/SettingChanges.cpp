#include "sheets/SettingChanges.h"

#include "platform/Error.h"
#include "platform/Win1250.h"
#include "platform/xml/IXMLNode.h"
#include "platform/xml/TXMLDocument.h"
#include "sheets/ApplySettings.h"
#include "sheets/SheetContext.h"
#include "sheets/SheetRegistry.h"
#include "sheets/XMLPath.h"

#include <QHash>
#include <QSet>
#include <algorithm>

namespace {

// Named things in document order, found by name in constant time: a configuration
// may hold a hundred thousand elements under one parent.
template <typename Value> class Named {
public:
    void add(const QString& name, Value value) {
        index_.insert(name, static_cast<qsizetype>(items_.size()));
        items_.emplace_back(name, std::move(value));
    }
    const Value* find(const QString& name) const {
        const auto found = index_.constFind(name);
        return found == index_.cend() ? nullptr : &items_[static_cast<std::size_t>(*found)].second;
    }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::vector<std::pair<QString, Value>> items_;
    QHash<QString, qsizetype> index_;
};

// The element children of `parent` (none for no node), each under its path: its
// name, and "[n]" for the n-th (n >= 2) of the same name.
Named<IXMLNode> namedChildren(const IXMLNode& parent, const QString& prefix) {
    Named<IXMLNode> children;
    if (parent.isNull())
        return children;
    QHash<QString, int> seen;
    for (IXMLNode child = parent.childNodes().first(); !child.isNull();
         child = child.nextSibling()) {
        if (child.nodeType() != XMLNodeType::Element)
            continue;
        const int n = ++seen[child.nodeName()];
        QString path = prefix + child.nodeName();
        if (n > 1)
            path += QStringLiteral("[%1]").arg(n);
        children.add(path, child);
    }
    return children;
}

Named<QString> attributesOf(const IXMLNode& element) {
    Named<QString> attributes;
    if (element.isNull())
        return attributes;
    const IXMLNodeList list = element.attributeNodes();
    for (int i = 0; i < list.count(); ++i)
        attributes.add(list.item(i).nodeName(), list.item(i).nodeValue());
    return attributes;
}

void compareChildren(const IXMLNode& before, const IXMLNode& after, const QString& prefix,
                     std::vector<SettingChange>& changes);

void compareElements(const IXMLNode& before, const IXMLNode& after, const QString& path,
                     std::vector<SettingChange>& changes) {
    const auto beforeAttributes = attributesOf(before);
    const auto afterAttributes = attributesOf(after);
    for (const auto& [name, value] : beforeAttributes) {
        const QString* other = afterAttributes.find(name);
        if (!other || *other != value)
            changes.push_back(
                {path + u'.' + name, value, other ? std::optional(*other) : std::nullopt});
    }
    for (const auto& [name, value] : afterAttributes) {
        if (!beforeAttributes.find(name))
            changes.push_back({path + u'.' + name, std::nullopt, value});
    }
    compareChildren(before, after, path + u'/', changes);
}

void compareChildren(const IXMLNode& before, const IXMLNode& after, const QString& prefix,
                     std::vector<SettingChange>& changes) {
    const auto beforeChildren = namedChildren(before, prefix);
    const auto afterChildren = namedChildren(after, prefix);
    for (const auto& [path, child] : beforeChildren) {
        const IXMLNode* other = afterChildren.find(path);
        compareElements(child, other ? *other : IXMLNode(), path, changes);
    }
    for (const auto& [path, child] : afterChildren) {
        if (!beforeChildren.find(path))
            compareElements(IXMLNode(), child, path, changes);
    }
}

// The setting an entry's binding names, as changes name it; none without a binding.
std::optional<XMLPathParts> boundSetting(const TSheetComponent& entry) {
    const Variant binding = entry.Node.attribute(QStringLiteral("XMLpath"));
    if (binding.isNull())
        return std::nullopt;
    return SplitXMLPath(binding.toText());
}

QString settingName(const XMLPathParts& path) {
    return Win1250::toWide(path.NodeName + '.' + path.AttributeName);
}

// The value of a bound setting in a configuration: the attribute of the root's
// first child of that name.
std::optional<QString> settingValue(const IXMLNode& root, const XMLPathParts& path) {
    if (root.isNull())
        return std::nullopt;
    const IXMLNode element = root.childNodes().find(Win1250::toWide(path.NodeName));
    if (element.isNull())
        return std::nullopt;
    const IXMLNode attribute = element.attributeNodes().find(Win1250::toWide(path.AttributeName));
    return attribute.isNull() ? std::nullopt : std::optional(attribute.nodeValue());
}

} // namespace

std::vector<SettingChange> CompareSettings(const IXMLNode& beforeRoot, const IXMLNode& afterRoot) {
    std::vector<SettingChange> changes;
    compareChildren(beforeRoot, afterRoot, QString(), changes);
    return changes;
}

std::vector<SettingChange> PendingChanges(const SheetContext& context,
                                          const IXMLNode& receivedRoot) {
    std::vector<SettingChange> changes =
        CompareSettings(receivedRoot, context.XML_Device.documentElement());
    QHash<QString, qsizetype> boundOrder;
    for (const TSheetComponent& entry : context.SheetComponents.Entries()) {
        if (const auto path = boundSetting(entry))
            boundOrder.insert(settingName(*path), boundOrder.size());
    }
    const auto rank = [&](const SettingChange& change) {
        return boundOrder.value(change.setting, boundOrder.size());
    };
    std::stable_sort(
        changes.begin(), changes.end(),
        [&](const SettingChange& a, const SettingChange& b) { return rank(a) < rank(b); });
    return changes;
}

namespace {

IXMLNode deviceRootOf(const SheetContext& context) {
    return context.XML_Device.active() ? context.XML_Device.documentElement() : IXMLNode();
}

} // namespace

std::vector<SettingState> BoundSettingStates(const SheetContext& context,
                                             const IXMLNode& baselineRoot) {
    const IXMLNode deviceRoot = deviceRootOf(context);
    std::vector<SettingState> states;
    ForEachBoundWrite(
        context, [&](const TSheetComponent& entry, const std::optional<BoundWrite>& write) {
            const auto path = boundSetting(entry);
            if (!path)
                return;
            std::optional<QString> now = settingValue(deviceRoot, *path);
            // "Set" writes only attributes the document already has.
            if (write && now)
                now = write->text;
            // The name as the sheet gives it: reading the value may have run a
            // script that freed the widget.
            const Variant name = entry.Node.attribute(QStringLiteral("Name"));
            states.push_back(SettingState{settingName(*path), settingValue(baselineRoot, *path),
                                          now, name.isNull() ? QString() : name.toWideText()});
        });
    return states;
}

std::vector<SettingState> UnboundSettingStates(const SheetContext& context,
                                               const IXMLNode& baselineRoot,
                                               const std::vector<SettingState>& bound) {
    QSet<QString> boundSettings;
    for (const SettingState& state : bound)
        boundSettings.insert(state.setting);
    std::vector<SettingState> states;
    for (SettingChange& change : CompareSettings(baselineRoot, deviceRootOf(context))) {
        if (!boundSettings.contains(change.setting))
            states.push_back(SettingState{
                std::move(change.setting), std::move(change.before), std::move(change.after), {}});
    }
    return states;
}

void LoadStoredConfiguration(TXMLDocument& document, const QString& file) {
    try {
        document.loadFromFile(file);
    } catch (const Error& e) {
        throw Error(QStringLiteral("Soubor %1 nelze použít: %2").arg(file, e.message()));
    }
    if (document.documentElement().childNodes().find(QStringLiteral("DEVICE")).isNull())
        throw Error(QStringLiteral("Soubor %1 nelze použít: chybí v něm prvek DEVICE.").arg(file));
}

void SaveAsSetWouldWrite(const SheetContext& context, const QString& file) {
    // The copy starts without the original declaration: its text is Unicode here,
    // whatever encoding the device declared.
    TXMLDocument copy;
    copy.loadFromBytes(context.XML_Device.documentElement().xml().toUtf8());
    WriteBoundValues(context, copy);
    copy.setEncoding(QStringLiteral("UTF-8"));
    copy.saveToFile(file);
}
