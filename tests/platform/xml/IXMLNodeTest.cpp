#include "XmlTestSupport.h"

#include <gtest/gtest.h>

TEST(IXMLNode, NamesMatchExactlyOrByLocalName) {
    const IXMLNode root = rootOf("<r type='t' x:mode='m'><x:GROUP/><group/><GROUP id='2'/></r>");
    EXPECT_TRUE(root.attribute("Type").isNull());
    EXPECT_EQ(root.attribute("type").wideTextValue(), QStringLiteral("t"));
    EXPECT_EQ(root.attribute("x:mode").wideTextValue(), QStringLiteral("m"));
    EXPECT_EQ(root.attribute("mode").wideTextValue(), QStringLiteral("m"));
    EXPECT_EQ(root.attribute("type").kind(), VarKind::OleStr);

    const IXMLNodeList children = root.childNodes();
    EXPECT_EQ(children.find("GROUP"), children.item(0));
    EXPECT_EQ(children.find("group"), children.item(1));
    EXPECT_TRUE(children.find("Group").isNull());
    EXPECT_EQ(children.count(), 3);
}

TEST(IXMLNode, FindOrCreateAppendsAndChangesTheXmlText) {
    const IXMLNode root = rootOf("<XML><NET ip='1'/></XML>");
    const IXMLNode existing = root.childNodes().findOrCreate("NET");
    EXPECT_EQ(existing, root.childNodes().first());

    const IXMLNode created = root.childNodes().findOrCreate("DEVICE");
    EXPECT_EQ(created.nodeType(), XMLNodeType::Element);
    EXPECT_EQ(root.childNodes().count(), 2);
    EXPECT_EQ(root.xml(), QStringLiteral("<XML><NET ip=\"1\"></NET><DEVICE></DEVICE></XML>"));

    const IXMLNode attribute = created.attributeNodes().findOrCreate("type");
    EXPECT_EQ(attribute.nodeType(), XMLNodeType::Attribute);
    EXPECT_EQ(created.attribute("type").wideTextValue(), QString());
    EXPECT_FALSE(created.attribute("type").isNull());
    EXPECT_EQ(created.attributeNodes().findOrCreate("type"), attribute);
    EXPECT_EQ(root.xml(),
              QStringLiteral("<XML><NET ip=\"1\"></NET><DEVICE type=\"\"></DEVICE></XML>"));

    // Plain find and the attribute read create nothing.
    EXPECT_TRUE(root.childNodes().find("COM").isNull());
    EXPECT_TRUE(root.attribute("COM").isNull());
    EXPECT_EQ(root.childNodes().count(), 2);
    EXPECT_EQ(root.attributeNodes().count(), 0);

    // Text nodes hold neither children nor attributes.
    const IXMLNode text = rootOf("<a>t</a>").childNodes().first();
    EXPECT_THROW(text.childNodes().findOrCreate("b"), Error);
    EXPECT_THROW(text.attributeNodes().findOrCreate("b"), Error);
}

TEST(IXMLNode, AttributeWriteKeepsItsPlace) {
    const IXMLNode root = rootOf("<COM baud='9600' parity='N' bits='8'/>");
    root.attributeNodes().find("parity").setNodeValue(QStringLiteral("E&\"x\"\n"));
    EXPECT_EQ(root.xml(), QStringLiteral("<COM baud=\"9600\" parity=\"E&#38;&#34;x&#34;\n\" "
                                         "bits=\"8\"></COM>"));
    EXPECT_THROW(root.setNodeValue(QStringLiteral("x")), Error);
}

TEST(IXMLNode, TextOfAnElementFollowsTheSingleTextRule) {
    const IXMLNode root =
        rootOf("<r><SCRIPT/><t>abc</t><c><![CDATA[x<y]]></c><m>a<!--k-->b</m><n>a<![CDATA[b]]></n>"
               "<e><i/></e></r>");
    const IXMLNode script = root.childNodes().find("SCRIPT");
    EXPECT_EQ(script.text(), QString());
    ASSERT_EQ(script.childNodes().count(), 1);
    EXPECT_EQ(script.childNodes().first().nodeName(), QStringLiteral("#text"));
    EXPECT_EQ(script.xml(), QStringLiteral("<SCRIPT></SCRIPT>"));

    EXPECT_EQ(root.childNodes().find("t").text(), QStringLiteral("abc"));
    EXPECT_EQ(root.childNodes().find("c").text(), QStringLiteral("x<y"));
    for (const char* mixed : {"m", "n", "e"}) {
        try {
            root.childNodes().find(mixed).text();
            ADD_FAILURE() << mixed;
        } catch (const Error& error) {
            EXPECT_EQ(error.message(),
                      QStringLiteral("Element does not contain a single text node"));
        }
    }
    // Other nodes give their value.
    EXPECT_EQ(root.childNodes().find("m").childNodes().item(1).text(), QStringLiteral("k"));
}

TEST(IXMLNode, XmlTextEscapesAndAlwaysWritesBothTags) {
    TXMLDocument document;
    document.loadFromBytes("<?xml version='1.0'?><!-- a<b --><r a='x&amp;y' b=\"'\"><e/>"
                           "t&lt;&gt;&apos;&quot;<![CDATA[<&>]]><?pi d?></r>");
    EXPECT_EQ(document.documentElement().xml(),
              QStringLiteral("<r a=\"x&#38;y\" b=\"&#39;\"><e></e>t&#60;&#62;&#39;&#34;"
                             "<![CDATA[<&>]]><?pi d?></r>"));
    EXPECT_EQ(document.documentNode().childNodes().first().xml(), QStringLiteral("<!-- a<b -->"));
    EXPECT_EQ(document.documentElement().attributeNodes().first().xml(),
              QStringLiteral("a=\"x&#38;y\""));
}

TEST(IXMLNode, SiblingsAndParents) {
    const IXMLNode root = rootOf("<r a='1' b='2'><x/>t<y/></r>");
    const IXMLNode x = root.childNodes().first();
    EXPECT_EQ(x.nextSibling().nodeName(), QStringLiteral("#text"));
    EXPECT_EQ(x.nextSibling().nextSibling().nodeName(), QStringLiteral("y"));
    EXPECT_TRUE(x.nextSibling().nextSibling().nextSibling().isNull());
    EXPECT_EQ(x.parentNode(), root);
    EXPECT_EQ(root.attributeNodes().first().nextSibling().nodeName(), QStringLiteral("b"));
    EXPECT_THROW(root.childNodes().item(3), Error);
    EXPECT_THROW(root.childNodes().item(-1), Error);
    EXPECT_THROW(IXMLNode().nodeName(), Error);
    EXPECT_TRUE(rootOf("<r/>").childNodes().first().isNull());
}

TEST(IXMLNode, NodesOutliveTheirDocument) {
    TXMLDocument document;
    document.loadFromBytes("<r><g v='1'>t</g><h/></r>");
    const IXMLNode g = document.documentElement().childNodes().first();
    const IXMLNode h = g.nextSibling();
    document.loadFromBytes("<other/>");
    EXPECT_EQ(g.attribute("v").wideTextValue(), QStringLiteral("1"));
    EXPECT_EQ(g.text(), QStringLiteral("t"));
    document.setActive(false);
    // The old tree stays whole around what is held, apart from any document.
    EXPECT_EQ(g.nextSibling(), h);
    EXPECT_EQ(g.parentNode().nodeName(), QStringLiteral("r"));
    EXPECT_EQ(g.parentNode().parentNode().nodeName(), QStringLiteral("#document"));
    g.childNodes().findOrCreate("new");
    EXPECT_EQ(g.parentNode().xml(), QStringLiteral("<r><g v=\"1\">t<new></new></g><h></h></r>"));

    // Names and values read out of a tree stay valid after the whole tree is gone.
    QString name, value;
    {
        const IXMLNode attribute = rootOf("<a long-name='some value'/>").attributeNodes().first();
        name = attribute.nodeName();
        value = attribute.nodeValue();
    }
    EXPECT_EQ(name + value, QStringLiteral("long-namesome value"));
}

TEST(IXMLNode, WalkVisitsEveryNodeInDocumentOrder) {
    TXMLDocument document;
    document.loadFromBytes("<!--c--><r><a><b/>t</a><SCRIPT/></r>");
    QStringList seen;
    walkXMLTree(document.documentNode(), [&seen](const IXMLNode& node, int depth) {
        seen << QString::number(depth) + node.nodeName();
        if (node.nodeName() == u"SCRIPT")
            node.text(); // adds a child while the walk runs
    });
    EXPECT_EQ(seen, QStringList({"0#document", "1#comment", "1r", "2a", "3b", "3#text", "2SCRIPT",
                                 "3#text"}));
}
