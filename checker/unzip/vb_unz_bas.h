// The checker's binding to the UnZip library unzip32: option flags and an
// archive name that the caller fills, one call into the library's
// single-call entry, and the callbacks the library calls meanwhile.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "unzip32/unzip32.h"

class VBUnzBas {
 public:
  // Positions of the option flags the checker sets.
  static constexpr std::size_t kTestFlag = 5;
  static constexpr std::size_t kListFlag = 6;

  // Copied into the library's option record before each call; they keep
  // their values between calls.
  std::array<std::int16_t, kDclFlagCount> optionFlags{};
  std::string archiveName;
  std::string extractionFolder;  // empty: passed as none

  // Calls the library once on `archiveName` and keeps its result code:
  // 0 when the library finished without error.
  void RunUnzip();
  std::int32_t resultCode() const { return resultCode_; }

  // The callbacks, with the answers the checker gives; each is safe to call
  // with any arguments and never raises.
  static int UZ_CALLBACK UnzipPrint(char* text, std::uint32_t length);
  static int UZ_CALLBACK UnzipReplace(char* fileName);
  static int UZ_CALLBACK UnzipPassword(char* buffer, int size, const char* prompt,
                                       const char* memberName);
  static void UZ_CALLBACK UnzipMessage(std::uint32_t uncompressedSize, std::uint32_t compressedSize,
                                       unsigned compressionFactor, unsigned month, unsigned day,
                                       unsigned year, unsigned hour, unsigned minute, char nameMark,
                                       const char* memberName, const char* method,
                                       std::uint32_t crc, char encrypted);
  static int UZ_CALLBACK UnzipService(const char* memberName, std::uint32_t size);

 private:
  std::int32_t resultCode_ = 0;
};

// Tests one archive the way the checker does (test and list): the library's
// result code, 0 when every member is sound.
std::int32_t TestArchive(const std::string& archivePath);
