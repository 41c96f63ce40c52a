#include "ShellTestSupport.h"
#include "diagnostics/TfDebug.h"
#include "platform/widgets/Form.h"

#include <QCoreApplication>
#include <QListView>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

namespace {

// A window as a sheet builds it.
std::unique_ptr<TForm> sheetWindow() {
    auto form = std::make_unique<TForm>();
    form->SetCaption("Sheet");
    form->SetClientWidth(200);
    form->SetClientHeight(100);
    return form;
}

} // namespace

TEST_F(ShellTest, ShortcutOpensDiagnosticsFromASheetWindowWhileMainIsHidden) {
    start();
    fMain().Show();
    fMain().Hide();
    auto sheet = sheetWindow();
    sheet->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(sheet->Widget()));
    pressCtrlAltD(sheet->Widget());
    EXPECT_TRUE(program().fDebug().isVisible());
    // Pressed again on the diagnostics window itself, it stays open.
    pressCtrlAltD(&program().fDebug());
    EXPECT_TRUE(program().fDebug().isVisible());
}

TEST_F(ShellTest, ShortcutNeedsCtrlAndAltOnly) {
    start();
    fMain().Show();
    QWindow* window = fMain().Widget()->windowHandle();
    QTest::keyClick(window, Qt::Key_D, Qt::ControlModifier);
    QTest::keyClick(window, Qt::Key_D, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_FALSE(program().fDebug().isVisible());
    pressCtrlAltD(fMain().Widget());
    EXPECT_TRUE(program().fDebug().isVisible());
}

// Over a sheet window shown modally with the main window hidden, the shortcut opens a
// diagnostics window the operator can use: its pages switch and it closes while the
// sheet stays modal. A main window that the modal show disabled refuses it.
TEST_F(ShellTest, ShortcutOverAModalSheetOpensAUsableDiagnosticsWindow) {
    start();
    TfDebug& debug = program().fDebug();
    for (const bool mainVisible : {false, true}) {
        fMain().Show();
        if (!mainVisible)
            fMain().Hide();
        auto sheet = sheetWindow();
        bool shown = false;
        bool pageSwitched = false;
        bool sheetStillModal = false;
        QTimer::singleShot(0, sheet.get(), [&] {
            pressCtrlAltD(sheet->Widget());
            shown = debug.isVisible();
            if (shown && QTest::qWaitForWindowExposed(&debug)) {
                const QTabBar* tabs = debug.PageControl1()->tabBar();
                const QPoint logTab = tabs->mapTo(&debug, tabs->tabRect(0).center());
                QTest::mouseClick(debug.windowHandle(), Qt::LeftButton, {}, logTab);
                pageSwitched = debug.PageControl1()->currentIndex() == 0;
                debug.close();
            }
            sheetStillModal = sheet->IsModal();
            sheet->Close();
        });
        sheet->ShowModal();
        EXPECT_EQ(shown, !mainVisible) << "main window visible: " << mainVisible;
        EXPECT_EQ(pageSwitched, !mainVisible);
        EXPECT_TRUE(sheetStillModal);
        EXPECT_FALSE(debug.isVisible());
    }

    // Open before the sheet is shown modally, it stays usable.
    fMain().Hide();
    debug.showAndRaise();
    auto sheet = sheetWindow();
    bool usable = false;
    QTimer::singleShot(0, sheet.get(), [&] {
        usable = debug.isEnabled();
        sheet->Close();
    });
    sheet->ShowModal();
    EXPECT_TRUE(usable);
}

TEST_F(ShellTest, ClosingAnotherWindowWhileMainIsHiddenKeepsTheProgramRunning) {
    start();
    fMain().Show();
    fMain().Hide();
    auto sheet = sheetWindow();
    sheet->Show();
    program().fDebug().showAndRaise();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(sheet->Widget()));
    // Both windows close in the running event loop; had that ended the program, the
    // loop would return before the last step asks for the marker exit code.
    QTimer::singleShot(0, sheet.get(), [&] {
        program().fDebug().close();
        sheet->Close();
        QTimer::singleShot(0, [] { QTimer::singleShot(0, [] { QCoreApplication::exit(42); }); });
    });
    EXPECT_EQ(QCoreApplication::exec(), 42);
    EXPECT_FALSE(fMain().Widget()->isVisible());
}

TEST_F(ShellTest, ClosingDiagnosticsKeepsItsContent) {
    start();
    fMain().Show();
    pressCtrlAltD(fMain().Widget());
    program().fDebug().close();
    fMain().Hide();
    fMain().Show();
    pressCtrlAltD(fMain().Widget());
    EXPECT_TRUE(program().fDebug().isVisible());
    program().fDebug().catchUp();
    EXPECT_EQ(program().fDebug().LogListBox()->model()->rowCount(), 2);
}
