// The test program's heap, measured: the global operator new of the test
// binary counts the bytes in use, so a test can bound the memory a call
// takes at its peak.
#pragma once

#include <cstddef>

namespace ziptest {

class AllocationMeter {
 public:
  AllocationMeter();  // starts measuring from the bytes in use now
  // The most bytes in use at once since the start, above the starting level.
  std::size_t PeakBytes() const;

 private:
  std::size_t base_;
};

}  // namespace ziptest
