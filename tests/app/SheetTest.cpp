#include "ShellTestSupport.h"
#include "diagnostics/ChangesPage.h"
#include "diagnostics/TfDebug.h"
#include "link/SocketErrorCodes.h"
#include "link/SocketFaults.h"
#include "platform/Error.h"
#include "platform/Win1250.h"
#include "platform/components/Reflection.h"
#include "platform/widgets/Button.h"
#include "platform/widgets/Control.h"
#include "platform/widgets/Form.h"
#include "script/TScript.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

namespace {

void writeFile(const QString& name, const QByteArray& bytes) {
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

const QByteArray StoredDevice = "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n<XML>\r\n"
                                "<DEVICE type=\"TEST-1\" version=\"2.0\"/>\r\n"
                                "<NET ip=\"10.0.0.5\"/>\r\n</XML>\r\n";

const QByteArray MatchingSheet =
    "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n"
    "<SHEET type=\"TEST-1\" version=\"2.0\">\r\n"
    "<SCRIPT>function greet() { fTest.Caption:=Ahoj; }</SCRIPT>\r\n"
    "<Form Name=\"fTest\" Caption=\"Test\"><Edit Name=\"eIP\" XMLpath=\"Text:NET.ip\"/></Form>\r\n"
    "</SHEET>\r\n";

} // namespace

// The program with the stored configuration and its matching sheet in the working
// directory, the sheet built from the stored configuration.
class StoredSheetTest : public ShellTest {
protected:
    void startWithStoredSheet(const StartOptions& options) {
        writeFile(QStringLiteral("stored.xm"), StoredDevice);
        writeFile(QStringLiteral("test.xml"), MatchingSheet);
        start(options);
        fMain().LoadOffline(QStringLiteral("stored.xm"));
    }
};

// The "Create " button builds the sheet for a stored configuration: the scripts and
// the registry work through the main window, and the diagnostics window shows both
// documents and the script function.
TEST_F(ShellTest, StoredConfigurationBuildsTheMatchingSheet) {
    writeFile(QStringLiteral("x.xm"), StoredDevice);
    writeFile(QStringLiteral("other.xml"), "<SHEET type=\"TEST-1\" version=\"1.0\"/>");
    writeFile(QStringLiteral("test.xml"), MatchingSheet);
    start();
    fMain().Button3()->SetEnabled(true);
    fMain().Button3()->Click();
    ASSERT_TRUE(dialogs.records().empty()) << dialogs.records()[0].text.toStdString();

    EXPECT_EQ(fMain().sheets().device().DeviceType, "TEST-1");
    QObject* form = fMain().FindSheetComponent("fTest");
    ASSERT_NE(qobject_cast<TForm*>(form), nullptr);
    QObject* edit = fMain().FindSheetComponent("eIP");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(GetPropValue(edit, "Text", true).toText(), "10.0.0.5");

    fMain().mainScript().Run("greet();");
    EXPECT_EQ(static_cast<TForm*>(form)->Caption(), "Ahoj");

    TfDebug& debug = program().fDebug();
    debug.catchUp();
    ASSERT_EQ(debug.lbScriptFunctions()->count(), 1);
    EXPECT_EQ(debug.lbScriptFunctions()->item(0)->text(), "greet");
    debug.lbScriptFunctions()->setCurrentRow(0);
    EXPECT_EQ(debug.mScriptFunctionsView()->toPlainText(), "{ fTest.Caption:=Ahoj; ");
    EXPECT_GT(debug.VSTDeviceXML()->topLevelItemCount(), 0);
    ASSERT_GT(debug.VSTSheetXML()->topLevelItemCount(), 0);
    const QList<QTreeWidgetItem*> sheetRoot =
        debug.VSTSheetXML()->findItems(QStringLiteral("SHEET"), Qt::MatchRecursive);
    ASSERT_EQ(sheetRoot.size(), 1);
    // An element's attributes come first, as name and value.
    EXPECT_EQ(sheetRoot[0]->child(0)->text(0), "type");
    EXPECT_EQ(sheetRoot[0]->child(0)->text(1), "TEST-1");

    fMain().DestroySheetComponents();
    EXPECT_EQ(fMain().FindSheetComponent("fTest"), nullptr);
}

// The program with a sheet as authors in the field write it and its device's stored
// configuration as x.xm, which the "Create " button loads.
class FieldExampleTest : public ShellTest {
protected:
    void startWithFieldExample() {
        const QString data =
            qEnvironmentVariable("KONFIDOR_TEST_DATA") + "/sheets/field-example";
        ASSERT_TRUE(QFile::copy(data + "/demo-485-device.xm", QStringLiteral("x.xm")));
        StartOptions options;
        options.sheetDirectory = data;
        start(options);
    }
};

// A sheet as authors in the field write it, with its device's stored configuration,
// built through the "Create " button: its last script shows the form modally, which
// the test closes once it has looked at the loaded values.
TEST_F(FieldExampleTest, SheetBuildsWithEveryBindingLoaded) {
    startWithFieldExample();

    bool shownModally = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto* form = qobject_cast<TForm*>(fMain().FindSheetComponent("fConfig"));
        if (!form || !form->IsModal())
            return;
        shownModally = true;
        auto itemIndex = [&](const char* name) {
            return GetPropValue(fMain().FindSheetComponent(name), "ItemIndex", false).toInteger();
        };
        auto text = [&](const char* name) {
            return GetPropValue(fMain().FindSheetComponent(name), "Text", true).toWideText();
        };
        EXPECT_EQ(itemIndex("cDHCP"), 0);
        EXPECT_EQ(itemIndex("cBaud"), 3);
        EXPECT_EQ(itemIndex("cParity"), 0);
        EXPECT_EQ(text("eIP"), "192.168.1.254");
        EXPECT_EQ(text("eLocation"), QStringLiteral("Budova B, 2. patro"));
        EXPECT_EQ(GetPropValue(fMain().FindSheetComponent("sePort"), "Value", false).toInteger(),
                  10001);
        form->Close();
    });
    closer.start(10);

    fMain().Button3()->SetEnabled(true);
    fMain().Button3()->Click();
    EXPECT_TRUE(shownModally);
    EXPECT_TRUE(dialogs.records().empty());

    int created = 0;
    int loaded = 0;
    const DiagnosticLog& log = program().log();
    for (qsizetype i = 0; i < log.eventCount(); ++i) {
        const QByteArray entry = log.eventEntry(i);
        EXPECT_FALSE(entry.startsWith("#0000FF")) << entry.constData();
        EXPECT_FALSE(entry.startsWith("E")) << entry.constData();
        created += entry.startsWith("#00FF00") && entry.contains(" - Vytvoren prvek :");
        loaded += entry.startsWith("#00FFFF") && entry.contains(" -     nactena hodnota: XMLpath=");
    }
    EXPECT_EQ(created, 33);
    EXPECT_EQ(loaded, 12);
}

// The "Změny" page, shown over the modal sheet, follows the operator's edits in a
// text, a combo box (its item's value) and a spin edit, and marks what "Set" would
// change. Saving and comparing leave the device document as it is.
TEST_F(FieldExampleTest, ChangesPageFollowsTheOperatorsEdits) {
    startWithFieldExample();
    TfDebug& debug = program().fDebug();
    ChangesPage* page = debug.changesPage();
    const auto rows = [page] {
        QStringList texts;
        for (int i = 0; i < page->table()->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = page->table()->topLevelItem(i);
            texts << QStringList{item->text(0), item->text(1), item->text(2), item->text(3)}.join(
                u'|');
        }
        return texts;
    };
    const auto widget = [&](const char* name) {
        return qobject_cast<TControl*>(fMain().FindSheetComponent(name))->Widget();
    };
    const QStringList edited{
        "NET.port|10001|10000|sePort", "COM.baud|9600|1200|cBaud",
        QStringLiteral("INFO.location|Budova B, 2. patro|Budova B, 2. patroX|eLocation")};

    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto* form = qobject_cast<TForm*>(fMain().FindSheetComponent("fConfig"));
        if (!form || !form->IsModal())
            return;
        closer.stop();
        debug.showAndRaise();
        debug.PageControl1()->setCurrentWidget(page);
        EXPECT_EQ(page->shownView(), page->emptyText());

        QTest::keyClick(widget("eLocation"), Qt::Key_End);
        QTest::keyClicks(widget("eLocation"), QStringLiteral("X"));
        QTest::keyClick(widget("cBaud"), Qt::Key_Home);
        QTest::keyClick(widget("sePort"), Qt::Key_Down);
        EXPECT_TRUE(QTest::qWaitFor([&] { return rows().size() == 3; }, 5000));
        EXPECT_EQ(rows(), edited);
        EXPECT_TRUE(page->table()->topLevelItem(0)->font(0).bold());

        // What "Set" would send now, saved, holds the edits: nothing differs from it.
        QTemporaryDir directory;
        const QString saved = directory.filePath(QStringLiteral("now.xml"));
        page->saveConfiguration(saved);
        page->compareWith(saved);
        EXPECT_EQ(page->shownView(), page->emptyText());
        EXPECT_TRUE(page->emptyText()->text().contains(QStringLiteral("now.xml")));
        page->compareWith(QString());
        EXPECT_EQ(rows(), edited);
        EXPECT_EQ(fMain()
                      .xmlDevice()
                      .documentElement()
                      .childNodes()
                      .find("INFO")
                      .attribute("location")
                      .toWideText(),
                  QStringLiteral("Budova B, 2. patro"));

        // All bound settings, the unchanged ones plain.
        page->onlyChanges()->setChecked(false);
        EXPECT_EQ(page->table()->topLevelItemCount(), 12);
        const QTreeWidgetItem* plain =
            page->table()->findItems("NET.ip", Qt::MatchExactly).value(0);
        ASSERT_NE(plain, nullptr);
        EXPECT_FALSE(plain->font(0).bold());
        form->Close();
    });
    closer.start(10);
    fMain().Button3()->SetEnabled(true);
    fMain().Button3()->Click();
    EXPECT_TRUE(dialogs.records().empty());
}

// The log file holds what the diagnostics window shows, event entries and
// communication lines alike, in their stored form; the typed password never.
TEST_F(StoredSheetTest, LogFileMirrorsBothLogsWithoutThePassword) {
    StartOptions options;
    options.logFile = QStringLiteral("konfidor.log");
    options.password = QStringLiteral("tajneheslo");
    startWithStoredSheet(options);
    fMain().logComm(QStringLiteral("Receive 5"), 0x008000);

    QFile file(options.logFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    const DiagnosticLog& log = program().log();
    for (qsizetype i = 0; i < log.eventCount(); ++i)
        EXPECT_TRUE(lines.contains(log.eventEntry(i))) << log.eventEntry(i).constData();
    for (const QByteArray& line : communicationLines())
        EXPECT_TRUE(lines.contains(line)) << line.constData();
    EXPECT_GT(log.eventCount(), 3);
    for (const QByteArray& line : lines)
        EXPECT_FALSE(line.contains("tajneheslo"));
}

// A refused attempt leaves Link pointing at its closed socket. "Set" must then save
// the operator's values as without a connection, not send into the dead socket and
// report that the device did not confirm.
TEST_F(StoredSheetTest, SetAfterARefusedAttemptSavesTheDocument) {
    StartOptions options;
    options.address = QStringLiteral("device.test");
    options.saveFile = QStringLiteral("saved.xml");
    startWithStoredSheet(options);
    const auto previous = SocketFaults::setInjector([](const QString&, quint16) {
        return std::optional(SocketFaults::Fault{SocketFaults::Fault::Stage::Connect,
                                                 SocketErrorCodes::ConnectionRefused});
    });
    const auto restore = qScopeGuard([&] { SocketFaults::setInjector(previous); });
    fMain().Show();
    click(fMain().bConnect());
    ASSERT_EQ(dialogs.records().size(), 1u);
    ASSERT_NE(fMain().link().link(), nullptr);

    SetPropValue(fMain().FindSheetComponent("eIP"), "Text", Variant::fromText("10.0.0.9"));
    fMain().mainScript().Run("Set;");
    EXPECT_EQ(dialogs.records().size(), 1u) << dialogs.records().back().text.toStdString();
    QFile saved(options.saveFile);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().contains("ip=\"10.0.0.9\""));
}

// A load that matches nothing leaves the last examined file in XML_Sheet, possibly an
// earlier sheet or one without `type`. Nothing of it may reach the error box or the
// diagnostics window as the current sheet.
TEST_F(StoredSheetTest, ALoadWithoutAMatchShowsNoStaleSheet) {
    writeFile(QStringLiteral("other.xm"), "<XML><DEVICE type=\"OTHER\" version=\"1\"/></XML>");
    startWithStoredSheet({});
    fMain().DestroySheetComponents();
    TfDebug& debug = program().fDebug();
    debug.catchUp();
    ASSERT_GT(debug.VSTSheetXML()->topLevelItemCount(), 0);

    fMain().LoadOffline(QStringLiteral("other.xm"));
    debug.catchUp();
    EXPECT_FALSE(fMain().sheets().sheetMatchesDevice());
    EXPECT_EQ(debug.VSTSheetXML()->topLevelItemCount(), 0);

    // A sheet file whose root lacks `type` stops the next search with its error; a
    // device document that does not load then leaves that file in XML_Sheet.
    writeFile(QStringLiteral("a.xml"), "<SHEET version=\"2.0\"/>");
    EXPECT_THROW(fMain().LoadOffline(QStringLiteral("stored.xm")), Error);
    writeFile(QStringLiteral("broken.xm"), "<XML>");
    EXPECT_THROW(fMain().LoadOffline(QStringLiteral("broken.xm")), Error);
    fMain().LoadSheet();
    debug.catchUp();
    EXPECT_FALSE(fMain().sheets().sheetMatchesDevice());
    EXPECT_EQ(debug.VSTSheetXML()->topLevelItemCount(), 0);
    EXPECT_TRUE(dialogs.records().empty()) << dialogs.records()[0].text.toStdString();
}
