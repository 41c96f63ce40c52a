#include "platform/widgets/Cursors.h"

#include <array>

namespace Cursors {

Qt::CursorShape toQt(int cursor) {
    // Indexed by -cursor, from crDefault (0) down to crSizeAll (-22).
    static constexpr std::array<Qt::CursorShape, 23> shapes = {
        Qt::ArrowCursor,     Qt::BlankCursor,        Qt::ArrowCursor,     Qt::CrossCursor,
        Qt::IBeamCursor,     Qt::SizeAllCursor,      Qt::SizeBDiagCursor, Qt::SizeVerCursor,
        Qt::SizeFDiagCursor, Qt::SizeHorCursor,      Qt::UpArrowCursor,   Qt::WaitCursor,
        Qt::DragMoveCursor,  Qt::ForbiddenCursor,    Qt::SplitHCursor,    Qt::SplitVCursor,
        Qt::DragCopyCursor,  Qt::WaitCursor,         Qt::ForbiddenCursor, Qt::BusyCursor,
        Qt::WhatsThisCursor, Qt::PointingHandCursor, Qt::SizeAllCursor,
    };
    const int index = -cursor;
    return (index >= 0 && index < static_cast<int>(shapes.size()))
               ? shapes[static_cast<size_t>(index)]
               : Qt::ArrowCursor;
}

} // namespace Cursors
