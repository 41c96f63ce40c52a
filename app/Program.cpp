#include "app/Program.h"

#include "app/DebugShortcut.h"
#include "app/LogFile.h"
#include "app/TfMain.h"
#include "app/TfWaitDialog.h"
#include "diagnostics/TfDebug.h"
#include "platform/dialogs/OperatorDialogs.h"
#include "platform/widgets/Form.h"

#include <QGuiApplication>

Program::Program(const StartOptions& options)
    : previousReporter_(EntryGuard::setReporter(errorBoxReporter())),
      // With the main window hidden, closing a sheet window must not end the program.
      previousQuitOnLastWindowClosed_(QGuiApplication::quitOnLastWindowClosed()),
      // The file hears the log from its first entry on.
      logFile_(options.logFile.isEmpty() ? nullptr
                                         : std::make_unique<LogFile>(log_, options.logFile)),
      fMain_(std::make_unique<TfMain>(options, log_, this)),
      fDebug_(std::make_unique<TfDebug>(log_)),
      fWaitDialog_(std::make_unique<TfWaitDialog>([this] { fMain_->CancelConnect(); })),
      shortcut_(std::make_unique<DebugShortcut>(*fMain_)) {
    QGuiApplication::setQuitOnLastWindowClosed(false);
    // Support opens the diagnostics window over a sheet shown modally, and reads it there.
    TCustomForm::keepUsableDuringModalShows(fDebug_.get());
    fMain_->attachWindows(fDebug_.get(), fWaitDialog_.get());
}

// The main window goes first: its link may still reach the other windows while it
// closes its connection.
Program::~Program() {
    shortcut_.reset();
    fMain_.reset();
    QGuiApplication::setQuitOnLastWindowClosed(previousQuitOnLastWindowClosed_);
    EntryGuard::setReporter(previousReporter_);
}
