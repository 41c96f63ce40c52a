#include "platform/widgets/Edit.h"

#include "ShownForm.h"

#include <QLineEdit>

namespace {

QLineEdit* lineEdit(const TEdit* edit) {
    return static_cast<QLineEdit*>(edit->Widget());
}

TEST(Edit, OnChangeFiresForEveryChangeTypedOrAssigned) {
    ShownForm f;
    auto* edit = f.add<TEdit>(10, 10, 120, 21);
    EventProbe changes;
    bind(edit, "OnChange", changes);
    SetPropValue(edit, "Text", Variant::fromWideText(QString::fromUtf8("192.168.1.254")));
    EXPECT_EQ(lineEdit(edit)->text(), "192.168.1.254");
    EXPECT_EQ(changes.calls, 1);
    SetPropValue(edit, "Text", Variant::fromText("192.168.1.254")); // no change, no event
    EXPECT_EQ(changes.calls, 1);
    f.show();
    f.focus(edit);
    lineEdit(edit)->selectAll();
    f.type("ab");
    EXPECT_EQ(edit->Text(), "ab");
    EXPECT_EQ(changes.calls, 3);
}

TEST(Edit, MaxLengthLimitsTypingButNeverCutsAssignedText) {
    ShownForm f;
    auto* edit = f.add<TEdit>(10, 10, 120, 21);
    SetPropValue(edit, "MaxLength", Variant::fromInt(4));
    SetPropValue(edit, "Text", Variant::fromText("123456"));
    EXPECT_EQ(edit->Text(), "123456");
    f.show();
    f.focus(edit);
    lineEdit(edit)->end(false);
    f.type("7");
    EXPECT_EQ(edit->Text(), "123456");
    f.key(Qt::Key_Backspace);
    EXPECT_EQ(edit->Text(), "12345"); // shortening a long text still works
    lineEdit(edit)->clear();
    f.type("abcdef");
    EXPECT_EQ(edit->Text(), "abcd");
    SetPropValue(edit, "MaxLength", Variant::fromInt(0));
    f.type("ef");
    EXPECT_EQ(edit->Text(), "abcdef"); // 0 is no limit
}

TEST(Edit, CharCaseAppliesToTypedAndAssignedText) {
    ShownForm f;
    auto* edit = f.add<TEdit>(10, 10, 120, 21);
    edit->SetText("Heslo");
    SetPropValue(edit, "CharCase", Variant::fromText("ecUpperCase"));
    EXPECT_EQ(edit->Text(), "HESLO");
    SetPropValue(edit, "Text", Variant::fromWideText(QString::fromUtf8("příliš")));
    EXPECT_EQ(lineEdit(edit)->text(), QString::fromUtf8("PŘÍLIŠ"));
    f.show();
    f.focus(edit);
    lineEdit(edit)->clear();
    f.type("ab");
    EXPECT_EQ(edit->Text(), "AB");
}

TEST(Edit, PasswordReadOnlyAndBorderReachTheLineEdit) {
    ShownForm f;
    auto* edit = f.add<TEdit>(10, 10, 120, 21);
    SetPropValue(edit, "PasswordChar", Variant::fromWideText("42"));
    EXPECT_EQ(lineEdit(edit)->echoMode(), QLineEdit::Password);
    SetPropValue(edit, "PasswordChar", Variant::fromInt(0));
    EXPECT_EQ(lineEdit(edit)->echoMode(), QLineEdit::Normal);
    SetPropValue(edit, "BorderStyle", Variant::fromText("bsNone"));
    EXPECT_FALSE(lineEdit(edit)->hasFrame());
    SetPropValue(edit, "ReadOnly", Variant::fromBool(true));
    f.show();
    f.focus(edit);
    f.type("x");
    EXPECT_EQ(edit->Text(), "");
    EXPECT_EQ(edit->Height(), 21); // the auto size of the application font
}

TEST(Edit, KeyAndMouseEventsFireOncePerInteraction) {
    ShownForm f;
    auto* edit = f.add<TEdit>(10, 10, 120, 21);
    EventProbe down, up, press, click, dbl, mouseDown, mouseUp, move;
    bind(edit, "OnKeyDown", down);
    bind(edit, "OnKeyUp", up);
    bind(edit, "OnKeyPress", press);
    bind(edit, "OnClick", click);
    bind(edit, "OnDblClick", dbl);
    bind(edit, "OnMouseDown", mouseDown);
    bind(edit, "OnMouseUp", mouseUp);
    bind(edit, "OnMouseMove", move);
    f.show();
    f.click(edit);
    EXPECT_EQ(click.calls, 1);
    EXPECT_EQ(mouseDown.calls, 1);
    EXPECT_EQ(mouseUp.calls, 1);
    QTest::mouseDClick(f.window(), Qt::LeftButton, {}, f.centreOf(edit));
    EXPECT_EQ(dbl.calls, 1);
    QTest::mouseMove(f.window(), f.at(edit, QPoint(30, 5)));
    EXPECT_GE(move.calls, 1);
    f.focus(edit);
    f.key(Qt::Key_K);
    f.key(Qt::Key_Left);
    EXPECT_EQ(down.calls, 2);
    EXPECT_EQ(up.calls, 2);
    EXPECT_EQ(press.calls, 1); // only a typed character is a key press
    EXPECT_EQ(down.lastSender, edit);
}

TEST(Edit, AutoSelectDecidesWhetherTabbingInSelectsTheText) {
    ShownForm f;
    auto* before = f.add<TEdit>(10, 10, 120, 21);
    auto* edit = f.add<TEdit>(10, 40, 120, 21);
    edit->SetText("1500");
    f.show();
    f.focus(before);
    f.key(Qt::Key_Tab);
    EXPECT_TRUE(QTest::qWaitFor([&] { return lineEdit(edit)->selectedText() == "1500"; }));
    SetPropValue(edit, "AutoSelect", Variant::fromBool(false));
    f.focus(before);
    f.key(Qt::Key_Tab);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !lineEdit(edit)->hasSelectedText(); }));
}

} // namespace
