// konfidor-icon DIR SIZE...: writes the program's icon as DIR/SIZE.png for each
// size, for the desktop's icon theme. Runs at build time, without a display.
#include "app/ProgramIcon.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 3) {
        std::fprintf(stderr, "usage: konfidor-icon DIR SIZE...\n");
        return 2;
    }
    const QDir directory(arguments[1]);
    for (const QString& size : arguments.mid(2)) {
        const QString file = directory.filePath(size + QStringLiteral(".png"));
        if (!programIconPixmap(size.toInt()).save(file, "PNG")) {
            std::fprintf(stderr, "konfidor-icon: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
