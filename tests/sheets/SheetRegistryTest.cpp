#include "SheetTestRig.h"
#include "platform/widgets/Button.h"
#include "platform/widgets/Edit.h"
#include "platform/widgets/Form.h"
#include "platform/widgets/PageControl.h"

class RegistryTest : public SheetTest {
protected:
    // A widget registered under `name` with an element of the same name.
    template <typename T> T* add(const QByteArray& name, TComponent* owner = nullptr) {
        auto* widget = new T(owner);
        widget->SetName(name);
        elements_.loadFromBytes("<" + (name.isEmpty() ? QByteArray("X") : name) + "/>");
        registry.RegisterSheetComponent(widget, elements_.documentElement());
        if (!owner)
            keep(widget);
        return widget;
    }

    QList<TComponent*> registered() {
        QList<TComponent*> widgets;
        for (const TSheetComponent& entry : registry.Entries())
            widgets << entry.Component;
        return widgets;
    }

private:
    TXMLDocument elements_;
};

TEST_F(RegistryTest, UnregisterRemovesOneEntryAndKeepsTheOrder) {
    auto* only = add<TForm>("A");
    EXPECT_TRUE(registry.UnregisterSheetComponent(only));
    EXPECT_EQ(registry.Count(), 0);
    EXPECT_FALSE(registry.UnregisterSheetComponent(only));

    auto* a = add<TForm>("A");
    auto* b = add<TButton>("B", a);
    auto* c = add<TButton>("C", a);
    auto* d = add<TButton>("D", a);
    EXPECT_TRUE(registry.UnregisterSheetComponent(d));
    EXPECT_EQ(registered(), (QList<TComponent*>{a, b, c}));
    EXPECT_TRUE(registry.UnregisterSheetComponent(b));
    EXPECT_EQ(registered(), (QList<TComponent*>{a, c}));
    EXPECT_FALSE(registry.UnregisterSheetComponent(b));
}

TEST_F(RegistryTest, FindComparesTheCurrentNameExactly) {
    auto* form = add<TForm>("Okno");
    auto* first = add<TButton>("", form);
    add<TButton>("", form);
    auto* edit = add<TEdit>("Pole", form);

    EXPECT_EQ(registry.FindSheetComponent("Okno").Component, form);
    EXPECT_EQ(registry.FindSheetComponent("okno").Component, nullptr);
    EXPECT_EQ(registry.FindSheetComponent("").Component, first);
    const TSheetComponent found = registry.FindSheetComponent("Pole");
    EXPECT_EQ(found.Component, edit);
    EXPECT_EQ(found.Node.nodeName(), QStringLiteral("Pole"));

    edit->SetName("Jine");
    EXPECT_EQ(registry.FindSheetComponent("Pole").Component, nullptr);
    EXPECT_EQ(registry.FindSheetComponent("Jine").Component, edit);

    // Two widgets of the same name (different owners): the first registered wins.
    auto* other = add<TForm>("Druhe");
    add<TEdit>("Jine", other);
    EXPECT_EQ(registry.FindSheetComponent("Jine").Component, edit);
}

TEST_F(RegistryTest, DestroyFreesChildrenBeforeParentsAndEmptiesTheRegistry) {
    registry.DestroySheetComponents();
    EXPECT_EQ(registry.Count(), 0);

    auto* form = add<TForm>("F");
    auto* pages = add<TPageControl>("P", form);
    auto* tab = add<TTabSheet>("T", pages);
    auto* edit = add<TEdit>("E", tab);
    QList<TComponent*> freedOrder;
    for (TComponent* widget : QList<TComponent*>{form, pages, tab, edit})
        QObject::connect(widget, &TComponent::freed, widget,
                         [&](TComponent* c) { freedOrder << c; });
    registry.DestroySheetComponents();
    EXPECT_EQ(freedOrder, (QList<TComponent*>{edit, tab, pages, form}));
    EXPECT_EQ(registry.Count(), 0);
    EXPECT_EQ(registry.FindSheetComponent("F").Component, nullptr);
    EXPECT_EQ(registry.FindSheetComponent("").Component, nullptr);
}

TEST_F(RegistryTest, WidgetsFreedElsewhereLeaveTheRegistryAtOnce) {
    auto* form = add<TForm>("F");
    auto* pages = add<TPageControl>("P", form);
    add<TEdit>("E", pages);
    auto* other = add<TForm>("G");
    auto* button = add<TButton>("B", other);

    // "Destroy" of a form: its own entry is removed, the form is freed with
    // everything it owns.
    ASSERT_TRUE(registry.UnregisterSheetComponent(form));
    form->Free();
    EXPECT_EQ(registered(), (QList<TComponent*>{other, button}));
    EXPECT_EQ(registry.FindSheetComponent("E").Component, nullptr);

    delete button;
    EXPECT_EQ(registered(), (QList<TComponent*>{other}));
    flushDeletions();
    registry.DestroySheetComponents();
}

TEST_F(RegistryTest, OperationsMayReenterFromEventsOfFreedWidgets) {
    auto* form = add<TForm>("F");
    add<TButton>("B", form);
    QObject* foundDuringFree = form;
    QObject::connect(form, &TComponent::freed, form, [&] {
        foundDuringFree = registry.FindSheetComponent("F").Component;
        registry.UnregisterSheetComponent(form);
    });
    registry.DestroySheetComponents();
    EXPECT_EQ(foundDuringFree, nullptr);
    EXPECT_EQ(registry.Count(), 0);
}

TEST_F(RegistryTest, ClearForgetsEntriesWithoutFreeing) {
    auto* form = add<TForm>("F");
    registry.Clear();
    EXPECT_EQ(registry.Count(), 0);
    EXPECT_FALSE(form->IsFreed());
    EXPECT_FALSE(registry.UnregisterSheetComponent(form));
}
