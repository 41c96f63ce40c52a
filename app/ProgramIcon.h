#pragma once

#include <QIcon>
#include <QPixmap>

// The program's own window icon: a converter's two ports joined by a link, drawn at
// run time so that no image file has to travel with the program.
QIcon programIcon();

// The icon drawn at one size (the desktop's icon files are made from it).
QPixmap programIconPixmap(int size);
