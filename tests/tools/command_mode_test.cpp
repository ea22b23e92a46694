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

// What became of the files is settings_update_test's to check.
TEST(CommandMode, AnswersEveryCommandLine) {
  constexpr std::optional<bool> kNotOpened;
  const std::string kUpdated = "Kept the old file as @.old\nUpdated @ to the sectioned layout.\n";
  struct Row {
    std::vector<std::string> args;  // "@" stands for a corvane.ini in a temporary folder
    bool withWindow;
    int status;
    std::string out;  // a part of standard output, or "" when nothing may be written
    std::string err;  // the same for standard error
    std::optional<bool> opened;
  };
  const Row rows[] = {
      {{}, true, 7, "", "", false},
      {{"--selftest"}, true, 7, "", "", true},
      {{}, false, kExitUsage, "", "this build has no window", kNotOpened},
      {{"--update"}, true, kExitUsage, "", "open the updater window", kNotOpened},
      {{"--update", "@", "--keep-old", "--keep-old"}, true, kExitUsage, "", "Usage:", kNotOpened},
      {{"--version"}, false, kExitUsage, "", "This build of brellun has no window.", kNotOpened},
      {{"--update", "@.old"}, true, kExitUsage, "", "is not named corvane.ini", kNotOpened},
      {{"--update", "@/corvane.ini"}, true, kExitFileFailure, "", "Cannot read", kNotOpened},
      {{"--keep-old", "--update", "@"}, false, kExitUpdated, kUpdated, "", kNotOpened},
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
    for (const auto& [written, part] :
         {std::pair(out.str(), strings::ReplaceAll(row.out, "@", file)),
          std::pair(err.str(), row.err)}) {
      if (part.empty()) {
        EXPECT_EQ(written, "");
      } else {
        EXPECT_NE(written.find(part), std::string::npos) << written;
      }
    }
  }
}

}  // namespace
}  // namespace updater
