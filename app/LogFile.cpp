#include "app/LogFile.h"

#include "platform/Error.h"

LogFile::LogFile(DiagnosticLog& log, const QString& fileName) : log_(log), file_(fileName) {
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Append))
        throw Error(
            QStringLiteral("Cannot open the log file %1: %2").arg(fileName, file_.errorString()));
    listener_ = log_.addListener([this](const DiagnosticLog::Record& record) {
        // A line written at once survives a crash of the program.
        file_.write(record.text + '\n');
        file_.flush();
    });
}

LogFile::~LogFile() {
    log_.removeListener(listener_);
}
