#include "platform/Error.h"
#include "platform/components/Component.h"

#include <gtest/gtest.h>

namespace {

QString nameError(TComponent& component, const QByteArray& name) {
    try {
        component.SetName(name);
    } catch (const Error& e) {
        return e.message();
    }
    return {};
}

TEST(ComponentName, MustBeEmptyOrAnAsciiIdentifier) {
    TComponent c;
    EXPECT_EQ(nameError(c, "_Edit1"), "");
    EXPECT_EQ(c.Name(), "_Edit1");
    EXPECT_EQ(nameError(c, ""), "");
    EXPECT_EQ(nameError(c, "1Edit"), "''1Edit'' is not a valid component name");
    EXPECT_EQ(nameError(c, "Edit 1"), "''Edit 1'' is not a valid component name");
    EXPECT_EQ(nameError(c, "e.Text"), "''e.Text'' is not a valid component name");
    EXPECT_EQ(nameError(c, "\xe8islo"),
              QString::fromUtf8("''čislo'' is not a valid component name"));
    EXPECT_EQ(c.Name(), ""); // a refused name leaves the old one
}

TEST(ComponentName, IsUniqueAmongOneOwnersComponentsIgnoringCase) {
    TComponent owner;
    auto* first = new TComponent(&owner);
    auto* second = new TComponent(&owner);
    first->SetName("Edit1");
    EXPECT_EQ(nameError(*second, "Edit1"), "A component named Edit1 already exists");
    EXPECT_EQ(nameError(*second, "edit1"), "A component named edit1 already exists");
    EXPECT_EQ(second->Name(), "");
    // A component may change the case of its own name, and empty names never clash.
    EXPECT_EQ(nameError(*first, "EDIT1"), "");
    EXPECT_EQ(first->Name(), "EDIT1");
    second->SetName("");
    EXPECT_EQ(nameError(*second, "Edit2"), "");
    // Once the holder is gone, the name is free again.
    delete first;
    EXPECT_EQ(nameError(*second, "Edit1"), "");
}

TEST(ComponentName, ComponentsWithoutOwnerAreNeverCompared) {
    TComponent a;
    TComponent b;
    a.SetName("Edit1");
    EXPECT_EQ(nameError(b, "Edit1"), "");
}

} // namespace
