// Number texts: how numbers are read from and written to the system's files
// and names. Everything that parses or prints a number goes through here, so
// that what one run writes the next run reads back exactly.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace numtext {

// The number at the start of a text: blanks skipped (also between digits),
// optional sign, digits, optional "." and fraction, optional exponent (E or
// D), or &H / &O followed by hexadecimal / octal digits. Reading stops at the
// first character that does not fit; no leading number gives 0.
double ParseLeadingNumber(std::string_view text);

// A whole decimal number text (blanks around it allowed, sign, fraction,
// exponent, &H/&O), the whole text must be the number. nullopt otherwise.
std::optional<double> ParseNumber(std::string_view text);

// "True"/"False" in any case, or a number (0 off, else on). nullopt otherwise.
std::optional<bool> ParseYesNo(std::string_view text);

// A number rounded to the nearest integer, halves to even, in -32768..32767.
std::optional<std::int16_t> ParseWholeNumber(std::string_view text);
// A number rounded to the nearest integer, halves to even, 32-bit range.
std::optional<std::int32_t> ParseLongNumber(std::string_view text);
// A number held as a 32-bit float (nullopt when not a number or out of range).
std::optional<float> ParseSingle(std::string_view text);
std::optional<double> ParseDouble(std::string_view text);

// Rounds to the nearest integer, halves to even. nullopt outside the range.
std::optional<std::int16_t> RoundToInt16(double value);
std::optional<std::int32_t> RoundToInt32(double value);
// Rounds to `decimals` places, halves to even (on the decimal value shown).
double RoundHalfEven(double value, int decimals);

// Writing: whole values without a point, "." as decimal point, no trailing
// zeros, 7 significant digits for single precision and 15 for double, and an
// exponent form such as 1.234568E+07 past that.
std::string FormatSingle(float value);
std::string FormatDouble(double value);
std::string FormatInteger(std::int64_t value);

}  // namespace numtext
