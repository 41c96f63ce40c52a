#pragma once

#include "platform/Error.h"

#include <QString>
#include <QStringView>

// The error of a document that cannot be read: the reason, CR LF, "Line: " and
// the line number, CR LF, and up to 40 characters of the source line where the
// fault is, from the line's start. The text has its line ends normalised to
// LF; the offset is the fault's position in it.
Error xmlParseError(const QString& reason, QStringView text, qsizetype offset);
