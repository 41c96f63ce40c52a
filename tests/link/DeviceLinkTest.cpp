#include "link/DeviceLink.h"

#include "LinkTestSupport.h"
#include "RecordingLinkHost.h"
#include "link/SocketErrorCodes.h"

#include <QEventLoop>
#include <QFile>
#include <QPointer>
#include <QTcpServer>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace {

const QString KeepAliveFailure =
    QStringLiteral("Chyba komunikace! Zařízení přestalo komunikovat! Zkuste se znovu připojit!");

QByteArray storedConfiguration() {
    QFile file(DeviceLink::StoredConfigurationFile);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class DeviceLinkTest : public LinkTest {
protected:
    int keepAlivesReceived() const { return static_cast<int>(simulator().received().count("?\r")); }
    const DeviceSimulator& simulator() const { return *device_; }

    // Connects to the simulator and waits until the configuration has been loaded.
    void connectAndLoad(DeviceSimulator::Options options = {}) {
        device_ = &startSimulator(std::move(options));
        link.setPort(device_->port());
        link.bConnectClick();
        ASSERT_TRUE(QTest::qWaitFor([&] { return host.sheetsLoaded == 1; }, 5000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return keepAlivesReceived() >= 1; }, 5000));
    }

    // Sends bytes from the device and waits until the link has read them.
    void deviceSends(const QByteArray& bytes) {
        const auto reads = [&] {
            return std::count_if(host.log.begin(), host.log.end(),
                                 [](const QString& e) { return e.startsWith("Receive "); });
        };
        const auto before = reads();
        device_->sendRaw(bytes);
        ASSERT_TRUE(QTest::qWaitFor([&] { return reads() > before && link.link(); }, 5000));
    }

    void attemptWithFault(SocketFaults::Fault fault) {
        SocketFaults::setInjector([fault](const QString& host, quint16) {
            return host == "device.test" ? std::optional(fault) : std::nullopt;
        });
        host.address = "device.test";
        link.bConnectClick();
    }

    void expectIdleAfterFailure() {
        EXPECT_TRUE(host.mainWindowShown);
        EXPECT_FALSE(host.waitDialogShown);
        EXPECT_TRUE(host.controlsEnabled);
        EXPECT_EQ(host.cursor, 0);
        EXPECT_TRUE(host.scripts.isEmpty());
    }

    RecordingLinkHost host;
    DeviceLink link{host};
    DeviceSimulator* device_ = nullptr;
};

TEST_F(DeviceLinkTest, LogsInRequestsAndStoresTheConfiguration) {
    host.cursor = 7;
    connectAndLoad();

    EXPECT_EQ(storedConfiguration(), TestDeclaration + TestBlock);
    EXPECT_EQ(TestDeclaration.size(), 45);
    EXPECT_EQ(host.reloads, QStringList({"temp.xm~"}));
    EXPECT_EQ(simulator().received(), QByteArrayList({"Sdemo\r", "<XML/>\r", "?\r"}));

    ASSERT_GE(host.log.size(), 5);
    EXPECT_EQ(host.log.mid(0, 2), QStringList({"Connecting", "Connect"}));
    EXPECT_TRUE(host.log[2].startsWith("Receive "));
    EXPECT_TRUE(host.log.contains(DeviceSimulator::PasswordPrompt + "\r\n"));
    EXPECT_TRUE(host.log.contains("S >\r\n"));
    for (const QString& entry : host.log)
        EXPECT_FALSE(entry.contains("Sdemo")) << "the password was logged";

    // Connected before the sheet: the wait dialog stays until a sheet shows itself.
    EXPECT_FALSE(host.mainWindowShown);
    EXPECT_TRUE(host.waitDialogShown);
    EXPECT_TRUE(host.controlsEnabled);
    EXPECT_EQ(host.cursor, 7);
    EXPECT_TRUE(link.keepAliveRunning());
    EXPECT_TRUE(errorBoxes.isEmpty());
}

TEST_F(DeviceLinkTest, BlockArrivingByteByByteIsStoredOnce) {
    connectAndLoad();
    const QByteArray block = "<XML><A n=\"\xE8\"/>\r\n</XML>";
    const QByteArray wire = TestDeclaration + "\r\n" + block + "\r\n";
    for (const char byte : wire)
        deviceSends(QByteArray(1, byte));
    EXPECT_EQ(host.sheetsLoaded, 2);
    EXPECT_EQ(storedConfiguration(), TestDeclaration + block);
    // A declaration ended before its block arrives is an ordinary line.
    EXPECT_TRUE(host.log.contains(TestDeclaration + "\r\n"));
}

TEST_F(DeviceLinkTest, BlocksSplitAcrossReadsOrSharingOneAreEachHandled) {
    connectAndLoad();

    // The device's declaration and "<XML>", then the middle, then the end.
    const QByteArray second = TestBlock.left(TestBlock.size() - 6) + "<X/>\r\n</XML>";
    deviceSends(TestDeclaration + "\r\n<XML>");
    deviceSends(second.mid(5, 20));
    EXPECT_EQ(host.sheetsLoaded, 1);
    deviceSends(second.mid(25) + "\r\n");
    EXPECT_EQ(host.sheetsLoaded, 2);
    EXPECT_EQ(storedConfiguration(), TestDeclaration + second);

    // Two complete blocks in one read: each stored, loaded and acknowledged.
    const QByteArray third = "<XML><A n=\"3\"/></XML>";
    const QByteArray fourth = "<XML><A n=\"4\"/></XML>";
    deviceSends(TestDeclaration + "\r\n" + third + "\r\n" + TestDeclaration + "\r\n" + fourth +
                "\r\n");
    EXPECT_EQ(host.sheetsLoaded, 4);
    EXPECT_EQ(storedConfiguration(), TestDeclaration + fourth);
    EXPECT_TRUE(QTest::qWaitFor([&] { return keepAlivesReceived() == 4; }, 5000));
    EXPECT_FALSE(host.log.contains(TestDeclaration + "\r\n")) << "a device declaration was left";
}

TEST_F(DeviceLinkTest, BlockDuringApplyIsDroppedButTheConfirmationBehindItCounts) {
    connectAndLoad();
    host.applying = true;
    deviceSends(TestDeclaration + "\r\n<XML><A/></XML>\r\n<!--Prevodnik prenastaven-->\r\n");

    EXPECT_TRUE(host.log.contains(TestDeclaration + "<XML><A/></XML>"));
    EXPECT_EQ(host.sheetsLoaded, 1);
    EXPECT_EQ(storedConfiguration(), TestDeclaration + TestBlock);
    EXPECT_TRUE(link.linkSignals().hReconfigured.test());
    QTest::qWait(50);
    EXPECT_EQ(keepAlivesReceived(), 1);
}

TEST_F(DeviceLinkTest, LinesAreJudgedByTheirFirstMarkerAndStrayBlockEndsAreDropped) {
    connectAndLoad();
    // Lines in front of a stray block end still count; the stray end is dropped.
    deviceSends("<!--Prevodnik prenastaven-->\r\nstray</XML>\r\n"
                "<!--Vsechna prenastaveni nebyla provedena-->\r\n");
    EXPECT_TRUE(host.log.contains("stray</XML>"));
    EXPECT_TRUE(link.linkSignals().hReconfigured.test());
    EXPECT_TRUE(link.linkSignals().hPartiallyApplied.test());

    // The password prompt wins over the command prompt in the same line.
    deviceSends("S***** S >\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return simulator().received().size() == 4; }, 5000));
    EXPECT_EQ(simulator().received().last(), "Sdemo\r");
}

TEST_F(DeviceLinkTest, WrongPasswordEndsTheLinkWithoutTheDisconnectScript) {
    host.password = "wrong";
    device_ = &startSimulator();
    link.setPort(device_->port());
    link.bConnectClick();
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.logged("Disconnect") == 1; }, 5000));

    EXPECT_EQ(host.notices, QStringList({"Chybné heslo!"}));
    EXPECT_TRUE(host.scripts.isEmpty());
    EXPECT_TRUE(host.mainWindowShown);
    EXPECT_FALSE(host.waitDialogShown);
    EXPECT_EQ(link.link(), nullptr);
    EXPECT_FALSE(link.keepAliveRunning());
    EXPECT_TRUE(errorBoxes.isEmpty());
}

TEST_F(DeviceLinkTest, RefusedConnectionShowsOneErrorBox) {
    quint16 port = 0;
    {
        QTcpServer server;
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
        port = server.serverPort();
    }
    link.setPort(port);
    link.bConnectClick();

    const QString text = "Chyba komunikace - Spojení bylo aktivně odmítnuto.";
    EXPECT_EQ(errorBoxes, QStringList({text}));
    EXPECT_EQ(host.log, QStringList({"Connecting", text}));
    expectIdleAfterFailure();
}

TEST_F(DeviceLinkTest, InjectedFailuresChooseTheirTexts) {
    attemptWithFault({SocketFaults::Fault::Stage::Lookup, SocketErrorCodes::HostNotFound});
    EXPECT_EQ(errorBoxes, QStringList({"Chyba komunikace - Neplatná adresa IP!"}));
    EXPECT_FALSE(host.log.contains("Connecting"));
    expectIdleAfterFailure();

    errorBoxes.clear();
    host.log.clear();
    attemptWithFault({SocketFaults::Fault::Stage::Connect, 10065});
    // The error box adds the full stop behind the code.
    EXPECT_EQ(errorBoxes, QStringList({"Chyba komunikace - Chybový kod Windows socket API:10065"}));
    EXPECT_EQ(host.log.first(), "Connecting");
    expectIdleAfterFailure();

    // The socket's own connect time-out comes before the connect wait's deadline.
    errorBoxes.clear();
    changeTimings([](LinkTimings& t) { t.socketConnectTimeoutMs = 200; });
    attemptWithFault({SocketFaults::Fault::Stage::Connect, 0});
    EXPECT_EQ(errorBoxes, QStringList({"Chyba komunikace - Zadaná IP adresa není dostupná."}));
    EXPECT_TRUE(host.notices.isEmpty());
    expectIdleAfterFailure();
}

TEST_F(DeviceLinkTest, EmptyAddressIsOneErrorAndLeavesTheWindowUsable) {
    host.address.clear();
    host.cursor = 3;
    link.bConnectClick();
    EXPECT_EQ(errorBoxes, QStringList({"Chyba komunikace - Chybový kod Windows socket API:1110"}));
    EXPECT_EQ(host.cursor, 3);
    host.cursor = 0;
    expectIdleAfterFailure();
}

TEST_F(DeviceLinkTest, CancelAfterConnectingIsQuiet) {
    host.whileNoticeOpen = [](const QString&) {
        FAIL() << "no message expected";
    };
    const auto cancelOnConnecting = [this] {
        QTimer::singleShot(0, &link, [this] {
            if (host.log.contains("Connecting"))
                link.CancelConnect();
        });
    };
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, cancelOnConnecting);
    poll.start(10);
    attemptWithFault({SocketFaults::Fault::Stage::Connect, 0});

    EXPECT_EQ(link.clientSocket(), nullptr);
    EXPECT_EQ(link.link(), nullptr);
    EXPECT_TRUE(host.mainWindowShown);
    EXPECT_TRUE(host.controlsEnabled);
    EXPECT_TRUE(errorBoxes.isEmpty());
}

TEST_F(DeviceLinkTest, ConnectDeadlineTellsTheOperatorAndRestoresTheControls) {
    changeTimings([](LinkTimings& t) {
        t.connectWaitMs = 300;
        t.socketConnectTimeoutMs = 60000;
    });
    host.cursor = 5;
    attemptWithFault({SocketFaults::Fault::Stage::Connect, 0});
    EXPECT_EQ(host.notices, QStringList({"Chyba - Nepodařilo se vytvořit spojení!"}));
    EXPECT_TRUE(host.controlsEnabled);
    EXPECT_EQ(host.cursor, 5);
    // The windows stay as they were; "Zrušit" or a later event of the attempt acts.
    EXPECT_FALSE(host.mainWindowShown);
    EXPECT_TRUE(host.waitDialogShown);
}

TEST_F(DeviceLinkTest, SilentDeviceIsReportedOnceThenDisconnected) {
    changeTimings([](LinkTimings& t) { t.keepAliveMs = 300; });
    connectAndLoad();
    // Ticks that come while the message is open must not stack more messages.
    host.whileNoticeOpen = [](const QString&) {
        QTest::qWait(1000);
    };
    device_->fallSilent();
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.logged("Disconnect") == 1; }, 5000));
    EXPECT_EQ(host.notices, QStringList({KeepAliveFailure}));
    EXPECT_EQ(host.scripts, QByteArrayList({"onDisconnect();"}));
    EXPECT_TRUE(host.mainWindowShown);
    EXPECT_FALSE(link.keepAliveRunning());
}

// While the operator reads the keep-alive message, the silent connection ends and a
// new login starts (a sheet that logs in again). Closing the message must not end the
// new connection, and the next tick tests it again.
TEST_F(DeviceLinkTest, KeepAliveMessageClosesOnlyTheConnectionThatFellSilent) {
    changeTimings([](LinkTimings& t) { t.keepAliveMs = 300; });
    DeviceSimulator::Options options;
    options.silentAfterMs = 500;
    connectAndLoad(options);
    qsizetype keepAlivesAfterMessage = -1;
    host.whileNoticeOpen = [&](const QString&) {
        if (host.notices.size() > 1)
            return;
        link.clientSocket()->close();
        link.bConnectClick();
        EXPECT_TRUE(QTest::qWaitFor([&] { return host.sheetsLoaded == 2; }, 5000));
        keepAlivesAfterMessage = keepAlivesReceived();
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return keepAlivesAfterMessage >= 0; }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.notices.size() == 1; }, 5000));
    EXPECT_TRUE(link.connected());
    EXPECT_EQ(host.logged("Disconnect"), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return keepAlivesReceived() > keepAlivesAfterMessage; }, 5000));
    // The new connection falls silent too: its own message, then its disconnection.
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.logged("Disconnect") == 2; }, 5000));
    EXPECT_EQ(host.notices, QStringList({KeepAliveFailure, KeepAliveFailure}));
    EXPECT_TRUE(errorBoxes.isEmpty());
}

TEST_F(DeviceLinkTest, DeviceThatConfirmsAndResetsEndsTheLinkNormally) {
    DeviceSimulator::Options options;
    options.resetDelayMs = 0;
    connectAndLoad(options);
    link.link()->sendText("<XML><A v=\"1\"/></XML>\r");
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.logged("Disconnect") == 1; }, 5000));

    EXPECT_EQ(simulator().lastApply(), "<XML><A v=\"1\"/></XML>");
    EXPECT_TRUE(link.linkSignals().hReconfigured.test());
    EXPECT_EQ(host.scripts, QByteArrayList({"onDisconnect();"}));
    EXPECT_EQ(host.log.last(), "Disconnect");
    EXPECT_EQ(link.link(), nullptr);
    EXPECT_TRUE(errorBoxes.isEmpty());

    // The ended connection's socket goes once a new attempt starts.
    link.bConnectClick();
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.sheetsLoaded == 2; }, 5000));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(link.findChildren<ClientSocket*>(Qt::FindDirectChildrenOnly).size(), 1);
}

TEST_F(DeviceLinkTest, SuspendedReadHandlerStillHearsTheDevice) {
    changeTimings([](LinkTimings& t) { t.keepAliveMs = 300; });
    bool survived = false;
    host.whileLoadingSheet = [&] {
        // The sheet shows its window modally from inside the receive handler: a local
        // event loop that runs until the device has been heard through several
        // keep-alive periods and its confirmation has arrived.
        QWidget form;
        form.setWindowModality(Qt::ApplicationModal);
        form.show();
        QEventLoop modalLoop;
        bool confirmationSent = false;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (!confirmationSent && keepAlivesReceived() >= 2) {
                device_->sendRaw("<!--Prevodnik prenastaven-->\r\n");
                confirmationSent = true;
            }
            if (keepAlivesReceived() >= 4 && link.linkSignals().hReconfigured.isSet()) {
                survived = true;
                modalLoop.quit();
            }
        });
        watch.start(10);
        QTimer::singleShot(10000, &modalLoop, &QEventLoop::quit);
        modalLoop.exec();
    };
    device_ = &startSimulator();
    link.setPort(device_->port());
    link.bConnectClick();
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.sheetsLoaded == 1; }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return keepAlivesReceived() >= 5; }, 10000));

    EXPECT_TRUE(survived);
    EXPECT_TRUE(host.notices.isEmpty());
    EXPECT_TRUE(link.link() && link.link()->active());
    EXPECT_TRUE(host.log.contains(DeviceSimulator::StatusLine + "\r\n"));
}

TEST_F(DeviceLinkTest, CancelWhileTheReadHandlerIsSuspendedIsClean) {
    QPointer<ClientSocket> socket;
    host.whileLoadingSheet = [&] {
        socket = link.clientSocket();
        QTimer::singleShot(0, &link, [&] { link.CancelConnect(); });
        // Still suspended after "Zrušit": the released socket must stay usable.
        EXPECT_TRUE(QTest::qWaitFor([&] { return link.clientSocket() == nullptr; }, 5000));
        QTest::qWait(50);
    };
    device_ = &startSimulator();
    link.setPort(device_->port());
    link.bConnectClick();
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.sheetsLoaded == 1; }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return socket.isNull(); }, 5000));

    EXPECT_EQ(keepAlivesReceived(), 0) << "the acknowledgement went out after the release";
    EXPECT_FALSE(link.keepAliveRunning());
    EXPECT_TRUE(host.mainWindowShown);
    EXPECT_TRUE(host.scripts.isEmpty());
    EXPECT_TRUE(errorBoxes.isEmpty());
}

// The operator and the log are told what the device left unfinished, in Czech.
TEST_F(DeviceLinkTest, EndlessInputIsDroppedAndTheLinkClosedNamingWhatWasUnfinished) {
    struct Case {
        QByteArray start;
        QString logged;
        QString told;
    };
    const QString logStart = QStringLiteral("Chyba komunikace - ");
    for (const Case& c :
         {Case{"x", "bajtů bez konce řádku", "příliš mnoho dat bez konce řádku"},
          Case{"<XML>\r\n", "bez konce bloku </XML>", "příliš velkou nebo neukončenou konfiguraci"}}) {
        host = RecordingLinkHost();
        connectAndLoad();
        device_->sendRaw(c.start + QByteArray(DeviceLink::MaxPendingInput + 1024, 'x'));
        // No status line may end the endless line by chance.
        device_->fallSilent();
        ASSERT_TRUE(QTest::qWaitFor([&] { return host.logged("Disconnect") == 1; }, 30000));
        ASSERT_EQ(host.notices.size(), 1);
        EXPECT_TRUE(host.notices.first().contains(c.told)) << host.notices.first().toStdString();
        EXPECT_EQ(std::count_if(host.log.begin(), host.log.end(),
                                [&](const QString& line) {
                                    return line.startsWith(logStart) && line.contains(c.logged);
                                }),
                  1);
        EXPECT_EQ(host.scripts, QByteArrayList({"onDisconnect();"}));
    }
    EXPECT_TRUE(errorBoxes.isEmpty());
}

TEST_F(DeviceLinkTest, FloodOfLinesLetsTheMessageLoopTurnAndKeepsItsOrder) {
    // Between two turns of the message loop at most one slice of lines is handled.
    qsizetype loggedAtLastTurn = 0;
    qsizetype mostBetweenTurns = 0;
    QTimer turns;
    QObject::connect(&turns, &QTimer::timeout, [&] {
        mostBetweenTurns = std::max(mostBetweenTurns, host.log.size() - loggedAtLastTurn);
        loggedAtLastTurn = host.log.size();
    });
    turns.start(0);
    DeviceSimulator::Options options;
    options.resetDelayMs = 0;
    options.floodLines = 20 * DeviceLink::LinesPerSlice;
    connectAndLoad(options);
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.logged("x\r\n") == options.floodLines; }, 10000));
    EXPECT_LE(mostBetweenTurns, DeviceLink::LinesPerSlice + 2);

    // Lines, the confirmation and the device's reset: the disconnection queued
    // behind the lines still comes after all of them.
    device_->sendRaw(QByteArray(3 * DeviceLink::LinesPerSlice, 'y').replace("y", "y\r\n"));
    link.link()->sendText("<XML><A v=\"1\"/></XML>\r");
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.logged("Disconnect") == 1; }, 10000));
    EXPECT_EQ(host.logged("y\r\n"), 3 * DeviceLink::LinesPerSlice);
    EXPECT_TRUE(link.linkSignals().hReconfigured.test());
    EXPECT_EQ(host.log.last(), "Disconnect");
    EXPECT_TRUE(errorBoxes.isEmpty());
}
