// Little-endian fields out of a block of bytes read from an archive. A read
// past the end yields 0 and marks the cursor failed, so a record is parsed in
// one go and checked once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zipreader {

class ByteCursor {
 public:
  explicit ByteCursor(std::string_view bytes) : bytes_(bytes) {}

  bool ok() const { return ok_; }
  std::size_t position() const { return position_; }
  std::size_t remaining() const { return bytes_.size() - position_; }

  std::uint16_t U16() { return static_cast<std::uint16_t>(Field(2)); }
  std::uint32_t U32() { return static_cast<std::uint32_t>(Field(4)); }
  std::uint64_t U64() { return Field(8); }
  std::string_view Take(std::size_t count) {
    if (!Fits(count)) return {};
    std::string_view part = bytes_.substr(position_, count);
    position_ += count;
    return part;
  }
  void Skip(std::size_t count) { Take(count); }

 private:
  bool Fits(std::size_t count) {
    if (ok_ && count <= remaining()) return true;
    ok_ = false;
    return false;
  }
  std::uint64_t Field(std::size_t width) {
    if (!Fits(width)) return 0;
    std::uint64_t value = 0;
    for (std::size_t i = width; i-- > 0;) {
      value = (value << 8) | static_cast<unsigned char>(bytes_[position_ + i]);
    }
    position_ += width;
    return value;
  }

  std::string_view bytes_;
  std::size_t position_ = 0;
  bool ok_ = true;
};

}  // namespace zipreader
