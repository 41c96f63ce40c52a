#pragma once

#include <QIcon>

// The program's own window icon: a converter's two ports joined by a link, drawn at
// run time so that no image file has to travel with the program.
QIcon programIcon();
