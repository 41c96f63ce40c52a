#include "platform/components/Reflection.h"

#include "platform/Error.h"
#include "platform/widgets/Button.h"
#include "platform/widgets/Edit.h"
#include "platform/widgets/Form.h"
#include "platform/widgets/Label.h"
#include "platform/widgets/MenuItem.h"
#include "support/EventProbe.h"

#include <gtest/gtest.h>

namespace {

// The message of the error that the call raises, or "" when it succeeds.
template <typename Call> QString errorOf(Call&& call) {
    try {
        call();
    } catch (const Error& e) {
        return e.message();
    }
    return {};
}

QString conversionError(const Variant& value) {
    return errorOf([&] { value.toReal(); });
}

Variant text(const char* t) {
    return Variant::fromText(t);
}

Variant wide(const char* t) {
    return Variant::fromWideText(QString::fromUtf8(t));
}

TEST(Reflection, PublishedPropertiesAreFoundIgnoringAsciiCase) {
    TButton button;
    EXPECT_TRUE(IsPublishedProp(&button, "Caption"));
    EXPECT_TRUE(IsPublishedProp(&button, "cAPTION"));
    EXPECT_TRUE(IsPublishedProp(&button, "onclick"));
    EXPECT_FALSE(IsPublishedProp(&button, "XMLpath"));
    EXPECT_FALSE(IsPublishedProp(&button, "objectName")); // QObject's own is not published
    EXPECT_FALSE(IsPublishedProp(nullptr, "Caption"));
    TControl plain;
    EXPECT_TRUE(IsPublishedProp(&plain, "Hint"));
    EXPECT_FALSE(IsPublishedProp(&plain, "Visible")); // only the concrete classes publish it
    EXPECT_EQ(errorOf([&] { PropType(&button, "XMLpath"); }), "Property XMLpath does not exist");
    EXPECT_EQ(errorOf([&] { GetPropValue(&button, "Nothing", false); }),
              "Property Nothing does not exist");
    EXPECT_EQ(errorOf([&] { SetPropValue(&button, "Nothing", text("1")); }),
              "Property Nothing does not exist");
}

TEST(Reflection, KindsOfTheVocabularyProperties) {
    TEdit edit;
    EXPECT_EQ(PropType(&edit, "Text"), TypeKind::LString);
    EXPECT_EQ(PropType(&edit, "Tag"), TypeKind::Integer);
    EXPECT_EQ(PropType(&edit, "PasswordChar"), TypeKind::Char);
    EXPECT_EQ(PropType(&edit, "ReadOnly"), TypeKind::Enumeration);
    EXPECT_EQ(PropType(&edit, "CharCase"), TypeKind::Enumeration);
    EXPECT_EQ(PropType(&edit, "Anchors"), TypeKind::Set);
    EXPECT_EQ(PropType(&edit, "Font"), TypeKind::Class);
    EXPECT_EQ(PropType(&edit, "OnChange"), TypeKind::Method);
    EXPECT_EQ(PropType(&edit, "OnKeyPress"), TypeKind::Method);
}

TEST(Reflection, EnumerationsTakeNamesFromEightBitTextAndNumbersFromWideText) {
    TLabel label;
    SetPropValue(&label, "Alignment", text("tacenter"));
    EXPECT_EQ(label.Alignment(), Vcl::TAlignment::taCenter);

    SetPropValue(&label, "Alignment", wide("1"));
    EXPECT_EQ(label.Alignment(), Vcl::TAlignment::taRightJustify);
    EXPECT_EQ(errorOf([&] { SetPropValue(&label, "Alignment", wide("taCenter")); }),
              conversionError(wide("taCenter")));
    EXPECT_EQ(errorOf([&] { SetPropValue(&label, "Alignment", Variant::fromInt(3)); }),
              "Range check error");
    EXPECT_EQ(errorOf([&] { SetPropValue(&label, "Alignment", text("taMiddle")); }),
              "Invalid property element: taMiddle");
    EXPECT_EQ(errorOf([&] { SetPropValue(&label, "Alignment", text("")); }),
              "Invalid property element: ");
    EXPECT_EQ(label.Alignment(), Vcl::TAlignment::taRightJustify); // failed writes keep the value

    // The same element name means different ordinals in different types.
    TForm form;
    SetPropValue(&form, "BorderStyle", text("bsDialog"));
    EXPECT_EQ(form.BorderStyle(), Vcl::TFormBorderStyle::bsDialog);
    SetPropValue(&form, "BorderStyle", text("bsNone"));
    EXPECT_EQ(GetPropValue(&form, "BorderStyle", false).integerValue(), 0);
    EXPECT_EQ(GetPropValue(&form, "Position", true).textValue(), "poDesigned");
    EXPECT_EQ(GetPropValue(&label, "Alignment", true).textValue(), "taRightJustify");
}

TEST(Reflection, BooleansReadAsTruthValuesOrTheirNames) {
    TEdit edit;
    SetPropValue(&edit, "ReadOnly", wide("1"));
    EXPECT_TRUE(edit.ReadOnly());
    SetPropValue(&edit, "ReadOnly", wide("0"));
    EXPECT_FALSE(edit.ReadOnly());
    SetPropValue(&edit, "ReadOnly", text("TRUE"));
    EXPECT_TRUE(edit.ReadOnly());
    SetPropValue(&edit, "ReadOnly", Variant::fromBool(false));
    EXPECT_FALSE(edit.ReadOnly());
    EXPECT_EQ(errorOf([&] { SetPropValue(&edit, "ReadOnly", wide("2")); }), "Range check error");
    EXPECT_EQ(errorOf([&] { SetPropValue(&edit, "ReadOnly", text("yes")); }),
              "Invalid property element: yes");

    const Variant plain = GetPropValue(&edit, "Visible", false);
    EXPECT_EQ(plain.kind(), VarKind::Boolean);
    EXPECT_TRUE(plain.booleanValue());
    EXPECT_EQ(GetPropValue(&edit, "Visible", true).textValue(), "True");
    EXPECT_EQ(GetPropValue(&edit, "ReadOnly", true).textValue(), "False");
}

TEST(Reflection, TextPropertiesTakeNullAsEmptyButNumbersRefuseIt) {
    TEdit edit;
    edit.SetText("abc");
    SetPropValue(&edit, "Text", Variant::null());
    EXPECT_EQ(edit.Text(), "");
    SetPropValue(&edit, "Text", Variant::fromInt(12));
    EXPECT_EQ(GetPropValue(&edit, "Text", false).textValue(), "12");
    SetPropValue(&edit, "Text", wide("žluťoučký"));
    EXPECT_EQ(edit.Text(), "\x9elu\x9dou\xe8k\xfd");

    edit.SetTag(7);
    EXPECT_EQ(errorOf([&] { SetPropValue(&edit, "Tag", Variant::null()); }),
              conversionError(Variant::null()));
    EXPECT_EQ(edit.Tag(), 7);
}

TEST(Reflection, IntegersAreTruncatedAndRangeChecked) {
    TButton button;
    SetPropValue(&button, "Tag", Variant::fromDouble(12.7));
    EXPECT_EQ(button.Tag(), 12);
    SetPropValue(&button, "Tag", Variant::fromDouble(-12.7));
    EXPECT_EQ(button.Tag(), -12);
    SetPropValue(&button, "Tag", wide("-2147483648"));
    EXPECT_EQ(button.Tag(), -2147483647 - 1);
    EXPECT_EQ(errorOf([&] { SetPropValue(&button, "Tag", Variant::fromDouble(2147483648.0)); }),
              "Range check error");

    // Subranges of the vocabulary.
    SetPropValue(&button, "TabOrder", Variant::fromInt(-1));
    SetPropValue(&button, "TabOrder", Variant::fromInt(32767));
    EXPECT_EQ(errorOf([&] { SetPropValue(&button, "TabOrder", Variant::fromInt(-2)); }),
              "Range check error");
    EXPECT_EQ(errorOf([&] { SetPropValue(&button, "TabOrder", Variant::fromInt(32768)); }),
              "Range check error");
    EXPECT_EQ(button.TabOrder(), 32767);
    EXPECT_EQ(errorOf([&] { SetPropValue(&button, "Cursor", Variant::fromInt(-32769)); }),
              "Range check error");
    TMenuItem item;
    SetPropValue(&item, "ShortCut", Variant::fromInt(65535));
    EXPECT_EQ(errorOf([&] { SetPropValue(&item, "ShortCut", Variant::fromInt(65536)); }),
              "Range check error");
    EXPECT_EQ(errorOf([&] { SetPropValue(&item, "GroupIndex", Variant::fromInt(256)); }),
              "Range check error");
    EXPECT_EQ(errorOf([&] { SetPropValue(&item, "GroupIndex", Variant::fromInt(-1)); }),
              "Range check error");
}

TEST(Reflection, PasswordCharIsACharacterCode) {
    TEdit edit;
    SetPropValue(&edit, "PasswordChar", wide("42"));
    EXPECT_EQ(edit.PasswordChar(), '*');
    EXPECT_EQ(GetPropValue(&edit, "PasswordChar", true).integerValue(), 42);
    SetPropValue(&edit, "PasswordChar", Variant::fromInt(0xE8));
    EXPECT_EQ(GetPropValue(&edit, "PasswordChar", false).integerValue(), 0xE8);
    EXPECT_EQ(errorOf([&] { SetPropValue(&edit, "PasswordChar", Variant::fromInt(256)); }),
              "Range check error");
    EXPECT_EQ(errorOf([&] { SetPropValue(&edit, "PasswordChar", wide("*")); }),
              conversionError(wide("*")));
    EXPECT_EQ(edit.PasswordChar(), 0xE8);
}

TEST(Reflection, SetsReadTheirElementNamesInOrdinalOrder) {
    TButton button;
    const Vcl::TAnchors expected = Vcl::TAnchorKind::akLeft | Vcl::TAnchorKind::akRight;
    for (const char* written :
         {"[akLeft, akRight]", "akRight,akLeft", "akleft akright", "  [akLeft,,akRight]"}) {
        button.SetAnchors({});
        SetPropValue(&button, "Anchors", text(written));
        EXPECT_EQ(button.Anchors(), expected) << written;
    }
    EXPECT_EQ(GetPropValue(&button, "Anchors", true).textValue(), "akLeft,akRight");
    EXPECT_EQ(GetPropValue(&button, "Anchors", false).integerValue(), 5);

    SetPropValue(&button, "Anchors", wide("[akBottom]"));
    EXPECT_EQ(GetPropValue(&button, "Anchors", true).textValue(), "akBottom");
    SetPropValue(&button, "Anchors", Variant::fromInt(3));
    EXPECT_EQ(GetPropValue(&button, "Anchors", true).textValue(), "akLeft,akTop");
    SetPropValue(&button, "Anchors", Variant::null());
    EXPECT_EQ(GetPropValue(&button, "Anchors", true).textValue(), "");
    SetPropValue(&button, "Anchors", text("[akTop]"));
    EXPECT_EQ(errorOf([&] { SetPropValue(&button, "Anchors", text("[akTop,akMiddle]")); }),
              "Invalid property element: akMiddle");
    EXPECT_EQ(button.Anchors(), Vcl::TAnchors(Vcl::TAnchorKind::akTop));

    TFont font;
    SetPropValue(&font, "Style", text("[fsItalic, fsBold]"));
    EXPECT_EQ(GetPropValue(&font, "Style", true).textValue(), "fsBold,fsItalic");
}

TEST(Reflection, EventAndClassPropertiesCannotBeWritten) {
    TButton button;
    EXPECT_EQ(errorOf([&] { SetPropValue(&button, "OnClick", text("x")); }),
              "Invalid property type: TNotifyEvent");
    EXPECT_EQ(errorOf([&] { SetPropValue(&button, "Font", Variant::fromInt(1)); }),
              "Invalid property type: TFont");
    EXPECT_EQ(GetPropValue(&button, "OnClick", false).textValue(), "TNotifyEvent");
    EXPECT_EQ(GetPropValue(&button, "onkeydown", true).textValue(), "TKeyEvent");

    // Class properties read as a number that stands for the object.
    const Variant font = GetPropValue(&button, "Font", false);
    EXPECT_EQ(font.kind(), VarKind::Integer);
    EXPECT_NE(font.integerValue(), 0);
    EXPECT_EQ(GetPropValue(&button, "Font", false).integerValue(), font.integerValue());
    TButton other;
    EXPECT_NE(GetPropValue(&other, "Font", false).integerValue(), font.integerValue());
    EXPECT_EQ(GetPropValue(&button, "PopupMenu", false).integerValue(), 0);
}

TEST(Reflection, SetterErrorsComeOutOfTheWrite) {
    TComponent owner;
    TButton first(&owner);
    TButton second(&owner);
    SetPropValue(&first, "Name", text("bOK"));
    EXPECT_EQ(errorOf([&] { SetPropValue(&second, "name", text("BOK")); }),
              "A component named BOK already exists");
    EXPECT_EQ(errorOf([&] { SetPropValue(&second, "Name", text("b OK")); }),
              "''b OK'' is not a valid component name");
}

TEST(Reflection, EventsBindToPublishedMethodsAndPassTheSender) {
    TButton button;
    EventProbe probe;
    const MethodRef execute = FindPublishedMethod(&probe, "execute");
    ASSERT_TRUE(execute.isBound());
    EXPECT_FALSE(FindPublishedMethod(&probe, "Run").isBound());
    EXPECT_FALSE(
        FindPublishedMethod(&probe, "deleteLater").isBound()); // QObject's own are not published

    EXPECT_EQ(errorOf([&] { BindEvent(&button, "OnTeleport", execute); }),
              "Property OnTeleport does not exist");
    EXPECT_EQ(errorOf([&] { BindEvent(&button, "Caption", execute); }),
              "Invalid property type: QByteArray");
    BindEvent(&button, "onClick", execute);
    button.Click();
    EXPECT_EQ(probe.calls, 1);
    EXPECT_EQ(probe.lastSender, &button);
}

} // namespace
