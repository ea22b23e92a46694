// An operator's re-check of a release that changed after its last run: every
// file is read again whatever the store says, and the uploader records stay
// as they were.
#include <gtest/gtest.h>

#include "checker/run/phases.h"
#include "tests/support/files.h"
#include "tests/support/run_under_test.h"
#include "tests/support/temp_folder.h"

namespace {

TEST(Recheck, ReadsEveryFileAgainAndKeepsTheRecords) {
  const std::string tail = "\r\nFalse\r\nno_id3_year\r\nno_id3_genre\r\n1|bob|grp|0.01|100|2\r\n";
  support::TempFolder temp;
  const std::string release = temp / "Rel";
  support::WriteFile(release + "/a.r00", "first");
  support::RunUnderTest none;
  EXPECT_EQ(RecheckRelease(none.run, release), RecheckEnd::kNoRelease);
  EXPECT_EQ(support::ListTree(temp.path()), (std::vector<std::string>{"Rel/", "Rel/a.r00"}));

  // A file damaged after the release completed.
  support::WriteFile(release + "/rel.sfv",
                     support::SfvText({{"a.r00", "first"}, {"b.r01", "second"}}));
  support::WriteFile(release + "/b.r01", "damaged");
  support::WriteFile(release + "/.sfvStatus",
                     "11\r\nbob\r\n[2 files] complete\r\n(complete) Rel\r\n100\r\n0.01" + tail);
  support::RunUnderTest test;
  test.settings.ISSERVG6 = true;
  EXPECT_EQ(RecheckRelease(test.run, release), RecheckEnd::kChecked);
  const ReleaseCounters& counters = test.run.counters;
  EXPECT_EQ(counters.goodFiles, 1);
  EXPECT_EQ(counters.badFiles, 1);
  EXPECT_FALSE(test.run.releaseComplete);
  // The size is that of the files good now, not added to the stored one;
  // the uploader record is kept as it was, and no other is added.
  EXPECT_FLOAT_EQ(counters.releaseSizeKb, static_cast<float>(counters.runSizeKb));
  const std::string store = support::ReadFile(release + "/.sfvStatus");
  EXPECT_TRUE(store.starts_with("10\r\n")) << store;
  EXPECT_TRUE(store.ends_with(tail)) << store;
}

}  // namespace
