#pragma once

#include "diagnostics/DiagnosticLog.h"
#include "platform/dialogs/RecordingDialogs.h"
#include "sheets/SettingChanges.h"
#include "sheets/TSheetComponent.h"

#include <QString>

// The one-line records the headless check mode prints, free of times so that two
// runs compare with diff.
namespace CheckRecords {

// A backslash, a carriage return and a line feed written as "\\", "\r" and "\n",
// so a record never spans lines.
QString escaped(const QString& text);

// A property value as a widget record writes it: between double quotes (a quote
// written as \") when it is empty or holds a blank, "=" or a quote.
QString propertyValue(const QString& value);

// "log: O <text>", "log: E <text>", "log: #<colour digits> <text>" or
// "comm: <colour digits> <text>".
QString logRecord(const DiagnosticLog::Record& record);

// "dialog: notice|error|question ..." with the answer of a question.
QString dialogRecord(const RecordingDialogs::Record& record);

// The widget's class, its name ("-" when empty), its element path and the
// properties Caption, Text, ItemIndex, Value, Enabled and Visible it publishes.
QString widgetRecord(const TSheetComponent& entry);

// "change: NODE.attribute BEFORE -> AFTER", the values as property values are
// written, "(none)" for an attribute that is not there.
QString changeRecord(const SettingChange& change);

// A red entry or an "E" entry: the check fails.
bool isFailure(const DiagnosticLog::Record& record);

} // namespace CheckRecords
