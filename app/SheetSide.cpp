#include "app/SheetSide.h"

SheetSide::SheetSide(std::recursive_mutex& sheetLock, QString sheetDirectory)
    : sheetLock_(sheetLock), sheetDirectory_(std::move(sheetDirectory)) {}

void SheetSide::LoadSheet() {}

QObject* SheetSide::FindSheetComponent(const QByteArray&) {
    const std::lock_guard lock(sheetLock_);
    return nullptr;
}

bool SheetSide::UnregisterSheetComponent(QObject*) {
    const std::lock_guard lock(sheetLock_);
    return false;
}

void SheetSide::DestroySheetComponents() {
    const std::lock_guard lock(sheetLock_);
}

void SheetSide::ApplySettings() {}
