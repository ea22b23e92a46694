#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/platform/temp_folder.h"

using namespace platform;
using namespace platform_test;

TEST(RunProcessTest, ReturnsTheExitCode) {
  EXPECT_EQ(0, RunProcess("sh", {"-c", "exit 0"}));
  EXPECT_EQ(7, RunProcess("sh", {"-c", "exit 7"}));
  EXPECT_EQ(-1, RunProcess("sh", {"-c", "kill -9 $$"}));
  EXPECT_EQ(-1, RunProcess("/no/such/program", {}));
}

TEST(RunProcessTest, PassesArgumentsUnsplit) {
  TempFolder temp;
  const std::string out = temp / "args";
  EXPECT_EQ(0, RunProcess("sh", {"-c", "printf '%s|' \"$@\" > \"$0\"", out, "a b", "", "c\"d"}));
  EXPECT_EQ("a b||c\"d|", GetFile(out));
}

TEST(StartProcessTest, StartsInTheWorkingFolderWithoutWaiting) {
  TempFolder temp;
  // The program waits for a file that appears only after StartProcess returned.
  const std::string script = ShellWaitFor("go") + "; pwd > where";
  ASSERT_TRUE(StartProcess("sh", {"-c", script}, temp.path()));
  EXPECT_FALSE(FileExists(temp / "where"));
  PutFile(temp / "go", "");
  ASSERT_TRUE(WaitUntil([&] { return GetFile(temp / "where") == temp.path() + "\n"; }));
}

TEST(StartProcessTest, ReportsAProgramThatCannotStart) {
  TempFolder temp;
  EXPECT_FALSE(StartProcess("/no/such/program", {}, temp.path()));
  EXPECT_FALSE(StartProcess("sh", {"-c", "exit 0"}, temp / "no/folder"));
}

TEST(ProgramFolderTest, IsTheFolderOfThisTest) {
  std::string folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(kSeparator, folder.back());
  EXPECT_TRUE(FileExists(folder + kSeparatorText + "platform_tests"));
}

TEST(CommandLineTest, JoinsArgumentsAfterTheProgramName) {
  char program[] = "corvane", upload[] = "/ftp/Movie/m.r01", crc[] = "1A2B3C4D", user[] = "-u:bob";
  char* argv[] = {program, upload, crc, user, nullptr};
  EXPECT_EQ("/ftp/Movie/m.r01 1A2B3C4D -u:bob", CommandLine(4, argv));
  EXPECT_EQ("", CommandLine(1, argv));
}
