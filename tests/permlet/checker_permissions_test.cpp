// The checker's control of the component registry against the real
// permission control: made on the first change, and made again by the next
// change when the first attempt found it unregistered. This test program has
// a folder and so a component registry of its own.
#include <gtest/gtest.h>

#include <filesystem>

#include "checker/run/permissions.h"
#include "platform/component.h"
#include "tests/permlet/registered_folder.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace {

TEST(RegisteredPermissionControl, IsMadeByTheFirstChangeThatFindsItRegistered) {
  std::filesystem::remove(platform::ComponentRegistryPath());
  support::TempFolder site;
  support::WriteFile(site / "abc", "x");
  RegisteredPermissionControl control;
  EXPECT_EQ(support::OsErrorOf([&] { control.Chmod("554", "bob", "users", site / "abc", 0, 0); }),
            platform::kCannotCreateObject);
  EXPECT_FALSE(support::Exists(site / ".raidenftpd.acl"));

  permlet_test::RegisterForThisProgram();
  control.Chmod("555", "bob", "users", site / "abc", 1, 0);
  EXPECT_EQ(support::ReadFile(site / ".raidenftpd.acl"), "RD2 2238185766=bob|users|555|1|0|\r\n");
}

}  // namespace
