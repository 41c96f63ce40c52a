#include "sheets/SettingChanges.h"

#include "platform/Win1250.h"
#include "platform/xml/IXMLNode.h"
#include "platform/xml/TXMLDocument.h"
#include "sheets/SheetContext.h"
#include "sheets/SheetRegistry.h"
#include "sheets/XMLPath.h"

#include <QHash>
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
    for (IXMLNode child = parent.childNodes().first(); !child.isNull(); child = child.nextSibling()) {
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
            changes.push_back({path + u'.' + name, value, other ? std::optional(*other) : std::nullopt});
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

} // namespace

std::vector<SettingChange> CompareSettings(const IXMLNode& beforeRoot, const IXMLNode& afterRoot) {
    std::vector<SettingChange> changes;
    compareChildren(beforeRoot, afterRoot, QString(), changes);
    return changes;
}

std::vector<SettingChange> PendingChanges(const SheetContext& context, const IXMLNode& receivedRoot) {
    std::vector<SettingChange> changes =
        CompareSettings(receivedRoot, context.XML_Device.documentElement());
    QHash<QString, qsizetype> boundOrder;
    for (const TSheetComponent& entry : context.SheetComponents.Entries()) {
        const Variant binding = entry.Node.attribute(QStringLiteral("XMLpath"));
        if (binding.isNull())
            continue;
        const XMLPathParts path = SplitXMLPath(binding.toText());
        boundOrder.insert(Win1250::toWide(path.NodeName + '.' + path.AttributeName), boundOrder.size());
    }
    const auto rank = [&](const SettingChange& change) {
        return boundOrder.value(change.setting, boundOrder.size());
    };
    std::stable_sort(changes.begin(), changes.end(),
                     [&](const SettingChange& a, const SettingChange& b) { return rank(a) < rank(b); });
    return changes;
}
