// Whole runs in-process: every permission change of a run goes into one
// update of the control, ended once, after the last change.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/files.h"
#include "tests/support/run_under_test.h"

namespace {

TEST(PermissionUpdate, OneUpdatePerRunAfterItsLastChange) {
  struct Case {
    const char* name;
    bool complete;  // else a.r01 is missing
    const char* settings;
  };
  const Case cases[] = {
      {"incomplete", false, ""},
      {"complete and locked", true,
       "LOCK_FOLDER_IF_COMPLETE=True\r\nLOCK_FILES_IF_COMPLETE=True\r\nLOCK_USER=locker\r\n"},
  };
  for (const Case& c : cases) {
    support::WholeRun whole(std::string("ISSERVG6=False\r\n") + c.settings);
    const std::string release = whole.site / "Rel";
    support::WriteFile(release + "/rel.sfv", support::SfvText({{"a.r00", "a"}, {"a.r01", "b"}}));
    support::WriteFile(release + "/a.r00", "a");
    if (c.complete) support::WriteFile(release + "/a.r01", "b");

    ASSERT_EQ(whole.Upload(release + "/a.r00"), 0) << c.name;
    EXPECT_GT(whole.permissions.calls.size(), 2u) << c.name;
    EXPECT_EQ(whole.permissions.updateEnds, std::vector{whole.permissions.calls.size()}) << c.name;
  }
}

}  // namespace
