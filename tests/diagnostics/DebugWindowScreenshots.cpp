// Renders the diagnostics window on its "Log" and "Communication" tabs with
// sample entries into debug-log.png and debug-communication.png, and the "Log" tab
// recording into a file into debug-recording.png, in the folder given as the
// argument. Run under xvfb-run so real fonts are used.
#include "diagnostics/DiagnosticLog.h"
#include "diagnostics/EventLogModel.h"
#include "diagnostics/TfDebug.h"
#include "platform/widgets/ApplicationStyle.h"

#include <QApplication>
#include <QDir>
#include <QListView>
#include <QTabWidget>
#include <QtTest/QTest>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    SetUpApplicationStyle(app);
    if (argc < 2) {
        qWarning("usage: %s <output folder>", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));

    int second = 0;
    DiagnosticLog log([&second] { return QTime(9, 5, 7).addSecs(second++); });
    // Sample entries: an event log entry of each kind and a connection's trace.
    log.LogInfo("Start aplikace");
    log.LogInfo("Nalezen soubor KF100_v12.xml pro zařízení KF-100 verze 1.2");
    const struct {
        std::uint32_t colour;
        const char* text;
    } coloured[] = {
        {0xFF0000, "function onShow(){"},
        {0x00FF00, "Vytvoren TForm fNastaveni"},
        {0x00FF00, "Vytvoren TEdit eIPadresa"},
        {0x00FFFF, "Nacten XMLpath NET/IP = 192.168.1.10"},
        {0xF0FBFF, "Polozka seznamu: 9600 Bd"},
        {0x0000FF, "Chyba vytvoreni prvku TMemo: Class TMemo not found"},
    };
    for (const auto& entry : coloured)
        log.LogColor(entry.colour, entry.text);
    log.LogError("Vlastnost Kolor neexistuje");
    log.LogInfo("Příliš žluťoučký kůň úpěl ďábelské ódy");

    constexpr std::uint32_t maroon = 0x000080, green = 0x008000;
    const struct {
        std::uint32_t colour;
        const char* text;
    } trace[] = {
        {maroon, "Connecting"},
        {maroon, "Connect"},
        {green, "Receive 9"},
        {green, "S*****"},
        {green, "Receive 4"},
        {green, "S >"},
        {green,
         "<XML>\r\n<DEVICE type=\"KF-100\" version=\"1.2\">\r\n<NET IP=\"192.168.1.10\"/>\r\n"
         "</DEVICE>\r\n</XML>"},
        {maroon, "Chyba komunikace - Spojení bylo aktivně odmítnuto."},
        {maroon, "Disconnect"},
    };
    for (const auto& line : trace)
        log.LogComm(line.colour, line.text);

    TfDebug window(log);
    window.showAndRaise();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;

    window.PageControl1()->setCurrentIndex(0);
    window.LogListBox()->setCurrentIndex(window.logModel()->index(7));
    const bool logSaved = window.grab().save(out.filePath(QStringLiteral("debug-log.png")));

    window.showRecordingFile(QStringLiteral("/home/technik/zaznam-cerpaci-stanice.jsonl"));
    const bool recordingSaved =
        window.grab().save(out.filePath(QStringLiteral("debug-recording.png")));
    window.showRecordingFile({});

    window.PageControl1()->setCurrentIndex(2);
    const bool communicationSaved =
        window.grab().save(out.filePath(QStringLiteral("debug-communication.png")));
    return logSaved && recordingSaved && communicationSaved ? 0 : 1;
}
