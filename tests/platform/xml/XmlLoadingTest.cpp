#include "XmlTestSupport.h"

#include <gtest/gtest.h>

TEST(XmlLoading, IndentedFileHasOnlyItsElementsAndComments) {
    const IXMLNode root = rootOf("<?xml version=\"1.0\"?>\r\n<FORM>\r\n\t<EDIT/>\r\n"
                                 "  <!-- poznámka -->\r\n  <LABEL>\r\n  </LABEL>\r\n</FORM>\r\n");
    EXPECT_EQ(childNames(root), QStringList({"EDIT", "#comment", "LABEL"}));
    EXPECT_EQ(root.childNodes().item(1).nodeValue(), QStringLiteral(" poznámka "));
    EXPECT_EQ(root.childNodes().item(2).childNodes().count(), 0);
}

TEST(XmlLoading, WhiteSpaceRuleKeepsOrDropsWholeRuns) {
    const IXMLNode kept = rootOf("<a><b/>  x  <c/>\t\n \n<d/></a>");
    ASSERT_EQ(childNames(kept), QStringList({"b", "#text", "c", "d"}));
    EXPECT_EQ(kept.childNodes().item(1).nodeValue(), QStringLiteral("  x  "));

    // A carriage return from a reference is white space too.
    EXPECT_EQ(rootOf("<a> \t\n&#13;</a>").childNodes().count(), 0);
}

TEST(XmlLoading, ReferencesAreReplacedAndCharacterDataMerged) {
    const IXMLNode root = rootOf("<a x='a&amp;b' y=\"&#60;&#x41;&quot;&apos;\">"
                                 "1&lt;2&#10;&gt;3</a>");
    EXPECT_EQ(root.attribute("x").wideTextValue(), QStringLiteral("a&b"));
    EXPECT_EQ(root.attribute("y").wideTextValue(), QStringLiteral("<A\"'"));
    ASSERT_EQ(root.childNodes().count(), 1);
    EXPECT_EQ(root.text(), QStringLiteral("1<2\n>3"));
}

TEST(XmlLoading, CommentsCdataAndInstructionsAreNodesInPlace) {
    TXMLDocument document;
    document.loadFromBytes("<?xml version='1.0'?><!--top--><?app go?>"
                           "<a>t<![CDATA[<raw>]]>u<!--c--><?pi some data?></a><!--end-->");
    const IXMLNode root = document.documentElement();
    EXPECT_EQ(childNames(document.documentNode()),
              QStringList({"#comment", "app", "a", "#comment"}));
    EXPECT_EQ(childNames(root),
              QStringList({"#text", "#cdata-section", "#text", "#comment", "pi"}));
    const IXMLNodeList children = root.childNodes();
    EXPECT_EQ(children.item(1).nodeValue(), QStringLiteral("<raw>"));
    EXPECT_EQ(children.item(4).nodeValue(), QStringLiteral("some data"));
    EXPECT_EQ(children.item(4).nodeType(), XMLNodeType::ProcessingInstruction);
}

TEST(XmlLoading, LineEndsAreNormalisedInTextAndAttributes) {
    const IXMLNode root = rootOf("<a v='1\r\n2\r3\t4'>x\r\ny\rz</a>");
    EXPECT_EQ(root.text(), QStringLiteral("x\ny\nz"));
    // Line ends and tabs in attribute values are kept, not turned into blanks.
    EXPECT_EQ(root.attribute("v").wideTextValue(), QStringLiteral("1\n2\n3\t4"));
}

TEST(XmlLoading, NamesKeepTheirPrefixesWithoutNamespaceChecks) {
    const IXMLNode root = rootOf("<p:a xmlns:p='urn:x' q:b='1'><q:c/></p:a>");
    EXPECT_EQ(root.nodeName(), QStringLiteral("p:a"));
    EXPECT_EQ(root.attributeNodes().count(), 2);
    EXPECT_EQ(root.attribute("q:b").wideTextValue(), QStringLiteral("1"));
    EXPECT_EQ(root.childNodes().first().nodeName(), QStringLiteral("q:c"));
}

TEST(XmlLoading, DeclarationGivesDocumentValuesNotANode) {
    TXMLDocument document;
    document.loadFromBytes("<?xml version=\"1.0\" encoding='UTF-8' standalone=\"yes\"?><a/>");
    EXPECT_EQ(document.version(), QStringLiteral("1.0"));
    EXPECT_EQ(document.encoding(), QStringLiteral("UTF-8"));
    EXPECT_EQ(document.standalone(), QStringLiteral("yes"));
    EXPECT_EQ(document.documentNode().childNodes().count(), 1);

    document.loadFromBytes("<a/>");
    EXPECT_TRUE(document.version().isEmpty());
    EXPECT_TRUE(document.encoding().isEmpty());
}

TEST(XmlLoading, EncodingFromDeclarationOrByteOrderMark) {
    // 0x8A is Š in Windows-1250 and the name is compared without letter case.
    EXPECT_EQ(rootOf("<?xml version=\"1.0\" encoding=\"windows-1250\"?><a>\x8A</a>").text(),
              QStringLiteral("Š"));
    EXPECT_EQ(rootOf("<?xml version=\"1.0\" encoding=\"CP1250\"?><a>\xE8</a>").text(),
              QStringLiteral("č"));
    EXPECT_EQ(rootOf("<?xml version=\"1.0\" encoding=\"latin-2\"?><a>\xB9</a>").text(),
              QStringLiteral("š"));
    EXPECT_EQ(rootOf("<?xml version=\"1.0\" encoding=\"koi8-r\"?><a>\xC1</a>").text(),
              QStringLiteral("а"));
    // Unknown names, no declaration and a UTF-8 mark all mean UTF-8.
    EXPECT_EQ(rootOf("<?xml version=\"1.0\" encoding=\"x-unknown\"?><a>\xC5\xA1</a>").text(),
              QStringLiteral("š"));
    EXPECT_EQ(rootOf("<a>\xC5\xA1</a>").text(), QStringLiteral("š"));
    EXPECT_EQ(rootOf("\xEF\xBB\xBF<a>\xC5\xA1</a>").text(), QStringLiteral("š"));
    // A byte-order mark wins over the declaration.
    const QString text =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"windows-1250\"?><a>Ž</a>");
    QByteArray littleEndian("\xFF\xFE", 2);
    QByteArray bigEndian("\xFE\xFF", 2);
    for (QChar ch : text) {
        littleEndian.append(char(ch.unicode() & 0xFF)).append(char(ch.unicode() >> 8));
        bigEndian.append(char(ch.unicode() >> 8)).append(char(ch.unicode() & 0xFF));
    }
    EXPECT_EQ(rootOf(littleEndian).text(), QStringLiteral("Ž"));
    EXPECT_EQ(rootOf(bigEndian).text(), QStringLiteral("Ž"));
}

TEST(XmlLoading, UndefinedBytesFailTheLoad) {
    const QByteArray declaration = "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n";
    for (const char* bad : {"\x80", "\x81", "\x83", "\x88", "\x90", "\x98"}) {
        const QString message = loadError(declaration + "<a>\r\n<b>x" + bad + "y</b></a>");
        EXPECT_EQ(message,
                  QStringLiteral("Invalid Windows-1250 sequence \"0x%1\"\r\nLine: 3\r\n<b>x")
                      .arg(QString::number(uchar(bad[0]), 16).toUpper()));
    }
    EXPECT_EQ(loadError("<a>\xC5</a>"),
              QStringLiteral("Invalid UTF-8 sequence \"0xC5\"\r\nLine: 1\r\n<a>"));
    EXPECT_EQ(loadError("<a>ok</a>\n<b>\xED\xA0\x80</b>").section(u'\r', 0, 0),
              QStringLiteral("Invalid UTF-8 sequence \"0xED\""));
}

TEST(XmlLoading, ParseErrorNamesReasonLineAndSource) {
    const QString message = loadError(
        "<a>\r\n  <b>\r\n  <c x='1'>0123456789012345678901234567890123456789</b>\r\n</a>");
    const QStringList parts = message.split(QStringLiteral("\r\n"));
    ASSERT_EQ(parts.size(), 3) << message.toStdString();
    EXPECT_FALSE(parts[0].isEmpty());
    EXPECT_EQ(parts[1], QStringLiteral("Line: 3"));
    EXPECT_EQ(parts[2], QStringLiteral("  <c x='1'>01234567890123456789012345678"));

    // Line ends kept inside attribute values do not shift the line count.
    EXPECT_TRUE(
        loadError("<a x='1\n2\n3'>\n<b></c>\n</a>").contains(QStringLiteral("\r\nLine: 4\r\n")));
    EXPECT_TRUE(
        loadError("<a>&nbsp;</a>").startsWith(QStringLiteral("Entity 'nbsp' not declared.")));
    EXPECT_TRUE(
        loadError("<a x='&nbsp;'/>").startsWith(QStringLiteral("Entity 'nbsp' not declared.")));
    EXPECT_FALSE(loadError("").isEmpty());
    EXPECT_FALSE(loadError("<a><b></a>").isEmpty());
}

TEST(XmlLoading, LargeDocumentsLoadWhole) {
    // The parser reads a long text in pieces: no node may break where one ends,
    // not even between the halves of a character beyond the first plane.
    const QByteArray smile = "\xF0\x9F\x98\x80";
    QByteArray source = "<r><!--" + QByteArray(65528, 'p') + smile + "-->";
    const QByteArray item = "<e a='x" + smile + "y'>t" + smile + "<![CDATA[c]]>u<!--m--></e>";
    for (int i = 0; i < 9000; ++i)
        source += item;
    const IXMLNode root = rootOf(source + "</r>");
    const IXMLNodeList children = root.childNodes();
    ASSERT_EQ(children.count(), 9001);
    EXPECT_TRUE(children.item(0).nodeValue().endsWith(QString::fromUtf8(smile)));
    for (int i = 1; i < children.count(); ++i) {
        const IXMLNode e = children.item(i);
        ASSERT_EQ(e.attribute("a").wideTextValue(), QString::fromUtf8("x" + smile + "y")) << i;
        ASSERT_EQ(childNames(e), QStringList({"#text", "#cdata-section", "#text", "#comment"}))
            << i;
        ASSERT_EQ(e.childNodes().first().nodeValue(), QString::fromUtf8("t" + smile)) << i;
    }
}
