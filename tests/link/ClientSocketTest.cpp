#include "link/ClientSocket.h"

#include "LinkTestSupport.h"
#include "link/SocketErrorCodes.h"

#include <QEventLoop>
#include <QPointer>
#include <QTcpServer>
#include <QTest>

namespace {

// Records the socket's events as text, in order.
struct EventRecorder {
    QStringList events;

    void attach(ClientSocket& socket) {
        socket.onConnecting = [this](ClientSocket&) {
            events.append("connecting");
        };
        socket.onConnect = [this](ClientSocket& s) {
            events.append(s.active() ? "connect(active)" : "connect");
        };
        socket.onRead = [this](ClientSocket& s) {
            events.append("read " + s.receiveText());
        };
        socket.onDisconnect = [this](ClientSocket& s) {
            events.append(s.active() ? "disconnect(active)" : "disconnect");
        };
        socket.onError = [this](ClientSocket&, int& code) {
            events.append("error " + QString::number(code));
        };
    }
};

quint16 portWithoutListener() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return server.serverPort(); // free again once the server is gone
}

} // namespace

class ClientSocketTest : public LinkTest {};

TEST_F(ClientSocketTest, EventsComeFromTheMessageLoopNeverFromOpenOrRelease) {
    DeviceSimulator& device = startSimulator();
    ClientSocket socket;
    EventRecorder recorder;
    recorder.attach(socket);
    socket.setHost("127.0.0.1");
    socket.setPort(device.port());
    socket.open();
    EXPECT_TRUE(recorder.events.isEmpty());

    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.events.size() >= 3; }, 5000));
    EXPECT_EQ(recorder.events.mid(0, 3),
              QStringList({"connecting", "connect(active)",
                           "read " + DeviceSimulator::PasswordPrompt + "\r\n"}));
    EXPECT_TRUE(socket.active());

    // Close disconnects inside the call; the device's later view of it adds nothing.
    socket.close();
    EXPECT_EQ(recorder.events.last(), "disconnect");
    EXPECT_FALSE(socket.active());
    socket.sendText("?\r");
    QTest::qWait(50);
    EXPECT_EQ(recorder.events.size(), 4);
    EXPECT_TRUE(device.received().isEmpty());

    // Release of a connected socket raises nothing, drops sends and frees it later.
    auto* released = new ClientSocket;
    EventRecorder quiet;
    quiet.attach(*released);
    released->setHost("127.0.0.1");
    released->setPort(device.port());
    released->open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return released->active(); }, 5000));
    QPointer<ClientSocket> watch(released);
    const int before = static_cast<int>(quiet.events.size());
    released->release();
    released->sendText("Sdemo\r");
    ASSERT_TRUE(QTest::qWaitFor([&] { return watch.isNull(); }, 5000));
    EXPECT_EQ(quiet.events.size(), before);
    EXPECT_TRUE(device.received().isEmpty());
}

TEST_F(ClientSocketTest, ReadEventArrivesWhileAnEarlierReadHandlerIsSuspended) {
    DeviceSimulator& device = startSimulator();
    ClientSocket socket;
    socket.setHost("127.0.0.1");
    socket.setPort(device.port());
    QByteArrayList reads;
    int depth = 0;
    int deepest = 0;
    socket.onRead = [&](ClientSocket& s) {
        ++depth;
        deepest = std::max(deepest, depth);
        reads.append(s.receiveText());
        if (depth == 1) {
            // Stays suspended as a modal window would, while the device goes on talking.
            device.sendRaw("second\r\n");
            EXPECT_TRUE(QTest::qWaitFor([&] { return reads.size() >= 2; }, 5000));
        }
        --depth;
    };
    socket.open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return reads.size() >= 2; }, 5000));
    EXPECT_EQ(deepest, 2);
    EXPECT_EQ(reads.last(), "second\r\n");
}

TEST_F(ClientSocketTest, FailuresArriveAsErrorEventsWithWindowsSocketsCodes) {
    SocketFaults::setInjector(
        [](const QString& host, quint16) -> std::optional<SocketFaults::Fault> {
            using Stage = SocketFaults::Fault::Stage;
            if (host == "lookup.test")
                return SocketFaults::Fault{Stage::Lookup, SocketErrorCodes::HostNotFound};
            if (host == "unreachable.test")
                return SocketFaults::Fault{Stage::Connect, 10065};
            if (host == "stall.test")
                return SocketFaults::Fault{Stage::Connect, 0};
            return std::nullopt;
        });
    changeTimings([](LinkTimings& t) { t.socketConnectTimeoutMs = 200; });
    const quint16 refusedPort = portWithoutListener();

    const auto attempt = [](const QString& host, quint16 port) {
        ClientSocket socket;
        EventRecorder recorder;
        recorder.attach(socket);
        socket.setHost(host);
        socket.setPort(port);
        socket.open();
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return !recorder.events.isEmpty() && recorder.events.last().startsWith("error");
            },
            5000));
        QTest::qWait(20); // nothing may follow the error
        return recorder.events;
    };
    EXPECT_EQ(attempt("lookup.test", 9999), QStringList({"error 11001"}));
    EXPECT_EQ(attempt("unreachable.test", 9999), QStringList({"connecting", "error 10065"}));
    EXPECT_EQ(attempt("stall.test", 9999), QStringList({"connecting", "error 10060"}));
    EXPECT_EQ(attempt("127.0.0.1", refusedPort), QStringList({"connecting", "error 10061"}));
    EXPECT_EQ(attempt("", 9999), QStringList({"error 1110"}));
}

TEST_F(ClientSocketTest, HandlerErrorsReachTheErrorBoxOrTheCallerOfClose) {
    DeviceSimulator& device = startSimulator();
    ClientSocket socket;
    socket.setHost("127.0.0.1");
    socket.setPort(device.port());
    socket.onRead = [](ClientSocket& s) {
        s.receiveText();
        throw Error("read failed");
    };
    socket.onDisconnect = [](ClientSocket&) {
        throw Error("script failed");
    };
    socket.open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !errorBoxes.isEmpty(); }, 5000));
    EXPECT_EQ(errorBoxes, QStringList({"read failed"}));

    EXPECT_THROW(socket.close(), Error);
    EXPECT_EQ(errorBoxes.size(), 1);
}
