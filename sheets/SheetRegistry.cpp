#include "sheets/SheetRegistry.h"

#include "platform/components/Component.h"

#include <algorithm>

SheetRegistry::SheetRegistry(QObject* parent) : QObject(parent) {}

void SheetRegistry::RegisterSheetComponent(TComponent* component, const IXMLNode& node) {
    std::lock_guard guard(lock_);
    entries_.push_back(TSheetComponent{component, node});
    ++registered_[component];
    connect(component, &TComponent::freed, this, &SheetRegistry::Forget, Qt::UniqueConnection);
}

bool SheetRegistry::UnregisterSheetComponent(TComponent* component) {
    std::lock_guard guard(lock_);
    if (!registered_.contains(component))
        return false;
    Remove(std::find_if(entries_.begin(), entries_.end(),
                        [&](const TSheetComponent& e) { return e.Component == component; }));
    return true;
}

TSheetComponent SheetRegistry::FindSheetComponent(const QByteArray& name) {
    std::lock_guard guard(lock_);
    for (const TSheetComponent& entry : entries_) {
        if (entry.Component->Name() == name)
            return entry;
    }
    return {};
}

void SheetRegistry::DestroySheetComponents() {
    std::lock_guard guard(lock_);
    // Freeing can run scripts that touch the registry again, and it drops the
    // entries of everything the widget owns; each round takes whatever entry
    // is last at that moment.
    while (!entries_.empty()) {
        TComponent* component = entries_.back().Component;
        Remove(entries_.end() - 1);
        component->Free();
    }
}

void SheetRegistry::Clear() {
    entries_.clear();
    registered_.clear();
}

std::vector<TSheetComponent> SheetRegistry::Entries() {
    std::lock_guard guard(lock_);
    return entries_;
}

qsizetype SheetRegistry::Count() {
    std::lock_guard guard(lock_);
    return static_cast<qsizetype>(entries_.size());
}

void SheetRegistry::Remove(std::vector<TSheetComponent>::iterator entry) {
    const auto count = registered_.find(entry->Component);
    if (--*count == 0)
        registered_.erase(count);
    entries_.erase(entry);
}

void SheetRegistry::Forget(TComponent* component) {
    std::lock_guard guard(lock_);
    if (!registered_.remove(component))
        return;
    std::erase_if(entries_, [&](const TSheetComponent& e) { return e.Component == component; });
}
