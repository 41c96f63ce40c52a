#include "sheets/SheetDirectories.h"

#include <QDir>
#include <QStandardPaths>

namespace SheetDirectories {
namespace {

// A named pipe, a device node or a socket: opening one to read it may wait for
// ever. Regular files, directories and links (also broken ones) are not.
bool IsSpecialFile(const QFileInfo& entry) {
    return entry.exists() && !entry.isFile() && !entry.isDir();
}

} // namespace

QStringList standard(const QString& programDirectory) {
    const QDir program(programDirectory);
    QStringList directories{program.path(),
                            QDir::cleanPath(program.filePath(QStringLiteral("../share/konfidor/sheets")))};
    const QString userData = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!userData.isEmpty())
        directories.append(QDir(userData).filePath(QStringLiteral("konfidor/sheets")));
    return directories;
}

QFileInfoList candidates(const QString& directory) {
    QFileInfoList entries = QDir(directory).entryInfoList(
        {QStringLiteral("*.xml")}, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
        QDir::Name | QDir::IgnoreCase);
    entries.removeIf(IsSpecialFile);
    return entries;
}

QFileInfoList firstCandidates(const QStringList& directories) {
    for (const QString& directory : directories) {
        if (QFileInfoList found = candidates(directory); !found.isEmpty())
            return found;
    }
    return {};
}

} // namespace SheetDirectories
