#include <charconv>
#include <cmath>

#include "common/decimal_text.h"
#include "common/numtext.h"
#include "common/strings.h"
#include "platform/os_error.h"

namespace numtext {
namespace {

// ---- Decimal digits -----------------------------------------------------------

// A finite value as significant decimal digits: value = d.ddd x 10^exponent.
// Zero has the digits "0". Trailing zeros are dropped.
struct Digits {
  bool negative = false;
  std::string digits;
  int exponent = 0;
};

template <typename Real>
Digits ToDigits(Real value, int significant) {
  if (!std::isfinite(value)) throw platform::OsError(platform::kOverflow, "Overflow");
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                              std::chars_format::scientific, significant - 1);
  std::string_view text(buffer, result.ptr - buffer);
  std::size_t e = text.find('e');
  Digits out;
  out.negative = std::signbit(value) && value != 0;
  out.digits = strings::RemoveAll(text.substr(0, e), '.');
  std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(),
                  out.exponent);
  std::size_t kept = out.digits.find_last_not_of('0');
  out.digits.resize(kept == std::string::npos ? 1 : kept + 1);
  if (out.digits == "0") out = Digits{false, "0", 0};
  return out;
}

// Rounds the digits to `decimals` places after the point, halves to even.
void RoundDigits(Digits& number, int decimals) {
  long keep = static_cast<long>(number.exponent) + 1 + decimals;
  if (number.digits == "0" || keep >= static_cast<long>(number.digits.size())) return;
  if (keep < 0) {
    number = Digits{false, "0", 0};
    return;
  }
  std::string kept = number.digits.substr(0, keep);
  std::string_view dropped = std::string_view(number.digits).substr(keep);
  // The dropped digits end in a non-zero digit, so "5" alone is an exact half.
  bool lastOdd = !kept.empty() && (kept.back() - '0') % 2 == 1;
  bool up = dropped[0] > '5' || (dropped[0] == '5' && (dropped.size() > 1 || lastOdd));
  if (up) {
    std::size_t at = kept.size();
    while (at > 0 && kept[at - 1] == '9') kept[--at] = '0';
    if (at == 0) {
      kept.insert(kept.begin(), '1');
      ++number.exponent;
    } else {
      ++kept[at - 1];
    }
  }
  std::size_t last = kept.find_last_not_of('0');
  if (last == std::string::npos) {
    number = Digits{false, "0", 0};
    return;
  }
  kept.resize(last + 1);
  number.digits = kept;
}

std::string DigitsToText(const Digits& number) {
  std::string text = number.digits.substr(0, 1);
  if (number.digits.size() > 1) text += "." + number.digits.substr(1);
  return (number.negative ? "-" : "") + text + "e" + std::to_string(number.exponent);
}

template <typename Real>
Real RoundShown(Real value, int decimals, int significant) {
  Digits number = ToDigits(value, significant);
  RoundDigits(number, decimals);
  return detail::ReadDecimalText<Real>(DigitsToText(number)).value_or(value);
}

// ---- Writing -------------------------------------------------------------------

std::string FormatDigits(const Digits& number, int significant) {
  const std::string& d = number.digits;
  const int e = number.exponent;
  std::string text = number.negative ? "-" : "";
  if (d == "0") return "0";
  if (e < -4 || e >= significant) {
    text += d.substr(0, 1);
    if (d.size() > 1) text += "." + d.substr(1);
    text += e < 0 ? "E-" : "E+";
    int magnitude = e < 0 ? -e : e;
    if (magnitude < 10) text += '0';
    return text + std::to_string(magnitude);
  }
  if (e < 0) return text + "0." + std::string(-e - 1, '0') + d;
  std::size_t wholeDigits = static_cast<std::size_t>(e) + 1;
  if (d.size() <= wholeDigits) return text + d + std::string(wholeDigits - d.size(), '0');
  return text + d.substr(0, wholeDigits) + "." + d.substr(wholeDigits);
}

// The digits to write. Rounding the largest doubles up to 15 digits passes
// the type's maximum, which would not read back: those are cut instead.
template <typename Real>
std::string FormatReal(Real value, int significant) {
  Digits number = ToDigits(value, significant);
  if (!detail::ReadDecimalText<Real>(DigitsToText(number))) {
    --number.digits.back();
    number.digits.resize(number.digits.find_last_not_of('0') + 1);
  }
  return FormatDigits(number, significant);
}

constexpr int kSingleDigits = 7;
constexpr int kDoubleDigits = 15;

}  // namespace

double RoundHalfEven(double value, int decimals) {
  return RoundShown(value, decimals, kDoubleDigits);
}

float RoundHalfEvenSingle(float value, int decimals) {
  return RoundShown(value, decimals, kSingleDigits);
}

std::string FormatSingle(float value) { return FormatReal(value, kSingleDigits); }

std::string FormatDouble(double value) { return FormatReal(value, kDoubleDigits); }

std::string FormatInteger(std::int64_t value) { return std::to_string(value); }

}  // namespace numtext
