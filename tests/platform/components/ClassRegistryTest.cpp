#include "platform/components/ClassRegistry.h"

#include "platform/Error.h"
#include "platform/components/Component.h"
#include "platform/widgets/Button.h"
#include "platform/widgets/Edit.h"
#include "platform/widgets/MenuItem.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

QString failureOf(const QByteArray& name) {
    try {
        FindClass(name);
    } catch (const Error& e) {
        return e.message();
    }
    return {};
}

TEST(ClassRegistry, MenuItemAndItsAncestorsAreThereFromTheStart) {
    EXPECT_EQ(&FindClass("TMenuItem"), &TMenuItem::staticMetaObject);
    EXPECT_EQ(&FindClass("TComponent"), &TComponent::staticMetaObject);
    EXPECT_EQ(&FindClass("TPersistent"), &TPersistent::staticMetaObject);
}

TEST(ClassRegistry, FindsByNameIgnoringAsciiCaseAndRegistersAncestors) {
    RegisterClasses({&TButton::staticMetaObject, &TEdit::staticMetaObject});
    EXPECT_EQ(&FindClass("TBUTTON"), &TButton::staticMetaObject);
    EXPECT_EQ(&FindClass("tcustomedit"), &TCustomEdit::staticMetaObject);
    EXPECT_EQ(&FindClass("TButtonControl"), &TButtonControl::staticMetaObject);
    EXPECT_EQ(&FindClass("TWinControl"), &TWinControl::staticMetaObject);
    EXPECT_EQ(failureOf("TListBox"), "Class TListBox not found");
    EXPECT_EQ(failureOf("TButton "), "Class TButton  not found");
    EXPECT_EQ(failureOf("QObject"), "Class QObject not found");
}

TEST(ClassRegistry, CreatesThroughTheClassOwnConstructorWithAnOwner) {
    RegisterClasses({&TButton::staticMetaObject});
    auto owner = std::make_unique<TComponent>();
    TComponent* made = CreateComponent(FindClass("tbutton"), owner.get());
    auto* button = qobject_cast<TButton*>(made);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Owner(), owner.get());
    EXPECT_EQ(owner->Components(), QList<TComponent*>{button});
    EXPECT_EQ(button->Width(), 75); // the button's own default, not its ancestor's

    std::unique_ptr<TComponent> unowned(CreateComponent(FindClass("TWinControl"), nullptr));
    EXPECT_EQ(unowned->metaObject(), &TWinControl::staticMetaObject);
    EXPECT_EQ(unowned->Owner(), nullptr);
}

TEST(ClassRegistry, PersistentIsRegisteredButBuildsNothing) {
    try {
        CreateComponent(FindClass("TPersistent"), nullptr);
        FAIL() << "TPersistent built an instance";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), "Class TPersistent not found");
    }
}

} // namespace
