// The checker's handle to the permission control, and the control made
// through the component registry that production runs use.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/component.h"
#include "platform/os_error.h"

// The mode of what a run makes for users to see: markers, moved bad files,
// file_id.diz and headers (r-x r-x r--).
inline constexpr const char* kReleaseEntryMode = "554";

class PermissionControl {
 public:
  virtual ~PermissionControl() = default;

  // The control's Chmod with its six arguments; the control answers nothing
  // that the checker uses. Throws ControlNotMade when there is no control,
  // platform::OsError when it cannot be reached.
  virtual void Chmod(const std::string& mode, const std::string& owner, const std::string& group,
                     const std::string& path, std::int16_t complete, std::int16_t free) = 0;
  // Writes the changes made so far, each folder's permission file saved once.
  // Returns 0, or the classic error number of the first change that could
  // not be written (61 disk full, 75 a folder that cannot be written, 5 a
  // name the permission file cannot hold). Nothing made, nothing to write: 0.
  virtual int EndUpdate() = 0;
};

// The control could not be made (not registered, or its library cannot be
// loaded); the description gives the system's reason.
class ControlNotMade : public platform::OsError {
 public:
  using platform::OsError::OsError;
};

// One object of the control class, made through the component registry on
// the first Chmod and kept until the handle goes; its changes are kept for
// EndUpdate from then on. A failed creation leaves it unmade, so the next
// Chmod tries again.
class RegisteredPermissionControl final : public PermissionControl {
 public:
  // Throws ControlNotMade (429) when the control is not registered or cannot
  // be made.
  void Chmod(const std::string& mode, const std::string& owner, const std::string& group,
             const std::string& path, std::int16_t complete, std::int16_t free) override;
  int EndUpdate() override;

 private:
  std::unique_ptr<platform::ComponentObject> object_;
  // A control older than bulk updates makes each change alone.
  bool updating_ = false;
};
