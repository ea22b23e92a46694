#include "checker/run/status_store.h"

#include <gtest/gtest.h>

#include "checker/run/phases.h"
#include "tests/support/files.h"
#include "tests/support/run_under_test.h"
#include "tests/support/temp_folder.h"

namespace {

const char kStore[] =
    "1101\r\n"
    "bob\r\n"
    "[ 3 of 4 ] Incomplete\r\n"
    "Rel - 75% incomplete\r\n"
    "12.5\r\n"
    "1234.567\r\n"
    "True\r\n"
    "1999\r\n"
    "Jazz\r\n"
    "1|bob|grp|1234.57|87.5|3\r\n"
    "2|alice||0.5|100|1\r\n";

class StatusStore : public ::testing::Test {
 protected:
  StatusStore() {
    run.releaseDir = temp.path();
    test.settings.ISSERVG6 = true;
    run.id3Year = "no_id3_year";
    run.id3Genre = "no_id3_genre";
  }
  void Store(const std::string& text) { support::WriteFile(temp / ".sfvStatus", text); }
  support::TempFolder temp;
  support::RunUnderTest test;
  CheckRun& run = test.run;
};

TEST_F(StatusStore, ReadsEveryField) {
  Store(kStore);
  run.lTotal = 2;  // this upload's -l: value
  ReadStatusStore(run);
  EXPECT_EQ(run.previousStatusFlags, "1101");
  EXPECT_EQ(run.headerName, "[ 3 of 4 ] Incomplete");
  EXPECT_EQ(run.parentEntryName, "Rel - 75% incomplete");
  EXPECT_FLOAT_EQ(run.lTotal, 14.5f);
  EXPECT_FLOAT_EQ(run.counters.releaseSizeKb, 1234.567f);
  EXPECT_TRUE(run.isMp3Release);
  EXPECT_EQ(run.id3Year, "1999");
  EXPECT_EQ(run.id3Genre, "Jazz");
  ASSERT_EQ(run.userStats.size(), 2u);
  EXPECT_EQ(run.userStats[1].userName, "alice");
  EXPECT_EQ(run.rankKeys, (std::vector<std::string>{"1235.1", "0.2"}));
}

TEST_F(StatusStore, RoundTripIsByteForByte) {
  Store(kStore);
  ReadStatusStore(run);
  run.statusFlags = run.previousStatusFlags;
  run.userName = "bob";
  run.lTotal = 12.5f;
  run.counters.totalFiles = 4;  // the CHMOD owner templates are expanded
  WriteStatusStore(run);
  EXPECT_EQ(support::ReadFile(temp / ".sfvStatus"), kStore);
  EXPECT_EQ(support::ListTree(temp.path()), std::vector<std::string>{".sfvStatus"});
}

TEST_F(StatusStore, OwnId3ValuesWin) {
  Store(kStore);
  run.id3Year = "2001";
  run.id3Genre = "Rock";
  ReadStatusStore(run);
  EXPECT_EQ(run.id3Year, "2001");
  EXPECT_EQ(run.id3Genre, "Rock");
}

TEST_F(StatusStore, RecordLine) {
  UserStat stat = ParseUserStat("2|bob|grp|1500.25|87.5|3");
  EXPECT_EQ(stat.ordinal, 2);
  EXPECT_EQ(stat.userName, "bob");
  EXPECT_EQ(stat.groupName, "grp");
  EXPECT_DOUBLE_EQ(stat.sizeKb, 1500.25);
  EXPECT_DOUBLE_EQ(stat.lAverage, 87.5);
  EXPECT_FLOAT_EQ(stat.fileCount, 3);
  EXPECT_EQ(RankKey(stat), "1500.2");
  EXPECT_EQ(FormatUserStat(stat), "2|bob|grp|1500.25|87.5|3");
}

TEST_F(StatusStore, GarbledRecordsKeepWhatCanBeCut) {
  UserStat shortLine = ParseUserStat("1|bob|grp");
  EXPECT_EQ(shortLine.ordinal, 1);
  EXPECT_EQ(shortLine.userName, "bob");
  EXPECT_EQ(shortLine.groupName, "");  // no "|" closes it
  EXPECT_DOUBLE_EQ(shortLine.sizeKb, 0);
  UserStat noise = ParseUserStat("x|a|b|big|1e3|2|extra");
  EXPECT_EQ(noise.ordinal, 0);
  EXPECT_DOUBLE_EQ(noise.sizeKb, 0);
  EXPECT_DOUBLE_EQ(noise.lAverage, 1000);
  EXPECT_FLOAT_EQ(noise.fileCount, 0);  // "2|extra" is no number
  UserStat empty = ParseUserStat("");
  EXPECT_EQ(empty.userName, "");
}

TEST_F(StatusStore, GarbledFixedLinesKeepTheRunsValues) {
  Store("10\r\nbob\r\n\r\n\r\nlots\r\n7kb\r\nmaybe\r\n");
  run.lTotal = 3;
  run.isMp3Release = true;
  ReadStatusStore(run);
  EXPECT_EQ(run.previousStatusFlags, "10");
  EXPECT_FLOAT_EQ(run.lTotal, 3);
  EXPECT_FLOAT_EQ(run.counters.releaseSizeKb, 7);
  EXPECT_TRUE(run.isMp3Release);
  EXPECT_EQ(run.id3Year, "no_id3_year");
  EXPECT_TRUE(run.userStats.empty());
}

TEST_F(StatusStore, StoredNamesOutsideTheReleaseAreNotTaken) {
  Store("1\r\nbob\r\n../../victim\r\n/etc\r\n");
  run.headerName = "";
  ReadStatusStore(run);
  EXPECT_EQ(run.headerName, "");
  EXPECT_EQ(run.parentEntryName, "");
}

TEST_F(StatusStore, MissingStoreChangesNothing) {
  run.lTotal = 5;
  ReadStatusStore(run);
  EXPECT_FLOAT_EQ(run.lTotal, 5);
  EXPECT_EQ(run.previousStatusFlags, "");
}

TEST_F(StatusStore, UsersCompareWithLetterCase) {
  for (const char* user : {"Alice", "Alice", "alice"}) {
    run.statUserName = user;
    run.statGroupName = "grp";
    run.statLValue = 10;
    run.counters.runGoodCount = 1;
    run.counters.runSizeKb = 1.25;
    UpdateUserStats(run);
  }
  ASSERT_EQ(run.userStats.size(), 2u);
  EXPECT_EQ(FormatUserStat(run.userStats[0]), "1|Alice|grp|2.5|10|2");
  EXPECT_EQ(FormatUserStat(run.userStats[1]), "2|alice|grp|1.25|10|1");
  EXPECT_EQ(run.rankKeys, (std::vector<std::string>{"1.1", "1.2"}));
}

TEST_F(StatusStore, AverageIsWeightedByGoodFiles) {
  run.userStats = {ParseUserStat("1|bob|grp|100|100|1")};
  run.statUserName = "bob";
  run.statLValue = 200;
  run.counters.runGoodCount = 3;
  UpdateUserStats(run);
  EXPECT_DOUBLE_EQ(run.userStats[0].lAverage, 175);
  EXPECT_FLOAT_EQ(run.userStats[0].fileCount, 4);
  run.counters.runGoodCount = 0;
  run.statLValue = 999;
  UpdateUserStats(run);
  EXPECT_DOUBLE_EQ(run.userStats[0].lAverage, 175);
  EXPECT_DOUBLE_EQ(AverageAfter(55, 0, 0, 10), 55);
}

TEST_F(StatusStore, CompleteReleaseIsNotWritten) {
  run.releaseComplete = true;
  WriteStatusStore(run);
  EXPECT_FALSE(support::Exists(temp / ".sfvStatus"));
}

TEST_F(StatusStore, DeletedOnlyWhenCompleteAndAsked) {
  Store(kStore);
  test.settings.DELETE_SFV_STATUS_ON_SFV_COMPLETE = true;
  DeleteStatusStore(run);
  EXPECT_TRUE(support::Exists(temp / ".sfvStatus"));
  run.releaseComplete = true;
  DeleteStatusStore(run);
  EXPECT_FALSE(support::Exists(temp / ".sfvStatus"));
}

TEST_F(StatusStore, UploadedStoreDeletedOnlyWhenAsked) {
  Store(kStore);
  run.targetPath = temp / ".sfvStatus";
  HandleStatusStoreUpload(run);
  EXPECT_TRUE(support::Exists(temp / ".sfvStatus"));
  test.settings.DELETE_SFV_STATUS_ON_UPLOAD = true;
  HandleStatusStoreUpload(run);
  EXPECT_FALSE(support::Exists(temp / ".sfvStatus"));
}

}  // namespace
