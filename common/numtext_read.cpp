#include <cmath>
#include <limits>

#include "common/decimal_text.h"
#include "common/numtext.h"
#include "common/strings.h"

namespace numtext {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// Walks a text; in the classic Val() manner it may step over blanks anywhere.
class Cursor {
 public:
  Cursor(std::string_view text, bool skipBlanks) : text_(text), skipBlanks_(skipBlanks) {}

  // The next character that counts, or '\0' at the end.
  char Peek() {
    if (skipBlanks_) {
      while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
    }
    return pos_ < text_.size() ? text_[pos_] : '\0';
  }
  void Next() { ++pos_; }
  bool Take(char upper) {
    char c = Peek();
    if (c == upper || c == static_cast<char>(upper - 'A' + 'a')) {
      Next();
      return true;
    }
    return false;
  }
  std::size_t Position() const { return pos_; }
  void Restore(std::size_t position) { pos_ = position; }

 private:
  std::string_view text_;
  bool skipBlanks_;
  std::size_t pos_ = 0;
};

enum class NumberKind { kNone, kDecimal, kInteger, kOverflow };

// A scanned number: either a decimal text in the form from_chars reads, or
// the value of a &H/&O number.
struct ScannedNumber {
  NumberKind kind = NumberKind::kNone;
  std::string decimal;
  std::int64_t integer = 0;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int DigitValue(char c, int radix) {
  int value = IsDigit(c)               ? c - '0'
              : (c >= 'A' && c <= 'F') ? c - 'A' + 10
              : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                                       : radix;
  return value < radix ? value : -1;
}

// &H/&O digits. Values up to 16 bits read as a 16-bit integer, up to 32 bits
// as a 32-bit integer (two's complement both), as the classic runtime does.
ScannedNumber ScanRadixDigits(Cursor& cursor, int radix) {
  ScannedNumber number;
  std::uint64_t value = 0;
  bool any = false;
  bool tooLarge = false;
  for (int digit; (digit = DigitValue(cursor.Peek(), radix)) >= 0; cursor.Next()) {
    any = true;
    value = value * radix + digit;
    if (value > 0xFFFFFFFFu) {
      tooLarge = true;
      value = 0;
    }
  }
  if (!any) return number;
  if (tooLarge) {
    number.kind = NumberKind::kOverflow;
  } else {
    number.kind = NumberKind::kInteger;
    number.integer = value <= 0xFFFFu
                         ? static_cast<std::int16_t>(value)
                         : static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
  }
  return number;
}

// Appends the digits at the cursor; returns how many there were.
std::size_t TakeDigits(Cursor& cursor, std::string& out) {
  std::size_t count = 0;
  for (char c; IsDigit(c = cursor.Peek()); cursor.Next(), ++count) out += c;
  return count;
}

// The exponent's digits, saturated far beyond any double's range.
void TakeExponent(Cursor& cursor, std::string& out) {
  std::size_t start = cursor.Position();
  if (!cursor.Take('E') && !cursor.Take('D')) return;
  bool negative = false;
  if (cursor.Peek() == '+' || cursor.Peek() == '-') {
    negative = cursor.Peek() == '-';
    cursor.Next();
  }
  long exponent = 0;
  bool any = false;
  for (char c; IsDigit(c = cursor.Peek()); cursor.Next()) {
    any = true;
    if (exponent < 100000) exponent = exponent * 10 + (c - '0');
  }
  if (!any) {
    cursor.Restore(start);  // "1e" is the number 1 followed by other text
    return;
  }
  out += 'e';
  out += std::to_string(negative ? -exponent : exponent);
}

ScannedNumber Scan(Cursor& cursor) {
  if (cursor.Peek() == '&') {
    std::size_t start = cursor.Position();
    cursor.Next();
    if (cursor.Take('H')) return ScanRadixDigits(cursor, 16);
    if (cursor.Take('O')) return ScanRadixDigits(cursor, 8);
    cursor.Restore(start);
    return {};
  }
  ScannedNumber number;
  std::string& text = number.decimal;
  if (cursor.Peek() == '+' || cursor.Peek() == '-') {
    if (cursor.Peek() == '-') text += '-';
    cursor.Next();
  }
  std::size_t digits = TakeDigits(cursor, text);
  if (cursor.Peek() == '.') {
    cursor.Next();
    text += '.';
    digits += TakeDigits(cursor, text);
  }
  if (digits == 0) return {};
  TakeExponent(cursor, text);
  number.kind = NumberKind::kDecimal;
  return number;
}

template <typename Real>
std::optional<Real> ToReal(const ScannedNumber& number) {
  switch (number.kind) {
    case NumberKind::kDecimal:
      return detail::ReadDecimalText<Real>(number.decimal);
    case NumberKind::kInteger:
      return static_cast<Real>(number.integer);
    default:
      return std::nullopt;
  }
}

// The whole text must be one number, with blanks only around it.
template <typename Real>
std::optional<Real> ParseWhole(std::string_view text) {
  std::size_t first = 0;
  while (first < text.size() && IsBlank(text[first])) ++first;
  std::size_t last = text.size();
  while (last > first && IsBlank(text[last - 1])) --last;
  std::string_view trimmed = text.substr(first, last - first);
  Cursor cursor(trimmed, false);
  ScannedNumber number = Scan(cursor);
  if (cursor.Position() != trimmed.size()) return std::nullopt;
  return ToReal<Real>(number);
}

template <typename Int>
std::optional<Int> RoundToRange(double value) {
  if (std::isnan(value)) return std::nullopt;
  double lower = std::floor(value);
  double fraction = value - lower;
  double rounded = fraction > 0.5   ? lower + 1
                   : fraction < 0.5 ? lower
                                    : (std::fmod(lower, 2) == 0 ? lower : lower + 1);
  if (rounded < std::numeric_limits<Int>::min() || rounded > std::numeric_limits<Int>::max()) {
    return std::nullopt;
  }
  return static_cast<Int>(rounded);
}

}  // namespace

double ParseLeadingNumber(std::string_view text) {
  Cursor cursor(text, true);
  return ToReal<double>(Scan(cursor)).value_or(0.0);
}

std::optional<double> ParseNumber(std::string_view text) { return ParseWhole<double>(text); }

std::optional<bool> ParseYesNo(std::string_view text) {
  std::size_t first = text.find_first_not_of(" \t\n");
  std::size_t last = text.find_last_not_of(" \t\n");
  std::string_view word =
      first == std::string_view::npos ? "" : text.substr(first, last - first + 1);
  if (strings::EqualsIgnoreCase(word, "True")) return true;
  if (strings::EqualsIgnoreCase(word, "False")) return false;
  std::optional<double> number = ParseNumber(text);
  if (!number) return std::nullopt;
  return *number != 0;
}

std::optional<std::int16_t> ParseWholeNumber(std::string_view text) {
  std::optional<double> number = ParseNumber(text);
  return number ? RoundToInt16(*number) : std::nullopt;
}

std::optional<std::int32_t> ParseLongNumber(std::string_view text) {
  std::optional<double> number = ParseNumber(text);
  return number ? RoundToInt32(*number) : std::nullopt;
}

std::optional<float> ParseSingle(std::string_view text) { return ParseWhole<float>(text); }

std::optional<double> ParseDouble(std::string_view text) { return ParseWhole<double>(text); }

std::optional<std::int16_t> RoundToInt16(double value) { return RoundToRange<std::int16_t>(value); }

std::optional<std::int32_t> RoundToInt32(double value) { return RoundToRange<std::int32_t>(value); }

}  // namespace numtext
