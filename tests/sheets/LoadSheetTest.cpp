#include "sheets/LoadSheet.h"

#include "SheetTestRig.h"
#include "platform/Error.h"
#include "platform/widgets/Button.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/Form.h"
#include "sheets/SheetDirectories.h"
#include "sheets/TComboBoxObject.h"

#include <QDir>
#include <QFile>
#include <sys/stat.h>
#include <QtTest/QTest>

using Lines = std::vector<std::string>;

namespace {

const QByteArray Device = R"(<XML><DEVICE type="KF" version="1.2"/><NET ip="1"/></XML>)";
const std::string Loaded = "info|Soubor 'x.xm' byl uspesne nacten a rozparsovan.";

QByteArray Sheet(const char* type, const char* version, const QByteArray& body = {}) {
    return QByteArray("<S type=\"") + type + "\" version=\"" + version + "\">" + body + "</S>";
}

std::string Found(const char* file) {
    return std::string("info|Nalezen soubor '") + file + "' pro konfiguraci zarizeni";
}

std::string Skipped(const char* file) {
    return std::string("info|Soubor '") + file + "' neodpovida typu nebo verzi zarizeni.";
}

} // namespace

class LoadSheetTest : public SheetTest {
protected:
    LoadSheetTest() { loadDevice(Device); }

    void load() { LoadSheet(context, identity); }

    DeviceIdentity identity;
};

TEST_F(LoadSheetTest, TheFirstMatchingFileInNameOrderIsBuiltAndTheSearchEnds) {
    writeSheet("a.xml", Sheet("KF", "1.2.0"));
    writeSheet("B.xml", Sheet("KF", "1.2", "<Form Name=\"F\"/>"));
    writeSheet("c.xml", Sheet("KF", "1.2", "<Form Name=\"G\"/>"));
    writeSheet("d.txt", "not a sheet");
    load();
    EXPECT_EQ(identity.DeviceType, "KF");
    EXPECT_EQ(identity.DeviceVersion, "1.2");
    EXPECT_EQ(takeLog(), (Lines{Loaded, Skipped("a.xml"), Found("B.xml"),
                                "lime|Vytvoren prvek :Form", "info|    atribut nastaven: Name=F"}));
    EXPECT_NE(find<TForm>("F"), nullptr);
    EXPECT_EQ(find<TForm>("G"), nullptr);
}

TEST_F(LoadSheetTest, TypeAndVersionMatchExactly) {
    writeSheet("a.xml", Sheet("kf", "1.2", "<Form/>"));
    writeSheet("b.xml", Sheet("KF", "1.2 ", "<Form/>"));
    writeSheet(".hidden.xml", Sheet("KF", "1.2", "<Form Name=\"H\"/>"));
    load();
    EXPECT_EQ(takeLog(), (Lines{Loaded, Found(".hidden.xml"), "lime|Vytvoren prvek :Form",
                                "info|    atribut nastaven: Name=H"}));
    keep(find<TForm>("H"));
    QFile::remove(directory.filePath(".hidden.xml"));
    load();
    EXPECT_EQ(takeLog(), (Lines{Loaded, Skipped("a.xml"), Skipped("b.xml")}));
    EXPECT_EQ(registry.Count(), 0);
}

TEST_F(LoadSheetTest, AFileThatDoesNotLoadStopsTheSearch) {
    writeSheet("a.xml", Sheet("KF", "1.2", "<Form Name=\"F\"/>"));
    writeSheet("b.xml", "<S type=\"KF\"");
    // A named pipe is no sheet file: reading it would wait for a writer for ever.
    ASSERT_EQ(mkfifo(QFile::encodeName(directory.filePath("0.xml")).constData(), 0600), 0);
    load();
    ASSERT_NE(find<TForm>("F"), nullptr);
    keep(find<TForm>("F"));
    takeLog();

    QFile::remove(directory.filePath("a.xml"));
    writeSheet("c.xml", Sheet("KF", "1.2", "<Form Name=\"G\"/>"));
    EXPECT_THROW(load(), Error);
    EXPECT_EQ(takeLog(), (Lines{Loaded}));
    EXPECT_EQ(registry.Count(), 0);

    // A directory that matches the pattern fails the same way, and so does a
    // root without `version`.
    QFile::remove(directory.filePath("b.xml"));
    ASSERT_TRUE(QDir(directory.path()).mkdir("b.xml"));
    EXPECT_THROW(load(), Error);
    ASSERT_TRUE(QDir(directory.path()).rmdir("b.xml"));
    writeSheet("b.xml", "<S type=\"KF\"/>");
    EXPECT_THROW(load(), Error);
}

TEST_F(LoadSheetTest, ADeviceWithoutIdentityEndsTheLoad) {
    loadDevice("<XML><NET ip=\"1\"/></XML>");
    writeSheet("a.xml", Sheet("KF", "1.2", "<Form/>"));
    EXPECT_THROW(load(), Error);
    const IXMLNode root = device.documentElement();
    ASSERT_EQ(root.childNodes().count(), 2);
    EXPECT_EQ(root.childNodes().item(1).xml(), QStringLiteral("<DEVICE></DEVICE>"));
    EXPECT_EQ(takeLog(), (Lines{Loaded}));

    loadDevice(R"(<XML><DEVICE version="1.2"/></XML>)");
    EXPECT_THROW(load(), Error);
}

TEST_F(LoadSheetTest, AnEmptyDeviceDocumentOnlyEmptiesTheRegistry) {
    writeSheet("a.xml", Sheet("KF", "1.2", "<Form Name=\"F\"/>"));
    load();
    ASSERT_EQ(registry.Count(), 1);
    keep(find<TForm>("F"));
    takeLog();
    TXMLDocument none;
    SheetContext empty{none, sheet, registry, log, script, {}, {directory.path()}, {}};
    LoadSheet(empty, identity);
    EXPECT_EQ(takeLog(), (Lines{"info|Nepodarilo se nacist a rozparsovat soubor 'x.xm'"}));
    EXPECT_EQ(registry.Count(), 0);
}

TEST_F(LoadSheetTest, ScriptsAndWidgetsRunInDocumentOrder) {
    writeSheet("a.xml", Sheet("KF", "1.2",
                              "<SCRIPT>function nazev() { F.Caption:=druhy; }</SCRIPT>"
                              "<!-- c --><Form Name=\"F\" Caption=\"prvni\"/>"
                              "<script><![CDATA[nazev();]]></script>"
                              "<SCRIPT>Nic;</SCRIPT><SCRIPT><a/></SCRIPT><Panel/>"
                              "<scrıpt>Nic;</scrıpt>"));
    load();
    EXPECT_EQ(takeLog(),
              (Lines{Loaded, Found("a.xml"), "red|#comment", "lime|Vytvoren prvek :Form",
                     "info|    atribut nastaven: Name=F",
                     "info|    atribut nastaven: Caption=prvni", "red|SCRIPT", "red|Panel",
                     // Letter case folds in ASCII only: no script, no widget class.
                     "red|scr?pt"}));
    EXPECT_EQ(find<TForm>("F")->Caption(), "druhy");
    EXPECT_EQ(host.calls, QStringList{"Script - Unknown command: 'Nic'"});
}

TEST_F(LoadSheetTest, TheWidgetsOfAnEarlierSheetKeepWorking) {
    writeSheet("a.xml",
               Sheet("KF", "1.2",
                     R"(<Form Name="F"><Button Name="B" OnClick="F.Caption:=klik;"/>)"
                     R"(<ComboBox Name="C"><ITEM caption="x" value="7"/></ComboBox></Form>)"));
    load();
    QPointer<TForm> first = find<TForm>("F");
    QPointer<TButton> firstButton = find<TButton>("B");
    QPointer<TComboBox> firstCombo = find<TComboBox>("C");
    keep(first);

    // The same device once more: a second set, registered, while the first stays alive.
    writeSheet("a.xml", Sheet("KF", "1.2", R"(<Form Name="F"><Button Name="B"/></Form>)"));
    load();
    TForm* second = find<TForm>("F");
    ASSERT_NE(second, first);
    EXPECT_EQ(registry.Count(), 2);
    ASSERT_TRUE(first && firstButton && firstCombo);

    first->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(first->Widget()));
    // The old button runs its own sheet's text; names resolve in the registry,
    // which now lists the second set.
    QTest::mouseClick(firstButton->Widget(), Qt::LeftButton);
    EXPECT_EQ(second->Caption(), "klik");
    EXPECT_EQ(qobject_cast<TComboBoxObject*>(firstCombo->ItemObject(0))->GetValue(), "7");

    // Freeing the first set leaves the second one usable.
    first->Free();
    flushDeletions();
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(registry.Count(), 2);
    EXPECT_EQ(find<TButton>("B")->Owner(), second);
    second->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(second->Widget()));
    second->Close();
}

// An installed program: its own directory, then the installed sheets beside it,
// then the user's. The first directory with any candidate is the only one searched.
TEST_F(LoadSheetTest, TheFirstDirectoryWithCandidatesIsTheOneSearched) {
    const QDir root(directory.path());
    const QByteArray userData = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", root.filePath("home").toUtf8());
    const QStringList standard = SheetDirectories::standard(root.filePath("usr/bin"));
    qputenv("XDG_DATA_HOME", userData);
    ASSERT_EQ(standard, (QStringList{root.filePath("usr/bin"), root.filePath("usr/share/konfidor/sheets"),
                                     root.filePath("home/konfidor/sheets")}));
    for (const QString& path : standard)
        ASSERT_TRUE(root.mkpath(path));
    auto put = [](const QString& directory, const char* name, const QByteArray& content) {
        QFile file(QDir(directory).filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    };
    put(standard[0], "notes.txt", "not a sheet");
    put(standard[1], "old.xml", Sheet("KF", "1.1"));
    put(standard[2], "mine.xml", Sheet("KF", "1.2", "<Form Name=\"F\"/>"));
    context.SheetDirectories = standard;
    load();
    EXPECT_EQ(takeLog(), (Lines{Loaded, Skipped("old.xml")}));

    QFile::remove(QDir(standard[1]).filePath("old.xml"));
    load();
    EXPECT_EQ(takeLog(), (Lines{Loaded, Found("mine.xml"), "lime|Vytvoren prvek :Form",
                                "info|    atribut nastaven: Name=F"}));
    EXPECT_NE(find<TForm>("F"), nullptr);
}
