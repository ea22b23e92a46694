#include "updater/command_mode.h"

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace updater {
namespace {

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

std::optional<bool> windowOpened;  // the self-test flag the window was opened with

int FakeWindow(bool selfTest) {
  windowOpened = selfTest;
  return 7;
}

Outcome RunBrellun(const std::vector<std::string>& args, WindowRunner window = FakeWindow) {
  std::ostringstream out, err;
  const int status = RunCommandMode(platform::SystemFileSystem(), args, window, out, err);
  return {status, out.str(), err.str()};
}

TEST(CommandMode, AnswersEveryCommandLine) {
  struct Row {
    std::vector<std::string> args;
    bool withWindow;
    int status;
    std::string out;  // a part of standard output, or "" when nothing may be written
    std::string err;  // the same for standard error
    std::optional<bool> opened;
  };
  const std::vector<Row> rows = {
      {{}, true, 7, "", "", false},
      {{"--selftest"}, true, 7, "", "", true},
      {{}, false, kExitUsage, "", "this build has no window", std::nullopt},
      {{"--selftest"}, false, kExitUsage, "", "brellun --update PATH [--keep-old]", std::nullopt},
      {{"--update"},
       true,
       kExitUsage,
       "",
       "brellun                              open the updater window",
       std::nullopt},
      {{"--keep-old"}, true, kExitUsage, "", "Usage:", std::nullopt},
      {{"corvane.ini"}, true, kExitUsage, "", "Usage:", std::nullopt},
      {{"--update", "a/corvane.ini", "--update", "b"},
       true,
       kExitUsage,
       "",
       "Usage:",
       std::nullopt},
      {{"--update", "corvane.ini", "--keep-old", "--keep-old"},
       true,
       kExitUsage,
       "",
       "Usage:",
       std::nullopt},
      {{"--help", "--update", "corvane.ini"}, true, kExitUsage, "", "Usage:", std::nullopt},
      {{"--version", "--help"},
       false,
       kExitUsage,
       "",
       "This build of brellun has no window.",
       std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::PrintToString(row.args) + (row.withWindow ? "" : " without window"));
    windowOpened.reset();
    const Outcome run = RunBrellun(row.args, row.withWindow ? FakeWindow : nullptr);
    EXPECT_EQ(run.status, row.status);
    EXPECT_EQ(windowOpened, row.opened);
    for (const auto& [written, part] : {std::pair(run.out, row.out), std::pair(run.err, row.err)}) {
      if (part.empty()) {
        EXPECT_EQ(written, "");
      } else {
        EXPECT_NE(written.find(part), std::string::npos) << written;
      }
    }
  }
}

// What became of the files is settings_update_test's to check.
TEST(CommandMode, UpdatesAndSaysWhatItDid) {
  support::TempFolder folder;
  const std::string path = folder / "corvane.ini";
  support::WriteFile(path, "SITENAME=Site\r\n");
  const Outcome run = RunBrellun({"--keep-old", "--update", path});
  EXPECT_EQ(run.status, kExitUpdated);
  EXPECT_EQ(run.out, "Kept the old file as " + path + ".old\nUpdated " + path +
                         " to the sectioned layout.\n");
  EXPECT_EQ(run.err, "");
}

}  // namespace
}  // namespace updater
