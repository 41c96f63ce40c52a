#include "DeviceShellTestSupport.h"
#include "app/TfWaitDialog.h"
#include "diagnostics/TfDebug.h"
#include "link/LinkTimings.h"
#include "platform/EntryGuard.h"
#include "platform/components/Reflection.h"
#include "platform/widgets/Button.h"
#include "platform/widgets/Edit.h"
#include "platform/widgets/Form.h"
#include "script/TScript.h"
#include "tools/devsim/DeviceSimulator.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QKeyEvent>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTimer>
#include <functional>

using ConnectTest = DeviceShellTest;

TEST_F(ConnectTest, ConnectButtonLogsInAndReceivesTheConfiguration) {
    DeviceSimulator& device = startDevice();
    start(loopback(device.port()));
    fMain().Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(fMain().Widget()));

    // The connect wait runs inside the click and ends once the link is up.
    click(fMain().bConnect());
    EXPECT_TRUE(QTest::qWaitFor([] { return QFile::exists(QStringLiteral("temp.xm~")); }, 5000));
    const QList<QByteArray> lines = communicationLines();
    ASSERT_GE(lines.size(), 2);
    EXPECT_TRUE(lines[0].endsWith(" - Connecting"));
    EXPECT_TRUE(lines[1].endsWith(" - Connect"));
    ASSERT_TRUE(fMain().xmlDevice().active());
    EXPECT_EQ(fMain().xmlDevice().documentElement().nodeName(), "XML");
    EXPECT_TRUE(device.received().contains("Sdemo\r"));

    // Connected: the main window hidden, the wait dialog still up, controls back.
    EXPECT_FALSE(fMain().Widget()->isVisible());
    EXPECT_TRUE(program().fWaitDialog().Widget()->isVisible());
    EXPECT_TRUE(fMain().bConnect()->Enabled());
    EXPECT_TRUE(fMain().eAddress()->Enabled());
    EXPECT_EQ(fMain().screenCursor(), 0);
    EXPECT_TRUE(dialogs.records().empty());

    // Closing the main window first closes the connection: the disconnection
    // handling runs ("onDisconnect();", which no sheet defines here).
    QSignalSpy closed(&fMain(), &TfMain::mainWindowClosed);
    fMain().Close();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_TRUE(communicationLines().last().endsWith(" - Disconnect"));
    ASSERT_EQ(dialogs.records().size(), 1u);
    EXPECT_EQ(dialogs.records()[0].kind, DialogKind::Notice);
    EXPECT_TRUE(dialogs.records()[0].text.startsWith("Script - Unknown command: 'onDisconnect"))
        << dialogs.records()[0].text.toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return device.openConnections() == 0; }, 5000));
}

// The diagnostics window's switch records from the next connection on into the file
// the operator chooses; switched off, nothing more is written.
TEST_F(ConnectTest, RecordingSwitchRecordsIntoTheChosenFileUntilSwitchedOff) {
    DeviceSimulator& device = startDevice();
    start(loopback(device.port()));
    fMain().Show();
    QCheckBox* recordSwitch = program().fDebug().cbRecord();
    recordSwitch->click();
    EXPECT_FALSE(recordSwitch->isChecked()) << "the operator chose no file";
    QTemporaryDir directory;
    const QString file = directory.filePath(QStringLiteral("záznam.jsonl"));
    dialogs.queueFile(file);
    recordSwitch->click();
    EXPECT_TRUE(recordSwitch->isChecked());

    click(fMain().bConnect());
    EXPECT_TRUE(QTest::qWaitFor([] { return QFile::exists(QStringLiteral("temp.xm~")); }, 5000));
    QFile recording(file);
    ASSERT_TRUE(recording.open(QIODevice::ReadOnly));
    const QByteArray recorded = recording.readAll();
    EXPECT_TRUE(recorded.contains(R"("event":"connect")")) << recorded.constData();
    EXPECT_TRUE(recorded.contains(QByteArray("S****\r").toBase64())) << recorded.constData();

    recordSwitch->click();
    EXPECT_FALSE(recordSwitch->isChecked());
    EXPECT_EQ(eventsEndingWith("Zaznam komunikace ukoncen"), 1);
    fMain().Close();
    EXPECT_EQ(QFileInfo(file).size(), recorded.size());
}

TEST_F(ConnectTest, CancelAfterConnectingBringsTheMainWindowBack) {
    DeviceSimulator& device = startDevice();
    start(loopback(device.port()));
    fMain().Show();
    click(fMain().bConnect());
    ASSERT_TRUE(program().fWaitDialog().Widget()->isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(program().fWaitDialog().Widget()));

    click(program().fWaitDialog().Button1());
    EXPECT_FALSE(program().fWaitDialog().Widget()->isVisible());
    EXPECT_TRUE(fMain().Widget()->isVisible());
    EXPECT_EQ(fMain().link().link(), nullptr);
    EXPECT_FALSE(fMain().link().keepAliveRunning());
    EXPECT_EQ(eventsEndingWith(" - Start aplikace"), 2);
    EXPECT_TRUE(dialogs.records().empty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return device.openConnections() == 0; }, 5000));
}

TEST_F(ConnectTest, EnterInTheAddressFieldConnects) {
    start(loopback(unusedLoopbackPort()));
    fMain().Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(fMain().Widget()));
    fMain().eAddress()->Widget()->setFocus();
    QTest::keyClick(fMain().Widget()->windowHandle(), Qt::Key_Return);
    ASSERT_EQ(dialogs.records().size(), 1u);
    EXPECT_EQ(dialogs.records()[0].kind, DialogKind::Error);
    EXPECT_EQ(dialogs.records()[0].text,
              QStringLiteral("Chyba komunikace - Spojení bylo aktivně odmítnuto."));
    EXPECT_TRUE(fMain().Widget()->isVisible());
    EXPECT_FALSE(program().fWaitDialog().Widget()->isVisible());
    EXPECT_TRUE(fMain().bConnect()->Enabled());
    EXPECT_EQ(fMain().screenCursor(), 0);
}

// The sample sheet shows its window modally from inside the receive handler. While
// it is up the keep-alive goes on; closing it disconnects ("Disconnect;"), and the
// sheet's onDisconnect frees the window and the main window comes back.
TEST_F(ConnectTest, SampleSheetRunsModallyWhileTheLinkStaysAlive) {
    LinkTimings timings = LinkTimings::current();
    // Long enough that a loaded machine still answers within one period.
    timings.keepAliveMs = 500;
    LinkTimings::replace(timings);
    DeviceSimulator& device = startDevice();
    startWithSampleSheet(device);

    bool waitDialogClosedForSheet = false;
    qsizetype keepAlivesBeforeSheet = -1;
    connectAndActInModalSheet([&](TForm& sheet) {
        const qsizetype keepAlives = device.received().count("?\r");
        if (keepAlivesBeforeSheet < 0) {
            keepAlivesBeforeSheet = keepAlives;
            waitDialogClosedForSheet = !program().fWaitDialog().Widget()->isVisible();
            return false;
        }
        if (keepAlives < keepAlivesBeforeSheet + 3)
            return false;
        sheet.Close();
        return true;
    });

    EXPECT_GE(keepAlivesBeforeSheet, 0) << "the sheet was never shown modally";
    EXPECT_TRUE(waitDialogClosedForSheet);
    EXPECT_TRUE(dialogs.records().empty()) << dialogs.records().front().text.toStdString();
    EXPECT_TRUE(communicationLines().last().endsWith(" - Disconnect"));
    EXPECT_EQ(fMain().FindSheetComponent("fDemo"), nullptr);
    EXPECT_EQ(fMain().link().link(), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return device.openConnections() == 0; }, 5000));
}

// "Uložit" of the sample sheet runs "Set": the edited value goes to the device,
// the device confirms and resets, and the operator is asked about logging in again.
TEST_F(ConnectTest, SampleSheetSendsEditedSettingsToTheDevice) {
    DeviceSimulator::Options deviceOptions;
    deviceOptions.resetDelayMs = 0;
    DeviceSimulator& device = startDevice(deviceOptions);
    startWithSampleSheet(device);

    connectAndActInModalSheet([&](TForm&) {
        SetPropValue(fMain().FindSheetComponent("eIP"), "Text", Variant::fromText("127.0.0.9"));
        click(static_cast<TControl*>(fMain().FindSheetComponent("bSave")));
        return true;
    });

    EXPECT_TRUE(device.lastApply().contains("ip=\"127.0.0.9\"")) << device.lastApply().constData();
    ASSERT_EQ(dialogs.records().size(), 1u);
    EXPECT_EQ(dialogs.records()[0].kind, DialogKind::Question);
    EXPECT_FALSE(fMain().ReconnectRequested());
    EXPECT_FALSE(fMain().ApplyInProgress);
    EXPECT_EQ(fMain().FindSheetComponent("fDemo"), nullptr);
    EXPECT_TRUE(communicationLines().last().endsWith(" - Disconnect"));
}

// Return pressed on the main window connects. A key whose release never reached the
// X server (a synthetic release) goes on repeating into the sheet the connection
// brings up: releases and presses with one time, which Qt flags as repeats only when
// it sees the press already queued. None of them may press the sheet's "Uložit".
TEST_F(ConnectTest, RepeatsOfTheKeyThatConnectedPressNoButtonOfTheSheet) {
    DeviceSimulator& device = startDevice();
    startWithSampleSheet(device);
    ASSERT_TRUE(QTest::qWaitForWindowActive(fMain().Widget()));
    const auto sendReturn = [](QEvent::Type type, quint64 timestamp, bool flaggedRepeat) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QKeyEvent key(type, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), flaggedRepeat);
        key.setTimestamp(timestamp);
        QApplication::sendEvent(focus, &key);
    };
    bool repeatsSent = false;
    connectAndActInModalSheet(
        [&](TForm& sheet) {
            // The keys go where the window system sends them: the focused sheet.
            if (!sheet.Widget()->isAncestorOf(QApplication::focusWidget()))
                return false;
            for (quint64 time = 2000; time < 2010; ++time) {
                sendReturn(QEvent::KeyRelease, time, time % 2 == 0);
                sendReturn(QEvent::KeyPress, time, time % 2 == 0);
            }
            repeatsSent = true;
            sheet.Close();
            return true;
        },
        [&] { sendReturn(QEvent::KeyPress, 1000, false); });

    EXPECT_TRUE(repeatsSent);
    EXPECT_EQ(std::count_if(device.received().begin(), device.received().end(),
                            [](const QByteArray& message) { return message.startsWith("<XML>"); }),
              0);
    EXPECT_TRUE(dialogs.records().empty()) << dialogs.records().front().text.toStdString();
}

// A sheet whose disconnection script fails must not keep the program alive with no
// window: the error reaches the error box and the program still ends.
TEST_F(ConnectTest, ClosingEndsTheProgramEvenWhenTheDisconnectionScriptFails) {
    DeviceSimulator& device = startDevice();
    start(loopback(device.port()));
    fMain().Show();
    click(fMain().bConnect());
    ASSERT_NE(fMain().link().link(), nullptr);
    fMain().mainScript().Run("function onDisconnect() { nobody.Text:=1; }");

    QSignalSpy closed(&fMain(), &TfMain::mainWindowClosed);
    EntryGuard::guardEntry([this] { fMain().Close(); });
    EXPECT_EQ(closed.count(), 1);
    ASSERT_EQ(dialogs.records().size(), 1u);
    EXPECT_EQ(dialogs.records()[0].kind, DialogKind::Error);
}
