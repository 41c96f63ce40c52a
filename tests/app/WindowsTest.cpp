#include "ShellTestSupport.h"
#include "diagnostics/TfDebug.h"
#include "platform/widgets/Form.h"

#include <QCoreApplication>
#include <QListView>
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

// While a sheet window is shown modally the shortcut does nothing, whether the main
// window is visible (and disabled by the modal show) or hidden.
TEST_F(ShellTest, ShortcutDoesNothingWhileAFormIsModal) {
    start();
    for (const bool mainVisible : {true, false}) {
        fMain().Show();
        if (!mainVisible)
            fMain().Hide();
        auto sheet = sheetWindow();
        bool debugShownDuringModal = true;
        QTimer::singleShot(0, sheet.get(), [&] {
            pressCtrlAltD(sheet->Widget());
            debugShownDuringModal = program().fDebug().isVisible();
            sheet->Close();
        });
        sheet->ShowModal();
        EXPECT_FALSE(debugShownDuringModal) << "main window visible: " << mainVisible;
        // Once the modal show has ended, the shortcut works again.
        pressCtrlAltD(sheet->Widget());
        EXPECT_TRUE(program().fDebug().isVisible());
        program().fDebug().close();
    }
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
