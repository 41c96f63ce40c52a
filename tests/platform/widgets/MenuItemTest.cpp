#include "platform/widgets/MenuItem.h"

#include "ShownForm.h"

#include <QAction>

namespace {

TEST(MenuItem, PropertiesReachTheActionAndATriggerFiresOnClick) {
    TComponent owner;
    auto* item = new TMenuItem(&owner);
    SetPropValue(item, "Caption", Variant::fromWideText(QString::fromUtf8("Uložit")));
    SetPropValue(item, "Enabled", Variant::fromBool(false));
    SetPropValue(item, "ShortCut", Variant::fromInt(0x4000 | 'S'));
    EXPECT_EQ(item->Action()->text(), QString::fromUtf8("Uložit"));
    EXPECT_FALSE(item->Action()->isEnabled());
    EXPECT_EQ(item->Action()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EventProbe clicks;
    bind(item, "OnClick", clicks);
    item->SetEnabled(true);
    item->Action()->trigger();
    EXPECT_EQ(clicks.calls, 1);
}

TEST(MenuItem, RadioItemsOfOneGroupExcludeEachOther) {
    TComponent owner;
    auto* a = new TMenuItem(&owner);
    auto* b = new TMenuItem(&owner);
    auto* other = new TMenuItem(&owner);
    for (TMenuItem* item : {a, b})
        SetPropValue(item, "RadioItem", Variant::fromBool(true));
    SetPropValue(other, "GroupIndex", Variant::fromInt(1));
    SetPropValue(other, "RadioItem", Variant::fromBool(true));
    SetPropValue(other, "Checked", Variant::fromBool(true));
    SetPropValue(a, "Checked", Variant::fromBool(true));
    SetPropValue(b, "Checked", Variant::fromBool(true));
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked());
    EXPECT_TRUE(other->Checked());
}

} // namespace
