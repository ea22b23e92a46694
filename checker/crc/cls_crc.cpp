// The CRC calculator: one running register per algorithm, fed by that
// algorithm's byte loop.
#include "checker/crc/cls_crc.h"

#include <algorithm>
#include <cstring>

#include "checker/crc/crc32_kernels.h"
#include "checker/crc/file_block.h"

using crc_internal::Crc32LoopFor;
using crc_internal::SelectedCrc32Kernel;

clsCRC::clsCRC(platform::FileSystem& files) : files_(files) { Algorithm(1); }

std::int32_t clsCRC::AddBytes(std::span<const std::uint8_t> ByteArray) {
  if (!ByteArray.empty()) {
    if (crc32Selected_) {
      crc32Register_ = crc32Loop_(crc32Register_, ByteArray.data(), ByteArray.size(), crc32Table_);
    } else {
      crc16Register_ = crc16Loop_(crc16Register_, ByteArray.data(), ByteArray.size(), crc16Table_);
    }
  }
  return Value();
}

std::int32_t clsCRC::AddString(std::string_view Text) {
  // Texts are already 8-bit strings in the system code page.
  return AddBytes({reinterpret_cast<const std::uint8_t*>(Text.data()), Text.size()});
}

void clsCRC::Algorithm(std::int32_t New_Value) {
  crc32Selected_ = New_Value != 0;
  if (crc32Selected_ && !crc32Prepared_) PrepareCrc32();
  if (!crc32Selected_ && !crc16Prepared_) PrepareCrc16();
  Clear();
}

std::int16_t clsCRC::Algorithm() const { return crc32Selected_ ? -1 : 0; }

std::int32_t clsCRC::CalculateBytes(std::span<const std::uint8_t> ByteArray) {
  Clear();
  return AddBytes(ByteArray);
}

std::optional<std::int32_t> clsCRC::CalculateFile(const std::string& Filename) {
  const std::int64_t length = files_.FileLength(Filename);
  if (length == 0) return std::nullopt;
  auto file = files_.OpenForReading(Filename);
  Clear();
  // A file smaller than a block gets a block of its own size, from the heap
  // rather than fresh pages from the system.
  const crc_internal::PageAlignedBlock block(
      static_cast<std::size_t>(std::min<std::int64_t>(length, crc_internal::kFileBlockSize)));
  // The length asked for first is what counts: a file that has grown since is
  // read only that far, and bytes missing from one that has shrunk count as
  // zeros, as with one read of the whole length into a fresh buffer.
  for (std::int64_t remaining = length; remaining > 0;) {
    const std::size_t want =
        static_cast<std::size_t>(std::min<std::int64_t>(remaining, block.size()));
    std::size_t got = 0;
    while (got < want) {
      const std::size_t n = file->Read(block.data() + got, want - got);
      if (n == 0) break;
      got += n;
    }
    std::memset(block.data() + got, 0, want - got);
    AddBytes({block.data(), want});
    remaining -= static_cast<std::int64_t>(want);
  }
  return Value();
}

std::int32_t clsCRC::CalculateString(std::string_view Text) {
  Clear();
  return AddString(Text);
}

std::int32_t clsCRC::Value() const {
  return static_cast<std::int32_t>(crc32Selected_ ? ~crc32Register_ : crc16Register_ & 0xFFFF);
}

void clsCRC::Value(std::int32_t New_Value) {
  // Stored as given: the CRC-32 register is not complemented on the way in.
  if (crc32Selected_) {
    crc32Register_ = static_cast<std::uint32_t>(New_Value);
  } else {
    crc16Register_ = static_cast<std::uint32_t>(New_Value);
  }
}

void clsCRC::Clear() {
  crc16Register_ = 0;
  crc32Register_ = 0xFFFFFFFFu;
}

void clsCRC::PrepareCrc16() {
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t a = i * 256;
    std::uint32_t h = 0;
    for (int bit = 0; bit < 8; ++bit) {
      h = ((h ^ a) & 0x8000) ? (h * 2) ^ 0x1021 : h * 2;
      a *= 2;
    }
    crc16Table_[i] = h;  // not masked: only the low 16 bits are ever used
  }
  crc16Loop_ = crc_internal::Crc16Loop;
  crc16Prepared_ = true;
}

void clsCRC::PrepareCrc32() {
  std::copy(std::begin(crc_internal::kCrc32Table), std::end(crc_internal::kCrc32Table),
            crc32Table_);
  crc32Loop_ = Crc32LoopFor(SelectedCrc32Kernel());
  if (!crc32Loop_) crc32Loop_ = crc_internal::Crc32Table;  // a kernel forced where it cannot run
  crc32Prepared_ = true;
}
