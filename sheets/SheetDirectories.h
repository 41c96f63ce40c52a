#pragma once

#include <QFileInfoList>
#include <QStringList>

// Where sheet files are looked for. A portable copy or a build tree keeps its
// sheets next to the program; an installed program has them in the installed
// sheet directory, and a user may add sheets of their own. The first of these
// directories that holds any candidate is the one searched, so that one load
// never mixes directories.
namespace SheetDirectories {

// The program's directory, then the installed sheet directory beside it
// (../share/konfidor/sheets), then the user's (konfidor/sheets in the user's
// data directory).
QStringList standard(const QString& programDirectory);

// Every entry of the directory that matches "*.xml", whatever its attributes,
// in a reproducible order; special files are no sheets and are passed over.
QFileInfoList candidates(const QString& directory);

// The candidates of the first directory that has any.
QFileInfoList firstCandidates(const QStringList& directories);

} // namespace SheetDirectories
