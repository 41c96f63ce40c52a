#pragma once

#include "app/StartOptions.h"
#include "diagnostics/CoalescedCall.h"
#include "platform/dialogs/RecordingDialogs.h"

#include <QObject>
#include <QString>
#include <QStringList>

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
    void fire(Program& program, const QString& step);
    void stayConnected(Program& program);
    static QStringList widgetRecords(Program& program);
    void print(const QString& record);

    const StartOptions& options_;
    RecordingDialogs dialogs_;
    OperatorDialogs* previousDialogs_;
    bool failed_ = false;
    // Records leave in one write per turn of the message loop, not one per record: a
    // device flooding the link gives thousands of records per read.
    QObject printer_;
    CoalescedCall flushLater_;
};
