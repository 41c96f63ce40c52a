#include "sheets/ApplySettings.h"

#include "SheetTestRig.h"
#include "link/LinkSignals.h"
#include "link/LinkTimings.h"
#include "platform/Error.h"
#include "platform/Win1250.h"
#include "platform/dialogs/RecordingDialogs.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/Edit.h"
#include "platform/widgets/SpinEdit.h"

#include <QFile>
#include <QTimer>

namespace {

const QByteArray Device = "<XML><DEVICE type=\"D\" version=\"1\"/><!-- nastaveni -->"
                          "<NET ip=\"10.0.0.1\" port=\"80\" dhcp=\"0\" x=\"ř\"/>"
                          "<COM baud=\"9600\" parity=\"N\"/></XML>";

const QByteArray Form =
    R"(<Form Name="F">)"
    R"(<Edit Name="eIP" XMLpath="Text:NET.ip"/>)"
    R"(<SpinEdit Name="sePort" MaxValue="65535" MinValue="1" XMLpath="Value:NET.port"/>)"
    R"(<ComboBox Name="cBaud" XMLpath="ItemIndex:COM.baud">)"
    R"(<ITEM caption="9600 Bd" value="9600"/><ITEM caption="19200 Bd" value="19200"/>)"
    R"(</ComboBox>)"
    R"(<ComboBox Name="cParity" XMLpath="ItemIndex:COM.parity">)"
    R"(<ITEM caption="Suda" value="E"/></ComboBox>)"
    R"(<Edit Name="eMissing" XMLpath="Text:NET.gateway"/>)"
    R"(<Edit Name="eNew" XMLpath="Text:SNMP.community"/>)"
    R"(<Edit Name="eBroken" XMLpath="Te.xt:NET.ip"/>)"
    R"(</Form>)";

} // namespace

class ApplyTest : public SheetTest {
protected:
    ApplyTest() {
        loadDevice(Device);
        build(Form);
        OperatorDialogs::install(&dialogs);
        LinkTimings timings = LinkTimings::current();
        timings.applyWaitMs = 300;
        savedTimings_ = LinkTimings::replace(timings);
    }
    ~ApplyTest() override {
        OperatorDialogs::install(nullptr);
        LinkTimings::replace(savedTimings_);
    }

    void change() {
        find<TEdit>("eIP")->SetText("10.0.0.2");
        find<TSpinEdit>("sePort")->SetValue(8080);
        find<TComboBox>("cBaud")->SetItemIndex(1);
        find<TEdit>("eMissing")->SetText("10.0.0.254");
        find<TEdit>("eNew")->SetText("public");
    }
    QString deviceText() const { return device.documentElement().xml(); }

    RecordingDialogs dialogs;
    LinkSignals linkSignals;
    bool inProgress = false;
    bool reconnectRequested = false;
    bool connected = true;
    int reconnects = 0;
    QByteArrayList sent;
    ApplyEnvironment environment{[this] { return connected; },
                                 [this](const QByteArray& text) { sent << text; },
                                 linkSignals,
                                 dialogs,
                                 inProgress,
                                 reconnectRequested,
                                 [this] { ++reconnects; },
                                 directory.filePath("saved.xml"),
                                 {},
                                 {}};

private:
    LinkTimings savedTimings_;
};

TEST_F(ApplyTest, BoundEnabledValuesAreWrittenAndTheRestIsSkipped) {
    // The binding to a missing node added an empty element while building.
    const QString built = deviceText();
    EXPECT_TRUE(built.endsWith("<SNMP></SNMP></XML>"));
    change();
    WriteBoundValues(context);
    // The unselected parity combo box, the missing attribute, the new element
    // and the broken binding are left as they were.
    EXPECT_EQ(deviceText(), QStringLiteral("<XML><DEVICE type=\"D\" version=\"1\"></DEVICE><!-- "
                                           "nastaveni --><NET ip=\"10.0.0.2\" port=\"8080\" "
                                           "dhcp=\"0\" x=\"ř\"></NET><COM baud=\"19200\" "
                                           "parity=\"N\"></COM><SNMP></SNMP></XML>"));
}

TEST_F(ApplyTest, ADisabledWidgetIsNotWrittenUntilItIsEnabled) {
    auto* edit = find<TEdit>("eIP");
    edit->SetText("10.9.9.9");
    edit->SetEnabled(false);
    WriteBoundValues(context);
    EXPECT_TRUE(deviceText().contains("ip=\"10.0.0.1\""));
    edit->SetEnabled(true);
    WriteBoundValues(context);
    EXPECT_TRUE(deviceText().contains("ip=\"10.9.9.9\""));
}

TEST_F(ApplyTest, WithoutAConnectionTheDocumentIsSavedAsUtf8Silently) {
    connected = false;
    change();
    ApplySettings(context, environment);
    EXPECT_FALSE(inProgress);
    EXPECT_TRUE(sent.isEmpty());
    EXPECT_TRUE(dialogs.records().empty());
    QFile saved(environment.SaveFileName);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    EXPECT_TRUE(bytes.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<XML>"));
    EXPECT_TRUE(bytes.contains("ip=\"10.0.0.2\""));
    EXPECT_TRUE(bytes.contains("x=\"\xC5\x99\""));

    environment.SaveFileName = directory.filePath("missing/saved.xml");
    EXPECT_THROW(ApplySettings(context, environment), Error);
    EXPECT_FALSE(inProgress);
}

TEST_F(ApplyTest, TheDocumentIsSentAndTheConfirmationAnswered) {
    change();
    dialogs.queueAnswer(DialogAnswer::Yes);
    QTimer::singleShot(10, [this] {
        EXPECT_TRUE(inProgress);
        linkSignals.hReconfigured.set();
    });
    ApplySettings(context, environment);
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(sent[0], Win1250::fromWide(deviceText()) + "\r");
    EXPECT_TRUE(sent[0].contains("x=\"\xF8\""));
    ASSERT_EQ(dialogs.records().size(), 1u);
    EXPECT_EQ(dialogs.records()[0].caption, QStringLiteral("Znovu přihlásit"));
    EXPECT_TRUE(dialogs.records()[0].text.startsWith("Konfigurace byla úspěšně provedena"));
    EXPECT_TRUE(reconnectRequested);
    EXPECT_EQ(reconnects, 0);
    EXPECT_FALSE(inProgress);
}

TEST_F(ApplyTest, AYesAfterTheDeviceHasDisconnectedLogsInAtOnce) {
    dialogs.queueAnswer(DialogAnswer::Yes);
    QTimer::singleShot(10, [this] {
        linkSignals.hPartiallyApplied.set();
        // The device resets while the operator reads the question.
        connected = false;
    });
    ApplySettings(context, environment);
    EXPECT_TRUE(dialogs.records()[0].text.startsWith("Konfigurace byla provedena pouze"));
    EXPECT_FALSE(reconnectRequested);
    EXPECT_EQ(reconnects, 1);
}

TEST_F(ApplyTest, ANoAWrongPasswordOrSilenceEndsTheWaitWithTheirMessages) {
    dialogs.queueAnswer(DialogAnswer::No);
    linkSignals.hReconfigured.set();
    linkSignals.hWrongPassword.set();
    ApplySettings(context, environment);
    EXPECT_FALSE(reconnectRequested);
    EXPECT_TRUE(linkSignals.hWrongPassword.isSet());

    ApplySettings(context, environment);
    EXPECT_EQ(dialogs.records().back().text, QStringLiteral("Špatné heslo!"));

    ApplySettings(context, environment);
    EXPECT_EQ(dialogs.records().back().text,
              QStringLiteral("Zařízení nepotvrdilo správné nastavení. Zkuste akci opakovat, nebo "
                             "se znovu připojit!"));
    EXPECT_EQ(dialogs.records().size(), 3u);
    EXPECT_EQ(reconnects, 0);
}
