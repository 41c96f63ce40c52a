// Support asks an operator to start the program with --log-file: the file must
// hold what the diagnostics window shows, in stored form, and never the password.
#include "DeviceShellTestSupport.h"
#include "diagnostics/CommunicationLogView.h"
#include "diagnostics/EventLogModel.h"
#include "diagnostics/TfDebug.h"
#include "platform/Win1250.h"

#include <QListView>
#include <QTemporaryDir>

namespace {

// The file's text holds each of the lines, in this order.
bool holdsInOrder(const QByteArray& text, const QList<QByteArray>& lines) {
    qsizetype from = 0;
    for (const QByteArray& line : lines) {
        const qsizetype at = text.indexOf(line, from);
        if (at < 0) {
            ADD_FAILURE() << "not in the log file (in this order): " << line.constData();
            return false;
        }
        from = at + line.size();
    }
    return true;
}

} // namespace

using LogFileTest = DeviceShellTest;

TEST_F(LogFileTest, HoldsWhatTheDiagnosticsWindowShowsButNeverThePassword) {
    QTemporaryDir directory;
    const QString logFile = directory.filePath(QStringLiteral("konfidor.log"));
    DeviceSimulator::Options deviceOptions;
    deviceOptions.password = "tajne-heslo";
    DeviceSimulator& device = startDevice(deviceOptions);
    StartOptions options = loopback(device.port());
    options.password = QStringLiteral("tajne-heslo");
    options.sheetDirectory = QFileInfo(QStringLiteral(KONFIDOR_SAMPLE_DEVICE)).path();
    options.logFile = logFile;
    start(options);
    fMain().Show();
    connectAndActInModalSheet([](TForm& sheet) {
        sheet.Close();
        return true;
    });

    TfDebug& window = program().fDebug();
    window.logModel()->publishPending();
    window.reCommunication()->showPending();
    QList<QByteArray> events;
    for (int row = 0; row < window.logModel()->rowCount(); ++row)
        events.append(window.logModel()
                          ->data(window.logModel()->index(row), EventLogModel::StoredEntryRole)
                          .toByteArray() +
                      '\n');
    QList<QByteArray> communication;
    for (const QString& line : window.reCommunication()->toPlainText().split(u'\n'))
        communication.append(Win1250::fromWide(line).replace('\r', ""));

    QFile file(logFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    ASSERT_GT(events.size(), 10);
    ASSERT_GT(communication.size(), 5);
    EXPECT_TRUE(holdsInOrder(text, events));
    EXPECT_TRUE(holdsInOrder(QByteArray(text).replace('\r', ""), communication));
    EXPECT_FALSE(text.contains("tajne-heslo"));
}
