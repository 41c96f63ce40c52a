#pragma once

#include <cstdint>

// Background colours of the builder's log lines ($00BBGGRR).
namespace SheetLogColours {
constexpr std::uint32_t Red = 0x0000FF;
constexpr std::uint32_t Lime = 0x00FF00;
constexpr std::uint32_t Yellow = 0x00FFFF;
constexpr std::uint32_t Cream = 0xF0FBFF;
} // namespace SheetLogColours
