#include "app/DebugShortcut.h"

#include "app/TfMain.h"
#include "platform/EntryGuard.h"

#include <QApplication>
#include <QKeyEvent>

DebugShortcut::DebugShortcut(TfMain& mainWindow) : mainWindow_(mainWindow) {
    qApp->installEventFilter(this);
}

DebugShortcut::~DebugShortcut() {
    qApp->removeEventFilter(this);
}

namespace {

// The key press Ctrl+Alt+D, with no other modifier.
bool isShortcut(const QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers =
        key->modifiers() &
        (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    return key->key() == Qt::Key_D && modifiers == (Qt::ControlModifier | Qt::AltModifier);
}

} // namespace

bool DebugShortcut::eventFilter(QObject* watched, QEvent* event) {
    // A modal show disables the windows visible at that moment, so a hidden main window
    // stays enabled and the shortcut works over a sheet shown modally.
    if (!isShortcut(event) || !mainWindow_.Widget()->isEnabled())
        return QObject::eventFilter(watched, event);
    // The key press reaches a window first and then its focused widget; taking it at
    // the first stop opens the window once.
    EntryGuard::guardEntry([this] { mainWindow_.Action1Execute(); });
    return true;
}
