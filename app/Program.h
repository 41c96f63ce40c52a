#pragma once

#include "app/StartOptions.h"
#include "diagnostics/DiagnosticLog.h"
#include "platform/EntryGuard.h"

#include <QObject>
#include <memory>

class DebugShortcut;
class LogFile;
class TfDebug;
class TfMain;
class TfWaitDialog;

// The running program: its log and its three windows, created in this order: the main
// window (whose FormCreate makes MainScript, owned here), the diagnostics window and
// the wait dialog, all hidden. Only closing the main window ends the program, and
// errors that escape the program's handlers end in the error box.
class Program : public QObject {
    Q_OBJECT
public:
    // Raises Error when the log file the options name cannot be opened.
    explicit Program(const StartOptions& options);
    ~Program() override;

    DiagnosticLog& log() { return log_; }
    TfMain& fMain() const { return *fMain_; }
    TfDebug& fDebug() const { return *fDebug_; }
    TfWaitDialog& fWaitDialog() const { return *fWaitDialog_; }

private:
    EntryGuard::Reporter previousReporter_;
    bool previousQuitOnLastWindowClosed_;
    DiagnosticLog log_;
    std::unique_ptr<LogFile> logFile_;
    std::unique_ptr<TfMain> fMain_;
    std::unique_ptr<TfDebug> fDebug_;
    std::unique_ptr<TfWaitDialog> fWaitDialog_;
    std::unique_ptr<DebugShortcut> shortcut_;
};
