#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// What the command line tells the program at start.
struct StartOptions {
    // The device's default address, pre-filled in the address field.
    static constexpr const char* DefaultAddress = "192.168.1.254";
    static constexpr const char* DefaultPassword = "ZEFIR";

    enum class Action { Run, ShowHelp, ShowVersion };

    Action action = Action::Run;
    // Show the diagnostics window whenever the main window is shown.
    bool debugSwitch = false;
    QString address = QString::fromLatin1(DefaultAddress);
    QString password = QString::fromLatin1(DefaultPassword);
    quint16 port = 9999;
    // Where the sheet files are looked for; empty: the program's own directory.
    QString sheetDirectory;
    // The text --help prints.
    QString helpText;
    // Options nobody understands; the program names them and goes on.
    QStringList ignoredOptions;
};
