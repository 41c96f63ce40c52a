#include "app/CheckMode.h"
#include "app/CommandLine.h"
#include "app/LintMode.h"
#include "app/Program.h"
#include "app/ProgramIcon.h"
#include "app/TfMain.h"
#include "platform/EntryGuard.h"
#include "platform/Error.h"
#include "platform/widgets/ApplicationStyle.h"
#include "sheets/SheetClasses.h"

#include <QApplication>
#include <cstdio>

namespace {

QStringList argumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
}

} // namespace

int main(int argc, char** argv) {
    // The command line is read before the windowing system is needed, so --help and
    // --version work without a display.
    StartOptions options;
    const QStringList arguments = argumentsOf(argc, argv);
    try {
        options = CommandLine::parse(arguments);
    } catch (const Error& e) {
        print(stderr, QStringLiteral("konfidor: %1\n").arg(e.message()));
        // The headless mode's status for "nothing was checked": automation tells a
        // wrong command line from a device that failed.
        return arguments.contains(QStringLiteral("--check")) ? CheckMode::NoConfiguration : 1;
    }
    if (options.action == StartOptions::Action::ShowHelp) {
        print(stdout, options.helpText);
        return 0;
    }
    if (options.action == StartOptions::Action::ShowVersion) {
        print(stdout, QStringLiteral("konfidor %1\n").arg(QStringLiteral(KONFIDOR_VERSION)));
        return 0;
    }
    if (!options.ignoredOptions.isEmpty())
        print(stderr, QStringLiteral("konfidor: unknown options ignored: %1\n")
                          .arg(options.ignoredOptions.join(QStringLiteral(", "))));

    // The linter builds no widget: it needs no display and no windowing system.
    if (options.lint) {
        QCoreApplication app(argc, argv);
        RegisterSheetClasses();
        return LintMode::run(options);
    }
    // The headless mode needs no display: its windows live on the offscreen platform.
    if (options.check)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(KONFIDOR_VERSION));
    SetUpApplicationStyle(app);
    QApplication::setWindowIcon(programIcon());

    try {
        if (options.check)
            return CheckMode(options).run();
        Program program(options);
        QObject::connect(&program.fMain(), &TfMain::mainWindowClosed, &app, &QCoreApplication::quit,
                         Qt::QueuedConnection);
        EntryGuard::guardEntry([&program, &options] {
            program.fMain().Show();
            if (!options.offlineFile.isEmpty())
                program.fMain().LoadOffline(options.offlineFile);
        });
        return QApplication::exec();
    } catch (const Error& e) {
        // Only the program's setup raises here (a log file that does not open); the
        // headless mode then had nothing to check.
        print(stderr, QStringLiteral("konfidor: %1\n").arg(e.message()));
        return options.check ? CheckMode::NoConfiguration : 1;
    }
}
