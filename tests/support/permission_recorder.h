// A permission control for tests: it records every Chmod the checker asks
// for and where the update ends, or refuses them all as an unregistered
// control does. (Header only: the
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
    if (refusal_ != 0) throw ControlNotMade(refusal_, "refused by the test");
    calls.push_back({mode, owner, group, path, complete, free});
  }
  int EndUpdate() override {
    updateEnds.push_back(calls.size());
    return updateFailure_;
  }

  // From now on every Chmod fails as a control that cannot be made, with the
  // classic error `number`, and is not recorded.
  void Refuse(int number) { refusal_ = number; }
  // From now on EndUpdate reports the classic error `number`.
  void FailUpdate(int number) { updateFailure_ = number; }

  // Every call recorded, in order.
  std::vector<PermissionCall> calls;
  // For each EndUpdate, how many calls came before it.
  std::vector<std::size_t> updateEnds;

 private:
  int refusal_ = 0;
  int updateFailure_ = 0;
};

}  // namespace support
