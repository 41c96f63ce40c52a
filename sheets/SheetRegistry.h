#pragma once

#include "sheets/TSheetComponent.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <mutex>
#include <vector>

// The registry of the widgets built from the current sheet, in registration
// order (document order, parents before their descendants). Scripts reach the
// widgets by name through it, and the apply operation walks it.
//
// SheetLock guards every operation. It is re-entrant because freeing a widget
// or touching a property can run a script that calls back into the registry on
// the same thread.
//
// A widget freed by any path (a script's "Destroy" of its form, its owner being
// freed, plain deletion) leaves the registry at once, so no entry ever refers to
// a freed widget.
class SheetRegistry : public QObject {
    Q_OBJECT
public:
    using Lock = std::recursive_mutex;

    explicit SheetRegistry(QObject* parent = nullptr);

    // Appends an entry; the builder calls it once for each widget it creates.
    void RegisterSheetComponent(TComponent* component, const IXMLNode& node);

    // Removes the first entry of that widget, keeping the others in order; true
    // when one was removed.
    bool UnregisterSheetComponent(TComponent* component);

    // A copy of the first entry whose widget currently has exactly that name
    // (letter case significant), or an empty record.
    TSheetComponent FindSheetComponent(const QByteArray& name);

    // Frees every registered widget, the most recently registered first, so
    // children go before their parents. The registry is empty on return; the
    // objects themselves are deleted once no event handler runs any more.
    void DestroySheetComponents();

    // Forgets every entry without freeing any widget (a new sheet is loaded).
    void Clear();

    // A copy of the entries as they stand now.
    std::vector<TSheetComponent> Entries();
    qsizetype Count();

    Lock& SheetLock() { return lock_; }

private:
    void Forget(TComponent* component);
    void Remove(std::vector<TSheetComponent>::iterator entry);

    Lock lock_;
    std::vector<TSheetComponent> entries_;
    // How many entries each widget has: freeing an unregistered widget (the
    // usual case while the registry itself frees) costs no scan.
    QHash<TComponent*, int> registered_;
};
