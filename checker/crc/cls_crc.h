// The checker's CRC calculator: CRC-32 (as SFV and zip files list it) or, on
// request, CRC-16/XMODEM, over files, byte sequences and texts. Values cross
// the interface as signed 32-bit numbers carrying the CRC's bit pattern.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/file_system.h"

class clsCRC {
 public:
  // CRC-32 prepared and selected, registers cleared; files are read through
  // `files`.
  explicit clsCRC(platform::FileSystem& files);

  std::int32_t AddBytes(std::span<const std::uint8_t> ByteArray);
  std::int32_t AddString(std::string_view Text);
  void Algorithm(std::int32_t New_Value);  // 0: CRC-16, other: CRC-32
  std::int16_t Algorithm() const;          // 0 (CRC-16) or -1 (CRC-32)
  std::int32_t CalculateBytes(std::span<const std::uint8_t> ByteArray);
  // No value for an empty file (registers untouched). Reads the file in
  // blocks, so any length works in constant memory. Throws platform::OsError
  // when the file is missing or cannot be read.
  std::optional<std::int32_t> CalculateFile(const std::string& Filename);
  std::int32_t CalculateString(std::string_view Text);
  std::int32_t Value() const;
  void Value(std::int32_t New_Value);
  void Clear();

 private:
  void PrepareCrc16();
  void PrepareCrc32();

  // A byte loop: register in, register out, over count bytes and a table.
  using ByteLoop = std::uint32_t (*)(std::uint32_t reg, const std::uint8_t* data, std::size_t count,
                                     const std::uint32_t* table);

  platform::FileSystem& files_;
  bool crc32Selected_ = true;
  std::uint32_t crc16Register_ = 0;
  bool crc16Prepared_ = false;
  std::uint32_t crc16Table_[256] = {};
  ByteLoop crc16Loop_ = nullptr;
  std::uint32_t crc32Register_ = 0xFFFFFFFFu;
  bool crc32Prepared_ = false;
  std::uint32_t crc32Table_[256] = {};
  ByteLoop crc32Loop_ = nullptr;
};
