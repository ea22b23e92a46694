// Zip archives made byte by byte for the tests, so that every header field
// (data descriptors, Zip64 records, flags, sizes, offsets) can be set or
// damaged at will. Content is deflated with zlib.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ziptest {

struct Entry {
  std::string name{};
  std::string content{};
  std::uint16_t method = 8;     // 8 deflated, anything else stores the bytes as they are
  bool dataDescriptor = false;  // sizes and CRC after the data, zero in the local header
  bool zip64 = false;           // sizes and offset in Zip64 extra fields, a Zip64 end record
  std::uint16_t flags = 0;      // further flag bits (1: encrypted)
};

struct Archive {
  std::string bytes;
  std::vector<std::size_t> dataOffsets;     // per entry
  std::vector<std::size_t> centralOffsets;  // per entry
  std::size_t endOffset = 0;                // end-of-directory record
};

Archive BuildZip(const std::vector<Entry>& entries);

// Writes a little-endian field of `size` bytes, for damaging archives in place.
void Put(std::string& bytes, std::size_t at, std::uint64_t value, int size);

// Offsets of the fields the tests change.
inline constexpr std::size_t kCentralCrc = 16;
inline constexpr std::size_t kCentralCompressedSize = 20;
inline constexpr std::size_t kCentralUncompressedSize = 24;
inline constexpr std::size_t kCentralNameLength = 28;

}  // namespace ziptest
