#include "updater/command_mode.h"

#include <gtest/gtest.h>

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

Outcome RunBrellun(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = RunCommandMode(platform::SystemFileSystem(), args, out, err);
  return {status, out.str(), err.str()};
}

TEST(CommandMode, HelpDocumentsTheTerminalUpdate) {
  const Outcome help = RunBrellun({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("brellun --update PATH [--keep-old]"), std::string::npos);
  EXPECT_EQ(help.err, "");
}

TEST(CommandMode, WrongArgumentsShowTheUsage) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--update"},
           {"--keep-old"},
           {"corvane.ini"},
           {"--update", "a/corvane.ini", "--update", "b"},
           {"--update", "corvane.ini", "--keep-old", "--keep-old"},
           {"--help", "--update", "corvane.ini"}}) {
    const Outcome run = RunBrellun(args);
    EXPECT_EQ(run.status, kExitUsage) << args[0];
    EXPECT_NE(run.err.find("Usage:"), std::string::npos);
    EXPECT_EQ(run.out, "");
  }
}

TEST(CommandMode, UpdatesAndSaysWhatItDid) {
  support::TempFolder folder;
  const std::string path = folder / "corvane.ini";
  support::WriteFile(path, "SITENAME=Site\r\n");
  const Outcome run = RunBrellun({"--keep-old", "--update", path});
  EXPECT_EQ(run.status, kExitUpdated);
  EXPECT_EQ(run.out, "Kept the old file as " + path + ".old\nUpdated " + path +
                         " to the sectioned layout.\n");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(support::ReadFile(path + ".old"), "SITENAME=Site\r\n");
  EXPECT_NE(support::ReadFile(path).find("\r\nSITENAME=Site\r\n"), std::string::npos);
}

}  // namespace
}  // namespace updater
