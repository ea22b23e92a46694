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
  bool zip64 = false;           // sizes and offset in Zip64 extra fields
  std::uint16_t flags = 0;      // further flag bits (1: encrypted)
};

struct Archive {
  std::string bytes;
  std::vector<std::size_t> localOffsets;    // per entry
  std::vector<std::size_t> dataOffsets;     // per entry
  std::vector<std::size_t> centralOffsets;  // per entry
  std::size_t endOffset = 0;                // end-of-directory record
};

// zip64End: a Zip64 end record and locator, with the classic end record's
// counts, size and offset set to their markers.
Archive BuildZip(const std::vector<Entry>& entries, bool zip64End = false);

// Little-endian field writers, also for damaging archives in place.
void Put16(std::string& bytes, std::size_t at, std::uint16_t value);
void Put32(std::string& bytes, std::size_t at, std::uint32_t value);
void Put64(std::string& bytes, std::size_t at, std::uint64_t value);

// Offsets of the central-directory fields the tests change.
inline constexpr std::size_t kCentralCrc = 16;
inline constexpr std::size_t kCentralCompressedSize = 20;
inline constexpr std::size_t kCentralUncompressedSize = 24;
inline constexpr std::size_t kCentralLocalOffset = 42;
inline constexpr std::size_t kEndEntries = 10;
inline constexpr std::size_t kEndDirectorySize = 12;

}  // namespace ziptest
