#include "platform/components/Reflection.h"
#include "platform/widgets/Button.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/Edit.h"
#include "platform/widgets/Form.h"
#include "platform/widgets/GroupBox.h"
#include "support/EventProbe.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

template <typename T> bool deletedSoon(const QPointer<T>& object) {
    return QTest::qWaitFor([&] { return object.isNull(); }, 2000);
}

TEST(Freeing, AnOwnerFreesWhatItOwnsAndEveryFreedComponentIsAnnouncedAtOnce) {
    auto* form = new TForm;
    auto* box = new TGroupBox(form);
    box->SetParent(form);
    auto* edit = new TEdit(box);
    edit->SetParent(box);
    QList<TComponent*> announced;
    for (TComponent* c : {static_cast<TComponent*>(form), static_cast<TComponent*>(box),
                          static_cast<TComponent*>(edit)})
        QObject::connect(c, &TComponent::freed,
                         [&announced](TComponent* freed) { announced.append(freed); });
    form->Show();
    QPointer<QWidget> editWidget = edit->Widget();

    form->Free();
    EXPECT_EQ(announced.size(), 3);
    EXPECT_TRUE(announced.contains(edit));
    EXPECT_FALSE(form->Widget()->isVisible()); // gone from the screen at once
    EXPECT_TRUE(edit->IsFreed());
    form->Free(); // a second free does nothing
    EXPECT_EQ(announced.size(), 3);

    EXPECT_TRUE(deletedSoon(QPointer<TEdit>(edit)));
    EXPECT_TRUE(editWidget.isNull());
    EXPECT_EQ(announced.size(), 3);
}

TEST(Freeing, PlainDeletionAnnouncesTooAndDetachesFromTheParent) {
    TForm form;
    auto* edit = new TEdit(nullptr);
    edit->SetParent(&form);
    QSignalSpy spy(edit, &TComponent::freed);
    delete edit;
    EXPECT_EQ(spy.count(), 1);
    EXPECT_TRUE(form.Controls().isEmpty());

    // A control placed in a freed control goes along even when another owns it.
    TComponent otherOwner;
    auto* box = new TGroupBox(&form);
    box->SetParent(&form);
    auto* placed = new TEdit(&otherOwner);
    placed->SetParent(box);
    box->Free();
    // Freed, it leaves its window at once; the deletion follows later.
    EXPECT_TRUE(box->Widget()->isHidden());
    EXPECT_FALSE(form.Controls().contains(box));
    EXPECT_TRUE(placed->IsFreed());
    EXPECT_TRUE(otherOwner.Components().isEmpty());
    EXPECT_TRUE(deletedSoon(QPointer<TEdit>(placed)));
}

TEST(Freeing, AFormFreedFromItsButtonsClickStaysAliveUntilTheClickReturns) {
    auto* form = new TForm;
    auto* button = new TButton(form);
    button->SetParent(form);
    button->SetBounds(10, 10, 75, 25);
    EventProbe probe;
    QPointer<QObject> formAlive(form);
    bool aliveAfterFree = false;
    probe.action = [&](QObject* sender) {
        form->Free();
        // The event still uses its sender and form after the free.
        aliveAfterFree = !formAlive.isNull() && static_cast<TButton*>(sender)->Caption().isEmpty();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
        aliveAfterFree = aliveAfterFree && !formAlive.isNull();
    };
    BindEvent(button, "OnClick", FindPublishedMethod(&probe, "Execute"));
    form->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form->Widget()));
    QTest::mouseClick(form->Widget()->windowHandle(), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(probe.calls, 1);
    EXPECT_TRUE(aliveAfterFree);
    EXPECT_TRUE(deletedSoon(formAlive));
}

TEST(Freeing, EveryWidgetFreedFromAComboBoxChangeEvent) {
    QList<QPointer<TComponent>> all;
    auto* form = new TForm;
    auto* combo = new TComboBox(form);
    combo->SetParent(form);
    combo->SetStyle(Vcl::TComboBoxStyle::csDropDownList);
    combo->AddItem("jedna", nullptr);
    combo->AddItem("dvě", nullptr);
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    auto* loose = new TForm;
    all << form << combo << edit << loose;
    EventProbe probe;
    probe.action = [&](QObject*) {
        for (const QPointer<TComponent>& c : all) {
            if (c)
                c->Free();
        }
    };
    BindEvent(combo, "OnChange", FindPublishedMethod(&probe, "Execute"));
    EventProbe select;
    BindEvent(combo, "OnSelect", FindPublishedMethod(&select, "Execute"));
    form->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form->Widget()));
    combo->Widget()->setFocus();
    QTest::keyClick(form->Widget()->windowHandle(), Qt::Key_Down);
    EXPECT_EQ(probe.calls, 1);
    for (const QPointer<TComponent>& c : all)
        EXPECT_TRUE(deletedSoon(c));
}

} // namespace
