// Renders the main window, the wait dialog, the sample sheet's window after
// connecting to the device simulator and the "Změny" page after a few edits into
// main-window.png, wait-dialog.png, demo.png and debug-changes.png in the folder
// given as the argument. Run under xvfb-run so that real
// fonts are used.
#include "app/Program.h"
#include "app/TfMain.h"
#include "app/TfWaitDialog.h"
#include "diagnostics/ChangesPage.h"
#include "diagnostics/TfDebug.h"
#include "platform/widgets/ApplicationStyle.h"
#include "platform/widgets/Button.h"
#include "platform/widgets/Control.h"
#include "platform/widgets/Form.h"
#include "tools/devsim/DeviceSimulator.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTabWidget>
#include <QTreeWidget>
#include <QTimer>
#include <QtTest/QTest>

namespace {

bool saveWindow(QWidget* window, const QDir& out, const char* fileName) {
    if (!QTest::qWaitForWindowExposed(window))
        return false;
    return window->grab().save(out.filePath(QString::fromLatin1(fileName)));
}

// Edits three of the sample sheet's widgets as an operator would and saves the
// diagnostics window's "Změny" page once it lists them.
bool saveChangesPage(Program& program, const QDir& out) {
    const auto widget = [&](const char* name) {
        return qobject_cast<TControl*>(program.fMain().FindSheetComponent(name))->Widget();
    };
    QWidget* name = widget("eName");
    QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(name, QStringLiteral("Kotelna sever"));
    QTest::keyClick(widget("cBaud1"), Qt::Key_Home);
    QTest::keyClick(widget("seBits1"), Qt::Key_Down);
    TfDebug& debug = program.fDebug();
    debug.PageControl1()->setCurrentWidget(debug.changesPage());
    debug.showAndRaise();
    const QTreeWidget* table = debug.changesPage()->table();
    return QTest::qWaitFor([&] { return table->topLevelItemCount() == 3; }, 5000) &&
           saveWindow(&debug, out, "debug-changes.png");
}

// Connects to the simulator serving the sample configuration and, once the sample
// sheet's window is up (modally, inside the connect click), saves it and closes it.
bool saveDemoSheet(const QDir& out) {
    QFile configuration(QStringLiteral(KONFIDOR_SAMPLE_DEVICE));
    if (!configuration.open(QIODevice::ReadOnly))
        return false;
    DeviceSimulator::Options deviceOptions;
    deviceOptions.configuration = configuration.readAll();
    DeviceSimulator device(deviceOptions);
    if (!device.listen())
        return false;

    StartOptions options;
    options.address = QStringLiteral("127.0.0.1");
    options.password = QString::fromLatin1(deviceOptions.password);
    options.port = device.port();
    options.sheetDirectory = QFileInfo(configuration).path();
    Program program{options};
    program.fMain().Show();

    bool saved = false;
    QTimer watch;
    watch.setInterval(20);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* sheet = qobject_cast<TForm*>(program.fMain().FindSheetComponent("fDemo"));
        if (!sheet || !sheet->IsModal())
            return;
        watch.stop();
        saved = saveWindow(sheet->Widget(), out, "demo.png") &&
                saveChangesPage(program, out);
        sheet->Close();
    });
    watch.start();
    program.fMain().bConnect()->Click();
    // The sheet arrives after the click, with the configuration.
    return QTest::qWaitFor([&] { return !watch.isActive(); }, 10000) && saved;
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
    program.fWaitDialog().Hide();
    const bool demoSaved = saveDemoSheet(out);
    return mainSaved && waitSaved && demoSaved ? 0 : 1;
}
