#include "ShellTestSupport.h"
#include "app/TPanel.h"
#include "app/TfWaitDialog.h"
#include "diagnostics/TfDebug.h"
#include "platform/EntryGuard.h"
#include "platform/Error.h"
#include "platform/Win1250.h"
#include "platform/dialogs/ApplicationTitle.h"
#include "platform/widgets/Button.h"
#include "platform/widgets/Edit.h"
#include "platform/widgets/Label.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>

namespace {

QRect boundsOf(const TControl* control) {
    return {control->Left(), control->Top(), control->Width(), control->Height()};
}

QString captionOf(const TButton* button) {
    return Win1250::toWide(button->Caption());
}

} // namespace

TEST_F(ShellTest, MainWindowLayout) {
    start();
    TfMain& w = fMain();
    EXPECT_EQ(w.Caption(), "Konfidor");
    EXPECT_EQ(w.ClientWidth(), 257);
    EXPECT_EQ(w.ClientHeight(), 120);
    // A fixed dialog frame with a close box and without minimise or maximise.
    EXPECT_EQ(w.Widget()->minimumSize(), w.Widget()->maximumSize());
    const Qt::WindowFlags flags = w.Widget()->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));

    EXPECT_EQ(boundsOf(w.Button3()), QRect(8, 144, 113, 25));
    EXPECT_EQ(captionOf(w.Button3()), "Create ");
    EXPECT_FALSE(w.Button3()->Enabled());
    EXPECT_EQ(boundsOf(w.bConnect()), QRect(8, 88, 113, 25));
    EXPECT_EQ(captionOf(w.bConnect()), QStringLiteral("Připojit"));
    EXPECT_TRUE(w.bConnect()->Default());
    EXPECT_EQ(boundsOf(w.Panel1()), QRect(8, 8, 241, 71));
    EXPECT_EQ(boundsOf(w.bClose()), QRect(136, 88, 113, 25));
    EXPECT_EQ(captionOf(w.bClose()), QStringLiteral("Ukončit"));

    EXPECT_EQ(w.lIPaddress()->Parent(), w.Panel1());
    EXPECT_EQ(w.lIPaddress()->Caption(), "IP adresa:");
    EXPECT_EQ(QPoint(w.lIPaddress()->Left(), w.lIPaddress()->Top()), QPoint(24, 17));
    EXPECT_EQ(w.lPassword()->Caption(), "Heslo:");
    EXPECT_EQ(QPoint(w.lPassword()->Left(), w.lPassword()->Top()), QPoint(24, 41));
    EXPECT_EQ(w.eAddress()->Parent(), w.Panel1());
    EXPECT_EQ(boundsOf(w.eAddress()), QRect(96, 14, 121, 21));
    EXPECT_EQ(w.eAddress()->Text(), StartOptions::DefaultAddress);
    EXPECT_EQ(boundsOf(w.ePassword()), QRect(96, 38, 121, 21));
    EXPECT_EQ(w.ePassword()->Text(), "ZEFIR");
    EXPECT_EQ(w.ePassword()->MaxLength(), 10);
    EXPECT_EQ(w.ePassword()->PasswordChar(), 0);
}

TEST_F(ShellTest, WaitDialogLayout) {
    start();
    TfWaitDialog& d = program().fWaitDialog();
    EXPECT_EQ(d.Caption(), "Konfidor");
    EXPECT_EQ(d.ClientWidth(), 291);
    EXPECT_EQ(d.ClientHeight(), 87);
    EXPECT_EQ(d.Widget()->minimumSize(), d.Widget()->maximumSize());
    // No title-bar buttons: the operator leaves it only through "Zrušit".
    const Qt::WindowFlags flags = d.Widget()->windowFlags();
    EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowSystemMenuHint));
    EXPECT_EQ(Win1250::toWide(d.Label1()->Caption()),
              QStringLiteral("Aplikace se pokouší o navázání spojení!"));
    EXPECT_TRUE(d.Label1()->Font()->Style().testFlag(Vcl::TFontStyle::fsBold));
    EXPECT_EQ(QPoint(d.Label1()->Left(), d.Label1()->Top()), QPoint(32, 16));
    EXPECT_EQ(boundsOf(d.Button1()), QRect(104, 48, 75, 25));
    EXPECT_EQ(captionOf(d.Button1()), QStringLiteral("Zrušit"));
    EXPECT_FALSE(d.Widget()->isVisible());
}

TEST_F(ShellTest, CommandLineFillsTheFields) {
    StartOptions options;
    options.address = QStringLiteral("127.0.0.1");
    options.password = QStringLiteral("demo");
    options.port = 4321;
    start(options);
    EXPECT_EQ(fMain().addressText(), "127.0.0.1");
    EXPECT_EQ(fMain().passwordText(), "demo");
    EXPECT_EQ(fMain().link().port(), 4321);
}

TEST_F(ShellTest, FocusStartsOnConnectAndTabWalksTheFields) {
    start();
    fMain().Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(fMain().Widget()));
    EXPECT_EQ(QApplication::focusWidget(), fMain().bConnect()->Widget());
    QWindow* window = fMain().Widget()->windowHandle();
    const QList<TControl*> order{fMain().eAddress(), fMain().ePassword(), fMain().bClose(),
                                 fMain().bConnect()};
    for (TControl* next : order) {
        QTest::keyClick(window, Qt::Key_Tab);
        EXPECT_TRUE(next->Widget()->isAncestorOf(QApplication::focusWidget()) ||
                    QApplication::focusWidget() == next->Widget())
            << next->Name().constData();
    }
}

TEST_F(ShellTest, PasswordTakesTenTypedCharactersInClear) {
    start();
    fMain().Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(fMain().Widget()));
    auto* editor = fMain().ePassword()->Widget()->findChild<QLineEdit*>();
    if (!editor)
        editor = qobject_cast<QLineEdit*>(fMain().ePassword()->Widget());
    ASSERT_NE(editor, nullptr);
    fMain().ePassword()->SetText("");
    editor->setFocus();
    for (const char key : QByteArrayLiteral("abcdefghijklmn"))
        QTest::keyClick(fMain().Widget()->windowHandle(), key);
    EXPECT_EQ(fMain().ePassword()->Text(), "abcdefghij");
    EXPECT_EQ(editor->echoMode(), QLineEdit::Normal);
}

TEST_F(ShellTest, StartIsLoggedAtEveryShow) {
    start();
    EXPECT_EQ(program().log().eventCount(), 0); // FormCreate logs nothing
    fMain().Show();
    EXPECT_EQ(eventsEndingWith(" - Start aplikace"), 1);
    EXPECT_TRUE(program().log().eventEntry(0).startsWith('O'));
    fMain().Hide();
    fMain().Show();
    EXPECT_EQ(eventsEndingWith(" - Start aplikace"), 2);
    EXPECT_FALSE(program().fDebug().isVisible());
}

TEST_F(ShellTest, DebugSwitchShowsDiagnosticsWithEveryShow) {
    StartOptions options;
    options.debugSwitch = true;
    start(options);
    fMain().Show();
    EXPECT_TRUE(program().fDebug().isVisible());
    EXPECT_TRUE(program().log().eventEntry(0).endsWith(" - Start aplikace"));
    program().fDebug().close();
    EXPECT_FALSE(program().fDebug().isVisible());
    fMain().Hide();
    fMain().Show();
    EXPECT_TRUE(program().fDebug().isVisible());
}

TEST_F(ShellTest, ErrorsOfEntryPointsReachTheErrorBox) {
    start();
    EntryGuard::guardEntry([] { throw Error(QStringLiteral("Chyba komunikace - kod:10065")); });
    EntryGuard::guardEntry([] { throw Error(QStringLiteral("Chybné heslo!")); });
    EntryGuard::guardEntry([] { throw Error(QStringLiteral("Konec.")); });
    ASSERT_EQ(dialogs.records().size(), 3u);
    for (const RecordingDialogs::Record& record : dialogs.records()) {
        EXPECT_EQ(record.kind, DialogKind::Error);
        EXPECT_EQ(record.caption, ApplicationTitle::current());
    }
    EXPECT_EQ(dialogs.records()[0].text, "Chyba komunikace - kod:10065.");
    EXPECT_EQ(dialogs.records()[1].text, QStringLiteral("Chybné heslo!"));
    EXPECT_EQ(dialogs.records()[2].text, "Konec.");
}

TEST_F(ShellTest, CreateButtonLoadsStoredConfigurationOrReportsWhy) {
    start();
    TButton* create = fMain().Button3();
    create->SetEnabled(true);
    create->Click();
    ASSERT_EQ(dialogs.records().size(), 1u);
    EXPECT_EQ(dialogs.records()[0].kind, DialogKind::Error);
    EXPECT_FALSE(fMain().xmlDevice().active());

    QFile stored(QStringLiteral("x.xm"));
    ASSERT_TRUE(stored.open(QIODevice::WriteOnly));
    stored.write("<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n<XML>\r\n"
                 "<DEVICE type=\"TEST-1\" version=\"2.0\"/>\r\n</XML>\r\n");
    stored.close();
    create->Click();
    EXPECT_EQ(dialogs.records().size(), 1u);
    ASSERT_TRUE(fMain().xmlDevice().active());
    EXPECT_EQ(fMain().xmlDevice().documentElement().nodeName(), "XML");
}

TEST_F(ShellTest, ClosingTheMainWindowEndsTheProgram) {
    start();
    fMain().Show();
    QSignalSpy closed(&fMain(), &TfMain::mainWindowClosed);
    click(fMain().bClose());
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(fMain().Widget()->isVisible());
}
