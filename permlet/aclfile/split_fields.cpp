#include "permlet/aclfile/split_fields.h"

namespace permlet {

SplitFields::SplitFields(std::string_view text, char separator) : text_(text) {
  if (text_.size() > kMaxTextLength) return;
  for (std::size_t i = 0; i < text_.size() && separators_.size() < kMaxSeparators; ++i) {
    if (text_[i] == separator) separators_.push_back(static_cast<std::uint16_t>(i));
  }
}

std::string SplitFields::Field(std::size_t index) const {
  if (separators_.empty() || index > separators_.size()) return {};
  const std::size_t begin = index == 0 ? 0 : separators_[index - 1] + 1u;
  const bool last = index == separators_.size();
  const std::size_t end = last ? text_.size() : separators_[index];
  const std::size_t length = end - begin;
  if (length > (last ? kMaxLastFieldLength : kMaxFieldLength)) return {};
  return text_.substr(begin, length);
}

}  // namespace permlet
