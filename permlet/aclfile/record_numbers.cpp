#include "permlet/aclfile/record_numbers.h"

#include <climits>

namespace permlet {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Decimal digits from `at`, saturating at `limit`.
std::uint64_t Digits(std::string_view text, std::size_t at, std::uint64_t limit) {
  std::uint64_t value = 0;
  for (; at < text.size() && IsDigit(text[at]); ++at) {
    value = value * 10 + static_cast<std::uint64_t>(text[at] - '0');
    if (value > limit) value = limit;
  }
  return value;
}

}  // namespace

std::uint32_t ParseKeyText(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
  return static_cast<std::uint32_t>(Digits(text, at, UINT32_MAX));
}

int LeadingInteger(std::string_view text) {
  const bool negative = !text.empty() && text[0] == '-';
  const std::size_t at = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
  const std::uint64_t limit = negative ? static_cast<std::uint64_t>(INT_MAX) + 1 : INT_MAX;
  const std::uint64_t magnitude = Digits(text, at, limit);
  return negative ? static_cast<int>(-static_cast<std::int64_t>(magnitude))
                  : static_cast<int>(magnitude);
}

}  // namespace permlet
