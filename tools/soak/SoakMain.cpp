// konfidor-soak: one program, offscreen, against the in-process device simulator,
// through the operator's whole path again and again: connect, the sheet built,
// a value changed, "Set", the device's confirmation and reset, the new login,
// the sheet closed (disconnect). Every tenth cycle the device misbehaves in one
// of the connection faults instead. Prints the cycles, resident memory and open
// file descriptors after the first cycle, after 50 and at the end, and every
// message box a cycle did not expect. Exits with 1 when there was one.
#include "app/Program.h"
#include "app/StartOptions.h"
#include "app/TfMain.h"
#include "diagnostics/DiagnosticLog.h"
#include "link/DeviceLink.h"
#include "link/LinkTimings.h"
#include "platform/EntryGuard.h"
#include "platform/dialogs/RecordingDialogs.h"
#include "platform/widgets/Edit.h"
#include "platform/widgets/Form.h"
#include "script/TScript.h"
#include "tools/devsim/DeviceSimulator.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <malloc.h>

namespace {

using Fault = DeviceSimulator::Fault;

// Faults that end a connection quickly; their cycles expect what they cause.
const Fault MixedFaults[] = {Fault::CloseInConfiguration, Fault::ResetAfterPassword,
                             Fault::MalformedBlock, Fault::Binary, Fault::OversizedBlock};

template <typename Done> bool waitUntil(Done done, int milliseconds) {
    const QDeadlineTimer deadline(milliseconds);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    return done();
}

long statusValue(const char* key) {
    QFile file(QStringLiteral("/proc/self/status"));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').first().toLong();
    }
    return -1;
}

qsizetype openDescriptors() {
    return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size();
}

// The event and communication logs keep every entry for the whole run, by design;
// their text is counted apart so that growth beyond it shows.
qsizetype logBytes = 0;

void report(const char* when, int cycles) {
    // Memory freed but kept by the allocator (the faults' large blocks leave a lot of
    // it) goes back first: what stays resident is what the program holds.
    malloc_trim(0);
    std::printf("soak %s: cycles %d, resident %ld kB, descriptors %lld, widgets %lld\n", when,
                cycles, statusValue("VmRSS:"), static_cast<long long>(openDescriptors()),
                static_cast<long long>(QApplication::allWidgets().size()));

    std::printf("soak %s: log text %lld kB\n", when, static_cast<long long>(logBytes / 1024));
    std::fflush(stdout);
}

class Soak {
public:
    Soak(Program& program, DeviceSimulator& device, RecordingDialogs& dialogs)
        : program_(program), main_(program.fMain()), device_(device), dialogs_(dialogs) {
        QObject::connect(&main_, &TfMain::sheetLoaded, [this] { ++sheets_; });
    }

    // One cycle; false when it went other than it should.
    bool cycle(int number) {
        const bool faulty = number % 10 == 9;
        device_.setFault(faulty ? MixedFaults[(number / 10) % std::size(MixedFaults)] : Fault::None);
        dialogs_.clearRecords();
        const int sheetsBefore = sheets_;
        EntryGuard::guardEntry([this] { main_.Connect(&main_); });
        if (faulty) {
            // Whatever the fault did, the connection ends or the operator cancels it.
            if (!waitUntil([&] { return !main_.link().connected() || sheets_ > sheetsBefore; }, 5000))
                main_.CancelConnect();
            closeSheet();
            return waitUntil([&] { return !main_.link().connected(); }, 5000);
        }
        if (!waitUntil([&] { return sheets_ == sheetsBefore + 1; }, 5000))
            return fail(number, "no sheet after connecting");
        if (auto* edit = qobject_cast<TEdit*>(main_.FindSheetComponent("eIP")))
            edit->SetText("127.0.0." + QByteArray::number(1 + number % 200));
        // "Uložit": the device confirms and resets, the program asks and logs in again.
        EntryGuard::guardEntry([this] { main_.mainScript().Run("Set;"); });
        if (!waitUntil([&] { return sheets_ == sheetsBefore + 2 && main_.link().connected(); }, 10000))
            return fail(number, "no new login after the confirmation");
        closeSheet();
        if (!waitUntil([&] { return !main_.link().connected(); }, 5000))
            return fail(number, "the connection stayed after the sheet was closed");
        for (const RecordingDialogs::Record& record : dialogs_.records()) {
            if (record.kind == DialogKind::Error)
                return fail(number, qPrintable(record.text));
        }
        return true;
    }

private:
    void closeSheet() {
        if (main_.FindSheetComponent("fDemo"))
            EntryGuard::guardEntry([this] { main_.mainScript().Run("fDemo.Close;"); });
    }

    bool fail(int number, const char* what) {
        std::printf("soak cycle %d: %s\n", number, what);
        return false;
    }

    Program& program_;
    TfMain& main_;
    DeviceSimulator& device_;
    RecordingDialogs& dialogs_;
    int sheets_ = 0;
};

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Runs the operator's path against the simulator for a while."));
    parser.addHelpOption();
    parser.addOption({"minutes", "How long to run.", "minutes", "30"});
    parser.addOption({"sheets", "Directory with the sample sheet.", "dir", KONFIDOR_EXAMPLES_DIR});
    parser.process(app);

    QTemporaryDir work;
    QDir::setCurrent(work.path());
    LinkTimings timings;
    timings.keepAliveMs = 2000;
    timings.connectWaitMs = 5000;
    timings.applyWaitMs = 3000;
    LinkTimings::replace(timings);

    QFile sample(QDir(parser.value("sheets")).filePath(QStringLiteral("demo-485-device.xm")));
    if (!sample.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "konfidor-soak: cannot read %s\n", qPrintable(sample.fileName()));
        return 2;
    }
    DeviceSimulator::Options options;
    options.configuration = sample.readAll();
    options.resetDelayMs = 0;
    options.keepReceived = false;
    DeviceSimulator device(options);
    if (!device.listen())
        return 2;

    RecordingDialogs dialogs;
    dialogs.setDefaultAnswer(DialogAnswer::Yes); // "log in again?"
    OperatorDialogs::install(&dialogs);
    TCustomForm::setHeadlessModal([](TCustomForm&) {});
    StartOptions start;
    start.address = QStringLiteral("127.0.0.1");
    start.password = QStringLiteral("demo");
    start.port = device.port();
    start.sheetDirectory = parser.value("sheets");
    Program program(start);

    Soak soak(program, device, dialogs);
    program.log().addListener([](const DiagnosticLog::Record& record) {
        logBytes += record.text.size();
    });
    const QDeadlineTimer end(qint64(parser.value("minutes").toDouble() * 60000));
    int cycles = 0;
    int failures = 0;
    while (!end.hasExpired()) {
        failures += soak.cycle(cycles) ? 0 : 1;
        ++cycles;
        if (cycles == 1)
            report("after the first cycle", cycles);
        if (cycles == 50)
            report("after 50 cycles", cycles);
        if (qEnvironmentVariableIsSet("KONFIDOR_SOAK_EVERY") && cycles % 20 == 0)
            report("now", cycles);
    }
    report("at the end", cycles);
    std::printf("soak: %d cycles, %d went wrong\n", cycles, failures);
    OperatorDialogs::install(nullptr);
    return failures == 0 ? 0 : 1;
}
