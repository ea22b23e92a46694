// The checker's control against the real permission control: made by the
// first change that finds it registered, its changes kept for the end of the
// update. This test program has a folder, and so a registry, of its own.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "checker/run/permissions.h"
#include "platform/component.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace {

TEST(RegisteredPermissionControl, IsMadeByTheFirstChangeThatFindsItRegistered) {
  std::filesystem::remove(platform::ComponentRegistryPath());
  support::TempFolder site;
  support::WriteFile(site / "abc", "x");
  RegisteredPermissionControl control;
  try {
    control.Chmod("554", "bob", "users", site / "abc", 0, 0);
    ADD_FAILURE() << "made without a registration";
  } catch (const ControlNotMade& error) {
    EXPECT_EQ(error.number(), platform::kCannotCreateObject);
    EXPECT_NE(
        std::string(error.what()).find("not registered in " + platform::ComponentRegistryPath()),
        std::string::npos)
        << error.what();
  }
  EXPECT_EQ(control.EndUpdate(), 0);
  EXPECT_FALSE(support::Exists(site / ".raidenftpd.acl"));

  ASSERT_EQ(platform::RegisterServer(CORVANE_BIN_DIR "/permlet.ocx", false), kCvOk);
  control.Chmod("555", "bob", "users", site / "abc", 1, 0);
  EXPECT_FALSE(support::Exists(site / ".raidenftpd.acl"));
  EXPECT_EQ(control.EndUpdate(), 0);
  EXPECT_EQ(support::ReadFile(site / ".raidenftpd.acl"), "RD2 2238185766=bob|users|555|1|0|\r\n");
}

}  // namespace
