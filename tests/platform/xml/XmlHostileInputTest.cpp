#include "XmlTestSupport.h"

#include <gtest/gtest.h>

namespace {

QByteArray entityBomb() {
    QByteArray dtd = "<!DOCTYPE bomb [<!ENTITY e0 \"lol\">";
    for (int level = 1; level <= 9; ++level) {
        dtd += "<!ENTITY e" + QByteArray::number(level) + " \"";
        for (int i = 0; i < 10; ++i)
            dtd += "&e" + QByteArray::number(level - 1) + ";";
        dtd += "\">";
    }
    return dtd + "]>";
}

QByteArray nested(int depth) {
    return QByteArray("<a>").repeated(depth) + "x" + QByteArray("</a>").repeated(depth);
}

} // namespace

TEST(XmlHostileInput, EntityExpansionBombsFail) {
    EXPECT_FALSE(loadError(entityBomb() + "<bomb>&e9;</bomb>").isEmpty());
    EXPECT_FALSE(loadError(entityBomb() + "<bomb a='&e9;'/>").isEmpty());

    // Many references to one mid-sized entity: each alone is harmless.
    const QByteArray wide = "<!DOCTYPE w [<!ENTITY e \"" + QByteArray(3000, 'x') + "\">]>";
    EXPECT_FALSE(loadError(wide + "<w>" + QByteArray("&e;").repeated(20000) + "</w>").isEmpty());
    EXPECT_FALSE(loadError(wide + "<w a='" + QByteArray("&e;").repeated(20000) + "'/>").isEmpty());

    // Default attribute values copied into every element.
    const QByteArray defaults =
        "<!DOCTYPE w [<!ATTLIST i v CDATA \"" + QByteArray(3000, 'x') + "\">]>";
    EXPECT_FALSE(
        loadError(defaults + "<w>" + QByteArray("<i/>").repeated(20000) + "</w>").isEmpty());
}

TEST(XmlHostileInput, ExternalEntitiesAreNotRead) {
    EXPECT_TRUE(loadError("<!DOCTYPE a [<!ENTITY x SYSTEM 'file:///etc/hostname'>]><a>1&x;2</a>")
                    .startsWith(QStringLiteral("External entity 'x' cannot be read.")));
    EXPECT_FALSE(loadError("<!DOCTYPE a SYSTEM 'a.dtd'><a>&x;</a>").isEmpty());
}

TEST(XmlHostileInput, ModestEntityUseStillLoads) {
    const IXMLNode root = rootOf("<!DOCTYPE r [<!ENTITY firm \"Konvertory s.r.o.\">]>"
                                 "<r a='&firm;'>&firm; &amp; &firm;</r>");
    EXPECT_EQ(root.attribute("a").wideTextValue(), QStringLiteral("Konvertory s.r.o."));
    EXPECT_EQ(root.text(), QStringLiteral("Konvertory s.r.o. & Konvertory s.r.o."));
}

TEST(XmlHostileInput, DeepNestingLoadsWritesWalksAndFrees) {
    constexpr int depth = 100000;
    const QByteArray source = nested(depth);
    TXMLDocument document;
    document.loadFromBytes(source);
    IXMLNode root = document.documentElement();
    EXPECT_EQ(root.xml().toUtf8(), source);

    int deepest = 0;
    int visited = 0;
    walkXMLTree(root, [&](const IXMLNode&, int level) {
        deepest = std::max(deepest, level);
        ++visited;
    });
    EXPECT_EQ(deepest, depth);
    EXPECT_EQ(visited, depth + 1);

    // Freeing the tree must not recurse either: first the document, then the last holder.
    document.setActive(false);
    root = IXMLNode();

    EXPECT_FALSE(loadError(QByteArray("<a>").repeated(depth)).isEmpty());
}

TEST(XmlHostileInput, HugeAttributeValueLoads) {
    const QByteArray value(8 << 20, 'v');
    EXPECT_EQ(rootOf("<a v='" + value + "'/>").attribute("v").wideTextValue().size(), value.size());
}

TEST(XmlHostileInput, TagWithThousandsOfAttributesFails) {
    QByteArray tag = "<a";
    for (int i = 0; i < 5000; ++i)
        tag += " a" + QByteArray::number(i) + "='1'";
    const QString message = loadError(tag + "/>");
    EXPECT_TRUE(message.startsWith(QStringLiteral("Too many attributes"))) << message.toStdString();
}

TEST(XmlHostileInput, EveryTruncationFailsCleanly) {
    const QByteArray source = "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n"
                              "<!DOCTYPE r [<!ENTITY e \"x\">]>\r\n"
                              "<r a='1&amp;&e;'><!--c--><![CDATA[d]]><?p q?>\xE8&#38;</r>\r\n";
    const qsizetype complete = source.indexOf("</r>") + 4;
    for (qsizetype length = 0; length < complete; ++length)
        EXPECT_FALSE(loadError(source.first(length)).isEmpty()) << length;
    EXPECT_TRUE(loadError(source).isEmpty());
}
