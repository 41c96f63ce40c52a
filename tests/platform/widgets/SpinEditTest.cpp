#include "platform/widgets/SpinEdit.h"

#include "ShownForm.h"

#include <QLineEdit>
#include <QSpinBox>

namespace {

QSpinBox* spinBox(const TSpinEdit* spin) {
    return static_cast<QSpinBox*>(spin->Widget());
}

TEST(SpinEdit, LimitsStayAsGivenAndKeepTheValueWithinThem) {
    TSpinEdit spin;
    SetPropValue(&spin, "Value", Variant::fromInt(-100000));
    EXPECT_EQ(spin.Value(), -100000); // both limits 0: no limit
    SetPropValue(&spin, "MaxValue", Variant::fromInt(50));
    EXPECT_EQ(spin.MaxValue(), 50);
    SetPropValue(&spin, "MinValue", Variant::fromInt(80)); // above the maximum, kept as given
    EXPECT_EQ(spin.MinValue(), 80);
    EXPECT_EQ(spin.MaxValue(), 50);
    SetPropValue(&spin, "MinValue", Variant::fromInt(1));
    SetPropValue(&spin, "MaxValue", Variant::fromInt(10));
    SetPropValue(&spin, "Value", Variant::fromInt(11));
    EXPECT_EQ(GetPropValue(&spin, "Value", false).integerValue(), 10);
    SetPropValue(&spin, "Value", Variant::fromWideText("0"));
    EXPECT_EQ(spin.Value(), 1);
    EXPECT_EQ(spinBox(&spin)->value(), 1);
}

// A sheet binds the value first and sets the limits after it, one at a time: the
// device's value must not be cut to the half-set limits on the way.
TEST(SpinEdit, ValueSurvivesLimitsSetOneAtATime) {
    TSpinEdit spin;
    SetPropValue(&spin, "Value", Variant::fromWideText("502"));
    SetPropValue(&spin, "MinValue", Variant::fromWideText("1"));
    EXPECT_EQ(spin.Value(), 502);
    SetPropValue(&spin, "MaxValue", Variant::fromWideText("65535"));
    EXPECT_EQ(spin.Value(), 502);
    EXPECT_EQ(spinBox(&spin)->value(), 502);
    SetPropValue(&spin, "MaxValue", Variant::fromWideText("100"));
    EXPECT_EQ(spin.Value(), 100);
}

TEST(SpinEdit, OnChangeFiresForAssignedAndStepChanges) {
    ShownForm f;
    auto* spin = f.add<TSpinEdit>(10, 10, 80, 22);
    EventProbe changes;
    bind(spin, "OnChange", changes);
    SetPropValue(spin, "Increment", Variant::fromInt(5));
    SetPropValue(spin, "Value", Variant::fromInt(10));
    EXPECT_EQ(changes.calls, 1);
    f.show();
    f.focus(spin);
    f.key(Qt::Key_Up);
    EXPECT_EQ(spin->Value(), 15);
    EXPECT_EQ(changes.calls, 2);
}

TEST(SpinEdit, EditorEnabledReadOnlyAndMaxLengthLimitTyping) {
    ShownForm f;
    auto* spin = f.add<TSpinEdit>(10, 10, 80, 22);
    auto* editor = spin->Widget()->findChild<QLineEdit*>();
    f.show();
    f.focus(spin);
    SetPropValue(spin, "MaxLength", Variant::fromInt(2));
    editor->selectAll();
    f.type("1234");
    EXPECT_EQ(spin->Value(), 12);
    SetPropValue(spin, "EditorEnabled", Variant::fromBool(false));
    editor->selectAll();
    f.type("7");
    EXPECT_EQ(spin->Value(), 12);
    f.key(Qt::Key_Up); // the arrows still work
    EXPECT_EQ(spin->Value(), 13);
    SetPropValue(spin, "ReadOnly", Variant::fromBool(true));
    f.key(Qt::Key_Up);
    EXPECT_EQ(spin->Value(), 13);
}

} // namespace
