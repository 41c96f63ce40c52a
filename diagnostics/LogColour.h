#pragma once

#include <QColor>
#include <cstdint>

// The program's colour numbers are $00BBGGRR: the low byte is red, so $0000FF is
// red and $FF0000 blue.
namespace LogColour {

inline QColor toQColor(std::uint32_t colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

} // namespace LogColour
