#include "platform/Error.h"
#include "tools/devsim/DeviceSimulator.h"
#include "tools/devsim/SessionReplay.h"

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

// A recording written by hand: the replay answers each client message by its kind,
// whatever its bytes, answers a keep-alive the recording lacks as it answered the last
// one, says so, and plays up to a last line cut off by a crash.
TEST(SessionReplayTest, AnswersByKindAndTellsWhereTheClientDeparted) {
    const auto in = [](int t, const QByteArray& bytes) {
        return QStringLiteral(R"({"t":%1,"dir":"in","data":"%2"})")
            .arg(t)
            .arg(QString::fromLatin1(bytes.toBase64()))
            .toLatin1();
    };
    const auto out = [&](int t, const QByteArray& bytes) {
        return in(t, bytes).replace("\"in\"", "\"out\"");
    };
    const QByteArrayList lines{
        R"({"konfidor":"0.1.0","address":"127.0.0.1","port":9999,"start":"2026-12-10T10:00:00Z"})",
        R"({"t":0,"event":"connect"})",
        in(0, "Zadejte heslo: S*****\r\n"),
        out(5, "S****\r"),
        in(6, "S >\r\n"),
        out(7, "<XML/>\r"),
        in(8, "<XML>\r\n"),
        in(9, "</XML>\r\n"),
        out(100, "?\r"),
        in(101, "STAV\r\n"),
        out(200, "<XML><A/></XML>\r"),
        in(201, "<!--Prevodnik prenastaven-->\r\n"),
        R"({"t":300,"event":"disconnect","by":"device"})",
        R"({"t":30)"};
    RecordedSession session = RecordedSession::parse(lines.join('\n'), QStringLiteral("s.jsonl"));
    EXPECT_TRUE(session.unfinishedNote.startsWith(QStringLiteral("s.jsonl:14: ")))
        << session.unfinishedNote.toStdString();

    QStringList reports;
    SessionReplay replay(std::move(session), {QHostAddress::LocalHost, 0, 0},
                         [&](const QString& text) { reports << text; });
    ASSERT_TRUE(replay.listen());
    Client client(replay.port());
    client.waitFor("S*****");
    client.send("Sjine heslo\r");
    client.waitFor("S >");
    client.send("<XML/>\r");
    client.waitFor("</XML>");
    client.send("?\r");
    client.waitFor("STAV");
    client.send("?\r");
    EXPECT_TRUE(QTest::qWaitFor([&] { return client.input().count("STAV") == 2; }, 5000));
    client.send("<XML><A b=\"c\"/></XML>\r");
    client.waitFor("<!--Prevodnik prenastaven-->");
    EXPECT_TRUE(client.waitForClose());
    EXPECT_EQ(reports, QStringList{QStringLiteral(
                           "connection 1: the client sent a keep-alive where line 11 of the "
                           "recording has an apply; answered as at line 9")});

    // What is not a recording stops the replay with the line at fault.
    const auto fault = [](const QByteArray& text) {
        try {
            RecordedSession::parse(text, QStringLiteral("r.jsonl"));
        } catch (const Error& error) {
            return error.message();
        }
        return QString();
    };
    EXPECT_EQ(fault("nonsense\n"), QStringLiteral("r.jsonl:1: not a JSON object"));
    EXPECT_EQ(fault(lines[1] + '\n'),
              QStringLiteral("r.jsonl:1: not a recording: the first line is no recording header"));
    EXPECT_EQ(fault(lines[0] + '\n' + lines[1] + "\n{\"t\":1,\"dir\":\"in\",\"data\":\"*\"}\n"),
              QStringLiteral("r.jsonl:3: the data is not base64"));
}
