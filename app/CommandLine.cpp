#include "app/CommandLine.h"

#include "link/PortOption.h"
#include "platform/Error.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <utility>

namespace CommandLine {

namespace {

// The --run and --fire values in the order they were given, which the parser does
// not keep across two options.
QList<StartOptions::Step> stepsOf(const QStringList& arguments) {
    QList<StartOptions::Step> steps;
    const std::pair<QString, StartOptions::Step::Kind> kinds[] = {
        {QStringLiteral("--run"), StartOptions::Step::Kind::Run},
        {QStringLiteral("--fire"), StartOptions::Step::Kind::Fire}};
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--"))
            break;
        for (const auto& [option, kind] : kinds) {
            if (arguments[i] == option && i + 1 < arguments.size()) {
                steps.append({kind, arguments[++i]});
                break;
            }
            if (arguments[i].startsWith(option + u'=')) {
                steps.append({kind, arguments[i].mid(option.size() + 1)});
                break;
            }
        }
    }
    return steps;
}

bool answerOf(const QString& value) {
    if (value.isEmpty() || value == QLatin1String("no"))
        return false;
    if (value == QLatin1String("yes"))
        return true;
    throw Error(QStringLiteral("Invalid value for --answer: %1 (yes or no)").arg(value));
}

int secondsOf(const QString& value) {
    if (value.isEmpty())
        return 0;
    bool ok = false;
    const int seconds = value.toInt(&ok);
    if (!ok || seconds < 0 || seconds > 24 * 3600)
        throw Error(QStringLiteral("Invalid value for --stay: %1").arg(value));
    return seconds;
}

} // namespace

bool isDebugSwitch(const QString& parameter) {
    if (parameter.size() < 2 || (parameter[0] != u'/' && parameter[0] != u'-'))
        return false;
    return QStringView(parameter).mid(1).compare(u"/debug", Qt::CaseInsensitive) == 0;
}

StartOptions parse(const QStringList& arguments) {
    StartOptions options;
    QStringList forParser;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (i > 0 && isDebugSwitch(arguments[i]))
            options.debugSwitch = true;
        else
            forParser.append(arguments[i]);
    }

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Configuration client for network converters. The switch \"//debug\" "
                       "(or \"-/debug\") works like --debug."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption debug(
        QStringLiteral("debug"),
        QStringLiteral("Show the diagnostics window whenever the main window is shown."));
    const QCommandLineOption address(QStringLiteral("address"),
                                     QStringLiteral("Pre-fill the device address."),
                                     QStringLiteral("host"));
    const QCommandLineOption password(QStringLiteral("password"),
                                      QStringLiteral("Pre-fill the device password."),
                                      QStringLiteral("text"));
    const QCommandLineOption sheets(
        QStringLiteral("sheets"),
        QStringLiteral("Look for sheet files in this directory only."),
        QStringLiteral("dir"));
    const QCommandLineOption offline(
        QStringLiteral("offline"),
        QStringLiteral("Load this stored device configuration and build its sheet."),
        QStringLiteral("file"));
    const QCommandLineOption check(
        QStringLiteral("check"),
        QStringLiteral("Headless: build, print the records, answer every dialog and exit."));
    const QCommandLineOption run(QStringLiteral("run"),
                                 QStringLiteral("With --check: run this script text (repeatable)."),
                                 QStringLiteral("text"));
    const QCommandLineOption fire(
        QStringLiteral("fire"),
        QStringLiteral("With --check: fire the event of a sheet widget (repeatable)."),
        QStringLiteral("name.event"));
    const QCommandLineOption answer(
        QStringLiteral("answer"),
        QStringLiteral("With --check: the answer to every question, yes or no (default no)."),
        QStringLiteral("yes|no"));
    const QCommandLineOption stay(
        QStringLiteral("stay"),
        QStringLiteral("With --check: keep a live connection open this long after the steps."),
        QStringLiteral("seconds"));
    const QCommandLineOption logFile(
        QStringLiteral("log-file"),
        QStringLiteral("Append every log entry and communication line to this file."),
        QStringLiteral("file"));
    const QCommandLineOption save(
        QStringLiteral("save"),
        QStringLiteral("Where \"Set\" without a connection saves the configuration."),
        QStringLiteral("file"));
    const QCommandLineOption history(
        QStringLiteral("history"),
        QStringLiteral("Keep the configurations received and sent in this directory."),
        QStringLiteral("dir"));
    const QCommandLineOption compare(
        QStringLiteral("compare"),
        QStringLiteral("With --check: print how the device's configuration differs from this "
                       "stored one, and exit."),
        QStringLiteral("file"));
    const QCommandLineOption diff(
        QStringLiteral("diff"),
        QStringLiteral("With --check: every \"Set\" prints its changes and neither sends nor saves."));
    const QCommandLineOption restore(
        QStringLiteral("restore"),
        QStringLiteral("With --check and a device: send this stored configuration back to it."),
        QStringLiteral("file"));
    const QCommandLineOption record(
        QStringLiteral("record"),
        QStringLiteral("Record every byte of the device connections in this file (JSON lines), "
                       "the password masked."),
        QStringLiteral("file"));
    const QCommandLineOption set(
        QStringLiteral("set"),
        QStringLiteral("With --check: give a device setting this value once the sheet is built "
                       "(repeatable); \"Set\" runs when any setting differs from the device's."),
        QStringLiteral("NODE.attribute=VALUE"));
    const QCommandLineOption settings(
        QStringLiteral("settings"),
        QStringLiteral("With --check: the settings of a file of NODE.attribute=VALUE lines "
                       "(UTF-8, # comments), as many --set before those given."),
        QStringLiteral("file"));
    const QCommandLineOption json(
        QStringLiteral("json"),
        QStringLiteral("With --check: print one JSON report at the end instead of the records."));
    const QCommandLineOption lint(
        QStringLiteral("lint"),
        QStringLiteral("Check the sheet files given as arguments, print each finding as "
                       "FILE:LINE:COLUMN: error|warning: TEXT and exit (0 none, 1 warnings, "
                       "2 errors)."));
    const QCommandLineOption device(
        QStringLiteral("device"),
        QStringLiteral("With --lint: check the bindings against this device configuration "
                       "(repeatable)."),
        QStringLiteral("file"));
    const QCommandLineOption lintFormat(
        QStringLiteral("lint-format"),
        QStringLiteral("With --lint: text (default) or json."), QStringLiteral("format"));
    parser.addOptions({debug, address, password, PortOption::option(), sheets, offline, check, run,
                       fire, answer, stay, logFile, save, history, compare, diff, restore, record,
                       set, settings, json, lint, device, lintFormat});
    parser.addPositionalArgument(QStringLiteral("sheets"),
                                 QStringLiteral("With --lint: the sheet files to check."),
                                 QStringLiteral("[SHEET.xml...]"));

    if (!parser.parse(forParser)) {
        // Unknown options are named and ignored, as the program always ignored
        // parameters it does not know; a known option without its value is an error.
        options.ignoredOptions = parser.unknownOptionNames();
        if (options.ignoredOptions.isEmpty())
            throw Error(parser.errorText());
    }
    if (parser.isSet(help)) {
        options.action = StartOptions::Action::ShowHelp;
        // The parser runs before the application object exists, so it names the
        // program itself.
        options.helpText = parser.helpText().replace(QStringLiteral("<executable_name>"),
                                                     arguments.isEmpty()
                                                         ? QStringLiteral("konfidor")
                                                         : QFileInfo(arguments.first()).fileName());
        return options;
    }
    if (parser.isSet(version)) {
        options.action = StartOptions::Action::ShowVersion;
        return options;
    }
    options.debugSwitch = options.debugSwitch || parser.isSet(debug);
    if (parser.isSet(address))
        options.address = parser.value(address);
    if (parser.isSet(password))
        options.password = parser.value(password);
    options.port = PortOption::portFrom(parser);
    options.sheetDirectory = parser.value(sheets);
    options.offlineFile = parser.value(offline);
    options.compareFile = parser.value(compare);
    options.diffOnly = parser.isSet(diff);
    options.restoreFile = parser.value(restore);
    options.check = parser.isSet(check);
    options.steps = stepsOf(forParser);
    options.answerYes = answerOf(parser.value(answer));
    options.staySeconds = secondsOf(parser.value(stay));
    options.logFile = parser.value(logFile);
    options.recordFile = parser.value(record);
    options.saveFile = parser.value(save);
    options.historyDirectory = parser.value(history);
    if (parser.isSet(settings))
        options.settings = ReadSettingsFile(parser.value(settings));
    for (const QString& text : parser.values(set))
        options.settings.append(ParseSettingRequest(text));
    options.json = parser.isSet(json);
    options.lint = parser.isSet(lint);
    options.lintFiles = parser.positionalArguments();
    options.lintDevices = parser.values(device);
    const QString format = parser.value(lintFormat);
    if (!format.isEmpty() && format != QLatin1String("text") && format != QLatin1String("json"))
        throw Error(QStringLiteral("Invalid value for --lint-format: %1 (text or json)").arg(format));
    options.lintJson = format == QLatin1String("json");
    if (options.lint && options.lintFiles.isEmpty())
        throw Error(QStringLiteral("--lint needs at least one sheet file"));
    if (!options.lint && (parser.isSet(device) || parser.isSet(lintFormat)))
        throw Error(QStringLiteral("--device and --lint-format work only with --lint"));
    // The windowed program would ignore them, and a step silently not run looks
    // like a sheet that does nothing.
    if (!options.check && (!options.steps.isEmpty() || parser.isSet(answer) || parser.isSet(stay) ||
                           parser.isSet(set) || parser.isSet(settings) || options.json))
        throw Error(QStringLiteral(
            "--run, --fire, --answer, --stay, --set, --settings and --json work only with --check"));
    if (options.json && !options.compareFile.isEmpty())
        throw Error(QStringLiteral("--json does not work with --compare"));
    // Automation must not take a mistyped option for one that did nothing.
    if (options.check && !options.ignoredOptions.isEmpty())
        throw Error(QStringLiteral("unknown options: %1")
                        .arg(options.ignoredOptions.join(QStringLiteral(", "))));
    return options;
}

} // namespace CommandLine
