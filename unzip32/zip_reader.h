// A reader of zip archives from untrusted sources: it reads the central
// directory (Zip64 included), tests members (stored and deflated, read in
// full with their CRC-32 checked) and takes a small member into memory. Every
// header field is bounds-checked and memory stays bounded whatever the
// archive claims (a directory of at most 16 MiB, data streamed through 64 KiB
// buffers); the archive file is only ever read.
#pragma once

#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace zipreader {

// What is wrong with an archive or a member; kGood when nothing is.
enum class Verdict {
  kGood,
  kNotZip,       // cannot be opened, or no end-of-directory record
  kDamaged,      // headers that contradict themselves or the file
  kTooLarge,     // beyond the reader's memory limits (directory, member asked for)
  kUnsupported,  // split archives, unknown compression methods
  kEncrypted,
  kBadData,  // the member's data does not inflate to its size and CRC
};
const char* VerdictText(Verdict verdict);

struct Member {
  std::string name;
  std::uint16_t flags = 0;
  std::uint16_t method = 0;
  std::uint16_t dosTime = 0;
  std::uint16_t dosDate = 0;
  std::uint32_t crc = 0;
  std::uint64_t compressedSize = 0;
  std::uint64_t uncompressedSize = 0;
  std::uint64_t localHeaderOffset = 0;
  // Where the member's local header and data must end: the next member's
  // local header, or the central directory.
  std::uint64_t spanLimit = 0;

  bool IsEncrypted() const;
};

class ZipArchive {
 public:
  // Opens the archive and reads its directory; verdict() tells how that went
  // and members() is empty unless it is kGood.
  explicit ZipArchive(const std::string& path);

  Verdict verdict() const { return verdict_; }
  const std::vector<Member>& members() const { return members_; }
  std::uint16_t commentLength() const { return commentLength_; }

  // Reads the member in full and checks its sizes and CRC-32.
  Verdict Test(const Member& member);
  // The member's content, when it passes its test and holds at most maxSize
  // bytes.
  std::optional<std::string> Extract(const Member& member, std::size_t maxSize);

 private:
  // Reads `size` bytes at `offset`; false when they are not all in the file.
  bool ReadAt(std::uint64_t offset, std::size_t size, std::string& bytes);
  struct Directory;
  Verdict ReadDirectory();
  Verdict FindDirectory(Directory& directory);
  Verdict ReadZip64End(Directory& directory);
  Verdict ReadMembers(const Directory& directory);
  // Each member must fit before the next one's header, or the directory.
  Verdict CheckSpans(std::uint64_t directoryOffset);
  Verdict ReadMember(const Member& member, std::string* content, std::size_t maxSize);
  // Checks the member's local header; dataStart: where its data begins.
  Verdict LocateData(const Member& member, std::uint64_t& dataStart);

  std::ifstream file_;
  std::uint64_t fileSize_ = 0;
  Verdict verdict_ = Verdict::kNotZip;
  std::vector<Member> members_;
  std::uint16_t commentLength_ = 0;
};

}  // namespace zipreader
