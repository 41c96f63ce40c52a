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

bool DebugShortcut::mainWindowAccepts() const {
    if (!mainWindow_.Widget()->isEnabled())
        return false;
    // A modal form disables only the windows visible when it was shown, so a hidden
    // main window stays enabled: the modal form itself is asked.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        const auto* form = qobject_cast<const TCustomForm*>(TControl::ControlOf(window));
        if (form && form->IsModal())
            return false;
    }
    return true;
}

bool DebugShortcut::eventFilter(QObject* watched, QEvent* event) {
    if (!isShortcut(event) || !mainWindowAccepts())
        return QObject::eventFilter(watched, event);
    // The key press reaches a window first and then its focused widget; taking it at
    // the first stop opens the window once.
    EntryGuard::guardEntry([this] { mainWindow_.Action1Execute(); });
    return true;
}
