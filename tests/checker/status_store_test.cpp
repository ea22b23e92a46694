#include "checker/run/status_store.h"

#include <gtest/gtest.h>

#include "checker/run/phases.h"
#include "platform/platform.h"
#include "tests/support/files.h"
#include "tests/support/run_under_test.h"
#include "tests/support/temp_folder.h"

namespace {

const char kStore[] =
    "1101\r\nbob\r\n[ 3 of 4 ] Incomplete\r\nRel - 75% incomplete\r\n12.5\r\n1234.567\r\nTrue\r\n"
    "1999\r\nJazz\r\n1|bob|grp|1234.57|87.5|3\r\n2|alice||0.5|100|1\r\n";

class StatusStore : public ::testing::Test {
 protected:
  StatusStore() {
    run.releaseDir = temp.path();
    test.settings.ISSERVG6 = true;
    run.id3Year = "no_id3_year";
    run.id3Genre = "no_id3_genre";
  }
  support::TempFolder temp;
  support::RunUnderTest test;
  CheckRun& run = test.run;
};

// Every field is read (the write-back shows it), the upload's own -l: value
// and ID3 details added to or kept over the stored ones.
TEST_F(StatusStore, ReadAndWrittenBack) {
  support::WriteFile(temp / ".sfvStatus", kStore);
  run.lTotal = 2;  // this upload's -l: value
  ReadStatusStore(run);
  EXPECT_EQ(run.previousStatusFlags, "1101");
  EXPECT_FLOAT_EQ(run.lTotal, 14.5f);
  EXPECT_EQ(run.rankKeys, (std::vector<std::string>{"1235.1", "0.2"}));

  run.statusFlags = run.previousStatusFlags;
  run.userName = "bob";
  run.lTotal = 12.5f;
  run.counters.totalFiles = 4;  // the CHMOD owner templates are expanded
  WriteStatusStore(run);
  EXPECT_EQ(support::ReadFile(temp / ".sfvStatus"), kStore);
  EXPECT_EQ(support::ListTree(temp.path()), std::vector<std::string>{".sfvStatus"});

  run.id3Year = "2001";
  run.id3Genre = "Rock";
  ReadStatusStore(run);
  EXPECT_EQ(run.id3Year, "2001");
  EXPECT_EQ(run.id3Genre, "Rock");
}

// A genre, user or group holding line breaks or "|" (an ID3 tag can carry
// them) cannot add a line or a field of its own.
TEST_F(StatusStore, NoValueBreaksALineOrARecord) {
  run.id3Genre = "Rock\r\n1|mallory|evil|99999|1|77";
  run.userName = "bob\n";
  run.userStats = {{1, "a|b\r", "g|h", 1, 1, 1}};
  const std::vector<std::string> lines = platform::SplitTextLines(FormatStatusStore(run));
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[1], "bob ");
  EXPECT_EQ(lines[8], "Rock  1|mallory|evil|99999|1|77");
  EXPECT_EQ(lines[9], "1|a b |g h|1|1|1");
}

// Names compare with letter case, and as the store keeps them. A new record
// takes the run's kilobytes and -l: value as they are; the average is
// weighted by good files, and an upload without one leaves it; every key
// counts the upload just made.
TEST_F(StatusStore, UploadsAddUpPerUser) {
  const struct {
    const char* user;
    float l, good;
    double kilobytes;
  } uploads[] = {{"Alice", 0.15f, 1, 1.255}, {"Alice", 0.15f, 1, 1.255}, {"alice", 0.15f, 1, 1.255},
                 {"x|y", 0.15f, 1, 1.255},   {"x|y", 0.15f, 1, 1.255},   {"bob", 100, 1, 100},
                 {"bob", 200, 3, 0},         {"bob", 999, 0, 0}};
  for (const auto& upload : uploads) {
    run.statUserName = upload.user;
    run.statGroupName = "grp";
    run.statLValue = upload.l;
    run.counters.runGoodCount = upload.good;
    run.counters.runSizeKb = upload.kilobytes;
    UpdateUserStats(run);
  }
  std::vector<std::string> records;
  for (const UserStat& stat : run.userStats) records.push_back(FormatUserStat(stat));
  EXPECT_EQ(records, (std::vector<std::string>{"1|Alice|grp|2.51|0.2|2", "2|alice|grp|1.255|0.15|1",
                                               "3|x y|grp|2.51|0.2|2", "4|bob|grp|100|175|4"}));
  EXPECT_EQ(run.rankKeys, (std::vector<std::string>{"3.1", "1.2", "3.3", "100.4"}));
  EXPECT_DOUBLE_EQ(AverageAfter(55, 0, 0, 10), 55);
}

// A complete release is written too, so that the next run finds the names of
// its complete header and parent entry, unless the store goes on completion.
TEST(StatusStoreWrite, UnlessDeletedOnCompletion) {
  struct Row {
    bool complete, deleteOnComplete, kept, chmod;
  };
  for (const Row& row : std::vector<Row>{{false, false, true, true},
                                         {false, true, true, true},
                                         {true, false, true, false},
                                         {true, true, false, false}}) {
    SCOPED_TRACE(testing::Message() << row.complete << row.deleteOnComplete);
    support::TempFolder release;
    support::RunUnderTest test;
    test.run.releaseDir = release.path();
    test.run.counters.totalFiles = 1;
    test.run.releaseComplete = row.complete;
    test.run.headerName = "[1 files] complete";
    test.settings.DELETE_SFV_STATUS_ON_SFV_COMPLETE = row.deleteOnComplete;
    support::WriteFile(release / ".sfvStatus", kStore);
    WriteStatusStore(test.run);
    DeleteStatusStore(test.run);
    EXPECT_EQ(support::Exists(release / ".sfvStatus"), row.kept);
    if (row.kept) {
      EXPECT_EQ(support::ReadFile(release / ".sfvStatus"), FormatStatusStore(test.run));
    }
    // Only an incomplete release's store gets its permission entry: a
    // complete one keeps what the lock gave it.
    EXPECT_EQ(test.permissions.calls.size(), row.chmod ? 1u : 0u);
  }
}

// Only the uploaded file's own name makes it a status store; a release may be
// named like one.
TEST(StatusStoreUpload, DeletedOnlyWhenAsked) {
  struct Row {
    std::string name;
    bool deleteOnUpload, isStore, kept;
  };
  for (const Row& row : std::vector<Row>{{".sfvStatus", false, true, true},
                                         {"x.SFVSTATUS", true, true, false},
                                         {"My.SfvStatus.Rel/a.r00", true, false, true}}) {
    SCOPED_TRACE(row.name);
    support::TempFolder release;
    support::RunUnderTest test;
    test.settings.DELETE_SFV_STATUS_ON_UPLOAD = row.deleteOnUpload;
    test.run.targetPath = release / row.name;
    support::WriteFile(test.run.targetPath, kStore);
    EXPECT_EQ(HandleStatusStoreUpload(test.run), row.isStore);
    EXPECT_EQ(support::Exists(test.run.targetPath), row.kept);
  }
}

}  // namespace
