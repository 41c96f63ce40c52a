// The program against devices that misbehave: for each way, what the operator
// sees, that nothing waits beyond the link's deadlines, and that "Připojit" works
// again once the device behaves.
#include "DeviceShellTestSupport.h"

namespace {

using Fault = DeviceSimulator::Fault;

struct FaultCase {
    Fault fault;
    const char* name;
    // What tells the operator: a message box's text, or (when empty) nothing
    // but the main window coming back.
    QString message;
    // The connection ends by itself (otherwise the operator cancels the wait).
    bool ends = true;
    // The device gets through in the end: its sheet shows.
    bool sheetShows = false;
};

void PrintTo(const FaultCase& c, std::ostream* out) {
    *out << c.name;
}

const QString Silent =
    QStringLiteral("Chyba komunikace! Zařízení přestalo komunikovat! Zkuste se znovu připojit!");
const QString NoSheet = QStringLiteral("Script - Unknown command: 'onDisconnect()'");

class FaultyDeviceTest : public DeviceShellTest, public ::testing::WithParamInterface<FaultCase> {
protected:
    bool dialogShown(const QString& text) const {
        return std::any_of(dialogs.records().begin(), dialogs.records().end(),
                           [&](const auto& r) { return r.text.startsWith(text); });
    }
};

TEST_P(FaultyDeviceTest, OperatorIsToldAndCanConnectAgain) {
    const FaultCase& c = GetParam();
    LinkTimings timings = LinkTimings::current();
    timings.keepAliveMs = 1000;
    LinkTimings::replace(timings);
    DeviceSimulator::Options options;
    options.fault = c.fault;
    DeviceSimulator& device = startDevice(options);
    startWithSampleSheet(device);

    const auto closeSheet = [](TForm& sheet) {
        sheet.Close();
        return true;
    };
    if (c.sheetShows) {
        connectAndActInModalSheet(closeSheet);
        EXPECT_EQ(eventsEndingWith("Vytvoren prvek :Form"), 1);
        EXPECT_FALSE(dialogShown(NoSheet));
        return;
    }
    click(fMain().bConnect());
    if (!c.message.isEmpty()) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return dialogShown(c.message); }, 20000))
            << "no message starting " << c.message.toStdString();
    }
    if (!c.ends)
        fMain().CancelConnect();
    ASSERT_TRUE(QTest::qWaitFor([&] { return fMain().Widget()->isVisible(); }, 20000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !fMain().link().connected(); }, 20000));

    device.setFault(Fault::None);
    connectAndActInModalSheet(closeSheet);
    EXPECT_GE(eventsEndingWith("Vytvoren prvek :Form"), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultyDeviceTest,
    ::testing::Values(
        FaultCase{Fault::NoPrompt, "NoPrompt", Silent},
        FaultCase{Fault::PromptWithoutLineEnd, "PromptWithoutLineEnd", NoSheet},
        FaultCase{Fault::EndlessLine, "EndlessLine",
                  QStringLiteral("Chyba komunikace! Zařízení posílá příliš mnoho dat bez konce "
                                 "řádku. Spojení bylo ukončeno.")},
        FaultCase{Fault::Binary, "Binary", {}, true, true},
        FaultCase{Fault::CloseInConfiguration, "CloseInConfiguration", NoSheet},
        FaultCase{Fault::ResetAfterPassword, "ResetAfterPassword", NoSheet},
        FaultCase{Fault::Flood, "Flood", {}, true, true},
        FaultCase{Fault::OversizedBlock, "OversizedBlock",
                  QStringLiteral("Chyba komunikace! Zařízení poslalo příliš velkou nebo "
                                 "neukončenou konfiguraci. Spojení bylo ukončeno.")},
        FaultCase{Fault::MalformedBlock, "MalformedBlock",
                  QStringLiteral("Opening and ending tag mismatch."), false},
        FaultCase{Fault::DeepBlock, "DeepBlock",
                  QStringLiteral("Could not convert variant of type (Null) into type (String)"),
                  false},
        FaultCase{Fault::UndefinedBytes, "UndefinedBytes",
                  QStringLiteral("Invalid Windows-1250 sequence \"0x81\""), false}),
    [](const auto& info) { return std::string(info.param.name); });

// One byte every 50 ms is slow, not silent: the keep-alive sees the bytes coming,
// and the sheet shows once the (here short) configuration is through.
TEST_F(DeviceShellTest, ASlowDripDeviceGetsThroughAndItsSheetShows) {
    DeviceSimulator::Options options;
    options.fault = Fault::SlowDrip;
    options.configuration = "<XML><DEVICE type=\"DEMO-485\" version=\"1.0\"/></XML>";
    DeviceSimulator& device = startDevice(options);
    startWithSampleSheet(device);
    connectAndActInModalSheet([](TForm& sheet) {
        sheet.Close();
        return true;
    });
    EXPECT_EQ(eventsEndingWith("Vytvoren prvek :Form"), 1);
}

} // namespace
