#pragma once

#include <QObject>

class TfMain;

// Ctrl+Alt+D opens the diagnostics window from any window of the program, also while
// the main window is hidden. It is watched for in the whole application, as a
// shortcut of a hidden window would never fire. While the main window is disabled,
// the shortcut does nothing; over a sheet window shown modally it works.
class DebugShortcut : public QObject {
    Q_OBJECT
public:
    // Installs itself as an application event filter until it is destroyed.
    explicit DebugShortcut(TfMain& mainWindow);
    ~DebugShortcut() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TfMain& mainWindow_;
};
