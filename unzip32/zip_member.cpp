// Reading one member's data: stored or deflated, streamed through fixed
// buffers, its size and CRC-32 checked against the directory.
#include <zlib.h>

#include <algorithm>
#include <functional>

#include "unzip32/byte_cursor.h"
#include "unzip32/zip_format.h"
#include "unzip32/zip_reader.h"

namespace zipreader {
namespace {

constexpr std::size_t kChunk = 64 * 1024;

// Collects the produced bytes: their count, CRC-32 and, when asked, the bytes.
class Output {
 public:
  Output(const Member& member, std::string* content)
      : limit_(member.uncompressedSize), content_(content) {}

  // False once more bytes arrive than the directory announced.
  bool Add(const unsigned char* bytes, std::size_t count) {
    if (count > limit_ - produced_) return false;
    produced_ += count;
    crc_ = crc32_z(crc_, bytes, count);
    if (content_) content_->append(reinterpret_cast<const char*>(bytes), count);
    return true;
  }
  bool Matches(const Member& member) const {
    return produced_ == member.uncompressedSize && crc_ == member.crc;
  }

 private:
  std::uint64_t limit_;
  std::uint64_t produced_ = 0;
  uLong crc_ = crc32_z(0, nullptr, 0);
  std::string* content_;
};

class Inflater {
 public:
  Inflater() { ready_ = inflateInit2(&stream_, -MAX_WBITS) == Z_OK; }
  ~Inflater() {
    if (ready_) inflateEnd(&stream_);
  }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;
  bool ready() const { return ready_; }
  z_stream& stream() { return stream_; }

 private:
  z_stream stream_{};
  bool ready_ = false;
};

// The member's compressed data, handed out in chunks.
class DataChunks {
 public:
  using ReadAt = std::function<bool(std::uint64_t, std::size_t, std::string&)>;
  DataChunks(ReadAt readAt, std::uint64_t offset, std::uint64_t size)
      : readAt_(std::move(readAt)), offset_(offset), left_(size) {}

  bool done() const { return left_ == 0; }
  // False when the file cannot be read.
  bool Next(std::string& chunk) {
    std::size_t size = static_cast<std::size_t>(std::min<std::uint64_t>(left_, kChunk));
    if (!readAt_(offset_, size, chunk)) return false;
    offset_ += size;
    left_ -= size;
    return true;
  }

 private:
  ReadAt readAt_;
  std::uint64_t offset_;
  std::uint64_t left_;
};

Verdict CopyStored(DataChunks& data, Output& output) {
  std::string chunk;
  while (!data.done()) {
    if (!data.Next(chunk)) return Verdict::kDamaged;
    if (!output.Add(reinterpret_cast<const unsigned char*>(chunk.data()), chunk.size())) {
      return Verdict::kBadData;
    }
  }
  return Verdict::kGood;
}

Verdict InflateData(DataChunks& data, Output& output) {
  Inflater inflater;
  if (!inflater.ready()) return Verdict::kTooLarge;
  z_stream& stream = inflater.stream();
  std::string chunk;
  unsigned char produced[kChunk];
  int status = Z_OK;
  while (status != Z_STREAM_END) {
    if (stream.avail_in == 0 && !data.done()) {
      if (!data.Next(chunk)) return Verdict::kDamaged;
      stream.next_in = reinterpret_cast<Bytef*>(chunk.data());
      stream.avail_in = static_cast<uInt>(chunk.size());
    }
    stream.next_out = produced;
    stream.avail_out = sizeof produced;
    status = inflate(&stream, Z_NO_FLUSH);
    // Z_BUF_ERROR here: the data ends before the stream does.
    if (status != Z_OK && status != Z_STREAM_END) return Verdict::kBadData;
    if (!output.Add(produced, sizeof produced - stream.avail_out)) return Verdict::kBadData;
  }
  return Verdict::kGood;
}

}  // namespace

Verdict ZipArchive::Test(const Member& member) { return ReadMember(member, nullptr, 0); }

std::optional<std::string> ZipArchive::Extract(const Member& member, std::size_t maxSize) {
  std::string content;
  if (ReadMember(member, &content, maxSize) != Verdict::kGood) return std::nullopt;
  return content;
}

Verdict ZipArchive::ReadMember(const Member& member, std::string* content, std::size_t maxSize) {
  if (member.IsEncrypted()) return Verdict::kEncrypted;
  if (member.method != kStored && member.method != kDeflated) return Verdict::kUnsupported;
  if (content && member.uncompressedSize > maxSize) return Verdict::kTooLarge;
  if (member.method == kStored && member.compressedSize != member.uncompressedSize) {
    return Verdict::kBadData;
  }
  std::uint64_t dataStart = 0;
  if (Verdict located = LocateData(member, dataStart); located != Verdict::kGood) return located;

  DataChunks data([this](std::uint64_t offset, std::size_t size,
                         std::string& bytes) { return ReadAt(offset, size, bytes); },
                  dataStart, member.compressedSize);
  Output output(member, content);
  Verdict verdict = member.method == kStored ? CopyStored(data, output) : InflateData(data, output);
  if (verdict != Verdict::kGood) return verdict;
  return output.Matches(member) ? Verdict::kGood : Verdict::kBadData;
}

Verdict ZipArchive::LocateData(const Member& member, std::uint64_t& dataStart) {
  std::string header;
  if (!ReadAt(member.localHeaderOffset, kLocalSize, header)) return Verdict::kDamaged;
  ByteCursor local(header);
  if (local.U32() != kLocalSignature) return Verdict::kDamaged;
  local.Skip(4);
  const std::uint16_t localMethod = local.U16();
  local.Skip(16);
  const std::uint16_t nameLength = local.U16();
  const std::uint16_t extraLength = local.U16();
  // Both headers must describe the same member, or tools would disagree on
  // what the archive holds.
  std::string localName;
  if (localMethod != member.method || nameLength != member.name.size() ||
      !ReadAt(member.localHeaderOffset + kLocalSize, nameLength, localName) ||
      localName != member.name) {
    return Verdict::kDamaged;
  }
  dataStart = member.localHeaderOffset + kLocalSize + nameLength + extraLength;
  if (dataStart > member.spanLimit || member.spanLimit - dataStart < member.compressedSize) {
    return Verdict::kDamaged;
  }
  return Verdict::kGood;
}

}  // namespace zipreader
