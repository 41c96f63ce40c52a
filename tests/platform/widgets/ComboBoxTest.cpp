#include "platform/widgets/ComboBox.h"

#include "ShownForm.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

QComboBox* qtCombo(const TComboBox* combo) {
    return static_cast<QComboBox*>(combo->Widget());
}

TEST(ComboBox, EntriesCarryTheirObjectsAlsoWhenSorted) {
    TComboBox combo;
    QObject first, second, third;
    combo.AddItem("9600", &first);
    combo.AddItem("115200", &second);
    SetPropValue(&combo, "Sorted", Variant::fromBool(true));
    combo.AddItem("19200", &third);
    ASSERT_EQ(combo.ItemCount(), 3);
    EXPECT_EQ(combo.ItemText(0), "115200");
    EXPECT_EQ(combo.ItemObject(0), &second);
    EXPECT_EQ(combo.ItemText(1), "19200");
    EXPECT_EQ(combo.ItemObject(1), &third);
    EXPECT_EQ(combo.ItemObject(2), &first);
    EXPECT_EQ(combo.ItemObject(3), nullptr);
    EXPECT_EQ(combo.ItemIndex(), -1);
}

TEST(ComboBox, AssigningSelectsWithoutAnEventAndTheOperatorsChoiceFiresOnce) {
    ShownForm f;
    auto* combo = f.add<TComboBox>(10, 10, 120, 21);
    SetPropValue(combo, "Style", Variant::fromText("csDropDownList"));
    EXPECT_FALSE(qtCombo(combo)->isEditable());
    combo->AddItem("vypnuto", nullptr);
    combo->AddItem("zapnuto", nullptr);
    EventProbe changes, selects, clicks;
    bind(combo, "OnChange", changes);
    bind(combo, "OnSelect", selects);
    bind(combo, "OnClick", clicks);
    SetPropValue(combo, "ItemIndex", Variant::fromInt(1));
    EXPECT_EQ(qtCombo(combo)->currentIndex(), 1);
    SetPropValue(combo, "Text", Variant::fromText("vypnuto"));
    EXPECT_EQ(combo->ItemIndex(), 0);
    SetPropValue(combo, "ItemIndex", Variant::fromInt(5));
    EXPECT_EQ(combo->ItemIndex(), -1);
    combo->SetItemIndex(0);
    EXPECT_EQ(changes.calls, 0);
    f.show();
    f.focus(combo);
    f.key(Qt::Key_Down);
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(changes.calls, 1);
    EXPECT_EQ(selects.calls, 1);
    EXPECT_EQ(clicks.calls, 1);
    EXPECT_EQ(GetPropValue(combo, "Text", false).textValue(), "zapnuto");
}

TEST(ComboBox, TypingIntoADropDownFiresOnChangeWithinItsLimits) {
    ShownForm f;
    auto* combo = f.add<TComboBox>(10, 10, 120, 21);
    ASSERT_TRUE(qtCombo(combo)->isEditable()); // csDropDown
    SetPropValue(combo, "MaxLength", Variant::fromInt(3));
    SetPropValue(combo, "CharCase", Variant::fromText("ecLowerCase"));
    SetPropValue(combo, "DropDownCount", Variant::fromInt(12));
    EXPECT_EQ(qtCombo(combo)->maxVisibleItems(), 12);
    EventProbe changes;
    bind(combo, "OnChange", changes);
    SetPropValue(combo, "Text", Variant::fromText("assigned text"));
    EXPECT_EQ(combo->Text(), "assigned text");
    EXPECT_EQ(changes.calls, 0);
    f.show();
    f.focus(combo);
    qtCombo(combo)->lineEdit()->clear();
    f.type("ABCD");
    EXPECT_EQ(combo->Text(), "abc");
    EXPECT_EQ(changes.calls, 3);
}

TEST(ComboBox, OpeningAndClosingTheListFireTheirEvents) {
    ShownForm f;
    auto* combo = f.add<TComboBox>(10, 10, 120, 21);
    combo->AddItem("a", nullptr);
    EventProbe dropped, closed;
    bind(combo, "OnDropDown", dropped);
    bind(combo, "OnCloseUp", closed);
    f.show();
    qtCombo(combo)->showPopup();
    qtCombo(combo)->hidePopup();
    EXPECT_EQ(dropped.calls, 1);
    EXPECT_EQ(closed.calls, 1);
}

} // namespace
