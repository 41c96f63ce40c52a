#include "ShownForm.h"
#include "platform/Error.h"
#include "platform/widgets/Button.h"
#include "platform/widgets/Edit.h"
#include "platform/widgets/GroupBox.h"
#include "platform/widgets/Label.h"

#include <QPushButton>

namespace {

TEST(Control, PixelGeometryIsRelativeToTheParentControl) {
    TForm form;
    auto* box = new TGroupBox(&form);
    box->SetParent(&form);
    auto* button = new TButton(&form);
    SetPropValue(box, "Left", Variant::fromWideText("8"));
    SetPropValue(box, "Top", Variant::fromWideText("16"));
    button->SetParent(box);
    SetPropValue(button, "Left", Variant::fromInt(12));
    SetPropValue(button, "Top", Variant::fromInt(20));
    SetPropValue(button, "Width", Variant::fromInt(90));
    SetPropValue(button, "Height", Variant::fromInt(25));
    EXPECT_EQ(button->Widget()->parentWidget(), box->Widget());
    EXPECT_EQ(button->Widget()->geometry(), QRect(12, 20, 90, 25));
    EXPECT_EQ(GetPropValue(button, "Width", false).integerValue(), 90);
    EXPECT_EQ(button->Widget()->mapTo(form.Widget(), QPoint(0, 0)), QPoint(20, 36));
}

TEST(Control, AControlShowsOnlyOncePlacedInAWindowedControl) {
    TForm form;
    form.Show();
    auto* label = new TLabel(&form);
    EXPECT_FALSE(label->Widget()->isVisible()); // owned but not placed: no window of its own
    label->SetParent(&form);
    EXPECT_TRUE(label->Widget()->isVisible());
    label->SetParent(nullptr);
    EXPECT_FALSE(label->Widget()->isVisible());
    EXPECT_TRUE(form.Controls().isEmpty());
}

TEST(Control, ColoursAreLowByteRedAndSystemColoursComeFromThePalette) {
    TEdit edit;
    SetPropValue(&edit, "Color", Variant::fromInt(0x0000FF));
    EXPECT_EQ(edit.Widget()->palette().color(QPalette::Base), QColor(255, 0, 0));
    SetPropValue(&edit, "Color", Variant::fromInt(0xFF0000));
    EXPECT_EQ(edit.Widget()->palette().color(QPalette::Base), QColor(0, 0, 255));
    SetPropValue(&edit, "Color", Variant::fromWideText("-16777201")); // $FF00000F, clBtnFace
    EXPECT_EQ(edit.Widget()->palette().color(QPalette::Base),
              QApplication::palette().color(QPalette::Window));
    EXPECT_EQ(GetPropValue(&edit, "Color", false).integerValue(), -16777201);
    SetPropValue(&edit, "Color", Variant::fromInt(static_cast<int>(0x80000018))); // clInfoBk
    EXPECT_EQ(edit.Widget()->palette().color(QPalette::Base),
              QApplication::palette().color(QPalette::ToolTipBase));
    EXPECT_THROW(SetPropValue(&edit, "Color", Variant::fromText("clRed")), Error);

    // Disabled, by itself or with its parent, an edit keeps its colour where the
    // style greys the background.
    TForm form;
    TEdit plain;
    plain.SetParent(&form);
    const QColor window = QApplication::palette().color(QPalette::Base);
    plain.SetEnabled(false);
    EXPECT_EQ(plain.Widget()->palette().color(QPalette::Disabled, QPalette::Base), window);
    plain.SetEnabled(true);
    form.SetEnabled(false);
    EXPECT_EQ(plain.Widget()->palette().color(QPalette::Disabled, QPalette::Base), window);
    EXPECT_NE(form.Widget()->palette().color(QPalette::Disabled, QPalette::Base), window);
    TEdit placedLater;
    placedLater.SetParent(&form);
    EXPECT_EQ(placedLater.Widget()->palette().color(QPalette::Disabled, QPalette::Base), window);
}

TEST(Control, HintCursorAndTabStopReachTheWidget) {
    TButton button;
    SetPropValue(&button, "Hint", Variant::fromWideText(QString::fromUtf8("Uloží nastavení")));
    EXPECT_EQ(button.Widget()->toolTip(), QString()); // hints show only with ShowHint
    SetPropValue(&button, "ShowHint", Variant::fromBool(true));
    EXPECT_EQ(button.Widget()->toolTip(), QString::fromUtf8("Uloží nastavení"));
    SetPropValue(&button, "Cursor", Variant::fromInt(-21)); // crHandPoint
    EXPECT_EQ(button.Widget()->cursor().shape(), Qt::PointingHandCursor);
    SetPropValue(&button, "Cursor", Variant::fromInt(0));
    EXPECT_EQ(button.Widget()->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(button.Widget()->focusPolicy(), Qt::StrongFocus);
    SetPropValue(&button, "TabStop", Variant::fromText("False"));
    EXPECT_EQ(button.Widget()->focusPolicy(), Qt::ClickFocus);
}

TEST(Control, TabOrderDecidesWhereTabGoesAndEnterExitFollowTheFocus) {
    ShownForm f;
    auto* second = f.add<TEdit>(10, 10, 100, 21);
    auto* first = f.add<TEdit>(10, 40, 100, 21);
    SetPropValue(first, "TabOrder", Variant::fromInt(0));
    SetPropValue(second, "TabOrder", Variant::fromInt(1));
    EventProbe entered, left;
    bind(second, "OnEnter", entered);
    bind(first, "OnExit", left);
    f.show();
    f.focus(first);
    entered.calls = left.calls = 0;
    f.key(Qt::Key_Tab);
    EXPECT_TRUE(second->Widget()->hasFocus());
    EXPECT_EQ(entered.calls, 1);
    EXPECT_EQ(left.calls, 1);
}

TEST(Button, CaptionWrapsOnlyWithWordWrap) {
    TButton button;
    SetPropValue(&button, "Caption",
                 Variant::fromWideText(QString::fromUtf8("Obnovit výchozí nastavení")));
    auto* push = static_cast<QPushButton*>(button.Widget());
    EXPECT_EQ(push->text(), QString::fromUtf8("Obnovit výchozí nastavení"));
    SetPropValue(&button, "WordWrap", Variant::fromBool(true));
    EXPECT_TRUE(push->text().contains(QLatin1Char('\n')));
    button.SetWidth(400);
    EXPECT_FALSE(push->text().contains(QLatin1Char('\n')));
    SetPropValue(&button, "Default", Variant::fromBool(true));
    EXPECT_TRUE(push->isDefault());
}

} // namespace
