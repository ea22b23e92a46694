// A checker run prepared for the display phases: a release folder "Rel" in a
// section folder of a fresh temporary folder, counters of a release with
// seven of ten files good, and a recorder in place of the permission control.
#pragma once

#include <string>
#include <vector>

#include "checker/run/check_run.h"
#include "platform/os_error.h"
#include "tests/e2e/harness.h"

namespace display_test {

struct PermissionCall {
  std::string mode, owner, group, path;
  int complete = 0;
  bool operator==(const PermissionCall&) const = default;
};
// Every SetPermissions call since the last Reset, in order.
std::vector<PermissionCall>& PermissionCalls();

struct DisplayRun {
  DisplayRun();

  std::string Section() const { return temp / "section"; }
  std::string InSection(const std::string& name) const { return Section() + "/" + name; }
  std::string InRelease(const std::string& name) const { return run.releaseDir + "/" + name; }
  // Entries of the section folder, as e2e::ListTree gives them.
  std::vector<std::string> Tree() const { return e2e::ListTree(Section()); }
  void SetCounts(float total, float good, float bad = 0, float missing = 0);

  e2e::TempFolder temp;
  CheckRun run;
};

}  // namespace display_test

namespace display_test {
// The error number of the failure `step` raises, or 0 when it succeeds.
template <class Step>
int ErrorNumberOf(Step&& step) {
  try {
    step();
  } catch (const platform::OsError& error) {
    return error.number();
  }
  return 0;
}
}  // namespace display_test
