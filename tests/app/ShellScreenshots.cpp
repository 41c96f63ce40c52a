// Renders the main window and the wait dialog into main-window.png and
// wait-dialog.png in the folder given as the argument. Run under xvfb-run so that
// real fonts are used.
#include "app/Program.h"
#include "app/TfMain.h"
#include "app/TfWaitDialog.h"
#include "platform/widgets/ApplicationStyle.h"

#include <QApplication>
#include <QDir>
#include <QtTest/QTest>

namespace {

bool saveWindow(QWidget* window, const QDir& out, const char* fileName) {
    if (!QTest::qWaitForWindowExposed(window))
        return false;
    return window->grab().save(out.filePath(QString::fromLatin1(fileName)));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    SetUpApplicationStyle(app);
    if (argc < 2) {
        qWarning("usage: %s <output folder>", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));

    Program program{StartOptions{}};
    program.fMain().Show();
    const bool mainSaved = saveWindow(program.fMain().Widget(), out, "main-window.png");
    program.fMain().Hide();
    program.fWaitDialog().Show();
    const bool waitSaved = saveWindow(program.fWaitDialog().Widget(), out, "wait-dialog.png");
    return mainSaved && waitSaved ? 0 : 1;
}
