#include "platform/widgets/PageControl.h"

#include "ShownForm.h"

#include <QTabBar>
#include <QTabWidget>

namespace {

struct Pages : ShownForm {
    TPageControl* pages = add<TPageControl>(0, 0, 300, 200);
    TTabSheet* first = sheet("Síť");
    TTabSheet* second = sheet("Sériová linka");

    TTabSheet* sheet(const char* caption) {
        auto* s = new TTabSheet(pages);
        SetPropValue(s, "Caption", Variant::fromWideText(QString::fromUtf8(caption)));
        s->SetPageControl(pages);
        return s;
    }
    QTabWidget* tabs() const { return static_cast<QTabWidget*>(pages->Widget()); }
    QPoint tabCentre(int index) const {
        return tabs()->tabBar()->mapTo(form.Widget(), tabs()->tabBar()->tabRect(index).center());
    }
};

TEST(PageControl, TabSheetsBecomePagesAndTabIndexSelectsQuietly) {
    Pages p;
    ASSERT_EQ(p.tabs()->count(), 2);
    EXPECT_EQ(p.tabs()->tabText(1), QString::fromUtf8("Sériová linka"));
    EXPECT_EQ(p.second->PageIndex(), 1);
    EXPECT_FALSE(IsPublishedProp(p.first, "Anchors"));
    EXPECT_TRUE(IsPublishedProp(p.first, "Enabled"));
    EventProbe changes, changing;
    bind(p.pages, "OnChange", changes);
    bind(p.pages, "OnChanging", changing);
    SetPropValue(p.pages, "TabIndex", Variant::fromWideText("1"));
    EXPECT_EQ(p.tabs()->currentWidget(), p.second->Widget());
    EXPECT_EQ(p.pages->ActivePage(), p.second);
    EXPECT_EQ(changes.calls + changing.calls, 0);

    SetPropValue(p.second, "PageIndex", Variant::fromInt(0));
    EXPECT_EQ(p.tabs()->widget(0), p.second->Widget());
    SetPropValue(p.first, "TabVisible", Variant::fromBool(false));
    EXPECT_FALSE(p.tabs()->isTabVisible(1));
    EXPECT_EQ(changes.calls + changing.calls, 0);
}

TEST(PageControl, TheOperatorsPageChangeFiresChangingThenChange) {
    Pages p;
    EventProbe changes, changing, shown;
    bind(p.pages, "OnChange", changes);
    bind(p.pages, "OnChanging", changing);
    bind(p.second, "OnShow", shown);
    p.show();
    QTest::mouseClick(p.window(), Qt::LeftButton, {}, p.tabCentre(1));
    EXPECT_EQ(p.pages->TabIndex(), 1);
    EXPECT_EQ(changing.calls, 1);
    EXPECT_EQ(changes.calls, 1);
    EXPECT_EQ(shown.calls, 1);
    QTest::mouseClick(p.window(), Qt::LeftButton, {}, p.tabCentre(1)); // the same page again
    EXPECT_EQ(changes.calls, 1);
    EXPECT_EQ(changing.calls, 1);

    // By keyboard on the focused tabs.
    p.tabs()->tabBar()->setFocus();
    p.key(Qt::Key_Left);
    EXPECT_EQ(p.pages->TabIndex(), 0);
    EXPECT_EQ(changing.calls, 2);
    EXPECT_EQ(changes.calls, 2);
}

TEST(PageControl, TabLooksFollowTheProperties) {
    Pages p;
    SetPropValue(p.pages, "TabPosition", Variant::fromText("tpBottom"));
    EXPECT_EQ(p.tabs()->tabPosition(), QTabWidget::South);
    SetPropValue(p.pages, "MultiLine", Variant::fromBool(true));
    EXPECT_FALSE(p.tabs()->usesScrollButtons());
    SetPropValue(p.pages, "TabHeight", Variant::fromInt(30));
    p.show();
    EXPECT_EQ(p.tabs()->tabBar()->tabRect(0).height(), 30);
    EXPECT_THROW(SetPropValue(p.pages, "TabWidth", Variant::fromInt(40000)), Error);
}

} // namespace
