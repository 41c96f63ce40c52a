#pragma once

#include <QByteArray>
#include <QString>
#include <mutex>

class QObject;

// The configuration sheets as the main window reaches them: LoadSheet, the registry
// of built widgets and ApplySettings. This is the one place where the main window
// meets the sheets code; until that code is part of the program, no sheet is built,
// the registry stays empty and "Set" does nothing.
class SheetSide {
public:
    // `sheetLock` guards the registry; `sheetDirectory` is where sheet files are
    // looked for (empty: the program's own directory).
    SheetSide(std::recursive_mutex& sheetLock, QString sheetDirectory);

    void LoadSheet();
    QObject* FindSheetComponent(const QByteArray& name);
    bool UnregisterSheetComponent(QObject* component);
    void DestroySheetComponents();
    void ApplySettings();

    const QString& sheetDirectory() const { return sheetDirectory_; }

private:
    std::recursive_mutex& sheetLock_;
    QString sheetDirectory_;
};
