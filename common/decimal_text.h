// The last step of reading and of rounding: a decimal text in the plain
// form "-123.45e-6" to the nearest float or double.
#pragma once

#include <charconv>
#include <optional>
#include <string>
#include <system_error>

namespace numtext::detail {

// nullopt when the text overflows the type, 0 when it underflows. from_chars
// reports both as out of range; the decimal order of the first significant
// digit tells them apart.
template <typename Real>
std::optional<Real> ReadDecimalText(const std::string& text) {
  Real value = 0;
  auto error = std::from_chars(text.data(), text.data() + text.size(), value).ec;
  if (error == std::errc()) return value == 0 ? Real(0) : value;
  if (error != std::errc::result_out_of_range) return std::nullopt;
  std::size_t exponentAt = text.find('e');
  long exponent = exponentAt == std::string::npos ? 0 : std::stol(text.substr(exponentAt + 1));
  std::string mantissa = text.substr(0, exponentAt);
  std::size_t point = mantissa.find('.');
  if (point == std::string::npos) point = mantissa.size();
  std::size_t first = mantissa.find_first_of("123456789");
  long order = static_cast<long>(point) - static_cast<long>(first) - (first < point ? 1 : 0);
  if (order + exponent < 0) return Real(0);
  return std::nullopt;
}

}  // namespace numtext::detail
