// konfidor-devsim: a device simulator on a loopback address, for the demo and for
// trying the client without a device; or the device side of a recorded session, replayed.
#include "platform/Error.h"
#include "tools/devsim/DeviceSimulator.h"
#include "tools/devsim/SessionReplay.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

struct Parsed {
    DeviceSimulator::Options options;
    QString error;
};

// --listen and --port; an empty text when both are good.
QString parseEndpoint(const QCommandLineParser& parser, QHostAddress& address, quint16& port) {
    address = QHostAddress(parser.value("listen"));
    if (address.isNull())
        return "not an address: " + parser.value("listen");
    bool ok = true;
    const int number = parser.value("port").toInt(&ok);
    if (!ok || number < 0 || number > 65535)
        return "not a port: " + parser.value("port");
    port = static_cast<quint16>(number);
    return {};
}

Parsed parse(const QCommandLineParser& parser) {
    Parsed parsed;
    DeviceSimulator::Options& o = parsed.options;
    bool ok = true;

    QFile config(parser.value("config"));
    if (!config.open(QIODevice::ReadOnly))
        return {o, "cannot read the configuration " + config.fileName()};
    o.configuration = config.readAll();

    o.password = parser.value("password").toLocal8Bit();
    if (const QString error = parseEndpoint(parser, o.address, o.port); !error.isEmpty())
        return {o, error};

    const QString answer = parser.value("apply-answer");
    if (answer == "full")
        o.applyAnswer = DeviceSimulator::ApplyAnswer::Reconfigured;
    else if (answer == "partial")
        o.applyAnswer = DeviceSimulator::ApplyAnswer::PartiallyApplied;
    else if (answer == "none")
        o.applyAnswer = DeviceSimulator::ApplyAnswer::Nothing;
    else
        return {o, "--apply-answer takes full, partial or none"};

    o.resetDelayMs = parser.value("reset-delay").toInt(&ok);
    if (!ok || o.resetDelayMs < 0)
        return {o, "not a delay: " + parser.value("reset-delay")};
    if (parser.isSet("silent-after")) {
        const double seconds = parser.value("silent-after").toDouble(&ok);
        if (!ok || seconds < 0)
            return {o, "not a time: " + parser.value("silent-after")};
        o.silentAfterMs = static_cast<int>(seconds * 1000);
    }
    if (parser.isSet("chunk")) {
        o.chunkSize = parser.value("chunk").toInt(&ok);
        if (!ok || o.chunkSize < 1)
            return {o, "--chunk takes a size of at least 1 byte"};
    }
    if (parser.isSet("fault")) {
        const auto& faults = DeviceSimulator::faults();
        const auto named = std::find_if(faults.begin(), faults.end(), [&](const auto& f) {
            return parser.value("fault") == QLatin1String(f.name);
        });
        if (named == faults.end())
            return {o, "no fault named " + parser.value("fault") + " (see --help)"};
        o.fault = named->fault;
    }
    o.applyFile = parser.value("apply-file");
    if (parser.isSet("flood")) {
        o.floodLines = parser.value("flood").toInt(&ok);
        if (!ok || o.floodLines < 0)
            return {o, "--flood takes a number of lines"};
    }
    return parsed;
}

// The sample configuration: the installed one beside the program
// (../share/konfidor), else the one in the source tree the program was built from.
QString defaultConfiguration() {
    const QString installed = QDir(QCoreApplication::applicationDirPath())
                                  .filePath(QStringLiteral("../share/konfidor/demo-485-device.xm"));
    return QFileInfo::exists(installed) ? QDir::cleanPath(installed)
                                        : QStringLiteral(KONFIDOR_DEFAULT_DEVICE_CONFIGURATION);
}

void fail(const QString& text) {
    std::fprintf(stderr, "konfidor-devsim: %s\n", qPrintable(text));
}

template <typename Server>
int serve(QCoreApplication& app, Server& server, const QHostAddress& address) {
    if (!server.listen()) {
        fail(server.errorString());
        return 1;
    }
    std::printf("konfidor-devsim: listening on %s:%u\n", qPrintable(address.toString()),
                unsigned(server.port()));
    std::fflush(stdout);
    return app.exec();
}

// Plays the device's side of a recording instead of simulating a device.
int replay(QCoreApplication& app, const QCommandLineParser& parser) {
    SessionReplay::Options options;
    if (const QString error = parseEndpoint(parser, options.address, options.port);
        !error.isEmpty()) {
        fail(error);
        return 2;
    }
    bool ok = true;
    options.speed = parser.value("speed").toDouble(&ok);
    if (!ok || options.speed < 0 || !std::isfinite(options.speed)) {
        fail("--speed takes a factor of 0 or more (0: no waiting)");
        return 2;
    }
    RecordedSession session;
    try {
        session = RecordedSession::read(parser.value("replay"));
    } catch (const Error& error) {
        fail(error.message());
        return 2;
    }
    if (!session.unfinishedNote.isEmpty())
        fail(session.unfinishedNote);
    SessionReplay player(std::move(session), options,
                         [](const QString& text) { fail("replay: " + text); });
    return serve(app, player, options.address);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("konfidor-devsim");
    QCoreApplication::setApplicationVersion(KONFIDOR_VERSION);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Simulates a network converter's configuration port on a loopback address.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({
        {"config", "Device configuration to serve (Windows-1250).", "file", defaultConfiguration()},
        {"password", "Password the device accepts.", "text", "demo"},
        {"listen", "Loopback address to listen on.", "address", "127.0.0.1"},
        {"port", "Port to listen on (0: any free port).", "port", "9999"},
        {"apply-answer", "Answer to an apply: full, partial or none.", "answer", "full"},
        {"reset-delay", "Milliseconds from the apply answer to the reset that closes the link.",
         "ms", "1000"},
        {"apply-file", "Also store every apply message in this file.", "file"},
        {"silent-after", "Stop sending this many seconds after each connection starts.", "seconds"},
        {"chunk", "Send output in pieces of this many bytes.", "bytes"},
        {"flood", "Send this many short lines before each configuration.", "lines"},
        {"fault", "Misbehave in this way (listed above).", "name"},
        {"replay", "Play the device's side of a recording (the program's --record file) "
                   "instead of simulating a device.", "file"},
        {"speed", "With --replay: play the recorded pacing this many times faster "
                  "(0: no waiting).", "factor", "1"},
    });
    QString faults = QStringLiteral("\nFaults (--fault):");
    for (const DeviceSimulator::FaultName& fault : DeviceSimulator::faults())
        faults += QStringLiteral("\n  %1  %2").arg(QLatin1String(fault.name), -24)
                      .arg(QLatin1String(fault.description));
    parser.setApplicationDescription(parser.applicationDescription() + faults);
    parser.process(app);

    if (parser.isSet("replay"))
        return replay(app, parser);
    const Parsed parsed = parse(parser);
    if (!parsed.error.isEmpty()) {
        fail(parsed.error);
        return 2;
    }
    DeviceSimulator simulator(parsed.options);
    return serve(app, simulator, parsed.options.address);
}
