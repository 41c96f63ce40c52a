#include "sheets/XMLPath.h"

#include "SheetTestRig.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/Edit.h"
#include "platform/widgets/SpinEdit.h"

using Lines = std::vector<std::string>;

TEST(SplitXMLPath, SplitsAtTheFirstColonAndTheFirstFullStop) {
    struct Case {
        QByteArray text, property, node, attribute;
    };
    const Case cases[] = {
        {"Text:NET.ip", "Text", "NET", "ip"},
        {"NET.ip", "", "NET", "ip"},
        {":NET.ip", "", "NET", "ip"},
        {"Text:ip", "Text", "", "Text:ip"},
        {"Text:.ip", "Text", "", "ip"},
        {"Item.Index:NET.dhcp", "Item.Index", "", "Index:NET.dhcp"},
        {" Text : NET . ip", " Text ", " NET ", " ip"},
        {"Text:NET.a.b", "Text", "NET", "a.b"},
        {"", "", "", ""},
    };
    for (const Case& c : cases) {
        const XMLPathParts parts = SplitXMLPath(c.text);
        EXPECT_EQ(parts.PropertyName, c.property) << c.text.constData();
        EXPECT_EQ(parts.NodeName, c.node) << c.text.constData();
        EXPECT_EQ(parts.AttributeName, c.attribute) << c.text.constData();
    }
}

class BindingTest : public SheetTest {
protected:
    BindingTest() {
        loadDevice(R"(<XML><DEVICE type="D" version="1"/><COM baud="9600" parity="X" bits="12"/>)"
                   R"(<NET ip="10.0.0.1"/></XML>)");
    }
    static QByteArray combo(const char* path) {
        return QByteArray(R"(<ComboBox Name="C" XMLpath=")") + path +
               R"("><ITEM caption="a" value="2400"/><ITEM caption="b" value="4800"/>)"
               R"(<ITEM caption="c" value="9600"/></ComboBox>)";
    }
    Lines takeLogAfterItems() {
        Lines lines = takeLog();
        lines.erase(lines.begin(), lines.begin() + 4);
        return lines;
    }
};

TEST_F(BindingTest, AComboBoxSelectsTheEntryWhoseValueEqualsTheDeviceValue) {
    build(combo("ItemIndex:COM.baud"));
    EXPECT_EQ(find<TComboBox>("C")->ItemIndex(), 2);
    EXPECT_EQ(takeLogAfterItems(),
              (Lines{"info|    atribut nastaven: Name=C",
                     "yellow|    nactena hodnota: XMLpath=ItemIndex:COM.baud"}));
}

TEST_F(BindingTest, AComboBoxWithoutAMatchingEntryGetsNoSelection) {
    build(combo("ItemIndex:COM.parity"));
    EXPECT_EQ(find<TComboBox>("C")->ItemIndex(), -1);
    EXPECT_EQ(takeLogAfterItems().back(),
              "yellow|    nactena hodnota: XMLpath=ItemIndex:COM.parity");
}

TEST_F(BindingTest, AnEditTakesTheDeviceText) {
    build(R"(<Edit Name="E" XMLpath="Text:NET.ip"/>)");
    EXPECT_EQ(find<TEdit>("E")->Text(), "10.0.0.1");
    EXPECT_EQ(takeLog().back(), "yellow|    nactena hodnota: XMLpath=Text:NET.ip");
}

TEST_F(BindingTest, AValueThePropertyDoesNotKeepIsLoggedRed) {
    build(R"(<SpinEdit Name="S" MinValue="5" MaxValue="8" XMLpath="Value:COM.bits"/>)");
    EXPECT_EQ(find<TSpinEdit>("S")->Value(), 8);
    EXPECT_EQ(takeLog().back(), "red|    nepodarilo se nacist hodnotu: XMLpath=Value:COM.bits");
}

TEST_F(BindingTest, AMissingNodeIsAppendedToTheDeviceDocument) {
    build(R"(<Edit Name="E" XMLpath="Text:SNMP.community"/>)");
    const IXMLNode last = device.documentElement().childNodes().item(3);
    EXPECT_EQ(last.xml(), QStringLiteral("<SNMP></SNMP>"));
    // A missing attribute is Null: the edit cannot keep it, and nothing is created.
    EXPECT_EQ(takeLog().back(),
              "red|    nepodarilo se nacist hodnotu: XMLpath=Text:SNMP.community");
    EXPECT_EQ(last.attributeNodes().count(), 0);
}

TEST_F(BindingTest, AMissingPropertyIsLoggedAndEndsTheElement) {
    build(R"(<Form Name="F"><Edit XMLpath="Caption:NET.ip" Name="E"/><Edit Name="G"/></Form>)");
    const Lines lines = takeLog();
    EXPECT_EQ(lines[2], "red|Chyba pri nastavovani property :Caption - u prvku :<Edit "
                        "XMLpath=\"Caption:NET.ip\" Name=\"E\"></Edit>");
    EXPECT_EQ(lines[3], "red|Edit");
    EXPECT_EQ(lines[4], "lime|Vytvoren prvek :Form.Edit");
    EXPECT_EQ(find<TEdit>("E"), nullptr);
    EXPECT_NE(find<TEdit>("G"), nullptr);
}

TEST_F(BindingTest, APropertyNameWithAFullStopEndsTheElement) {
    build(R"(<Form Name="F"><ComboBox XMLpath="Item.Index:COM.baud" Name="C"/></Form>)");
    EXPECT_EQ(takeLog(), (Lines{"lime|Vytvoren prvek :Form", "lime|Vytvoren prvek :Form.ComboBox",
                                "red|ComboBox", "info|    atribut nastaven: Name=F"}));
    EXPECT_EQ(find<TComboBox>("C"), nullptr);
    // No element without a name was added to the device document.
    EXPECT_EQ(device.documentElement().childNodes().count(), 3);
}

TEST_F(BindingTest, AnItemWithoutValueEndsTheBoundComboBox) {
    build(R"(<Form Name="F"><ComboBox XMLpath="ItemIndex:COM.baud" Name="C">)"
          R"(<ITEM caption="a"/></ComboBox></Form>)");
    EXPECT_EQ(takeLog()[3], "red|ComboBox");
}
