// The checker's handle to the permission control: one object of the control
// class, made through the component registry on first use and kept until the
// process ends.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/component.h"

class PermissionControl {
 public:
  // Creates the control by its class identifier, asking for its dispatch
  // interface. Throws platform::OsError 429 when it is not registered or
  // cannot be made.
  PermissionControl();

  // The control's Chmod, called by its dispatch identifier with its six typed
  // arguments; the control answers nothing that the checker uses.
  void Chmod(const std::string& mode, const std::string& owner, const std::string& group,
             const std::string& path, std::int16_t complete, std::int16_t free);

 private:
  std::unique_ptr<platform::ComponentObject> object_;
};
