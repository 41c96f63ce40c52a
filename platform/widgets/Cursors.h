#pragma once

#include <QCursor>

// Mouse cursors of sheets (crDefault 0, crArrow -2, crHourGlass -11...).
namespace Cursors {

Qt::CursorShape toQt(int cursor);

} // namespace Cursors
