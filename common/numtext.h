// Number texts: how numbers are read from and written to the system's files
// and names. Everything that parses or prints a number goes through here, so
// that what one run writes the next run reads back exactly.
//
// Blanks are the space, the tab and the line feed. The decimal point is
// always "." whatever the machine's locale.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace numtext {

// The number at the start of a text, the way the classic Val() reads it:
// blanks skipped everywhere (also between digits, so " 1 2 3" is 123),
// optional sign, digits, optional "." and fraction, optional exponent (E or
// D, either case, with optional sign), or &H / &O followed by hexadecimal /
// octal digits. Reading stops at the first character that does not fit; no
// leading number gives 0 ("True", "." and "" all give 0, "1abc" gives 1).
// &H/&O values up to FFFF (177777) are 16-bit and those up to FFFFFFFF
// (37777777777) are 32-bit two's complement, so &HFFFF and &HFFFFFFFF are -1
// and &H10000 is 65536. A number too large for a double (or a &H/&O value
// above 32 bits), which the classic runtime answers with an overflow, counts
// as no number and gives 0; a number too small for a double gives 0 too.
double ParseLeadingNumber(std::string_view text);

// A whole number text: blanks before and after it allowed, none inside; sign,
// digits, fraction, exponent as above, or &H/&O. The whole text must be the
// number ("1e" and "." are not). nullopt otherwise, and on overflow.
std::optional<double> ParseNumber(std::string_view text);

// "True"/"False" in any case, or a number (0 off, else on), blanks around
// either allowed. nullopt otherwise (the empty text included).
std::optional<bool> ParseYesNo(std::string_view text);

// A number rounded to the nearest integer, halves to even, in -32768..32767.
std::optional<std::int16_t> ParseWholeNumber(std::string_view text);
// A number rounded to the nearest integer, halves to even, 32-bit range.
std::optional<std::int32_t> ParseLongNumber(std::string_view text);
// A number held as a 32-bit float (nullopt when not a number or out of range).
// The text is rounded to the nearest float directly, not by way of a double.
std::optional<float> ParseSingle(std::string_view text);
std::optional<double> ParseDouble(std::string_view text);

// Rounds to the nearest integer, halves to even. nullopt outside the range
// (32767.5 rounds to 32768 and is rejected, -32768.5 gives -32768).
std::optional<std::int16_t> RoundToInt16(double value);
std::optional<std::int32_t> RoundToInt32(double value);
// Rounds to `decimals` places (a negative count rounds to tens, hundreds ...),
// halves to even, on the decimal value as it is shown: the value is first
// taken to its 15 significant digits (7 for the single-precision form), so
// 1500.25 gives 1500.2 and 2.675 gives 2.68 although the double nearest 2.675
// lies just below it.
double RoundHalfEven(double value, int decimals);
float RoundHalfEvenSingle(float value, int decimals);

// Writing, as the classic CStr() does: the value is rounded (halves to even)
// to 7 significant digits for single precision and 15 for double precision;
// with E its decimal exponent after that rounding, it is written
//   - in plain form when -5 < E < digits: whole values without a point,
//     others with "." and no trailing zeros, values below 1 with a leading
//     "0" (12, 12.5, 0.5, 0.0001, -3.25);
//   - in exponent form otherwise: one digit, "." and the further digits when
//     there are any, "E", the exponent's sign and at least two exponent
//     digits (1.234568E+07, 1E-05, 1.5E+300).
// Negative zero is written "0"; the largest doubles, which would round past
// the type's maximum, are cut to 1.79769313486231E+308 instead. Every text
// written reads back through ParseLeadingNumber, ParseNumber and
// ParseSingle/ParseDouble, to within half a unit of its last digit; a value
// that was itself read from a text of at most 7 (15) significant digits reads
// back exactly. Infinity and NaN, which the classic runtime never lets
// arithmetic produce, raise platform::OsError kOverflow.
std::string FormatSingle(float value);
std::string FormatDouble(double value);
std::string FormatInteger(std::int64_t value);

}  // namespace numtext
