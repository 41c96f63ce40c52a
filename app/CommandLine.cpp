#include "app/CommandLine.h"

#include "link/PortOption.h"
#include "platform/Error.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace CommandLine {

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
        QStringLiteral("Look for sheet files in this directory instead of the program's."),
        QStringLiteral("dir"));
    parser.addOptions({debug, address, password, PortOption::option(), sheets});

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
    return options;
}

} // namespace CommandLine
