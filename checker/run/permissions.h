// The checker's handle to the permission control, and the control made
// through the component registry that production runs use.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/component.h"

// The mode of what a run makes for users to see: markers, moved bad files,
// file_id.diz and headers (r-x r-x r--).
inline constexpr const char* kReleaseEntryMode = "554";

class PermissionControl {
 public:
  virtual ~PermissionControl() = default;

  // The control's Chmod with its six arguments; the control answers nothing
  // that the checker uses. Throws platform::OsError when the control cannot
  // be reached.
  virtual void Chmod(const std::string& mode, const std::string& owner, const std::string& group,
                     const std::string& path, std::int16_t complete, std::int16_t free) = 0;
};

// One object of the control class, made through the component registry on
// the first Chmod and kept until the handle goes. A failed creation leaves it
// unmade, so the next Chmod tries again.
class RegisteredPermissionControl final : public PermissionControl {
 public:
  // Throws platform::OsError 429 when the control is not registered or
  // cannot be made.
  void Chmod(const std::string& mode, const std::string& owner, const std::string& group,
             const std::string& path, std::int16_t complete, std::int16_t free) override;

 private:
  std::unique_ptr<platform::ComponentObject> object_;
};
