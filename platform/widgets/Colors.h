#pragma once

#include <QColor>
#include <QPalette>

// Colour numbers of sheets: $00BBGGRR with the low byte red. Negative numbers
// are system colours whose low byte indexes the system colour table; they are
// taken from the matching roles of the application's palette.
namespace Colors {

constexpr int clBtnFace = static_cast<int>(0x8000000F);
constexpr int clWindow = static_cast<int>(0x80000005);

QColor toQColor(int color, const QPalette& palette);

} // namespace Colors
