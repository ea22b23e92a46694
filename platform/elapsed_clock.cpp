// The monotonic clock is the same on every platform.
#include <chrono>

#include "platform/platform.h"

namespace platform {

double ElapsedSeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace platform
