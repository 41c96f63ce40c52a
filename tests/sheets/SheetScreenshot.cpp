// Builds the sample sheet with the sample device configuration, as a
// connection would, and saves its form into sheet.png (each page of the page
// control side by side) in the folder given as the first argument; the
// examples folder is the second. Run it under xvfb-run so real fonts are used.
#include "SheetScriptRig.h"
#include "script/ComponentObjects.h"
#include "diagnostics/DiagnosticLog.h"
#include "platform/widgets/ApplicationStyle.h"
#include "platform/widgets/Form.h"
#include "platform/widgets/PageControl.h"
#include "platform/xml/TXMLDocument.h"
#include "script/TScript.h"
#include "sheets/LoadSheet.h"
#include "sheets/SheetClasses.h"
#include "sheets/SheetContext.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QTimer>
#include <QtTest/QTest>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    SetUpApplicationStyle(app);
    if (argc < 3) {
        qWarning("usage: %s <output folder> <examples folder>", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QDir examples(QString::fromLocal8Bit(argv[2]));
    RegisterSheetClasses();

    TXMLDocument device;
    TXMLDocument sheet;
    SheetRegistry registry;
    DiagnosticLog log;
    SheetHost host(registry);
    ComponentObjects objects;
    TScript script(host, objects, nullptr);
    device.loadFromFile(examples.filePath(QStringLiteral("demo-485-device.xm")));
    SheetContext context{device, sheet, registry, log, script, {}, examples.path()};

    bool saved = false;
    QTimer shooter;
    QObject::connect(&shooter, &QTimer::timeout, [&] {
        auto* form = qobject_cast<TForm*>(registry.FindSheetComponent("fDemo").Component);
        if (!form || !form->IsModal() || !QTest::qWaitForWindowExposed(form->Widget()))
            return;
        shooter.stop();
        auto* pages = qobject_cast<TPageControl*>(registry.FindSheetComponent("pcDemo").Component);
        QList<QPixmap> shots;
        for (int page = 0; page < pages->PageCount(); ++page) {
            pages->SetTabIndex(page);
            QTest::qWait(50);
            shots << form->Widget()->grab();
        }
        QPixmap all(shots[0].width() * shots.size() + 8 * (shots.size() - 1), shots[0].height());
        all.fill(Qt::white);
        QPainter painter(&all);
        for (int i = 0; i < shots.size(); ++i)
            painter.drawPixmap(i * (shots[0].width() + 8), 0, shots[i]);
        painter.end();
        saved = all.save(out.filePath(QStringLiteral("sheet.png")));
        form->Close();
    });
    shooter.start(20);

    DeviceIdentity identity;
    LoadSheet(context, identity);
    registry.DestroySheetComponents();
    return saved ? 0 : 1;
}
