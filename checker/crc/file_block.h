// The block in which CalculateFile streams a file: small enough that the block
// just read is still in the core's own cache when the CRC loop runs over it,
// large enough that the per-read system cost stays small. Chosen by measuring
// (bench/crc_bench, FileBlocks).
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>

namespace crc_internal {

inline constexpr std::size_t kFileBlockSize = 256 * 1024;

// A read block that starts on a page boundary. A heap block of this size lies
// a few bytes past one, and on some processors the kernel copies a file into
// such a block at a fifth of its speed into an aligned one.
class PageAlignedBlock {
 public:
  explicit PageAlignedBlock(std::size_t size = kFileBlockSize)
      : size_(size), data_(static_cast<std::uint8_t*>(::operator new(size, kPage))) {}
  ~PageAlignedBlock() { ::operator delete(data_, kPage); }
  PageAlignedBlock(const PageAlignedBlock&) = delete;
  PageAlignedBlock& operator=(const PageAlignedBlock&) = delete;

  std::uint8_t* data() const { return data_; }
  std::size_t size() const { return size_; }

 private:
  static constexpr std::align_val_t kPage{4096};
  std::size_t size_;
  std::uint8_t* data_;
};

}  // namespace crc_internal
