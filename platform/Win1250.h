#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Windows-1250, the program's 8-bit code page on every platform: wire text,
// script text, file names and the 8-bit text of Variant all use it.
//
// The table is the platform's one: 0x80 is the euro sign, and the five bytes the
// code page leaves unassigned (0x81, 0x83, 0x88, 0x90, 0x98) map to the C1
// characters of the same number, so every byte survives a round trip.
namespace Win1250 {

// Wide character for one byte.
char16_t toUnicode(unsigned char byte);

// Byte for one wide character, or nothing when the code page has none.
bool fromUnicode(char16_t ch, unsigned char& byte);

// Bytes to wide text; never fails.
QString toWide(QByteArrayView bytes);

// Wide text to bytes; characters without a byte become '?'. A surrogate pair
// stands for one character and becomes one '?'.
QByteArray fromWide(QStringView text);

} // namespace Win1250
