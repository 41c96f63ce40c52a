// Runs the built program in its headless mode, as sheet authors and automation do.
#include "app/CheckRecords.h"
#include "support/GuideBlocks.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

struct Outcome {
    int status = -1;
    QStringList records;
};

// The records as two runs of one session share them. Left out: the sizes of the
// socket reads, which depend on how the bytes happened to arrive, and the status
// lines that answer keep-alives, of which the program may or may not hear the last
// before it ends. The communication lines stand apart from the rest, each in its
// order: a device's answer may come just before or just after the program's next step.
QString sessionRecords(QStringList records) {
    const auto communication = [](const QString& record) {
        return record.startsWith(QStringLiteral("comm: "));
    };
    records.removeIf([&](const QString& record) {
        return communication(record) &&
               (record.section(u' ', 2, 2) == QLatin1String("Receive") ||
                record.section(u' ', 2).startsWith(QStringLiteral("STAV: ")));
    });
    std::stable_partition(records.begin(), records.end(), communication);
    return records.join(u'\n');
}

Outcome runProgram(const QStringList& arguments) {
    // The program stores what a device sends in its working directory.
    QTemporaryDir workDir;
    QProcess process;
    process.setWorkingDirectory(workDir.path());
    process.setProgram(QStringLiteral(KONFIDOR_PROGRAM));
    process.setArguments(arguments);
    process.start();
    EXPECT_TRUE(process.waitForFinished(60000)) << "the program did not end";
    Outcome outcome;
    outcome.status = process.exitCode();
    outcome.records =
        QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    return outcome;
}

QString checkData(const QString& name) {
    return QStringLiteral(KONFIDOR_CHECK_DATA "/") + name;
}

Outcome checkOffline(const QString& sheets, const QString& device, const QStringList& more = {}) {
    return runProgram(QStringList{QStringLiteral("--check"), QStringLiteral("--sheets"), sheets,
                                  QStringLiteral("--offline"), device} +
                      more);
}

// The device simulator on a free loopback port, stopped when the test ends.
class Simulator {
public:
    explicit Simulator(const QStringList& options = {}) {
        process_.start(QStringLiteral(KONFIDOR_DEVSIM),
                       QStringList{QStringLiteral("--port"), QStringLiteral("0")} + options);
        EXPECT_TRUE(process_.waitForReadyRead(30000)) << "the simulator did not start";
        const QByteArray banner = process_.readLine().trimmed();
        port_ = QString::fromLatin1(banner.mid(banner.lastIndexOf(':') + 1));
    }
    ~Simulator() { stop(); }
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // The client's options for a login to this device.
    QStringList login(const QString& password = QStringLiteral("demo")) const {
        return {QStringLiteral("--address"), QStringLiteral("127.0.0.1"), QStringLiteral("--port"),
                port_, QStringLiteral("--password"), password};
    }

    void stop() {
        process_.kill();
        process_.waitForFinished();
    }

    // What the simulator has written to standard error so far.
    QString errors() { return QString::fromUtf8(process_.readAllStandardError()); }

private:
    QProcess process_;
    QString port_;
};

} // namespace

TEST(CheckMode, SampleSheetBuildsFromItsStoredConfiguration) {
    const Outcome outcome = checkOffline(QStringLiteral(KONFIDOR_EXAMPLES),
                                         QStringLiteral(KONFIDOR_EXAMPLES "/demo-485-device.xm"));
    EXPECT_EQ(outcome.status, 0) << outcome.records.join(u'\n').toStdString();
    EXPECT_TRUE(outcome.records.contains(
        QStringLiteral("log: O Nalezen soubor 'demo-485.xml' pro konfiguraci zarizeni")));
    EXPECT_TRUE(outcome.records.contains(QStringLiteral("dialog: modal fDemo")));
    EXPECT_TRUE(outcome.records.contains(QStringLiteral(
        "widget: TEdit eName Form.PageControl.TabSheet.Edit Text=\"Čerpací stanice Žďár\" "
        "Enabled=True Visible=True")))
        << outcome.records.join(u'\n').toStdString();
    // The records come in the order things happened: the widgets last.
    EXPECT_TRUE(outcome.records.last().startsWith(QStringLiteral("widget: ")));
}

// Without a connection "Set" saves the whole configuration, as UTF-8 with CR LF line
// ends, where --save says.
TEST(CheckMode, SetWithoutAConnectionSavesWhereAsked) {
    QTemporaryDir saveDir;
    const QString saved = saveDir.filePath(QStringLiteral("saved.xml"));
    const Outcome outcome = checkOffline(
        QStringLiteral(KONFIDOR_EXAMPLES), QStringLiteral(KONFIDOR_EXAMPLES "/demo-485-device.xm"),
        {QStringLiteral("--save"), saved, QStringLiteral("--run"),
         QStringLiteral("eName.Text:=Nová;"), QStringLiteral("--run"), QStringLiteral("Set;")});
    EXPECT_EQ(outcome.status, 0) << outcome.records.join(u'\n').toStdString();
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"))
        << bytes.left(60).constData();
    EXPECT_TRUE(bytes.contains(QStringLiteral("name=\"Nová\"").toUtf8()));
    EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n"));
    // Before it saves, "Set" says what it changed.
    EXPECT_TRUE(outcome.records.contains(
        QStringLiteral("change: INFO.name \"Čerpací stanice Žďár\" -> Nová")))
        << outcome.records.join(u'\n').toStdString();

    // With --diff it says so and goes no further.
    QFile::remove(saved);
    const Outcome diff = checkOffline(
        QStringLiteral(KONFIDOR_EXAMPLES), QStringLiteral(KONFIDOR_EXAMPLES "/demo-485-device.xm"),
        {QStringLiteral("--diff"), QStringLiteral("--save"), saved, QStringLiteral("--run"),
         QStringLiteral("eName.Text:=Nová;"), QStringLiteral("--run"),
         QStringLiteral("cBaud1.ItemIndex:=0;"), QStringLiteral("--run"),
         QStringLiteral("seBits1.Value:=7;"), QStringLiteral("--run"), QStringLiteral("Set;")});
    EXPECT_EQ(diff.status, 0);
    QStringList changes = diff.records;
    changes.removeIf([](const QString& r) { return !r.startsWith(QStringLiteral("change: ")); });
    // A combo box gives its entry's value; the widgets' order is the sheet's.
    EXPECT_EQ(changes,
              (QStringList{"change: COM1.baud 19200 -> 1200", "change: COM1.bits 8 -> 7",
                           QStringLiteral("change: INFO.name \"Čerpací stanice Žďár\" -> Nová")}));
    EXPECT_FALSE(QFile::exists(saved));
}

TEST(CheckMode, ExitStatusTellsWhatWentWrong) {
    const Outcome failing =
        checkOffline(checkData(QStringLiteral("sheets")), checkData(QStringLiteral("device.xm")));
    EXPECT_EQ(failing.status, 2);
    EXPECT_TRUE(failing.records.contains(QStringLiteral("log: #0000FF NoSuchWidget")))
        << failing.records.join(u'\n').toStdString();
    EXPECT_TRUE(failing.records.contains(
        QStringLiteral("log: E     spatna hodnota atributu: BorderStyle=bsNothing")));
    EXPECT_TRUE(failing.records.contains(
        QStringLiteral("widget: TEdit eName Form.Edit Text=\"a b\" Enabled=True Visible=True")))
        << failing.records.join(u'\n').toStdString();

    EXPECT_EQ(checkOffline(checkData(QStringLiteral("sheets")),
                           checkData(QStringLiteral("other-device.xm")))
                  .status,
              1);

    const Outcome unreadable =
        checkOffline(checkData(QStringLiteral("sheets")), checkData(QStringLiteral("missing.xm")));
    EXPECT_EQ(unreadable.status, 3);
    ASSERT_FALSE(unreadable.records.isEmpty());
    EXPECT_TRUE(unreadable.records.first().startsWith(QStringLiteral("dialog: error ")));
}

// Every attribute of every element, against the configuration as stored; the sheet
// plays no part.
TEST(CheckMode, CompareTellsHowAStoredConfigurationDiffers) {
    const QString sample = QStringLiteral(KONFIDOR_EXAMPLES "/demo-485-device.xm");
    const auto compare = [&](const QString& stored) {
        Outcome outcome = checkOffline(QStringLiteral(KONFIDOR_EXAMPLES), sample,
                                       {QStringLiteral("--compare"), stored});
        outcome.records.removeIf([](const QString& r) {
            return !r.startsWith(QStringLiteral("change: ")) &&
                   !r.startsWith(QStringLiteral("dialog: error "));
        });
        return outcome;
    };
    const Outcome same = compare(sample);
    EXPECT_EQ(same.status, 0);
    EXPECT_TRUE(same.records.isEmpty()) << same.records.join(u'\n').toStdString();

    QFile original(sample);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    QByteArray text = original.readAll();
    text.replace(R"(ip="127.0.0.1")", R"(ip="10.0.0.9")").replace(R"( dhcp="0")", "");
    text.replace("</XML>", "<NOTE text=\"a b\"/>\r\n</XML>");
    QTemporaryDir dir;
    QFile changed(dir.filePath(QStringLiteral("changed.xm")));
    ASSERT_TRUE(changed.open(QIODevice::WriteOnly));
    changed.write(text);
    changed.close();
    const Outcome different = compare(changed.fileName());
    EXPECT_EQ(different.status, 2);
    EXPECT_EQ(different.records,
              (QStringList{"change: NET.ip 127.0.0.1 -> 10.0.0.9", "change: NET.dhcp 0 -> (none)",
                           "change: NOTE.text (none) -> \"a b\""}));

    const Outcome unreadable = compare(dir.filePath(QStringLiteral("missing.xm")));
    EXPECT_EQ(unreadable.status, 3);
    ASSERT_EQ(unreadable.records.size(), 1);
    EXPECT_TRUE(unreadable.records[0].startsWith(QStringLiteral("dialog: error Soubor ")))
        << unreadable.records[0].toStdString();
}

TEST(CheckMode, StepsRunInCommandLineOrderAndFailuresCount) {
    const Outcome outcome = checkOffline(
        checkData(QStringLiteral("sheets")), checkData(QStringLiteral("device.xm")),
        {QStringLiteral("--run"), QStringLiteral("eIp.Text:=1.5;"), QStringLiteral("--fire"),
         QStringLiteral("nobody.OnClick"), QStringLiteral("--run=bogus;")});
    EXPECT_EQ(outcome.status, 2);
    const qsizetype missing =
        outcome.records.indexOf(QStringLiteral("dialog: error Component nobody not found."));
    const qsizetype unknown =
        outcome.records.indexOf(QStringLiteral("dialog: notice Script - Unknown command: 'bogus'"));
    EXPECT_GE(missing, 0) << outcome.records.join(u'\n').toStdString();
    EXPECT_GT(unknown, missing);
    // The real script rules apply: the number's text is cut at its dot.
    EXPECT_TRUE(outcome.records.contains(
        QStringLiteral("widget: TEdit eIp Form.Edit Text=5 Enabled=True Visible=True")));
}

TEST(CheckMode, LogFileKeepsEveryEntryButNeverThePassword) {
    QTemporaryDir directory;
    const QString logFile = directory.filePath(QStringLiteral("konfidor.log"));
    {
        QFile earlier(logFile);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier run\n");
    }
    checkOffline(QStringLiteral(KONFIDOR_EXAMPLES),
                 QStringLiteral(KONFIDOR_EXAMPLES "/demo-485-device.xm"),
                 {QStringLiteral("--log-file"), logFile, QStringLiteral("--password"),
                  QStringLiteral("tajneheslo")});
    QFile file(logFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.startsWith("earlier run\n"));
    EXPECT_TRUE(text.contains("Soubor 'x.xm' byl uspesne nacten a rozparsovan.\n")) << text.data();
    EXPECT_FALSE(text.contains("tajneheslo"));
}

TEST(CheckMode, AppliesAChangeToTheSimulatedDevice) {
    QTemporaryDir directory;
    const QString applied = directory.filePath(QStringLiteral("applied.xml"));
    // The program logs in again at once; the device's reset comes well after, on a
    // connection already closed, as the replay below plays it.
    Simulator simulator({QStringLiteral("--apply-file"), applied, QStringLiteral("--reset-delay"),
                         QStringLiteral("2000")});

    const QString recording = directory.filePath(QStringLiteral("session.jsonl"));
    const Outcome outcome =
        runProgram(QStringList{QStringLiteral("--check")} + simulator.login() +
                   QStringList{QStringLiteral("--sheets"), QStringLiteral(KONFIDOR_EXAMPLES),
                               QStringLiteral("--run"), QStringLiteral("eName.Text:=Novy;"),
                               QStringLiteral("--run"), QStringLiteral("Set;"),
                               QStringLiteral("--answer"), QStringLiteral("yes"),
                               QStringLiteral("--record"), recording});
    simulator.stop();

    // The recording holds both connections, the login line masked, the password nowhere.
    QFile session(recording);
    ASSERT_TRUE(session.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = session.readAll().split('\n');
    const QJsonObject header = QJsonDocument::fromJson(lines.first()).object();
    EXPECT_EQ(header["address"].toString(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(header["konfidor"].toString(), QStringLiteral(KONFIDOR_VERSION));
    QStringList events;
    QByteArrayList sent;
    for (const QByteArray& line : lines.mid(1)) {
        const QJsonObject object = QJsonDocument::fromJson(line).object();
        if (object.contains("event"))
            events << object["event"].toString();
        if (object["dir"].toString() == QLatin1String("out"))
            sent << QByteArray::fromBase64(object["data"].toString().toLatin1());
    }
    EXPECT_EQ(events, (QStringList{"connect", "disconnect", "connect", "disconnect"}));
    EXPECT_EQ(sent.value(0), QByteArray("S****\r"));
    EXPECT_FALSE(sent.join().contains("demo"));

    const QString all = outcome.records.join(u'\n');
    EXPECT_EQ(outcome.status, 0) << all.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral(" -> yes"))) << all.toStdString();
    QFile file(applied);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("name=\"Novy\""));
    file.close();

    // The recording replayed without waiting, to a client with another password, gives
    // the same session; also when the recording was cut off in its last line.
    const QByteArray whole = lines.join('\n');
    const QByteArray cut = whole.left(whole.lastIndexOf('\n', whole.size() - 2) + 10);
    const QString cutRecording = directory.filePath(QStringLiteral("cut.jsonl"));
    QFile cutFile(cutRecording);
    ASSERT_TRUE(cutFile.open(QIODevice::WriteOnly));
    cutFile.write(cut);
    cutFile.close();
    for (const QString& played : {recording, cutRecording}) {
        Simulator replay({QStringLiteral("--replay"), played, QStringLiteral("--speed"),
                          QStringLiteral("0")});
        const Outcome replayed =
            runProgram(QStringList{QStringLiteral("--check")} + replay.login("jine heslo") +
                       QStringList{QStringLiteral("--sheets"), QStringLiteral(KONFIDOR_EXAMPLES),
                                   QStringLiteral("--run"), QStringLiteral("eName.Text:=Novy;"),
                                   QStringLiteral("--run"), QStringLiteral("Set;"),
                                   QStringLiteral("--answer"), QStringLiteral("yes")});
        replay.stop();
        EXPECT_EQ(sessionRecords(replayed.records).toStdString(),
                  sessionRecords(outcome.records).toStdString());
        const QString errors = replay.errors();
        EXPECT_EQ(errors.contains(QStringLiteral("unfinished")), played == cutRecording)
            << errors.toStdString();
    }

    // With --diff the device is sent nothing.
    QFile::remove(applied);
    Simulator quiet({QStringLiteral("--apply-file"), applied});
    const Outcome diff = runProgram(
        QStringList{QStringLiteral("--check"), QStringLiteral("--diff")} + quiet.login() +
        QStringList{QStringLiteral("--sheets"), QStringLiteral(KONFIDOR_EXAMPLES),
                    QStringLiteral("--run"), QStringLiteral("eName.Text:=Novy;"),
                    QStringLiteral("--run"), QStringLiteral("Set;")});
    quiet.stop();
    EXPECT_EQ(diff.status, 0) << diff.records.join(u'\n').toStdString();
    EXPECT_TRUE(
        diff.records.contains(QStringLiteral("change: INFO.name \"Čerpací stanice Žďár\" -> Novy")))
        << diff.records.join(u'\n').toStdString();
    EXPECT_FALSE(QFile::exists(applied));
}

// A device that refuses the password, or a port where nobody listens, gives no
// configuration: status 3, with the operator's message among the records.
// A stored configuration goes back to the device as "Set" sends one, but only to
// a device of its type and version.
TEST(CheckMode, RestoreSendsAStoredConfigurationToItsKindOfDeviceOnly) {
    QFile sample(QStringLiteral(KONFIDOR_EXAMPLES "/demo-485-device.xm"));
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
    const QByteArray text = sample.readAll();
    QTemporaryDir directory;
    const auto store = [&](const char* name, const QByteArray& content) {
        QFile file(directory.filePath(QLatin1String(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return file.fileName();
    };
    const QString older = store(
        "older.xm", QByteArray(text).replace(R"(gateway="127.0.0.1")", R"(gateway="127.0.0.2")"));
    const QString otherVersion =
        store("other.xm", QByteArray(text).replace(R"(type="DEMO-485" version="1.0")",
                                                   R"(type="DEMO-485" version="2.0")"));
    const QString applied = directory.filePath(QStringLiteral("applied.xml"));
    Simulator simulator({QStringLiteral("--apply-file"), applied, QStringLiteral("--reset-delay"),
                         QStringLiteral("100")});
    const auto restore = [&](const QString& file) {
        return runProgram(
            QStringList{QStringLiteral("--check"), QStringLiteral("--restore"), file} +
            simulator.login() +
            QStringList{QStringLiteral("--sheets"), QStringLiteral(KONFIDOR_EXAMPLES)});
    };

    const Outcome refused = restore(otherVersion);
    EXPECT_EQ(refused.status, 2);
    EXPECT_TRUE(refused.records.contains(
        QStringLiteral(
            "dialog: error Soubor %1 patří k zařízení DEMO-485 verze 2.0, připojené zařízení je "
            "DEMO-485 verze 1.0. Nic nebylo odesláno.")
            .arg(otherVersion)))
        << refused.records.join(u'\n').toStdString();
    EXPECT_FALSE(QFile::exists(applied));

    const Outcome restored = restore(older);
    // Automation reads how the device took it from the report.
    const Outcome reported = runProgram(
        QStringList{QStringLiteral("--check"), QStringLiteral("--json"), QStringLiteral("--restore"),
                    older} +
        simulator.login() + QStringList{QStringLiteral("--sheets"), QStringLiteral(KONFIDOR_EXAMPLES)});
    EXPECT_TRUE(reported.records.value(0).contains(QStringLiteral(R"("result":"applied")")))
        << reported.records.join(u'\n').toStdString();
    simulator.stop();
    EXPECT_EQ(restored.status, 0) << restored.records.join(u'\n').toStdString();
    EXPECT_TRUE(
        restored.records.join(u'\n').contains(QStringLiteral("Konfigurace byla úspěšně provedena")))
        << restored.records.join(u'\n').toStdString();
    QFile file(applied);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains(R"(gateway="127.0.0.2")"));
}

TEST(CheckMode, NoConfigurationFromTheDeviceIsStatusThree) {
    Simulator simulator;
    QStringList login = simulator.login();
    login.last() = QStringLiteral("spatne");
    const Outcome refused = runProgram(QStringList{QStringLiteral("--check")} + login);
    EXPECT_EQ(refused.status, 3);
    EXPECT_TRUE(refused.records.contains(QStringLiteral("dialog: notice Chybné heslo!")))
        << refused.records.join(u'\n').toStdString();

    // A device that closes halfway through its configuration fails the same way when
    // its recording is replayed.
    QTemporaryDir directory;
    const QString recording = directory.filePath(QStringLiteral("session.jsonl"));
    Simulator closing({QStringLiteral("--fault"), QStringLiteral("close-in-configuration")});
    const Outcome closed =
        runProgram(QStringList{QStringLiteral("--check"), QStringLiteral("--record"), recording} +
                   closing.login());
    EXPECT_EQ(closed.status, 3);
    Simulator replay({QStringLiteral("--replay"), recording, QStringLiteral("--speed"),
                      QStringLiteral("0")});
    const Outcome replayed = runProgram(QStringList{QStringLiteral("--check")} + replay.login());
    EXPECT_EQ(replayed.status, 3);
    EXPECT_EQ(sessionRecords(replayed.records).toStdString(),
              sessionRecords(closed.records).toStdString());

    simulator.stop();
    const Outcome unreachable =
        runProgram(QStringList{QStringLiteral("--check")} + simulator.login());
    EXPECT_EQ(unreachable.status, 3);
    EXPECT_TRUE(unreachable.records.contains(
        QStringLiteral("dialog: error Chyba komunikace - Spojení bylo aktivně odmítnuto.")))
        << unreachable.records.join(u'\n').toStdString();
}

// A soak check keeps the connection after the steps, keep-alive and all, and ends
// early, with its records, when the device goes away.
TEST(CheckMode, StaysConnectedUntilTheDeviceGoesAway) {
    Simulator simulator;
    QTemporaryDir workDir;
    QProcess client;
    client.setWorkingDirectory(workDir.path());
    client.start(QStringLiteral(KONFIDOR_PROGRAM),
                 QStringList{QStringLiteral("--check"), QStringLiteral("--stay"),
                             QStringLiteral("600"), QStringLiteral("--sheets"),
                             QStringLiteral(KONFIDOR_EXAMPLES)} +
                     simulator.login());
    ASSERT_TRUE(client.waitForStarted());

    // The device answers the status question once after the login and once for
    // every keep-alive tick: a second answer means the link outlived the steps.
    const QString status = QStringLiteral("comm: 008000 STAV: v provozu\\r\\n");
    QString output;
    const QDeadlineTimer deadline(60000);
    while (output.count(status) < 2 && !deadline.hasExpired() &&
           client.state() == QProcess::Running) {
        client.waitForReadyRead(1000);
        output += QString::fromUtf8(client.readAllStandardOutput());
    }
    ASSERT_EQ(output.count(status), 2) << output.toStdString();

    simulator.stop();
    ASSERT_TRUE(client.waitForFinished(60000)) << "the soak check did not end";
    output += QString::fromUtf8(client.readAllStandardOutput());
    EXPECT_EQ(client.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("\ncomm: 000080 Disconnect\n")))
        << output.toStdString();
}

// The sheet author's guide shows real files and real output: its examples run here.
namespace {

// A path in the guide's commands is relative to the project.
QStringList guideArguments(const QString& commandLine) {
    QStringList arguments = QProcess::splitCommand(commandLine);
    arguments.removeFirst(); // the program's name
    for (QString& argument : arguments) {
        if (argument.startsWith(QStringLiteral("docs/")))
            argument = QStringLiteral(KONFIDOR_DOCS) + argument.mid(4);
    }
    return arguments;
}

QString fileText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("(unreadable: %1)").arg(path);
    return QString::fromUtf8(file.readAll()).remove(u'\r');
}

} // namespace

TEST(Guide, ShowsTheSheetsAsTheyAre) {
    int shown = 0;
    for (const GuideBlocks::Block& block : GuideBlocks::all(GuideBlocks::guide())) {
        if (!block.name.startsWith(QStringLiteral("file ")))
            continue;
        ++shown;
        const QString path = QStringLiteral(KONFIDOR_DOCS "/") + block.name.mid(5);
        EXPECT_EQ(GuideBlocks::fenced(block.text).toStdString(), fileText(path).toStdString())
            << path.toStdString();
    }
    EXPECT_GE(shown, 3);
}

TEST(Guide, ExamplesShowTheRealOutput) {
    static const QRegularExpression command(QStringLiteral("^    (konfidor .*)$"),
                                            QRegularExpression::MultilineOption);
    static const QRegularExpression status(QStringLiteral("^exit status (\\d+)$"),
                                           QRegularExpression::MultilineOption);
    const QStringList examples =
        GuideBlocks::named(GuideBlocks::guide(), QStringLiteral("example"));
    ASSERT_GE(examples.size(), 2);
    for (const QString& example : examples) {
        const QString commandLine = command.match(example).captured(1);
        SCOPED_TRACE(commandLine.toStdString());
        const Outcome outcome = runProgram(guideArguments(commandLine));
        // Files are named as the command line names them, which the run makes absolute.
        QString output = outcome.records.join(u'\n') + u'\n';
        output.replace(QStringLiteral(KONFIDOR_DOCS), QStringLiteral("docs"));
        EXPECT_EQ(output.toStdString(), GuideBlocks::fenced(example).toStdString());
        EXPECT_EQ(QString::number(outcome.status), status.match(example).captured(1));
    }
}

// Each row: a script, run as a step against the first example's sheet, and a
// record that the run prints: a dialog, or "NAME Prop=value" of a widget record.
TEST(Guide, ScriptSurprisesHold) {
    static const QRegularExpression row(QStringLiteral("^\\| `(.+?)` \\| `(.+?)` \\|"),
                                        QRegularExpression::MultilineOption);
    const QStringList tables =
        GuideBlocks::named(GuideBlocks::guide(), QStringLiteral("script-cases"));
    ASSERT_EQ(tables.size(), 1);
    int rows = 0;
    for (QRegularExpressionMatchIterator it = row.globalMatch(tables.first()); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const QString script =
            match.captured(1).replace(QStringLiteral("\\|"), QStringLiteral("|"));
        const QString expected = match.captured(2);
        SCOPED_TRACE(script.toStdString());
        ++rows;
        const Outcome outcome =
            checkOffline(QStringLiteral(KONFIDOR_DOCS "/guide-example"),
                         QStringLiteral(KONFIDOR_DOCS "/guide-example/guide-device.xm"),
                         {QStringLiteral("--run"), script});
        const QString widget = expected.section(u' ', 0, 0);
        const QString value = u' ' + expected.section(u' ', 1) + u' ';
        const bool found = std::any_of(
            outcome.records.cbegin(), outcome.records.cend(), [&](const QString& record) {
                if (expected.startsWith(QStringLiteral("dialog: ")))
                    return record == expected;
                return record.startsWith(QStringLiteral("widget: ")) &&
                       record.section(u' ', 2, 2) == widget && (record + u' ').contains(value);
            });
        EXPECT_TRUE(found) << expected.toStdString() << " is not among\n"
                           << outcome.records.join(u'\n').toStdString();
    }
    EXPECT_GE(rows, 20);
}

// The linter's exit status tells clean, warnings only and errors apart, and its
// JSON form holds the same findings as its lines.
TEST(Lint, StatusAndJsonTellWhatWasFound) {
    const QString docs = QStringLiteral(KONFIDOR_DOCS "/guide-example/");
    EXPECT_EQ(runProgram({"--lint", docs + "guide.xml"}).status, 0);
    const Outcome warnings = runProgram({"--lint", docs + "guide.xml", "--device",
                                         QStringLiteral(KONFIDOR_CHECK_DATA "/device.xm")});
    EXPECT_EQ(warnings.status, 1) << warnings.records.join(u'\n').toStdString();
    EXPECT_TRUE(warnings.records.value(0).contains(": warning: "))
        << warnings.records.value(0).toStdString();

    const QStringList mistakes{"--lint", docs + "mistakes/guide.xml"};
    const Outcome lines = runProgram(mistakes);
    const Outcome json = runProgram(mistakes + QStringList{"--lint-format", "json"});
    EXPECT_EQ(lines.status, 2);
    EXPECT_EQ(json.status, 2);
    const QJsonArray findings = QJsonDocument::fromJson(json.records.join(u'\n').toUtf8()).array();
    ASSERT_EQ(findings.size(), lines.records.size());
    const QJsonObject first = findings.first().toObject();
    EXPECT_EQ(QStringLiteral("%1:%2:%3: %4: %5")
                  .arg(first["file"].toString())
                  .arg(first["line"].toInt())
                  .arg(first["column"].toInt())
                  .arg(first["severity"].toString(), first["message"].toString()),
              lines.records.first());
}

TEST(CheckRecords, TextsStayOnOneLineAndValuesReadBack) {
    EXPECT_EQ(CheckRecords::escaped(QStringLiteral("a\\b\r\nc")), QStringLiteral("a\\\\b\\r\\nc"));
    EXPECT_EQ(CheckRecords::propertyValue(QStringLiteral("192.168.1.1")),
              QStringLiteral("192.168.1.1"));
    EXPECT_EQ(CheckRecords::propertyValue(QString()), QStringLiteral("\"\""));
    EXPECT_EQ(CheckRecords::propertyValue(QStringLiteral("a=b")), QStringLiteral("\"a=b\""));
    EXPECT_EQ(CheckRecords::propertyValue(QStringLiteral("say \"hi\"")),
              QStringLiteral("\"say \\\"hi\\\"\""));
}

namespace {

// The one JSON object a --json run prints.
QJsonObject reportOf(const Outcome& outcome) {
    EXPECT_EQ(outcome.records.size(), 1) << outcome.records.join(u'\n').toStdString();
    const QJsonObject report = QJsonDocument::fromJson(outcome.records.value(0).toUtf8()).object();
    EXPECT_EQ(report["exit"].toInt(), outcome.status);
    return report;
}

QStringList settingsOf(const QJsonObject& report) {
    QStringList settings;
    for (const QJsonValue& change : report["changes"].toArray())
        settings << change["setting"].toString() + u'=' + change["after"].toString();
    return settings;
}

} // namespace

// Settings from the command line go through the widget that binds them (its change
// event runs the sheet's rules) or into the document; "Set" runs only when something
// differs, so a second run sends nothing.
TEST(Settings, SetThroughTheSheetOnlyWhatDiffersAndReportIt) {
    QTemporaryDir directory;
    const QString applied = directory.filePath(QStringLiteral("applied.xml"));
    Simulator simulator({QStringLiteral("--apply-file"), applied, QStringLiteral("--reset-delay"),
                         QStringLiteral("100")});
    const QString settingsFile = directory.filePath(QStringLiteral("site.txt"));
    QFile file(settingsFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("# site 7\n\n  INFO.name = Sklad Žďár  \nDEVICE.serial=X-7\n");
    file.close();
    const auto run = [&](const QStringList& more) {
        return runProgram(QStringList{QStringLiteral("--check"), QStringLiteral("--json"),
                                      QStringLiteral("--sheets"), QStringLiteral(KONFIDOR_EXAMPLES)} +
                          simulator.login() + more);
    };
    const QStringList apply{QStringLiteral("--settings"), settingsFile, QStringLiteral("--set"),
                            QStringLiteral("COM1.parity=O"), QStringLiteral("--answer"),
                            QStringLiteral("yes")};

    const Outcome first = run(apply);
    const QJsonObject report = reportOf(first);
    EXPECT_EQ(first.status, 0);
    EXPECT_EQ(report["result"].toString(), QStringLiteral("applied"));
    EXPECT_EQ(settingsOf(report),
              (QStringList{"COM1.parity=O", "INFO.name=Sklad Žďár", "DEVICE.serial=X-7"}));
    EXPECT_EQ(report["device"].toObject()["serial"].toString(), QStringLiteral("D485-000731"));
    EXPECT_TRUE(report["messages"].toArray().first().toString().startsWith(
        QStringLiteral("Konfigurace byla úspěšně provedena")));
    ASSERT_TRUE(QFile::exists(applied));
    QFile::remove(applied);

    const Outcome again = run(apply);
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(reportOf(again)["result"].toString(), QStringLiteral("unchanged"));
    EXPECT_FALSE(QFile::exists(applied)) << "the second run sent an apply";

    // DHCP on disables the address field through the sheet's change handler.
    const Outcome disabled =
        run({QStringLiteral("--set"), QStringLiteral("NET.dhcp=1"), QStringLiteral("--set"),
             QStringLiteral("NET.ip=10.0.0.5")});
    EXPECT_EQ(disabled.status, 2);
    EXPECT_EQ(reportOf(disabled)["messages"].toArray().first().toString(),
              QStringLiteral("Nastavení NET.ip: prvek eIP je zakázaný, hodnotu nelze změnit. Nic "
                             "nebylo odesláno."));
    for (const QString& refused : {QStringLiteral("COM1.parity=X"), QStringLiteral("COM1.bits=99"),
                                   QStringLiteral("NET.nic=1")}) {
        const Outcome outcome = run({QStringLiteral("--set"), refused});
        EXPECT_EQ(outcome.status, 2) << refused.toStdString();
        EXPECT_EQ(reportOf(outcome)["result"].toString(), QStringLiteral("failed"));
    }
    const Outcome dryRun = run({QStringLiteral("--diff"), QStringLiteral("--set"),
                                QStringLiteral("COM1.bits=7")});
    EXPECT_EQ(dryRun.status, 0);
    EXPECT_EQ(reportOf(dryRun)["result"].toString(), QStringLiteral("dry-run"));
    EXPECT_EQ(settingsOf(reportOf(dryRun)), QStringList{"COM1.bits=7"});
    EXPECT_FALSE(QFile::exists(applied));

    QStringList login = simulator.login();
    login.last() = QStringLiteral("spatne");
    const Outcome refusedLogin = runProgram(QStringList{QStringLiteral("--check"),
                                                        QStringLiteral("--json")} + login);
    EXPECT_EQ(refusedLogin.status, 3);
    EXPECT_EQ(reportOf(refusedLogin)["result"].toString(), QStringLiteral("failed"));

    // A command line automation got wrong never connects.
    for (const QString& wrong : {QStringLiteral("--set=INFO.name"), QStringLiteral("--set==x"),
                                 QStringLiteral("--settings=/nonexistent"),
                                 QStringLiteral("--sett=INFO.name=x")}) {
        const Outcome outcome = run({wrong});
        EXPECT_EQ(outcome.status, 3) << wrong.toStdString();
        EXPECT_TRUE(outcome.records.isEmpty()) << wrong.toStdString();
    }
}

// The device's other answers to "Set": partly applied, and no confirmation at all.
TEST(Settings, ADeviceThatDoesNotTakeEverythingFailsTheRun) {
    for (const auto& [answer, result] :
         {std::pair{"partial", "partially-applied"}, std::pair{"none", "not-confirmed"}}) {
        Simulator simulator({QStringLiteral("--apply-answer"), QLatin1String(answer)});
        const Outcome outcome = runProgram(
            QStringList{QStringLiteral("--check"), QStringLiteral("--json"), QStringLiteral("--sheets"),
                        QStringLiteral(KONFIDOR_EXAMPLES), QStringLiteral("--set"),
                        QStringLiteral("COM1.bits=7")} +
            simulator.login());
        EXPECT_EQ(outcome.status, 2) << answer;
        const QJsonObject report = reportOf(outcome);
        EXPECT_EQ(report["result"].toString(), QLatin1String(result));
        EXPECT_EQ(report["messages"].toArray().size(), 1) << answer;
    }
}
