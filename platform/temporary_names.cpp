#include "platform/temporary_names.h"

#include <atomic>
#include <charconv>

#include "platform/platform.h"

namespace platform {

namespace {

constexpr std::string_view kPrefix = ".corvane-";
constexpr std::string_view kSuffix = ".tmp";

// Takes a decimal number (at least one digit, no sign) off the front of `text`.
std::optional<unsigned long> TakeNumber(std::string_view& text) {
  unsigned long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || text.empty() || text[0] < '0' || text[0] > '9') return std::nullopt;
  text.remove_prefix(static_cast<std::size_t>(end - text.data()));
  return value;
}

}  // namespace

std::string NextTemporaryName(unsigned long processId) {
  static std::atomic<unsigned> counter{0};
  return std::string(kPrefix) + std::to_string(processId) + "-" + std::to_string(counter++) +
         std::string(kSuffix);
}

std::optional<unsigned long> TemporaryOwner(std::string_view name) {
  if (!name.starts_with(kPrefix) || !name.ends_with(kSuffix)) return std::nullopt;
  name.remove_prefix(kPrefix.size());
  name.remove_suffix(kSuffix.size());
  const std::optional<unsigned long> owner = TakeNumber(name);
  if (!owner || !name.starts_with('-')) return std::nullopt;
  name.remove_prefix(1);
  if (!TakeNumber(name) || !name.empty()) return std::nullopt;
  return owner;
}

bool IsTemporaryName(std::string_view name) { return TemporaryOwner(name).has_value(); }

bool IsLeftoverTemporary(std::string_view name) {
  const std::optional<unsigned long> owner = TemporaryOwner(name);
  return owner && !ProcessRuns(*owner);
}

}  // namespace platform
