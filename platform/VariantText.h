#pragma once

#include <QChar>
#include <QString>
#include <QStringView>
#include <cstdint>

// Reading numbers and truth values from text, and writing reals as text, for the
// conversions of Variant. Everything here is locale-free apart from the decimal
// separator, which the caller passes in.
namespace VariantText {

enum class NumberRead { Ok, Mismatch, Overflow };

// A number in the user's format:
//   [blanks] [+|-] digits [separator digits] [(e|E) [+|-] digits] [blanks]
// where the mantissa needs at least one digit on either side of the separator
// ("5", "5,", ",5" with separator ','). Blanks are spaces and tabs. Thousands
// separators, currency symbols and other decimal separators are not accepted, so
// "1.5" does not read as a number while the separator is ','. A value beyond the
// range of a double is an Overflow; one too small for it reads as zero.
NumberRead readNumber(QStringView text, QChar separator, double& value);

// The program's own integer syntax:
//   [blanks] [+|-] (digits | "$" hexdigits | "0x" hexdigits | "0X" hexdigits) [blanks]
// Decimal values must fit in 32 bits. Hexadecimal values may use all 32 bits and
// give that bit pattern ("$FFFFFFFF" is -1), so colours and masks read as written.
bool readProgramInteger(QStringView text, std::int32_t& value);

// The truth words "True" and "False" in any letter case, with surrounding blanks.
bool readTruthWord(QStringView text, bool& value);

// Rounds to the nearest integer, ties to even; false when the result does not fit
// in 32 bits (or the value is not a number).
bool roundToInt32(double value, std::int32_t& rounded);

// The shortest general form with at most 15 significant digits: fixed notation for
// magnitudes from 0.00001 up to 15 integer digits, otherwise "1,5E-7" / "1E20".
// Whole numbers have no fraction part; infinities and NaN read "INF", "-INF", "NAN".
QString formatReal(double value, QChar separator);

} // namespace VariantText
