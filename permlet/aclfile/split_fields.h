// Splits a text at every occurrence of one separator character; records are
// split at "|" and permission file lines at "=".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace permlet {

class SplitFields {
 public:
  // Positions are kept in 16 bits: a longer text has no fields, and
  // separators after the last one that can be kept stay inside the last field.
  static constexpr std::size_t kMaxTextLength = 65535;
  static constexpr std::size_t kMaxSeparators = 5118;
  // Longer fields read as empty.
  static constexpr std::size_t kMaxFieldLength = 5119;
  static constexpr std::size_t kMaxLastFieldLength = 5118;

  SplitFields(std::string_view text, char separator);

  // Field `index` (from 0): the text between separator index-1 (or the start)
  // and separator index (or the end). Empty for a text without any separator
  // and for an index past the last field.
  std::string Field(std::size_t index) const;

 private:
  std::string text_;
  std::vector<std::uint16_t> separators_;
};

}  // namespace permlet
