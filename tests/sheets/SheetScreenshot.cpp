// Builds a sheet with a stored device configuration, as a connection would, and
// saves a picture of its form for the documentation; with a page control named,
// each of its pages side by side. Run it under xvfb-run so real fonts are used:
//
//   konfidor_sheet_screenshot OUT.png SHEET_FOLDER DEVICE.xm FORM [PAGE_CONTROL]
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
#include <QPainter>
#include <QTimer>
#include <QtTest/QTest>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    SetUpApplicationStyle(app);
    if (argc < 5) {
        qWarning("usage: %s OUT.png SHEET_FOLDER DEVICE.xm FORM [PAGE_CONTROL]", argv[0]);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString sheets = QString::fromLocal8Bit(argv[2]);
    const QByteArray formName = argv[4];
    const QByteArray pagesName = argc > 5 ? argv[5] : "";
    RegisterSheetClasses();

    TXMLDocument device;
    TXMLDocument sheet;
    SheetRegistry registry;
    DiagnosticLog log;
    SheetHost host(registry);
    ComponentObjects objects;
    TScript script(host, objects, nullptr);
    device.loadFromFile(QString::fromLocal8Bit(argv[3]));
    SheetContext context{device, sheet, registry, log, script, {}, {sheets}, {}};

    bool saved = false;
    QTimer shooter;
    QObject::connect(&shooter, &QTimer::timeout, [&] {
        auto* form = qobject_cast<TForm*>(registry.FindSheetComponent(formName).Component);
        if (!form || !form->IsModal() || !QTest::qWaitForWindowExposed(form->Widget()))
            return;
        shooter.stop();
        auto* pages = qobject_cast<TPageControl*>(registry.FindSheetComponent(pagesName).Component);
        QList<QPixmap> shots;
        for (int page = 0; page < (pages ? pages->PageCount() : 1); ++page) {
            if (pages)
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
        saved = all.save(out);
        form->Close();
    });
    shooter.start(20);

    DeviceIdentity identity;
    LoadSheet(context, identity);
    registry.DestroySheetComponents();
    return saved ? 0 : 1;
}
