#include "tools/devsim/DeviceSimulator.h"

#include <QFile>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A bare client that talks to the simulator on loopback and collects what it says.
class Client {
public:
    explicit Client(quint16 port) {
        socket_.connectToHost(QHostAddress::LocalHost, port);
        QObject::connect(&socket_, &QTcpSocket::readyRead, [this] { input_ += socket_.readAll(); });
    }

    // Waits until the device has sent the text; returns everything it sent so far.
    QByteArray waitFor(const QByteArray& text) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return input_.contains(text); }, 5000))
            << "waiting for " << text.toStdString() << ", got " << input_.toStdString();
        return input_;
    }
    void send(const QByteArray& bytes) { socket_.write(bytes); }
    bool waitForClose() {
        return QTest::qWaitFor([&] { return socket_.state() == QAbstractSocket::UnconnectedState; },
                               5000);
    }
    QByteArray input() const { return input_; }

private:
    QTcpSocket socket_;
    QByteArray input_;
};

const QByteArray Markers[] = {"S*****", "S >", "E >", "<!--Prevodnik prenastaven-->",
                              "<!--Vsechna prenastaveni nebyla provedena-->"};

} // namespace

TEST(DeviceSimulatorTest, ServesTheConfigurationAsTheDeviceSendsIt) {
    EXPECT_EQ(DeviceSimulator::prepareConfiguration("<XML>\n<A/>\n</XML>"),
              "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n<XML>\r\n<A/>\r\n</XML>\r\n");
    EXPECT_EQ(DeviceSimulator::prepareConfiguration("<?xml version=\"1.0\"?>\r\n<XML/>\r\n"),
              "<?xml version=\"1.0\"?>\r\n<XML/>\r\n");

    DeviceSimulator::Options options;
    options.configuration = "<XML>\n<A n=\"\xE8\"/>\n</XML>";
    options.chunkSize = 3;
    DeviceSimulator device(options);
    ASSERT_TRUE(device.listen());
    Client client(device.port());
    client.waitFor(DeviceSimulator::PasswordPrompt + "\r\n");
    client.send("Sdemo\r");
    client.waitFor("S >\r\n");
    client.send("<XML/>\r");
    client.waitFor("</XML>\r\n");
    client.send("?\r");
    const QByteArray all = client.waitFor(DeviceSimulator::StatusLine + "\r\n");
    EXPECT_TRUE(all.endsWith("S >\r\n<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n"
                             "<XML>\r\n<A n=\"\xE8\"/>\r\n</XML>\r\nSTAV: v provozu\r\n"));
    for (const QByteArray& marker : Markers)
        EXPECT_FALSE(DeviceSimulator::StatusLine.contains(marker));
}

TEST(DeviceSimulatorTest, RefusesAWrongPasswordAndCloses) {
    DeviceSimulator::Options options;
    options.password = "heslo";
    DeviceSimulator device(options);
    ASSERT_TRUE(device.listen());
    Client client(device.port());
    client.waitFor("S*****");
    client.send("Sdemo\r<XML/>\r");
    EXPECT_TRUE(client.waitForClose());
    EXPECT_TRUE(client.input().endsWith("E >\r\n"));
    EXPECT_EQ(device.received(), QByteArrayList({"Sdemo\r", "<XML/>\r"}));
}

TEST(DeviceSimulatorTest, AppliesAnswersAsAskedAndResets) {
    QTemporaryDir dir;
    const struct {
        DeviceSimulator::ApplyAnswer answer;
        QByteArray expected;
    } cases[] = {
        {DeviceSimulator::ApplyAnswer::Reconfigured, "<!--Prevodnik prenastaven-->\r\n"},
        {DeviceSimulator::ApplyAnswer::PartiallyApplied,
         "<!--Vsechna prenastaveni nebyla provedena-->\r\n"},
        {DeviceSimulator::ApplyAnswer::Nothing, "S >\r\n"},
    };
    for (const auto& c : cases) {
        DeviceSimulator::Options options;
        options.configuration = "<XML><A v=\"0\"/></XML>";
        options.applyAnswer = c.answer;
        options.resetDelayMs = 0;
        options.applyFile = dir.filePath("apply.xml");
        DeviceSimulator device(options);
        ASSERT_TRUE(device.listen());
        {
            Client client(device.port());
            client.waitFor("S*****");
            // The apply is a whole block that may hold line ends of its own.
            client.send("Sdemo\r<XML>\r\n<A v=\"1\"/>\r\n</XML>\r");
            EXPECT_TRUE(client.waitForClose());
            EXPECT_TRUE(client.input().endsWith(c.expected));
        }
        EXPECT_EQ(device.lastApply(), "<XML>\r\n<A v=\"1\"/>\r\n</XML>");
        QFile stored(options.applyFile);
        ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
        EXPECT_EQ(stored.readAll(), device.lastApply());

        // After the reset the device serves what it took over.
        Client again(device.port());
        again.waitFor("S*****");
        again.send("Sdemo\r<XML/>\r");
        again.waitFor("<A v=\"1\"/>\r\n</XML>\r\n");
    }
}

TEST(DeviceSimulatorTest, FallsSilentAndListensOnLoopbackOnly) {
    DeviceSimulator::Options options;
    options.silentAfterMs = 0;
    DeviceSimulator device(options);
    ASSERT_TRUE(device.listen());
    Client client(device.port());
    QObject::connect(&device, &DeviceSimulator::messageReceived, [] {});
    client.send("Sdemo\r?\r");
    ASSERT_TRUE(QTest::qWaitFor([&] { return device.received().size() == 2; }, 5000));
    QTest::qWait(50);
    EXPECT_TRUE(client.input().isEmpty());

    DeviceSimulator::Options outside;
    outside.address = QHostAddress("192.0.2.1");
    DeviceSimulator refused(outside);
    EXPECT_FALSE(refused.listen());
}
