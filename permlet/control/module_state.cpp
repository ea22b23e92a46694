// How many objects and server locks are outstanding, which decides whether
// the library may be unloaded.
#include <atomic>

#include "permlet/control/module.h"

namespace permlet {

namespace {

std::atomic<long> objectCount{0};
std::atomic<long> lockCount{0};

}  // namespace

void ObjectCreated() { ++objectCount; }

void ObjectReleased() { --objectCount; }

void LockModule(bool lock) {
  if (lock) {
    ++lockCount;
  } else if (lockCount > 0) {
    --lockCount;
  }
}

bool CanUnloadNow() { return objectCount == 0 && lockCount == 0; }

}  // namespace permlet
