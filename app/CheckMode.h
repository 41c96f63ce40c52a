#pragma once

#include "app/CheckReport.h"
#include "app/StartOptions.h"
#include "link/ConfigurationHistory.h"
#include "diagnostics/CoalescedCall.h"
#include "platform/dialogs/RecordingDialogs.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

class Program;

// The headless mode: the whole program without a screen, for sheet authors and
// automation. It obtains the device configuration (a stored file or a live
// device), builds its sheet through the program's own code, runs the steps of the
// command line, prints every log entry, communication line and dialog as it
// happens and the built widgets at the end, and gives the exit status.
class CheckMode {
public:
    // Exit statuses.
    static constexpr int Passed = 0;
    static constexpr int NoSheet = 1;
    static constexpr int Failed = 2;
    static constexpr int NoConfiguration = 3;

    explicit CheckMode(const StartOptions& options);
    ~CheckMode();
    CheckMode(const CheckMode&) = delete;
    CheckMode& operator=(const CheckMode&) = delete;

    // Needs the application object; returns the exit status.
    int run();

private:
    bool obtainConfiguration(Program& program);
    int compareConfiguration(Program& program);
    int restoreConfiguration(Program& program);
    bool connectToDevice(Program& program);
    void runSteps(Program& program);
    void reconnectIfAsked(Program& program);
    // --set and --settings: gives each setting its value; false when one failed (the
    // error box has told why and nothing was sent).
    bool setRequestedSettings(Program& program);
    // Runs "Set" when any setting differs from the device's configuration.
    void sendRequestedSettings(Program& program);
    // The exit status, with the JSON report printed when one was asked for.
    int finish(int status);
    void noteDevice(Program& program);
    // --set, --settings and --json decide the status by how the device answered.
    bool automation() const { return options_.json || !options_.settings.isEmpty(); }
    void fire(Program& program, const QString& step);
    void stayConnected(Program& program);
    static QStringList widgetRecords(Program& program);
    void print(const QString& record);

    const StartOptions& options_;
    RecordingDialogs dialogs_;
    OperatorDialogs* previousDialogs_;
    bool failed_ = false;
    // An error box was shown.
    bool errorShown_ = false;
    // How the device answered the last document "Set" sent.
    std::optional<ConfigurationHistory::Answer> answer_;
    CheckReport report_;
    // Records leave in one write per turn of the message loop, not one per record: a
    // device flooding the link gives thousands of records per read.
    QObject printer_;
    CoalescedCall flushLater_;
};
