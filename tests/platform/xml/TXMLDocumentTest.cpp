#include "XmlTestSupport.h"
#include "platform/Win1250.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString testData(const QString& name) {
    return QDir(qEnvironmentVariable("KONFIDOR_TEST_DATA")).filePath(QStringLiteral("xml/") + name);
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Names, values and kinds of a whole tree, in document order.
QString treeDump(const IXMLNode& start) {
    QString dump;
    walkXMLTree(start, [&dump](const IXMLNode& node, int depth) {
        dump += QString::number(depth) + u' ' + node.nodeName() + u'=' + node.nodeValue();
        const IXMLNodeList attributes = node.attributeNodes();
        for (int i = 0; i < attributes.count(); ++i)
            dump += u' ' + attributes.item(i).xml();
        dump += u'\n';
    });
    return dump;
}

const QByteArray kExpectedDeviceXml =
    "<XML><DEVICE type=\"KONV-485\" version=\"2.1\"></DEVICE>"
    "<NET ip=\"10.0.0.2\" mask=\"255.255.255.0\" dhcp=\"0\"></NET>"
    "<INFO name=\"\xC8"
    "erpac\xED stanice\" location=\"Hala \xDAst\xED, sklad \xE8. 2\" "
    "note=\"A&#38;B &#60;hlavn\xED&#62;\"></INFO>"
    "<!-- nastaven\xED linky --><COM baud=\"9600\" parity=\"N\"></COM>";

} // namespace

TEST(TXMLDocument, DeviceConfigurationRoundTripsByteForByte) {
    TXMLDocument document;
    document.loadFromFile(testData(QStringLiteral("device-1250.xml")));
    EXPECT_EQ(document.encoding(), QStringLiteral("windows-1250"));
    const IXMLNode root = document.documentElement();
    EXPECT_EQ(Win1250::fromWide(root.xml()), kExpectedDeviceXml + "</XML>");
    EXPECT_EQ(root.childNodes().find("INFO").attribute("name").wideTextValue(),
              QStringLiteral("Čerpací stanice"));

    root.childNodes().findOrCreate("GROUP");
    EXPECT_EQ(Win1250::fromWide(root.xml()), kExpectedDeviceXml + "<GROUP></GROUP></XML>");
}

TEST(TXMLDocument, ActiveFileNameAndEmptiness) {
    TXMLDocument document;
    EXPECT_FALSE(document.active());
    EXPECT_TRUE(document.isEmpty());
    for (const auto& inactiveUse : std::initializer_list<std::function<void()>>{
             [&] { document.documentElement(); }, [&] { document.documentNode(); },
             [&] { document.saveToFile(QStringLiteral("never.xml")); },
             [&] {
                 document.setEncoding(QStringLiteral("UTF-8"));
             }}) {
        try {
            inactiveUse();
            ADD_FAILURE();
        } catch (const Error& error) {
            EXPECT_EQ(error.message(), QStringLiteral("No active document"));
        }
    }
    try {
        document.setActive(true);
        ADD_FAILURE();
    } catch (const Error& error) {
        EXPECT_EQ(error.message(), QStringLiteral("FileName cannot be blank"));
    }
    EXPECT_THROW(document.loadFromFile(QString()), Error);

    const QString device = testData(QStringLiteral("device-1250.xml"));
    document.setFileName(device);
    EXPECT_FALSE(document.active());
    document.setActive(true);
    EXPECT_FALSE(document.isEmpty());
    EXPECT_EQ(document.fileName(), device);

    // Changing the name closes a document loaded from a file, not one loaded from bytes.
    document.setFileName(QStringLiteral("other.xml"));
    EXPECT_FALSE(document.active());
    document.loadFromBytes("<a/>");
    document.setFileName(device);
    EXPECT_TRUE(document.active());
    EXPECT_EQ(document.documentElement().nodeName(), QStringLiteral("a"));

    document.loadFromBytes("<!--only a comment--><a/>");
    EXPECT_EQ(document.documentElement().nodeName(), QStringLiteral("a"));

    // A failed load leaves the document inactive; so does a missing file.
    EXPECT_FALSE(loadError("<a>").isEmpty());
    EXPECT_THROW(document.loadFromFile(testData(QStringLiteral("missing.xml"))), Error);
    EXPECT_FALSE(document.active());
}

TEST(TXMLDocument, SavesUtf8WithCrLfAfterChoosingUtf8) {
    QTemporaryDir dir;
    TXMLDocument document;
    document.loadFromFile(testData(QStringLiteral("device-1250.xml")));
    document.setEncoding(QStringLiteral("UTF-8"));
    const QString saved = dir.filePath(QStringLiteral("saved.xml"));
    document.saveToFile(saved);

    const QByteArray bytes = fileBytes(saved);
    EXPECT_TRUE(bytes.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<XML><DEVICE "));
    EXPECT_TRUE(bytes.endsWith("<COM baud=\"9600\" parity=\"N\"></COM></XML>\r\n"));
    EXPECT_EQ(bytes.count("\n"), 2);
    EXPECT_EQ(bytes.count("\r\n"), 2);
    EXPECT_TRUE(bytes.contains(QStringLiteral("Čerpací stanice").toUtf8()));

    TXMLDocument reloaded;
    reloaded.loadFromFile(saved);
    EXPECT_EQ(treeDump(reloaded.documentNode()), treeDump(document.documentNode()));
}

TEST(TXMLDocument, SavesUtf16ForOtherEncodingsAndTheTreeSurvives) {
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("source.xml"));
    writeFile(source, "<?xml version=\"1.0\" encoding=\"windows-1250\" standalone=\"no\"?>\r\n"
                      "<!--top-->\r\n<r a='1\r\n\t2'>\xE8\r\nx<![CDATA[c]]><?p d?></r>\r\n");
    TXMLDocument document;
    document.loadFromFile(source);
    const QString saved = dir.filePath(QStringLiteral("saved.xml"));
    document.saveToFile(saved);

    const QByteArray bytes = fileBytes(saved);
    const QString expected =
        QStringLiteral("\uFEFF<?xml version=\"1.0\" encoding=\"UTF-16\" standalone=\"no\"?>\n"
                       "<!--top-->\n<r a=\"1\n\t2\">č\nx<![CDATA[c]]><?p d?></r>\n");
    EXPECT_EQ(bytes,
              QByteArray(reinterpret_cast<const char*>(expected.utf16()), expected.size() * 2));

    TXMLDocument reloaded;
    reloaded.loadFromFile(saved);
    EXPECT_EQ(reloaded.encoding(), QStringLiteral("UTF-16"));
    EXPECT_EQ(treeDump(reloaded.documentNode()), treeDump(document.documentNode()));
}

TEST(TXMLDocument, SaveWithoutDeclarationWritesDefaults) {
    QTemporaryDir dir;
    TXMLDocument document;
    document.loadFromBytes("<a>x\ny</a>");
    const QString saved = dir.filePath(QStringLiteral("plain.xml"));
    document.saveToFile(saved);
    EXPECT_EQ(fileBytes(saved), "<?xml version=\"1.0\"?>\r\n<a>x\r\ny</a>\r\n");
    EXPECT_THROW(document.saveToFile(dir.filePath(QStringLiteral("no/such/dir/x.xml"))), Error);
}
