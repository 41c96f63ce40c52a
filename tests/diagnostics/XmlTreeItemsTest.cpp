#include "diagnostics/XmlTreeItems.h"

#include "diagnostics/DiagnosticLog.h"
#include "diagnostics/TfDebug.h"
#include "platform/xml/TXMLDocument.h"

#include <QThread>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

// A stand-in document: node n has the children listed for it.
struct Doc {
    std::vector<std::vector<int>> children;
    std::vector<XmlTreeItems::Row> rows;

    std::unique_ptr<QTreeWidgetItem> items() const {
        return XmlTreeItems::build(
            0, [this](int n) { return rows[static_cast<std::size_t>(n)]; },
            [this](int n) { return children[static_cast<std::size_t>(n)]; });
    }
};

// A chain of nested elements, each the only child of the one before.
Doc chain(int depth) {
    Doc doc;
    for (int i = 0; i < depth; ++i) {
        doc.children.push_back(i + 1 < depth ? std::vector<int>{i + 1} : std::vector<int>{});
        doc.rows.push_back({QStringLiteral("E"), QString::number(i)});
    }
    return doc;
}

} // namespace

TEST(XmlTreeItems, NamesValuesAndDocumentOrder) {
    Doc doc;
    doc.children = {{1, 2, 3}, {4}, {}, {}, {}};
    doc.rows = {
        {"DEVICE", ""}, {"NET", ""}, {"type", "KF-100"}, {"#text", "abc"}, {"IP", "10.0.0.1"}};
    const std::unique_ptr<QTreeWidgetItem> top = doc.items();

    EXPECT_EQ(top->text(0), QStringLiteral("DEVICE"));
    ASSERT_EQ(top->childCount(), 3);
    EXPECT_EQ(top->child(0)->text(0), QStringLiteral("NET"));
    EXPECT_EQ(top->child(1)->text(1), QStringLiteral("KF-100"));
    EXPECT_EQ(top->child(2)->text(1), QStringLiteral("abc"));
    ASSERT_EQ(top->child(0)->childCount(), 1);
    EXPECT_EQ(top->child(0)->child(0)->text(1), QStringLiteral("10.0.0.1"));
}

TEST(XmlTreeItems, DeeplyNestedDocumentsFillReplaceAndFreeWithoutRecursion) {
    constexpr int kDepth = 100000;
    TXMLDocument deep;
    deep.loadFromBytes(QByteArray("<a x=\"0\">").repeated(kDepth) +
                       QByteArray("</a>").repeated(kDepth));
    DiagnosticLog log;
    {
        TfDebug window(log);
        window.ShowDeviceXML(deep);
        window.ShowSheetXML(deep);
        window.catchUp();
        window.show();
        QTreeWidgetItem* item = window.VSTDeviceXML()->topLevelItem(0);
        ASSERT_NE(item, nullptr);
        int depth = 1;
        while (item->childCount() == 2) { // the attribute, then the nested element
            EXPECT_EQ(item->child(0)->text(0), QStringLiteral("x"));
            item = item->child(1);
            ++depth;
        }
        EXPECT_EQ(depth, kDepth);

        window.ShowDeviceXML(deep); // replaces the deep tree
        window.catchUp();
        EXPECT_EQ(window.VSTDeviceXML()->topLevelItemCount(), 1);
        window.ShowDeviceXML(nullptr);
        EXPECT_EQ(window.VSTDeviceXML()->topLevelItemCount(), 0);
    } // the window goes with a deep sheet tree still in it
}

TEST(XmlTreeItems, BuildingAndFreeingNeedNoStackPerLevel) {
    // On a small stack a recursion over a hundred thousand levels cannot succeed.
    bool done = false;
    std::unique_ptr<QThread> thread(QThread::create([&done] {
        XmlTreeItems::release(chain(100000).items());
        done = true;
    }));
    thread->setStackSize(256 * 1024);
    thread->start();
    ASSERT_TRUE(thread->wait(QDeadlineTimer(120000)));
    EXPECT_TRUE(done);
}

TEST(XmlDocumentTree, ElementsWithTheirAttributesThenTheirContent) {
    TXMLDocument document;
    document.loadFromBytes(QByteArray("<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n"
                                      "<DEVICE type=\"KF-100\" version=\"1.2\">\r\n"
                                      "  <NET IP=\"10.0.0.1\"/>\r\n"
                                      "  <NAME>\xC8"
                                      "erpadlo</NAME>\r\n"
                                      "</DEVICE>\r\n"));
    DiagnosticLog log;
    TfDebug window(log);
    window.ShowDeviceXML(document);
    // The items are made once the tree is shown.
    EXPECT_EQ(window.VSTDeviceXML()->topLevelItemCount(), 0);
    window.showAndRaise();
    window.PageControl1()->setCurrentWidget(window.VSTDeviceXML()->parentWidget());

    ASSERT_EQ(window.VSTDeviceXML()->topLevelItemCount(), 1);
    const QTreeWidgetItem* device = window.VSTDeviceXML()->topLevelItem(0);
    EXPECT_EQ(device->text(0), QStringLiteral("DEVICE"));
    QStringList rows;
    for (int i = 0; i < device->childCount(); ++i)
        rows << device->child(i)->text(0) + u'=' + device->child(i)->text(1);
    EXPECT_EQ(rows, (QStringList{"type=KF-100", "version=1.2", "NET=", "NAME="}));
    EXPECT_EQ(device->child(2)->child(0)->text(1), QStringLiteral("10.0.0.1"));
    EXPECT_EQ(device->child(3)->child(0)->text(0), QStringLiteral("#text"));
    EXPECT_EQ(device->child(3)->child(0)->text(1), QString::fromUtf8("Čerpadlo"));

    window.ShowDeviceXML(TXMLDocument()); // an inactive document empties the tree
    EXPECT_EQ(window.VSTDeviceXML()->topLevelItemCount(), 0);
}
