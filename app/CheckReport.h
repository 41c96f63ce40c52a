#pragma once

#include "sheets/SettingChanges.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// The headless mode's one JSON object for automation (--json): the device, the
// settings "Set" changed or would change, how it ended, every dialog text in order
// and the exit status. Never holds the password.
struct CheckReport {
    enum class Result { Unchanged, Applied, PartiallyApplied, NotConfirmed, DryRun, Failed };

    // As the device's DEVICE element gives them; empty when unknown.
    QString type;
    QString version;
    QString serial;
    // As given on the command line.
    QString address;
    std::vector<SettingChange> changes;
    Result result = Result::Unchanged;
    QStringList messages;
    int exit = 0;

    // {"device": {...}, "changes": [{"setting", "before", "after"}], "result",
    // "messages", "exit"}, on one line, UTF-8; a value the device lacked is null.
    QByteArray toJson() const;

    static QString resultName(Result result);
};
