// Reading an archive's end records and central directory into members.
#include <algorithm>

#include "unzip32/byte_cursor.h"
#include "unzip32/zip_format.h"
#include "unzip32/zip_reader.h"

namespace zipreader {
namespace {

constexpr std::size_t kMaxCommentLength = 0xFFFF;
constexpr std::uint16_t kZip64ExtraId = 0x0001;
constexpr std::uint32_t kMarker32 = 0xFFFFFFFF;
constexpr std::uint16_t kMarker16 = 0xFFFF;
// A directory this large would list hundreds of thousands of members; the
// limit keeps the reader's memory bounded against archives that claim more.
constexpr std::uint64_t kMaxDirectoryBytes = 16u << 20;

// The end-of-directory record: the last signature whose comment fits in
// the file.
std::optional<std::size_t> FindEndRecord(std::string_view tail) {
  for (std::size_t at = tail.size() - kEndSize + 1; at-- > 0;) {
    ByteCursor cursor(tail.substr(at));
    if (cursor.U32() != kEndSignature) continue;
    cursor.Skip(16);
    if (cursor.U16() <= cursor.remaining()) return at;
  }
  return std::nullopt;
}

// The Zip64 extra field replaces the 32-bit values that hold their marker.
bool ApplyZip64Extra(std::string_view extra, Member& member, std::uint32_t diskStart) {
  ByteCursor fields(extra);
  while (fields.remaining() >= 4) {
    std::uint16_t id = fields.U16();
    std::string_view data = fields.Take(fields.U16());
    if (!fields.ok()) return false;
    if (id != kZip64ExtraId) continue;
    ByteCursor values(data);
    if (member.uncompressedSize == kMarker32) member.uncompressedSize = values.U64();
    if (member.compressedSize == kMarker32) member.compressedSize = values.U64();
    if (member.localHeaderOffset == kMarker32) member.localHeaderOffset = values.U64();
    if (diskStart == kMarker16) values.U32();
    return values.ok();
  }
  return true;
}

}  // namespace

// Where the central directory lies, as the end records give it.
struct ZipArchive::Directory {
  std::uint64_t entries = 0;
  std::uint64_t size = 0;
  std::uint64_t offset = 0;
  std::uint64_t end = 0;  // where the records after the directory start
  bool splitArchive = false;
};

const char* VerdictText(Verdict verdict) {
  switch (verdict) {
    case Verdict::kGood:
      return "OK";
    case Verdict::kNotZip:
      return "not a zip archive";
    case Verdict::kDamaged:
      return "damaged archive";
    case Verdict::kTooLarge:
      return "beyond the library's limits";
    case Verdict::kUnsupported:
      return "unsupported";
    case Verdict::kEncrypted:
      return "encrypted";
    case Verdict::kBadData:
      return "bad data";
  }
  return "unknown";
}

bool Member::IsEncrypted() const {
  constexpr std::uint16_t kEncryptedFlag = 0x0001;
  constexpr std::uint16_t kStrongEncryptionFlag = 0x0040;
  constexpr std::uint16_t kAesMethod = 99;
  return (flags & (kEncryptedFlag | kStrongEncryptionFlag)) != 0 || method == kAesMethod;
}

ZipArchive::ZipArchive(const std::string& path) : file_(path, std::ios::binary) {
  if (!file_) return;
  file_.seekg(0, std::ios::end);
  std::streamoff size = file_.tellg();
  if (size < 0) return;
  fileSize_ = static_cast<std::uint64_t>(size);
  verdict_ = ReadDirectory();
  if (verdict_ != Verdict::kGood) members_.clear();
}

bool ZipArchive::ReadAt(std::uint64_t offset, std::size_t size, std::string& bytes) {
  if (offset > fileSize_ || size > fileSize_ - offset) return false;
  bytes.resize(size);
  file_.clear();
  file_.seekg(static_cast<std::streamoff>(offset));
  file_.read(bytes.data(), static_cast<std::streamsize>(size));
  return static_cast<std::size_t>(file_.gcount()) == size;
}

Verdict ZipArchive::ReadDirectory() {
  Directory directory;
  Verdict verdict = FindDirectory(directory);
  if (verdict == Verdict::kGood) verdict = ReadMembers(directory);
  if (verdict == Verdict::kGood) verdict = CheckSpans(directory.offset);
  return verdict;
}

Verdict ZipArchive::FindDirectory(Directory& directory) {
  if (fileSize_ < kEndSize) return Verdict::kNotZip;
  std::size_t tailSize =
      static_cast<std::size_t>(std::min<std::uint64_t>(fileSize_, kEndSize + kMaxCommentLength));
  std::uint64_t tailStart = fileSize_ - tailSize;
  std::string tail;
  if (!ReadAt(tailStart, tailSize, tail)) return Verdict::kNotZip;
  std::optional<std::size_t> endAt = FindEndRecord(tail);
  if (!endAt) return Verdict::kNotZip;

  ByteCursor end(std::string_view(tail).substr(*endAt));
  end.U32();
  std::uint16_t disk = end.U16();
  std::uint16_t directoryDisk = end.U16();
  std::uint16_t entriesOnDisk = end.U16();
  directory.entries = end.U16();
  directory.size = end.U32();
  directory.offset = end.U32();
  commentLength_ = end.U16();
  directory.end = tailStart + *endAt;
  directory.splitArchive = disk != 0 || directoryDisk != 0 || entriesOnDisk != directory.entries;

  if (directory.end >= kZip64LocatorSize) {
    Verdict zip64 = ReadZip64End(directory);
    if (zip64 != Verdict::kGood) return zip64;
  }
  if (directory.splitArchive) return Verdict::kUnsupported;
  if (directory.offset > directory.end || directory.end - directory.offset != directory.size) {
    return Verdict::kDamaged;
  }
  return Verdict::kGood;
}

// Zip64: a locator right before the end record points to the Zip64 end
// record, whose 64-bit values take over.
Verdict ZipArchive::ReadZip64End(Directory& directory) {
  std::string locatorBytes;
  if (!ReadAt(directory.end - kZip64LocatorSize, kZip64LocatorSize, locatorBytes)) {
    return Verdict::kDamaged;
  }
  ByteCursor locator(locatorBytes);
  if (locator.U32() != kZip64LocatorSignature) return Verdict::kGood;
  std::uint32_t endDisk = locator.U32();
  std::uint64_t endOffset = locator.U64();
  std::uint32_t diskCount = locator.U32();
  std::string endBytes;
  if (endOffset > directory.end - kZip64LocatorSize ||
      directory.end - kZip64LocatorSize - endOffset < kZip64EndSize ||
      !ReadAt(endOffset, kZip64EndSize, endBytes)) {
    return Verdict::kDamaged;
  }
  ByteCursor end64(endBytes);
  if (end64.U32() != kZip64EndSignature) return Verdict::kDamaged;
  end64.Skip(12);
  std::uint32_t disk64 = end64.U32();
  std::uint32_t directoryDisk64 = end64.U32();
  std::uint64_t entriesOnDisk64 = end64.U64();
  directory.entries = end64.U64();
  directory.size = end64.U64();
  directory.offset = end64.U64();
  directory.end = endOffset;
  directory.splitArchive = endDisk != 0 || diskCount > 1 || disk64 != 0 || directoryDisk64 != 0 ||
                           entriesOnDisk64 != directory.entries;
  return Verdict::kGood;
}

Verdict ZipArchive::ReadMembers(const Directory& directory) {
  if (directory.size > kMaxDirectoryBytes) return Verdict::kTooLarge;
  if (directory.entries > directory.size / kCentralSize) return Verdict::kDamaged;

  std::string bytes;
  if (!ReadAt(directory.offset, static_cast<std::size_t>(directory.size), bytes)) {
    return Verdict::kDamaged;
  }
  ByteCursor cursor(bytes);
  for (std::uint64_t i = 0; i < directory.entries; ++i) {
    if (cursor.U32() != kCentralSignature) return Verdict::kDamaged;
    Member member;
    cursor.Skip(4);  // versions
    member.flags = cursor.U16();
    member.method = cursor.U16();
    member.dosTime = cursor.U16();
    member.dosDate = cursor.U16();
    member.crc = cursor.U32();
    member.compressedSize = cursor.U32();
    member.uncompressedSize = cursor.U32();
    std::uint16_t nameLength = cursor.U16();
    std::uint16_t extraLength = cursor.U16();
    std::uint16_t commentLength = cursor.U16();
    std::uint16_t diskStart = cursor.U16();
    cursor.Skip(6);  // attributes
    member.localHeaderOffset = cursor.U32();
    member.name = cursor.Take(nameLength);
    std::string_view extra = cursor.Take(extraLength);
    cursor.Skip(commentLength);
    // The member's disk number only shapes the Zip64 field: the archive as a
    // whole was found to be on one disk.
    if (!cursor.ok() || !ApplyZip64Extra(extra, member, diskStart)) return Verdict::kDamaged;
    members_.push_back(std::move(member));
  }
  if (cursor.remaining() != 0) return Verdict::kDamaged;
  return Verdict::kGood;
}

Verdict ZipArchive::CheckSpans(std::uint64_t directoryOffset) {
  // Each member's local header and data must lie before the next member's
  // header and before the directory: overlapping members are a known way to
  // make a small archive claim endless content.
  std::vector<Member*> byOffset;
  byOffset.reserve(members_.size());
  for (Member& member : members_) byOffset.push_back(&member);
  std::sort(byOffset.begin(), byOffset.end(), [](const Member* a, const Member* b) {
    return a->localHeaderOffset < b->localHeaderOffset;
  });
  for (std::size_t i = 0; i < byOffset.size(); ++i) {
    Member& member = *byOffset[i];
    member.spanLimit =
        i + 1 < byOffset.size() ? byOffset[i + 1]->localHeaderOffset : directoryOffset;
    std::uint64_t room = member.spanLimit - member.localHeaderOffset;
    if (member.spanLimit < member.localHeaderOffset || room < kLocalSize ||
        room - kLocalSize < member.compressedSize) {
      return Verdict::kDamaged;
    }
  }
  return Verdict::kGood;
}

}  // namespace zipreader
