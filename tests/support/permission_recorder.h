// A permission control for tests: it records every Chmod the checker asks
// for, or refuses them all as an unregistered control does. (Header only: the
// fuzz targets, built without the test libraries, use it too.)
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "checker/run/permissions.h"
#include "platform/os_error.h"

namespace support {

struct PermissionCall {
  std::string mode, owner, group, path;
  int complete = 0;
  int free = 0;
  bool operator==(const PermissionCall&) const = default;
};

class PermissionRecorder final : public PermissionControl {
 public:
  void Chmod(const std::string& mode, const std::string& owner, const std::string& group,
             const std::string& path, std::int16_t complete, std::int16_t free) override {
    if (refusal_ != 0) throw platform::OsError(refusal_);
    calls.push_back({mode, owner, group, path, complete, free});
  }

  // From now on every Chmod fails with the classic error `number` (429: the
  // control cannot be made) and is not recorded.
  void Refuse(int number) { refusal_ = number; }

  // Every call recorded, in order.
  std::vector<PermissionCall> calls;

 private:
  int refusal_ = 0;
};

}  // namespace support
