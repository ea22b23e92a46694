#include <gtest/gtest.h>

#include "checker/run/phases.h"
#include "tests/support/files.h"
#include "tests/support/run_under_test.h"
#include "tests/support/temp_folder.h"

namespace {

// The name is before the last blank, the CRC its first eight characters after
// it; a line with ";" or without a blank lists nothing.
TEST(ReadSfvList, NameBeforeTheLastBlankAndCrcAfterIt) {
  using Entries = std::vector<std::pair<std::string, std::string>>;  // name, CRC
  struct Row {
    const char* name;
    std::string text;
    Entries entries;
  };
  const Row rows[] = {
      {"names and CRCs",
       "My File 01.rar 1a2b3c4d\r\na.r00 1A2B3C4D5E\r\n 1a2b3c4d\r\na.r01 1a2b3c4d \r\na.r02  "
       "12AB\n",
       {{"My File 01.rar", "1a2b3c4d"},
        {"a.r00", "1A2B3C4D"},
        {"", "1a2b3c4d"},
        {"a.r01 1a2b3c4d", ""},
        {"a.r02 ", "12AB"}}},
      {"comments and malformed lines",
       "; made by a tool\r\n\r\nfirst.r00 11111111\r\nsemi;colon.r01 22222222\r\nnospace\r\n"
       "second.r02 33333333",
       {{"first.r00", "11111111"}, {"second.r02", "33333333"}}},
  };
  support::TempFolder temp;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    support::RunUnderTest test;
    support::WriteFile(temp / "rel.sfv", row.text);
    test.run.targetPath = temp / "rel.sfv";
    ReadSfvList(test.run);
    Entries read;
    for (const auto& entry : test.run.sfvList) read.push_back({entry.fileName, entry.expectedCrc});
    EXPECT_EQ(read, row.entries);
    EXPECT_FLOAT_EQ(test.run.counters.totalFiles, row.entries.size());
  }
  support::RunUnderTest absent;
  absent.run.targetPath = temp / "absent.sfv";
  EXPECT_EQ(support::OsErrorOf([&] { ReadSfvList(absent.run); }), platform::kFileNotFound);
}

// A data upload takes the release's entry ending in "sfv" as its SFV; without
// one, or without the folder, the target stays.
TEST(FindReleaseSfv, EntryEndingInSfv) {
  support::TempFolder temp;
  for (const char* name : {"a.r00", "sfv.nfo", "Rel.SFV"}) support::WriteFile(temp / name, "x");
  support::RunUnderTest test;
  test.run.releaseDir = temp.path();
  test.run.targetPath = temp / "a.r00";
  FindReleaseSfv(test.run);
  EXPECT_EQ(test.run.targetPath, temp / "Rel.SFV");
  support::RunUnderTest none;
  none.run.releaseDir = temp / "missing";
  none.run.targetPath = temp / "a.r00";
  FindReleaseSfv(none.run);
  EXPECT_EQ(none.run.targetPath, temp / "a.r00");
}

}  // namespace
