// konfidor-soak: one program, offscreen, against the in-process device simulator,
// through the operator's whole path again and again: connect, the sheet built,
// a value changed, "Set", the device's confirmation and reset, the new login,
// the sheet closed (disconnect). Every tenth cycle the device misbehaves in one
// of the connection faults instead. Prints the cycles, resident memory and open
// file descriptors after the first cycle, after 50 and at the end, and every
// message box a cycle did not expect. Exits with 1 when there was one, or when
// memory beyond the logs or the open descriptors grew after the first 50 cycles.
#include "app/Program.h"
#include "app/StartOptions.h"
#include "app/TfMain.h"
#include "diagnostics/DiagnosticLog.h"
#include "link/DeviceLink.h"
#include "link/LinkTimings.h"
#include "platform/EntryGuard.h"
#include "platform/dialogs/RecordingDialogs.h"
#include "platform/widgets/ApplicationStyle.h"
#include "platform/widgets/Edit.h"
#include "platform/widgets/Form.h"
#include "script/TSMethod.h"
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
#include <optional>

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

// What one look at the process finds.
struct Snapshot {
    long residentKb;
    qsizetype descriptors;
    // What the program keeps for the whole run by design: the event and communication
    // logs, and every script function a sheet defined (a function defined again is
    // kept again, and the earliest one answers its calls).
    long keptKb;
};

// The script's function store: each definition's text and call word, each in a heap
// block of its own with a header, and the function object itself.
std::size_t functionBytes(const TScript& script) {
    constexpr std::size_t blockOverhead = 16 + 16; // the string's header, the allocator's
    std::size_t bytes = 0;
    for (qsizetype i = 0; i < script.FunctionCount(); ++i) {
        const TSMethod& function = script.Function(i);
        bytes += sizeof(void*) + sizeof(TSMethod) + 3 * blockOverhead +
                 static_cast<std::size_t>(function.Definition().capacity() + function.CallWord().capacity());
    }
    return bytes;
}

Snapshot report(const char* when, int cycles, const DiagnosticLog& log, const TScript& script) {
    // Memory freed but kept by the allocator (the faults' large blocks leave a lot of
    // it) goes back first: what stays resident is what the program holds.
    QCoreApplication::processEvents();
    malloc_trim(0);
    const Snapshot now{statusValue("VmRSS:"), openDescriptors(),
                       static_cast<long>((log.heldBytes() + functionBytes(script)) / 1024)};
    std::printf("soak %s: cycles %d, resident %ld kB, descriptors %lld, widgets %lld, "
                "logs and script functions %ld kB\n",
                when, cycles, now.residentKb, static_cast<long long>(now.descriptors),
                static_cast<long long>(QApplication::allWidgets().size()), now.keptKb);
    std::fflush(stdout);
    return now;
}

// The goal: after the first 50 cycles, memory grows by less than 5 MB beyond what
// the program keeps by design, and no descriptor is left open.
bool judge(const Snapshot& from, const Snapshot& to) {
    const long growth = to.residentKb - from.residentKb;
    const long kept = to.keptKb - from.keptKb;
    const bool held = growth - kept < 5 * 1024 && to.descriptors == from.descriptors;
    std::printf("soak: since cycle 50 resident %+ld kB, of it the logs and script functions "
                "%+ld kB, the rest %+ld kB (goal under 5120 kB); descriptors %lld then %lld: %s\n",
                growth, kept, growth - kept, static_cast<long long>(from.descriptors),
                static_cast<long long>(to.descriptors), held ? "PASS" : "MISS");
    return held;
}

class Soak {
public:
    Soak(Program& program, DeviceSimulator& device, RecordingDialogs& dialogs)
        : program_(program), main_(program.fMain()), device_(device), dialogs_(dialogs) {
        QObject::connect(&main_, &TfMain::sheetLoaded, [this] { ++sheets_; });
    }

    // One cycle; false when it went other than it should.
    bool cycle(int number) {
        // Not the last of ten: the reports after 50 cycles and at the end follow a
        // plain cycle, whose new connection has freed the faulty one's socket.
        const bool faulty = number % 10 == 5;
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
    SetUpApplicationStyle(app);
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
    const QDeadlineTimer end(qint64(parser.value("minutes").toDouble() * 60000));
    const DiagnosticLog& log = program.log();
    const TScript& script = program.fMain().mainScript();
    int cycles = 0;
    int failures = 0;
    std::optional<Snapshot> atFifty;
    while (!end.hasExpired()) {
        failures += soak.cycle(cycles) ? 0 : 1;
        ++cycles;
        if (cycles == 1)
            report("after the first cycle", cycles, log, script);
        if (cycles == 50)
            atFifty = report("after 50 cycles", cycles, log, script);
        if (qEnvironmentVariableIsSet("KONFIDOR_SOAK_EVERY") && cycles % 20 == 0)
            report("now", cycles, log, script);
    }
    const Snapshot last = report("at the end", cycles, log, script);
    std::printf("soak: %d cycles, %d went wrong\n", cycles, failures);
    const bool held = atFifty && judge(*atFifty, last);
    OperatorDialogs::install(nullptr);
    return failures == 0 && held ? 0 : 1;
}
