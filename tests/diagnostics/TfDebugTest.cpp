#include "diagnostics/TfDebug.h"

#include "diagnostics/CommunicationLogView.h"
#include "diagnostics/DiagnosticLog.h"
#include "diagnostics/EventLogModel.h"

#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBlock>
#include <QTreeWidget>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace {

class TfDebugTest : public ::testing::Test {
protected:
    QTime time{14, 5, 7};
    DiagnosticLog log{[this] {
        return time;
    }};
};

// The text colour of each line of the communication log, read from the document.
std::vector<QColor> lineColours(const QPlainTextEdit& edit) {
    std::vector<QColor> colours;
    for (QTextBlock block = edit.document()->firstBlock(); block.isValid(); block = block.next()) {
        const QTextLayout::FormatRange& range = block.textFormats().first();
        colours.push_back(range.format.foreground().color());
    }
    return colours;
}

} // namespace

TEST_F(TfDebugTest, LayoutAndFirstTabShown) {
    TfDebug window(log);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Debug"));
    EXPECT_EQ(window.size(), QSize(409, 522));
    QStringList tabs;
    for (int i = 0; i < window.PageControl1()->count(); ++i)
        tabs << window.PageControl1()->tabText(i);
    EXPECT_EQ(tabs,
              (QStringList{"Log", "ScriptFunctions", "Communication", "Device XML", "Sheet XML",
                           QStringLiteral("Změny")}));

    window.showAndRaise();
    EXPECT_EQ(window.PageControl1()->currentWidget(), window.reCommunication()->parentWidget());
    EXPECT_EQ(window.VSTDeviceXML()->headerItem()->text(0), QStringLiteral("Name"));
    EXPECT_EQ(window.VSTDeviceXML()->headerItem()->text(1), QStringLiteral("Value"));
}

TEST_F(TfDebugTest, EntriesLoggedWhileHiddenAreShownAndSurviveClosing) {
    log.LogInfo("before the window existed");
    TfDebug window(log);
    log.LogColor(0x00FF00, "Vytvořen TButton");
    log.LogComm(0x000080, "Connect");

    // Entries reach the views through the message loop; the communication view, the
    // costly one, fills only once it is shown.
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.logModel()->rowCount() == 2; }));
    EXPECT_TRUE(window.reCommunication()->toPlainText().isEmpty());
    window.showAndRaise();
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return window.reCommunication()->document()->blockCount() == 1 &&
               !window.reCommunication()->toPlainText().isEmpty();
    }));

    window.PageControl1()->setCurrentIndex(0);
    window.LogListBox()->setCurrentIndex(window.logModel()->index(1));
    const QString raw = QString::fromUtf8("#00FF0014:05:07 - Vytvořen TButton");
    EXPECT_EQ(window.Memo1()->toPlainText(), raw);

    window.close();
    EXPECT_FALSE(window.isVisible());
    log.LogError("while closed");
    window.showAndRaise(); // a hidden window catches up at once when shown
    EXPECT_EQ(window.logModel()->rowCount(), 3);
    EXPECT_EQ(window.Memo1()->toPlainText(), raw);
    EXPECT_EQ(window.reCommunication()->toPlainText(), QStringLiteral("14:05:07 - Connect"));
    EXPECT_EQ(window.PageControl1()->currentIndex(), 0); // the operator's tab stays
}

TEST_F(TfDebugTest, ClickingAnotherEntryShowsItsRawText) {
    TfDebug window(log);
    log.LogInfo("Start aplikace");
    log.LogError("Chyba");
    window.catchUp();
    window.LogListBox()->setCurrentIndex(window.logModel()->index(0));
    EXPECT_EQ(window.Memo1()->toPlainText(), QStringLiteral("O14:05:07 - Start aplikace"));
    window.LogListBox()->setCurrentIndex(window.logModel()->index(1));
    EXPECT_EQ(window.Memo1()->toPlainText(), QStringLiteral("E14:05:07 - Chyba"));
}

TEST_F(TfDebugTest, CommunicationLinesKeepTheirOwnColours) {
    TfDebug window(log);
    log.LogComm(0x000080, "Connecting");
    log.LogComm(0x008000, QByteArray("<XML>\r\n<DEVICE/>\r\n</XML>"));
    log.LogComm(0x000080, "Disconnect");
    window.catchUp();

    EXPECT_EQ(
        window.reCommunication()->toPlainText(),
        QStringLiteral(
            "14:05:07 - Connecting\n14:05:07 - <XML>\n<DEVICE/>\n</XML>\n14:05:07 - Disconnect"));
    const QColor maroon(128, 0, 0), green(0, 128, 0);
    EXPECT_EQ(lineColours(*window.reCommunication()),
              (std::vector<QColor>{maroon, green, green, green, maroon}));
}

TEST_F(TfDebugTest, ScriptFunctionEntriesShowTheirOwnBodies) {
    log.addScriptFunction("onShow", [] { return QByteArray("{ Label1.Caption = \"p\xF8\"; "); });
    TfDebug window(log);
    log.addScriptFunction("onShow", [] { return QByteArray("{ Label1.Caption = 2; "); });
    log.addScriptFunction("lost", {});

    QListWidget* list = window.lbScriptFunctions();
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("onShow"));

    list->setCurrentRow(0);
    EXPECT_EQ(window.mScriptFunctionsView()->toPlainText(),
              QString::fromUtf8("{ Label1.Caption = \"př\"; "));
    list->setCurrentRow(1);
    EXPECT_EQ(window.mScriptFunctionsView()->toPlainText(),
              QStringLiteral("{ Label1.Caption = 2; "));
    list->setCurrentRow(2);
    EXPECT_EQ(window.mScriptFunctionsView()->toPlainText(), QString());
}

TEST_F(TfDebugTest, ClosingTheWindowNeverEndsTheProgram) {
    TfDebug window(log);
    EXPECT_FALSE(window.testAttribute(Qt::WA_QuitOnClose));
}

TEST_F(TfDebugTest, ALargeCommunicationBacklogIsShownCompletelyAndInOrder) {
    CommunicationLogView view(log);
    view.show();
    constexpr int kLines = 25000;
    for (int i = 0; i < kLines; ++i)
        log.LogComm(0x008000, QByteArray::number(i));
    ASSERT_TRUE(QTest::qWaitFor([&] { return view.document()->blockCount() == kLines; }, 30000));
    EXPECT_EQ(view.document()->findBlockByNumber(kLines - 1).text(),
              QStringLiteral("14:05:07 - 24999"));
    EXPECT_EQ(view.document()->findBlockByNumber(12345).text(), QStringLiteral("14:05:07 - 12345"));
}
