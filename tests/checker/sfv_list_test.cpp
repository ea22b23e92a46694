#include <gtest/gtest.h>

#include "checker/run/phases.h"
#include "platform/os_error.h"
#include "tests/support/files.h"
#include "tests/support/run_under_test.h"
#include "tests/support/temp_folder.h"

namespace {

class SfvReading : public ::testing::Test {
 protected:
  void Read(const std::string& text) {
    support::WriteFile(temp / "rel.sfv", text);
    run.targetPath = temp / "rel.sfv";
    ReadSfvList(run);
  }
  support::TempFolder temp;
  support::RunUnderTest test;
  CheckRun& run = test.run;
};

TEST_F(SfvReading, NameIsBeforeTheLastSpaceAndCrcAfterIt) {
  Read(
      "My File 01.rar 1a2b3c4d\r\n"
      "a.r00 1A2B3C4D5E\r\n"
      " 1a2b3c4d\r\n"
      "a.r01 1a2b3c4d \r\n"
      "a.r02  12AB\n");
  ASSERT_EQ(run.sfvList.size(), 5u);
  EXPECT_EQ(run.sfvList[0].fileName, "My File 01.rar");
  EXPECT_EQ(run.sfvList[0].expectedCrc, "1a2b3c4d");
  EXPECT_EQ(run.sfvList[1].fileName, "a.r00");
  EXPECT_EQ(run.sfvList[1].expectedCrc, "1A2B3C4D");
  EXPECT_EQ(run.sfvList[2].fileName, "");
  EXPECT_EQ(run.sfvList[3].fileName, "a.r01 1a2b3c4d");
  EXPECT_EQ(run.sfvList[3].expectedCrc, "");
  EXPECT_EQ(run.sfvList[4].fileName, "a.r02 ");
  EXPECT_EQ(run.sfvList[4].expectedCrc, "12AB");
  EXPECT_FLOAT_EQ(run.counters.totalFiles, 5);
}

TEST_F(SfvReading, CommentsAndMalformedLinesTakeNoNumber) {
  Read(
      "; made by a tool\r\n"
      "\r\n"
      "first.r00 11111111\r\n"
      "semi;colon.r01 22222222\r\n"
      "nospace\r\n"
      "second.r02 33333333");
  ASSERT_EQ(run.sfvList.size(), 2u);
  EXPECT_EQ(run.sfvList[0].fileName, "first.r00");
  EXPECT_EQ(run.sfvList[1].fileName, "second.r02");
  EXPECT_EQ(run.sfvList[1].expectedCrc, "33333333");
  EXPECT_FLOAT_EQ(run.counters.totalFiles, 2);
}

TEST_F(SfvReading, EmptyOrCommentOnlyListIsEmpty) {
  Read("");
  EXPECT_TRUE(run.sfvList.empty());
  Read(";one\r\n;two\r\n");
  EXPECT_TRUE(run.sfvList.empty());
  EXPECT_FLOAT_EQ(run.counters.totalFiles, 0);
}

TEST_F(SfvReading, UnreadableFileFails) {
  run.targetPath = temp / "absent.sfv";
  EXPECT_THROW(ReadSfvList(run), platform::OsError);
}

class SfvLookup : public ::testing::Test {
 protected:
  // A release holding `names`, with an upload of its first file.
  std::string Found(const std::vector<std::string>& names) {
    for (const std::string& name : names) support::WriteFile(temp / name, "x");
    run.releaseDir = temp.path();
    run.targetPath = temp / names.front();
    FindReleaseSfv(run);
    return run.targetPath;
  }
  support::TempFolder temp;
  support::RunUnderTest test;
  CheckRun& run = test.run;
};

TEST_F(SfvLookup, MatchingEntryBecomesTheTarget) {
  EXPECT_EQ(Found({"a.r00", "notes.nfo", "Rel.SFV"}), temp / "Rel.SFV");
}

TEST_F(SfvLookup, NameWithoutDotMatchesToo) {
  EXPECT_EQ(Found({"a.r00", "backupsfv"}), temp / "backupsfv");
}

TEST_F(SfvLookup, NoMatchOrNoFolderLeavesTheTarget) {
  EXPECT_EQ(Found({"a.r00"}), temp / "a.r00");
  run.releaseDir = temp / "missing";
  FindReleaseSfv(run);
  EXPECT_EQ(run.targetPath, temp / "a.r00");
}

}  // namespace
