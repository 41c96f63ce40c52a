#pragma once

#include "sheets/SetSetting.h"

#include <QList>
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
    // Where "Set" without a connection saves the configuration; empty: the usual place.
    QString saveFile;
    // Where the configurations received and sent are kept; empty: the user's data
    // directory.
    QString historyDirectory;
    // The text --help prints.
    QString helpText;
    // Options nobody understands; the program names them and goes on.
    QStringList ignoredOptions;

    // A stored device configuration loaded instead of connecting; empty: none.
    QString offlineFile;
    // With check: every "Set" prints its changes and neither sends nor saves.
    bool diffOnly = false;
    // With check and a device: the stored configuration to send back to it.
    QString restoreFile;
    // With check: the stored configuration to compare the device's with.
    QString compareFile;
    // Headless: no window, dialogs answered at once, records on standard output.
    bool check = false;

    // Check these sheet files and print what is wrong with them, then exit.
    QStringList lintFiles;
    bool lint = false;
    // With lint: device configurations the bindings are checked against.
    QStringList lintDevices;
    // With lint: the findings as one JSON array instead of one line each.
    bool lintJson = false;

    // A step of the headless mode, in command-line order: script text run through
    // MainScript, or "NAME.EVENT" fired on a registered widget.
    struct Step {
        enum class Kind { Run, Fire };
        Kind kind;
        QString text;
    };
    QList<Step> steps;
    // Device settings the headless mode gives values once the sheet is built, in
    // order (a settings file's first, then --set); "Set" runs when any differs.
    QList<SettingRequest> settings;
    // Headless: one JSON report at the end instead of the records.
    bool json = false;
    // The answer to every Yes/No question in the headless mode.
    bool answerYes = false;
    // Seconds the headless mode keeps a live connection open after the steps.
    int staySeconds = 0;
    // Where every log entry is appended as it happens; empty: nowhere.
    QString logFile;
    // Where every byte of the device connections is recorded; empty: nowhere.
    QString recordFile;
};
