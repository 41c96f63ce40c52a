#include "ShownForm.h"
#include "platform/widgets/Bevel.h"
#include "platform/widgets/Button.h"
#include "platform/widgets/Edit.h"
#include "platform/widgets/GroupBox.h"
#include "platform/widgets/PageControl.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

TEST(Form, GeometryIncludesANominalFrameThatFollowsTheBorderStyle) {
    TForm form;
    form.SetBounds(10, 20, 300, 200);
    EXPECT_EQ(form.ClientWidth(), 292);
    EXPECT_EQ(form.ClientHeight(), 173);
    EXPECT_EQ(form.Widget()->geometry(), QRect(14, 43, 292, 173));
    SetPropValue(&form, "ClientWidth", Variant::fromInt(400));
    EXPECT_EQ(form.Width(), 408);
    EXPECT_EQ(form.Left(), 10);

    SetPropValue(&form, "BorderStyle", Variant::fromText("bsDialog"));
    EXPECT_EQ(form.Width(), 408); // the outer size stays, the client area follows the frame
    EXPECT_EQ(form.ClientWidth(), 402);
    EXPECT_EQ(form.Widget()->minimumSize(),
              form.Widget()->maximumSize()); // a dialog frame does not size
    SetPropValue(&form, "BorderStyle", Variant::fromText("bsNone"));
    EXPECT_EQ(form.ClientWidth(), 408);
    EXPECT_TRUE(form.Widget()->windowFlags().testFlag(Qt::FramelessWindowHint));
}

TEST(Form, CaptionIconsAndStayOnTopReachTheWindow) {
    TForm form;
    SetPropValue(&form, "Caption",
                 Variant::fromWideText(QString::fromUtf8("Nastavení převodníku")));
    EXPECT_EQ(form.Widget()->windowTitle(), QString::fromUtf8("Nastavení převodníku"));
    EXPECT_EQ(GetPropValue(&form, "BorderIcons", true).textValue(),
              "biSystemMenu,biMinimize,biMaximize");
    EXPECT_TRUE(form.Widget()->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    SetPropValue(&form, "BorderIcons", Variant::fromText("[biSystemMenu]"));
    EXPECT_FALSE(form.Widget()->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(form.Widget()->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(form.Widget()->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    SetPropValue(&form, "FormStyle", Variant::fromText("fsStayOnTop"));
    EXPECT_TRUE(form.Widget()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST(Form, WindowStateResizeAndAutoSizeReachTheWindow) {
    ShownForm f;
    auto* button = f.add<TButton>(10, 10, 75, 25);
    EventProbe resized;
    bind(&f.form, "OnResize", resized);
    f.show();
    SetPropValue(&f.form, "WindowState", Variant::fromText("wsMaximized"));
    EXPECT_TRUE(f.form.Widget()->windowState().testFlag(Qt::WindowMaximized));
    SetPropValue(&f.form, "WindowState", Variant::fromText("wsNormal"));
    const int before = resized.calls;
    f.form.SetClientWidth(200);
    EXPECT_EQ(resized.calls, before + 1);
    SetPropValue(&f.form, "AutoSize", Variant::fromBool(true));
    EXPECT_EQ(f.form.ClientWidth(), 95); // the button and the same margin on its far side
    EXPECT_EQ(f.form.ClientHeight(), 45);
    EXPECT_EQ(button->Left(), 10);
}

TEST(Form, ScreenCenterPlacesTheFormWhenItShows) {
    ShownForm f;
    SetPropValue(&f.form, "Position", Variant::fromText("poScreenCenter"));
    f.show();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect bounds(f.form.Left(), f.form.Top(), f.form.Width(), f.form.Height());
    EXPECT_LE((bounds.center() - screen.center()).manhattanLength(), 2);
}

TEST(Form, ShowHideAndCloseFireTheirEventsOnceAndCloseOnlyHides) {
    ShownForm f;
    EventProbe shown, hidden, closing, closed;
    bind(&f.form, "OnShow", shown);
    bind(&f.form, "OnHide", hidden);
    bind(&f.form, "OnCloseQuery", closing);
    bind(&f.form, "OnClose", closed);
    f.show();
    EXPECT_TRUE(f.form.Visible());
    EXPECT_EQ(shown.calls, 1);
    f.form.Close();
    EXPECT_EQ(closing.calls, 1);
    EXPECT_EQ(closed.calls, 1);
    EXPECT_EQ(hidden.calls, 1);
    EXPECT_FALSE(f.form.Visible());
    EXPECT_FALSE(f.form.IsFreed());
    SetPropValue(&f.form, "Visible", Variant::fromBool(true));
    EXPECT_TRUE(f.form.Widget()->isVisible());
    EXPECT_EQ(shown.calls, 2);
    f.form.Hide();
    EXPECT_EQ(hidden.calls, 2);
    EXPECT_EQ(closed.calls, 1);
}

TEST(Form, ControlsKeepTheirOwnVisibleAndEnabledFlags) {
    TForm form;
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    EXPECT_FALSE(form.Visible());
    EXPECT_TRUE(GetPropValue(edit, "Visible", false).booleanValue());
    form.SetEnabled(false);
    EXPECT_TRUE(GetPropValue(edit, "Enabled", false).booleanValue());
    EXPECT_FALSE(edit->Widget()->isEnabled()); // Qt still disables it with its form
    form.SetEnabled(true);
    SetPropValue(edit, "Enabled", Variant::fromBool(false));
    EXPECT_FALSE(edit->Widget()->isEnabled());
    SetPropValue(edit, "Visible", Variant::fromBool(false));
    form.Show();
    EXPECT_TRUE(edit->Widget()->isHidden());
    EXPECT_FALSE(GetPropValue(edit, "Visible", false).booleanValue());
}

TEST(Form, EnterPressesTheDefaultButtonAndEscTheCancelButton) {
    ShownForm f;
    auto* edit = f.add<TEdit>(10, 10, 100, 21);
    auto* ok = f.add<TButton>(10, 40, 75, 25);
    auto* cancel = f.add<TButton>(100, 40, 75, 25);
    SetPropValue(ok, "Default", Variant::fromText("True"));
    SetPropValue(cancel, "Cancel", Variant::fromText("True"));
    EventProbe okClicks, cancelClicks, editKeys;
    bind(ok, "OnClick", okClicks);
    bind(cancel, "OnClick", cancelClicks);
    bind(edit, "OnKeyDown", editKeys);
    f.show();
    f.focus(edit);
    f.key(Qt::Key_Return);
    EXPECT_EQ(okClicks.calls, 1);
    f.key(Qt::Key_Escape);
    EXPECT_EQ(cancelClicks.calls, 1);
    EXPECT_EQ(editKeys.calls, 2);
    // Enter on a focused button presses that button.
    f.focus(cancel);
    f.key(Qt::Key_Enter);
    EXPECT_EQ(cancelClicks.calls, 2);
    EXPECT_EQ(okClicks.calls, 1);
}

TEST(Form, KeyPreviewShowsTheFormEveryKeyFirst) {
    ShownForm f;
    auto* edit = f.add<TEdit>(10, 10, 100, 21);
    EventProbe formKeys, editKeys, formPresses;
    bind(&f.form, "OnKeyDown", formKeys);
    bind(&f.form, "OnKeyPress", formPresses);
    bind(edit, "OnKeyDown", editKeys);
    f.show();
    f.focus(edit);
    f.key(Qt::Key_X);
    EXPECT_EQ(formKeys.calls, 0);
    EXPECT_EQ(editKeys.calls, 1);
    SetPropValue(&f.form, "KeyPreview", Variant::fromBool(true));
    f.key(Qt::Key_Y);
    EXPECT_EQ(formKeys.calls, 1);
    EXPECT_EQ(formPresses.calls, 1);
    EXPECT_EQ(editKeys.calls, 2);
    EXPECT_EQ(edit->Text(), "xy");
}

TEST(Form, AnchoredControlsFollowResizesOnceTheFormWasShown) {
    ShownForm f;
    auto* right = f.add<TButton>(300, 10, 75, 25);
    auto* wide = f.add<TEdit>(10, 50, 370, 21);
    SetPropValue(right, "Anchors", Variant::fromText("[akTop,akRight]"));
    SetPropValue(wide, "Anchors", Variant::fromText("[akLeft,akTop,akRight,akBottom]"));
    // Before the form shows, its size is still the sheet's design.
    f.form.SetWidth(450);
    EXPECT_EQ(right->Left(), 300);
    f.show();
    f.form.SetWidth(550);
    EXPECT_EQ(right->Left(), 400);
    EXPECT_EQ(right->Width(), 75);
    EXPECT_EQ(wide->Width(), 470);
    EXPECT_EQ(wide->Left(), 10);
    f.form.SetHeight(f.form.Height() + 30);
    EXPECT_EQ(wide->Height(), 51);
    EXPECT_EQ(right->Top(), 10);
}

TEST(Form, AlignedControlsShareTheClientArea) {
    ShownForm f;
    auto* top = f.add<TGroupBox>(0, 0, 50, 40);
    auto* bottom = f.add<TBevel>(0, 0, 50, 10);
    auto* client = f.add<TPageControl>(0, 0, 50, 50);
    EXPECT_FALSE(IsPublishedProp(new TButton(&f.form), "Align"));
    SetPropValue(client, "Align", Variant::fromText("alClient"));
    SetPropValue(top, "Align", Variant::fromText("alTop"));
    SetPropValue(bottom, "Align", Variant::fromText("alBottom"));
    EXPECT_EQ(top->Widget()->geometry(), QRect(0, 0, 392, 40));
    EXPECT_EQ(bottom->Widget()->geometry(), QRect(0, 263, 392, 10));
    EXPECT_EQ(client->Widget()->geometry(), QRect(0, 40, 392, 223));
    f.show();
    f.form.SetClientHeight(300);
    EXPECT_EQ(client->Height(), 250);
    EXPECT_EQ(bottom->Top(), 290);
    SetPropValue(top, "Visible", Variant::fromBool(false));
    EXPECT_EQ(client->Top(), 0);
}

} // namespace

[[maybe_unused]] const auto* const appearance =
    ::testing::AddGlobalTestEnvironment(new ProgramAppearance);
