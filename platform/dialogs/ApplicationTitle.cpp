#include "platform/dialogs/ApplicationTitle.h"

#include <QCoreApplication>
#include <algorithm>

namespace ApplicationTitle {

QString fromProgramPath(QStringView programPath) {
    // Both separators count: a Windows path must give the same title on every platform.
    const qsizetype slash = std::max(programPath.lastIndexOf(u'/'), programPath.lastIndexOf(u'\\'));
    QStringView name = programPath.mid(slash + 1);
    const qsizetype dot = name.indexOf(u'.');
    if (dot >= 0)
        name = name.left(dot);
    if (name.isEmpty())
        return {};
    return name.left(1).toString() + name.mid(1).toString().toLower();
}

QString current() {
    if (!QCoreApplication::instance())
        return {};
    return fromProgramPath(QCoreApplication::applicationFilePath());
}

} // namespace ApplicationTitle
