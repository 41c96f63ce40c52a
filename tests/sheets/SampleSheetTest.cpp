#include "SheetTestRig.h"
#include "platform/Win1250.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/Edit.h"
#include "platform/widgets/Form.h"
#include "platform/widgets/SpinEdit.h"
#include "sheets/LoadSheet.h"

#include <QFile>
#include <QTimer>

// The project's sample sheet with the sample device configuration, built the
// way a connection builds it: its last script shows the form modally.
class SampleSheetTest : public SheetTest {
protected:
    SampleSheetTest() {
        device.loadFromFile(QStringLiteral(KONFIDOR_EXAMPLES_DIR "/demo-485-device.xm"));
        QFile::copy(QStringLiteral(KONFIDOR_EXAMPLES_DIR "/demo-485.xml"),
                    directory.filePath("demo-485.xml"));
    }

    // Elements that name widgets, and XMLpath attributes, in the loaded sheet.
    void countSheet(int& widgets, int& bindings) {
        widgets = bindings = 0;
        walkXMLTree(sheet.documentElement(), [&](const IXMLNode& node, int depth) {
            const QString name = node.nodeName().toUpper();
            if (depth == 0 || node.nodeType() != XMLNodeType::Element || name == "SCRIPT" ||
                name == "ITEM")
                return;
            ++widgets;
            if (!node.attribute("XMLpath").isNull())
                ++bindings;
        });
    }
};

TEST_F(SampleSheetTest, BuildsEveryWidgetAndLoadsEveryBinding) {
    bool shownModally = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto* form = find<TForm>("fDemo");
        if (!form || !form->IsModal())
            return;
        shownModally = true;
        EXPECT_EQ(find<TComboBox>("cBaud1")->ItemIndex(), 4);
        EXPECT_EQ(find<TComboBox>("cParity1")->ItemIndex(), 1);
        EXPECT_EQ(find<TComboBox>("cBaud2")->ItemIndex(), 3);
        EXPECT_EQ(find<TComboBox>("cFlow2")->ItemIndex(), 1);
        EXPECT_EQ(find<TComboBox>("cDHCP")->ItemIndex(), 0);
        EXPECT_EQ(find<TSpinEdit>("sePort")->Value(), 9999);
        EXPECT_EQ(find<TSpinEdit>("seTimeout2")->Value(), 100);
        EXPECT_EQ(Win1250::toWide(find<TEdit>("eLocation")->Text()),
                  QStringLiteral("Strojovna, rozvaděč R3"));
        EXPECT_TRUE(find<TEdit>("eIP")->Enabled());
        form->Close();
    });
    closer.start(10);

    DeviceIdentity identity;
    LoadSheet(context, identity);
    EXPECT_TRUE(shownModally);
    EXPECT_EQ(host.calls, QStringList{"Disconnect"});

    int widgets = 0;
    int bindings = 0;
    countSheet(widgets, bindings);
    int created = 0;
    int loaded = 0;
    for (const std::string& line : takeLog()) {
        EXPECT_NE(line.substr(0, 4), "red|") << line;
        EXPECT_NE(line.substr(0, 6), "error|") << line;
        created += line.starts_with("lime|Vytvoren prvek :");
        loaded += line.starts_with("yellow|    nactena hodnota: XMLpath=");
    }
    EXPECT_EQ(created, widgets);
    EXPECT_EQ(registry.Count(), widgets);
    EXPECT_EQ(loaded, bindings);
    EXPECT_EQ(bindings, 21);
}
