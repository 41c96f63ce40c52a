#include "ShownForm.h"
#include "platform/EntryGuard.h"
#include "platform/Error.h"
#include "platform/widgets/Button.h"

#include <QTimer>

namespace {

// Runs the step as soon as the modal loop is running.
void whenModal(TForm& form, std::function<void()> step) {
    QTimer::singleShot(0, form.Widget(), [&form, step] {
        if (QTest::qWaitForWindowExposed(form.Widget()))
            step();
    });
}

TEST(ModalShow, AButtonWithAModalResultClosesTheFormAndGivesTheResult) {
    ShownForm owner;
    owner.show();
    TForm dialog;
    auto* ok = new TButton(&dialog);
    ok->SetParent(&dialog);
    ok->SetBounds(10, 10, 75, 25);
    SetPropValue(ok, "ModalResult", Variant::fromInt(1));
    EventProbe clicks, closes;
    bind(ok, "OnClick", clicks);
    bind(&dialog, "OnClose", closes);
    bool ownerDisabledMeanwhile = false;
    whenModal(dialog, [&] {
        ownerDisabledMeanwhile = !owner.form.Widget()->isEnabled();
        // A click on the disabled window does nothing.
        QTest::mouseClick(owner.window(), Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseClick(dialog.Widget()->windowHandle(), Qt::LeftButton, {}, QPoint(20, 20));
    });
    EXPECT_EQ(dialog.ShowModal(), 1);
    EXPECT_TRUE(ownerDisabledMeanwhile);
    EXPECT_TRUE(owner.form.Widget()->isEnabled());
    EXPECT_EQ(clicks.calls, 1);
    EXPECT_EQ(closes.calls, 1);
    EXPECT_FALSE(dialog.Visible());
    EXPECT_FALSE(dialog.IsModal());
}

TEST(ModalShow, ClosingWithoutAResultGivesCancelAndWindowsOpenedLaterStayUsable) {
    TForm dialog;
    TForm later;
    bool laterEnabled = false;
    whenModal(dialog, [&] {
        later.Show();
        laterEnabled = later.Widget()->isEnabled();
        later.Hide();
        dialog.Widget()->close(); // the close box
    });
    EXPECT_EQ(dialog.ShowModal(), 2);
    EXPECT_TRUE(laterEnabled);
}

TEST(ModalShow, AVisibleFormCannotBeShownModally) {
    ShownForm f;
    f.show();
    try {
        f.form.ShowModal();
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), "Cannot make a visible window modal");
    }
}

TEST(ModalShow, AFormFreedByItsOwnButtonEndsTheModalShow) {
    auto* dialog = new TForm;
    auto* button = new TButton(dialog);
    button->SetParent(dialog);
    button->SetBounds(10, 10, 75, 25);
    EventProbe probe;
    probe.action = [dialog](QObject*) {
        dialog->Free();
    };
    bind(button, "OnClick", probe);
    QPointer<TForm> alive(dialog);
    whenModal(*dialog, [dialog] {
        QTest::mouseClick(dialog->Widget()->windowHandle(), Qt::LeftButton, {}, QPoint(20, 20));
    });
    EXPECT_EQ(dialog->ShowModal(), 2);
    EXPECT_EQ(probe.calls, 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return alive.isNull(); }));
}

TEST(ModalShow, ErrorsOfTheOperatorsEventsInsideAModalShowGoToTheErrorBox) {
    QStringList reported;
    const auto previous = EntryGuard::setReporter([&](const QString& m) { reported.append(m); });
    TForm dialog;
    auto* button = new TButton(&dialog);
    button->SetParent(&dialog);
    button->SetBounds(10, 10, 75, 25);
    EventProbe probe;
    probe.action = [](QObject*) {
        throw Error(QStringLiteral("chyba skriptu"));
    };
    bind(button, "OnClick", probe);
    whenModal(dialog, [&] {
        QTest::mouseClick(dialog.Widget()->windowHandle(), Qt::LeftButton, {}, QPoint(20, 20));
        dialog.Close();
    });
    // The modal show itself is a program action; the click inside it is not.
    EXPECT_EQ(dialog.ShowModal(), 2);
    EXPECT_EQ(reported, QStringList{QString::fromUtf8("chyba skriptu")});
    EntryGuard::setReporter(previous);
}

} // namespace
