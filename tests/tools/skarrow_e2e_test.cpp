// skarrow as the server's configuration starts it: the built program in a
// program folder with corvane.ini, one status store path on its command line.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/harness.h"

namespace {

using support::Exists;
using support::MakeFolder;
using support::WriteFile;

constexpr const char* kStore =
    "1100\r\nbob\r\n[##--] 2 of 4\r\nMy Rel - incomplete\r\n200\r\n10\r\nFalse\r\n"
    "no_id3_year\r\nno_id3_genre\r\n1|bob|grp|10|100|2\r\n";

class SkarrowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(store, kStore);
    for (const std::string& folder : {parent, grandparent}) {
      MakeFolder(folder + "/[##--] 2 of 4");
      MakeFolder(folder + "/My Rel - incomplete");
    }
  }
  // skarrow is silent whatever happens: exit status 0, nothing on screen.
  static void RunSilently(const e2e::ProgramFolder& programs, const std::string& commandLine) {
    const e2e::RunResult run = programs.Run(commandLine, "skarrow");
    EXPECT_EQ(run.exitStatus, 0) << "[" << commandLine << "]";
    EXPECT_EQ(run.errorOutput, "") << "[" << commandLine << "]";
  }
  bool HeaderIn(const std::string& folder) const { return Exists(folder + "/[##--] 2 of 4"); }
  bool EntryIn(const std::string& folder) const { return Exists(folder + "/My Rel - incomplete"); }

  support::TempFolder site;
  // Deep enough that a faulty clean-up following ".." stays inside `site`.
  const std::string grandparent = site / "top/ftp";
  const std::string parent = grandparent + "/movies";
  // A blank in the release name: the server's line is split into several
  // arguments, which skarrow joins back.
  const std::string store = parent + "/My Rel/.sfvStatus";
};

TEST_F(SkarrowTest, RemovesTheRecordedFoldersSilently) {
  e2e::ProgramFolder programs({"[Parent_header_setup]", "PARENT_PATH_OVERRIDE_C="});
  RunSilently(programs, store);
  EXPECT_FALSE(HeaderIn(parent));
  EXPECT_FALSE(HeaderIn(grandparent));
  EXPECT_FALSE(EntryIn(parent));
  EXPECT_FALSE(EntryIn(grandparent));
  EXPECT_EQ(support::ReadFile(store), kStore);
}

TEST_F(SkarrowTest, OverrideFolderReplacesParentAndGrandparent) {
  const std::string complete = site / "complete";
  MakeFolder(complete + "/[##--] 2 of 4");
  e2e::ProgramFolder programs({"PARENT_PATH_OVERRIDE_C=" + complete});
  RunSilently(programs, store);
  EXPECT_FALSE(HeaderIn(complete));
  EXPECT_TRUE(HeaderIn(parent));
  EXPECT_TRUE(HeaderIn(grandparent));
  EXPECT_FALSE(EntryIn(parent));
  EXPECT_FALSE(EntryIn(grandparent));
}

TEST_F(SkarrowTest, CraftedParentNamesNeverReachAboveTheRelease) {
  WriteFile(store, "1\r\nmallory\r\n..\r\n../..\r\n");
  e2e::ProgramFolder programs({});
  RunSilently(programs, store);
  EXPECT_TRUE(Exists(store));
  EXPECT_TRUE(HeaderIn(parent));
  EXPECT_TRUE(EntryIn(grandparent));
}

TEST_F(SkarrowTest, OddCommandLinesEndQuietly) {
  e2e::ProgramFolder programs({});
  for (const std::string& line : {std::string(), std::string("  "), parent, store + " extra"}) {
    RunSilently(programs, line);
  }
  EXPECT_TRUE(HeaderIn(parent));
  EXPECT_TRUE(EntryIn(parent));
}

}  // namespace
