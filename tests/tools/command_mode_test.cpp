#include "updater/command_mode.h"

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "common/strings.h"
#include "platform/file_system.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace updater {
namespace {

std::optional<bool> windowOpened;  // the self-test flag the window was opened with

int FakeWindow(bool selfTest) {
  windowOpened = selfTest;
  return 7;
}

TEST(CommandMode, AnswersEveryCommandLine) {
  constexpr std::optional<bool> kNotOpened;
  struct Row {
    std::vector<std::string> args;  // "@" stands for a corvane.ini in a temporary folder
    bool withWindow;
    int status;
    std::string err;  // a part of standard error, or "" when nothing may be written
    std::optional<bool> opened;
  };
  const Row rows[] = {
      {{}, true, 7, "", false},
      {{"--selftest"}, true, 7, "", true},
      {{}, false, kExitUsage, "this build has no window", kNotOpened},
      {{"--update"}, true, kExitUsage, "open the updater window", kNotOpened},
      {{"--update", "@", "--keep-old", "--keep-old"}, true, kExitUsage, "Usage:", kNotOpened},
      {{"--update", "@.old"}, true, kExitUsage, "is not named corvane.ini", kNotOpened},
      {{"--update", "@/corvane.ini"}, true, kExitFileFailure, "Cannot read", kNotOpened},
  };
  support::TempFolder folder;
  const std::string file = folder / "corvane.ini";
  support::WriteFile(file, "SITENAME=Site\r\n");
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::PrintToString(row.args) + (row.withWindow ? "" : " without window"));
    std::vector<std::string> args;
    for (const std::string& arg : row.args) args.push_back(strings::ReplaceAll(arg, "@", file));
    windowOpened.reset();
    std::ostringstream out, err;
    const int status = RunCommandMode(platform::SystemFileSystem(), args,
                                      row.withWindow ? FakeWindow : nullptr, out, err);
    EXPECT_EQ(status, row.status);
    EXPECT_EQ(windowOpened, row.opened);
    EXPECT_EQ(out.str(), "");
    if (row.err.empty()) {
      EXPECT_EQ(err.str(), "");
    } else {
      EXPECT_NE(err.str().find(row.err), std::string::npos) << err.str();
    }
  }
}

}  // namespace
}  // namespace updater
