#pragma once

#include "diagnostics/DiagnosticLog.h"

#include <QFile>
#include <QString>

// Mirrors the program's logs into a file as they happen: every event-log entry and
// every communication line in its stored form (Windows-1250), one a line, appended
// to what the file holds. The logs never hold the password, so neither does the file.
class LogFile {
public:
    // Raises Error when the file cannot be opened for appending.
    LogFile(DiagnosticLog& log, const QString& fileName);
    ~LogFile();
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

private:
    DiagnosticLog& log_;
    QFile file_;
    int listener_ = 0;
};
