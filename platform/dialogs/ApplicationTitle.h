#pragma once

#include <QString>
#include <QStringView>

// The application title captions the error box and the plain notices. It comes
// from the program file's name, so a renamed program announces itself by its
// new name.
namespace ApplicationTitle {

// The file name without its directory and without anything from its first "."
// on, every letter after the first one in lower case ("KONFIDOR.EXE" gives
// "Konfidor").
QString fromProgramPath(QStringView programPath);

// The title of the running program.
QString current();

} // namespace ApplicationTitle
