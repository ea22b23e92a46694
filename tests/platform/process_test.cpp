#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/platform.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

using namespace platform;
using namespace support;

namespace {
FileSystem& files = SystemFileSystem();
}  // namespace

TEST(StartProcessTest, StartsInTheWorkingFolderWithoutWaiting) {
  TempFolder temp;
  // The program waits for a file that appears only after StartProcess returned.
  const std::string script = ShellWaitFor("go") + "; pwd > where";
  ASSERT_TRUE(StartProcess("sh", {"-c", script}, temp.path()));
  EXPECT_FALSE(files.FileExists(temp / "where"));
  WriteFile(temp / "go", "");
  ASSERT_TRUE(WaitUntil(
      [&] { return Exists(temp / "where") && ReadFile(temp / "where") == temp.path() + "\n"; }));
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
  EXPECT_TRUE(files.FileExists(folder + kSeparatorText + "platform_tests"));
}

TEST(CommandLineTest, JoinsArgumentsAfterTheProgramName) {
  char program[] = "corvane", upload[] = "/ftp/Movie/m.r01", crc[] = "1A2B3C4D", user[] = "-u:bob";
  char* argv[] = {program, upload, crc, user, nullptr};
  EXPECT_EQ("/ftp/Movie/m.r01 1A2B3C4D -u:bob", CommandLine(4, argv));
  EXPECT_EQ("", CommandLine(1, argv));
}
