#include "sheets/TScriptNodeObject.h"

#include "SheetTestRig.h"
#include "platform/Error.h"
#include "platform/components/Reflection.h"
#include "platform/widgets/Button.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/Edit.h"
#include "platform/widgets/Form.h"
#include "platform/widgets/GroupBox.h"
#include "platform/widgets/PageControl.h"
#include "sheets/TComboBoxObject.h"

#include <QtTest/QTest>
#include <algorithm>

using Lines = std::vector<std::string>;

class BuilderTest : public SheetTest {};

TEST_F(BuilderTest, ChildrenAreBuiltAndLoggedBeforeTheirParentsAttributes) {
    TComponent* form =
        build(R"(<Form Name="F" caption="Okno" Bogus="1" xmlpath="Text:A.b" Left="x">)"
              R"(<Button Name="B" Caption="OK" OnClick="F.Caption:=c;"/></Form>)");
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(takeLog(), (Lines{
                             "lime|Vytvoren prvek :Form",
                             "lime|Vytvoren prvek :Form.Button",
                             "info|    atribut nastaven: Name=B",
                             "info|    atribut nastaven: Caption=OK",
                             "info|    atribut udalosti nastaven: OnClick",
                             "info|    atribut nastaven: Name=F",
                             "info|    atribut nastaven: caption=Okno",
                             "error|    spatna hodnota atributu: Left=x",
                         }));
    auto* button = find<TButton>("B");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Owner(), form);
    EXPECT_EQ(button->Parent(), form);
    EXPECT_EQ(qobject_cast<TForm*>(form)->Caption(), "Okno");
    EXPECT_EQ(registry.Count(), 2);
}

TEST_F(BuilderTest, FailingElementsLogTheirNameAndTheirSiblingsAreBuilt) {
    ASSERT_NE(build("<form Name=\"F\"><Panel Name=\"P\"/><!-- note --><SCRIPT>Show;</SCRIPT>"
                    "<Persistent/><edit Name=\"E\"/></form>"),
              nullptr);
    EXPECT_EQ(takeLog(), (Lines{
                             "lime|Vytvoren prvek :form",
                             "red|Panel",
                             "red|#comment",
                             "red|SCRIPT",
                             "red|Persistent",
                             "lime|Vytvoren prvek :form.edit",
                             "info|    atribut nastaven: Name=E",
                             "info|    atribut nastaven: Name=F",
                         }));
    EXPECT_NE(find<TEdit>("E"), nullptr);
    EXPECT_EQ(build("<Panel/>"), nullptr);
}

TEST_F(BuilderTest, TabSheetsBecomePagesOnlyInsideAPageControl) {
    build("<Form><PageControl Name=\"PC\"><TabSheet Name=\"T1\" Caption=\"A\"/>"
          "<TabSheet Name=\"T2\"/></PageControl>"
          "<GroupBox Name=\"G\"><TabSheet Name=\"T3\"/></GroupBox></Form>");
    auto* pages = find<TPageControl>("PC");
    ASSERT_NE(pages, nullptr);
    ASSERT_EQ(pages->PageCount(), 2);
    EXPECT_EQ(pages->Page(0), find<TTabSheet>("T1"));
    EXPECT_EQ(pages->Page(1), find<TTabSheet>("T2"));
    auto* loose = find<TTabSheet>("T3");
    EXPECT_EQ(loose->PageControl(), nullptr);
    EXPECT_EQ(loose->Parent(), find<TGroupBox>("G"));
    const Lines lines = takeLog();
    EXPECT_EQ(lines[2], "lime|Vytvoren prvek :Form.PageControl.TabSheet");
}

TEST_F(BuilderTest, ComboBoxItemsAreEntriesWithTheirElements) {
    build(R"(<ComboBox Name="C"><ITEM caption="Ne" value="0"/><item caption="Ano" value="1"/>)"
          R"(<Item caption="Mo&amp;re"/><ıtem caption="Dotless" value="2"/></ComboBox>)");
    EXPECT_EQ(takeLog(), (Lines{
                             "lime|Vytvoren prvek :ComboBox",
                             "cream|        Nactena hodnota vyberu: 'Ne' - '<ITEM caption=\"Ne\" "
                             "value=\"0\"></ITEM>",
                             "cream|        Nactena hodnota vyberu: 'Ano' - '<item caption=\"Ano\" "
                             "value=\"1\"></item>",
                             "cream|        Nactena hodnota vyberu: 'Mo&re' - '<Item "
                             "caption=\"Mo&#38;re\"></Item>",
                             // Letter case folds in ASCII only: no entry, no widget class.
                             "red|?tem",
                             "info|    atribut nastaven: Name=C",
                         }));
    auto* combo = find<TComboBox>("C");
    ASSERT_EQ(combo->ItemCount(), 3);
    EXPECT_EQ(combo->ItemText(1), "Ano");
    auto* item = qobject_cast<TComboBoxObject*>(combo->ItemObject(1));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Owner(), combo);
    EXPECT_EQ(item->GetValue(), "1");
    EXPECT_THROW(qobject_cast<TComboBoxObject*>(combo->ItemObject(2))->GetValue(), Error);
}

TEST_F(BuilderTest, AnItemWithoutCaptionStopsItsComboBoxOnly) {
    build(R"(<Form Name="F"><ComboBox Name="C" Left="40"><ITEM caption="A" value="a"/>)"
          R"(<ITEM value="b"/><ITEM caption="C" value="c"/></ComboBox><Edit Name="E"/></Form>)");
    EXPECT_EQ(takeLog(), (Lines{
                             "lime|Vytvoren prvek :Form",
                             "lime|Vytvoren prvek :Form.ComboBox",
                             "cream|        Nactena hodnota vyberu: 'A' - '<ITEM caption=\"A\" "
                             "value=\"a\"></ITEM>",
                             "red|ComboBox",
                             "lime|Vytvoren prvek :Form.Edit",
                             "info|    atribut nastaven: Name=E",
                             "info|    atribut nastaven: Name=F",
                         }));
    // The combo box stays registered, owned and placed, without its attributes.
    const std::vector<TSheetComponent> entries = registry.Entries();
    ASSERT_EQ(entries.size(), 3u);
    auto* combo = qobject_cast<TComboBox*>(entries[1].Component);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->ItemCount(), 1);
    EXPECT_TRUE(combo->Name().isEmpty());
    EXPECT_NE(combo->Left(), 40);
    EXPECT_EQ(combo->Owner(), find<TForm>("F"));
}

TEST_F(BuilderTest, EventsRunTheAttributeTextAsItStandsAtEachFiring) {
    build(R"(<Form Name="F"><Button Name="B" OnClick="F.Caption:=one;"/></Form>)");
    auto* form = find<TForm>("F");
    auto* button = find<TButton>("B");
    form->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form->Widget()));
    QTest::mouseClick(button->Widget(), Qt::LeftButton);
    EXPECT_EQ(form->Caption(), "one");

    const IXMLNode element = registry.FindSheetComponent("B").Node;
    element.attributeNodes().find(QStringLiteral("OnClick")).setNodeValue("F.Caption:=two;");
    QTest::mouseClick(button->Widget(), Qt::LeftButton);
    EXPECT_EQ(form->Caption(), "two");
}

TEST_F(BuilderTest, ElementsNestedBeyondTheLimitFailWithoutExhaustingTheStack) {
    const int depth = 50000;
    QByteArray body;
    for (int i = 0; i < depth; ++i)
        body += "<GroupBox>";
    for (int i = 0; i < depth; ++i)
        body += "</GroupBox>";
    ASSERT_NE(build(body), nullptr);
    const Lines lines = takeLog();
    ASSERT_EQ(lines.size(), size_t(TScriptNodeObject::MaxDepth + 2));
    EXPECT_EQ(lines.back(), "red|GroupBox");
    EXPECT_EQ(registry.Count(), TScriptNodeObject::MaxDepth + 1);
}

TEST_F(BuilderTest, FullNamesFollowTheElementsAsWritten) {
    build("<Form><pagecontrol><TABSHEET><Edit/></TABSHEET></pagecontrol></Form>");
    EXPECT_EQ(takeLog()[3], "lime|Vytvoren prvek :Form.pagecontrol.TABSHEET.Edit");
}

TEST_F(BuilderTest, AWidgetFreedByAScriptWhileBeingBuiltEndsItsConstruction) {
    EXPECT_EQ(build(R"(<Form Name="F"><Edit Name="E" OnChange="Release;" Text="x")"
                    R"( MaxLength="3"/></Form>)"),
              nullptr);
    const Lines lines = takeLog();
    EXPECT_EQ(Lines(lines.end() - 2, lines.end()),
              (Lines{"info|    atribut nastaven: Text=x", "red|Edit"}));
    EXPECT_EQ(registry.Count(), 0);
    flushDeletions();
}

TEST_F(BuilderTest, ElementsBeyondTheWidgetLimitFailWithoutHanging) {
    const int count = 100000;
    QByteArray body = "<Form>";
    body.reserve(count * 22);
    for (int i = 0; i < count; ++i)
        body += "<Label Caption=\"x\"/>";
    body += "</Form>";
    ASSERT_NE(build(body), nullptr);
    const Lines lines = takeLog();
    EXPECT_EQ(registry.Count(), TScriptNodeObject::MaxWidgets);
    const auto failed = std::count(lines.begin(), lines.end(), "red|Label");
    EXPECT_EQ(failed, count + 1 - TScriptNodeObject::MaxWidgets);
    EXPECT_EQ(lines.size(), size_t(TScriptNodeObject::MaxWidgets * 2 - 1 + failed));
}

TEST_F(BuilderTest, AFiveHundredWidgetSheetBuilds) {
    QByteArray body = "<Form><PageControl>";
    for (int page = 0; page < 4; ++page) {
        body += "<TabSheet>";
        for (int row = 0; row < 61; ++row)
            body += "<Label Caption=\"Popis\"/><Edit Text=\"hodnota\"/>";
        body += "</TabSheet>";
    }
    body += "</PageControl>";
    for (int button = 0; button < 6; ++button)
        body += "<Button Caption=\"OK\"/>";
    body += "</Form>";
    ASSERT_NE(build(body), nullptr);
    EXPECT_EQ(registry.Count(), 500);
    for (const std::string& line : takeLog())
        EXPECT_FALSE(line.starts_with("red|") || line.starts_with("error|")) << line;
}
