#pragma once

#include "app/StartOptions.h"

#include <QString>
#include <QStringList>

namespace CommandLine {

// True for the diagnostics switch: "/" or "-" directly followed by "/debug", letter
// case ignored ("//debug", "-/DEBUG"). The bare "/debug" and "-debug" are no switch.
bool isDebugSwitch(const QString& parameter);

// Reads the program's arguments (the program name first). The switch forms above are
// taken out before the option parser sees them, as the parser would take "-/debug" for
// an option. Raises Error for a missing or invalid option value.
StartOptions parse(const QStringList& arguments);

} // namespace CommandLine
