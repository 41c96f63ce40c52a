#include "ShownForm.h"
#include "platform/widgets/Bevel.h"
#include "platform/widgets/GroupBox.h"
#include "platform/widgets/Label.h"

#include <QGroupBox>
#include <QLabel>

namespace {

QLabel* qtLabel(const TLabel* label) {
    return static_cast<QLabel*>(label->Widget());
}

TEST(Label, CaptionAlignmentAndLayoutReachTheLabel) {
    TLabel label;
    SetPropValue(&label, "Caption", Variant::fromWideText(QString::fromUtf8("IP adresa:")));
    EXPECT_EQ(qtLabel(&label)->text(), QString::fromUtf8("IP adresa:"));
    SetPropValue(&label, "Alignment", Variant::fromText("taRightJustify"));
    SetPropValue(&label, "Layout", Variant::fromText("tlCenter"));
    EXPECT_EQ(qtLabel(&label)->alignment(), Qt::AlignRight | Qt::AlignVCenter);

    // "&" marks an accelerator unless ShowAccelChar is off.
    SetPropValue(&label, "Caption", Variant::fromText("&Heslo && PIN"));
    EXPECT_EQ(qtLabel(&label)->text(), "<u>H</u>eslo &amp; PIN");
    SetPropValue(&label, "ShowAccelChar", Variant::fromBool(false));
    EXPECT_EQ(qtLabel(&label)->text(), "&Heslo && PIN");
}

TEST(Label, AutoSizeFitsTheTextAndWordWrapKeepsTheWidth) {
    TLabel label;
    label.SetBounds(5, 5, 10, 10);
    SetPropValue(&label, "Caption", Variant::fromText("Rychlost linky"));
    const int textWidth = QFontMetrics(qtLabel(&label)->font()).horizontalAdvance("Rychlost linky");
    EXPECT_GE(label.Width(), textWidth);
    EXPECT_EQ(label.Height(), 13);
    // The size is the one Qt's own size hint gives the caption.
    for (const char* caption : {"", "Žluťoučký kůň: ", "dva\nřádky", "a\tb", "&Heslo"}) {
        for (const char* alignment : {"taLeftJustify", "taRightJustify", "taCenter"}) {
            SetPropValue(&label, "Alignment", Variant::fromText(alignment));
            SetPropValue(&label, "Caption", Variant::fromText(caption));
            const QSize hint = qtLabel(&label)->sizeHint();
            EXPECT_EQ(label.Width(), hint.width()) << caption;
            EXPECT_EQ(label.Height(), qMax(hint.height(), 13)) << caption;
        }
    }
    SetPropValue(&label, "AutoSize", Variant::fromBool(false));
    label.SetWidth(40);
    SetPropValue(&label, "Caption", Variant::fromText("Dlouhý popis jednoho parametru"));
    EXPECT_EQ(label.Width(), 40);
    SetPropValue(&label, "WordWrap", Variant::fromBool(true));
    EXPECT_TRUE(qtLabel(&label)->wordWrap());
    SetPropValue(&label, "AutoSize", Variant::fromBool(true));
    EXPECT_EQ(label.Width(), 40);
    EXPECT_GT(label.Height(), 26);
    label.SetWidth(400);
    EXPECT_EQ(label.Height(), 13); // one line again
}

// Labels off screen measure their caption only when asked or shown: what is on
// screen, and what AutoSize and WordWrap set afterwards keep, is still the
// caption's size.
TEST(Label, ALabelOffScreenHasItsCaptionsSizeOnceShown) {
    ShownForm shown;
    auto* kept = shown.add<TLabel>(8, 8, 10, 10);
    auto* wrapped = shown.add<TLabel>(8, 40, 10, 10);
    auto* onScreen = shown.add<TLabel>(8, 80, 10, 10);
    for (TLabel* label : {kept, wrapped, onScreen})
        SetPropValue(label, "Caption", Variant::fromText("Rychlost linky"));
    SetPropValue(kept, "AutoSize", Variant::fromBool(false));
    SetPropValue(wrapped, "WordWrap", Variant::fromBool(true));
    shown.show();
    const QSize hint = qtLabel(onScreen)->sizeHint();
    EXPECT_EQ(qtLabel(onScreen)->size(), QSize(hint.width(), qMax(hint.height(), 13)));
    EXPECT_EQ(qtLabel(kept)->size(), qtLabel(onScreen)->size());
    EXPECT_EQ(qtLabel(wrapped)->width(), hint.width());
    SetPropValue(onScreen, "Caption", Variant::fromText("Rychlost linky v baudech"));
    EXPECT_GT(qtLabel(onScreen)->width(), hint.width());

    auto* hidden = shown.add<TLabel>(8, 120, 10, 10);
    SetPropValue(hidden, "Visible", Variant::fromBool(false));
    SetPropValue(hidden, "Caption", Variant::fromText("Rychlost linky"));
    SetPropValue(hidden, "Visible", Variant::fromBool(true));
    EXPECT_EQ(qtLabel(hidden)->size(), qtLabel(kept)->size());
}

TEST(Label, ColourPaintsUnlessTransparent) {
    TLabel label;
    EXPECT_FALSE(label.Widget()->autoFillBackground()); // the parent's colour shows through
    SetPropValue(&label, "Color", Variant::fromInt(0x00FFFF));
    EXPECT_TRUE(label.Widget()->autoFillBackground());
    EXPECT_EQ(label.Widget()->palette().color(QPalette::Window), QColor(255, 255, 0));
    SetPropValue(&label, "Transparent", Variant::fromBool(true));
    EXPECT_FALSE(label.Widget()->autoFillBackground());
}

TEST(Label, MouseEventsFireOncePerClickAndNeverReachTheParent) {
    ShownForm f;
    auto* box = f.add<TGroupBox>(10, 10, 200, 100);
    auto* label = new TLabel(&f.form);
    label->SetParent(box);
    label->SetBounds(10, 20, 80, 13);
    SetPropValue(label, "AutoSize", Variant::fromBool(false));
    EventProbe labelClicks, boxClicks, down, up;
    bind(label, "OnClick", labelClicks);
    bind(label, "OnMouseDown", down);
    bind(label, "OnMouseUp", up);
    bind(box, "OnClick", boxClicks);
    f.show();
    f.click(label);
    EXPECT_EQ(labelClicks.calls, 1);
    EXPECT_EQ(down.calls, 1);
    EXPECT_EQ(up.calls, 1);
    EXPECT_EQ(boxClicks.calls, 0);
    f.click(box);
    EXPECT_EQ(boxClicks.calls, 1);

    EventProbe popups;
    bind(label, "OnContextPopup", popups);
    QTest::mouseClick(f.window(), Qt::RightButton, {}, f.centreOf(label));
    EXPECT_EQ(popups.calls, 1);
    EXPECT_EQ(labelClicks.calls, 1); // a right click is no click
}

TEST(GroupBox, CaptionAndAlignedChildrenInsideTheFrame) {
    TForm form;
    auto* box = new TGroupBox(&form);
    box->SetParent(&form);
    SetPropValue(box, "Caption", Variant::fromWideText(QString::fromUtf8("Sériový port")));
    EXPECT_EQ(static_cast<QGroupBox*>(box->Widget())->title(), QString::fromUtf8("Sériový port"));
    auto* label = new TLabel(box);
    label->SetParent(box);
    SetPropValue(label, "Align", Variant::fromText("alClient"));
    const QRect inside = label->Widget()->geometry();
    EXPECT_GT(inside.top(), 0);
    EXPECT_TRUE(box->Widget()->rect().contains(inside));
}

TEST(Bevel, ShapeAndStyleChangeWhatIsDrawn) {
    TForm form;
    auto* bevel = new TBevel(&form);
    bevel->SetParent(&form);
    bevel->SetBounds(0, 0, 40, 40);
    EXPECT_FALSE(IsPublishedProp(bevel, "OnClick"));
    EXPECT_FALSE(IsPublishedProp(bevel, "Color"));
    EXPECT_FALSE(IsPublishedProp(bevel, "Enabled"));
    EXPECT_FALSE(IsPublishedProp(bevel, "Font"));
    EXPECT_TRUE(IsPublishedProp(bevel, "Anchors"));
    auto topLeft = [&] {
        return bevel->Widget()->grab().toImage().pixelColor(0, 0);
    };
    auto middle = [&] {
        return bevel->Widget()->grab().toImage().pixelColor(20, 20);
    };
    const QColor lowered = topLeft();
    SetPropValue(bevel, "Style", Variant::fromText("bsRaised"));
    EXPECT_NE(topLeft(), lowered);
    SetPropValue(bevel, "Shape", Variant::fromText("bsSpacer"));
    EXPECT_EQ(topLeft(), middle());
}

} // namespace
