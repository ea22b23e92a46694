// An operator's re-check of a release that changed after its last run: every
// file is read again whatever the store says, the release shows what it
// holds now, and the uploader records stay as they were.
#include <gtest/gtest.h>

#include "checker/run/phases.h"
#include "tests/support/files.h"
#include "tests/support/run_under_test.h"
#include "tests/support/temp_folder.h"
#include "tests/unzip/zip_builder.h"

namespace {

using Tree = std::vector<std::string>;
using FileList = std::vector<std::pair<std::string, std::string>>;

TEST(Recheck, ReadsEveryFileAgainAndShowsTheRelease) {
  const std::string sfv = support::SfvText({{"a.r00", "first"}, {"b.r01", "second"}});
  const std::string archive = ziptest::BuildZip({{.name = "a.r00", .content = "first"}}).bytes;
  const std::string record = "1|bob|grp|0.01|100|2\r\n";
  struct Row {
    std::string what;
    FileList files;                     // the release as the re-check finds it
    std::string stored, header, entry;  // the store's status, and what it names
    RecheckEnd end;
    float good, bad;
    std::string status;  // the store's status afterwards
    Tree tree;           // the section afterwards
  };
  const std::vector<Row> rows = {
      {"a file damaged after the release completed",
       {{"rel.sfv", sfv}, {"a.r00", "first"}, {"b.r01", "damaged"}},
       "11",
       "[2 files] complete",
       "(complete) Rel",
       RecheckEnd::kChecked,
       1,
       1,
       "10",
       {"(incomplete) Rel/", "Rel/", "Rel/.message", "Rel/.sfvStatus", "Rel/[1 of 2] incomplete/",
        "Rel/a.r00", "Rel/b.r01.bad", "Rel/rel.sfv"}},
      {"files the store holds bad are good now",
       {{"rel.sfv", sfv}, {"a.r00", "first"}, {"b.r01", "second"}},
       "00",
       "[0 of 2] incomplete",
       "(incomplete) Rel",
       RecheckEnd::kChecked,
       2,
       0,
       "11",
       {"(complete) Rel/", "Rel/", "Rel/.message", "Rel/.sfvStatus", "Rel/[2 files] complete/",
        "Rel/a.r00", "Rel/b.r01", "Rel/rel.sfv"}},
      {"an archive of a complete zip set damaged",
       {{"file_id.diz", "Rel [01/02]"}, {"a.zip", archive}, {"b.zip", "damaged"}},
       "2|a.zip|b.zip",
       "[2 files] complete",
       "(complete) Rel",
       RecheckEnd::kChecked,
       1,
       1,
       "1|a.zip",
       {"(incomplete) Rel/", "Rel/", "Rel/.message", "Rel/.sfvStatus", "Rel/[1 of 2] incomplete/",
        "Rel/a.zip", "Rel/b.zip.bad", "Rel/file_id.diz"}},
      {"no SFV and no zip set",
       {{"a.r00", "first"}},
       "",
       "",
       "",
       RecheckEnd::kNoRelease,
       0,
       0,
       "",
       {"Rel/", "Rel/a.r00"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    support::TempFolder temp;
    const std::string release = temp / "Rel";
    support::MakeFolder(release);
    for (const auto& [name, content] : row.files) support::WriteFile(release + "/" + name, content);
    if (!row.stored.empty()) {
      support::WriteFile(release + "/.sfvStatus",
                         row.stored + "\r\nbob\r\n" + row.header + "\r\n" + row.entry +
                             "\r\n100\r\n0.01\r\nFalse\r\nno_id3_year\r\nno_id3_genre\r\n" +
                             record);
      support::MakeFolder(release + "/" + row.header);
      support::MakeFolder(temp / row.entry);
    }
    support::RunUnderTest test;
    settings::CheckerSettings& s = test.settings;
    s.ISSERVG6 = s.MK_FOLDER_HEADER = s.CREATE_MISSING = true;
    s.HANDLE_BAD_FILES = s.MK_PARENT = 1;
    s.MSGFILE = ".message";
    s.BADMSG = "[%g of %t] incomplete";
    s.GOODMSG = "[%t files] complete";
    s.INC_MAKE_IN_PARENT = "(incomplete) %r";
    s.COM_MAKE_IN_PARENT = "(complete) %r";

    EXPECT_EQ(RecheckRelease(test.run, release), row.end);
    const ReleaseCounters& counters = test.run.counters;
    EXPECT_EQ(counters.goodFiles, row.good);
    EXPECT_EQ(counters.badFiles, row.bad);
    EXPECT_EQ(test.run.releaseComplete, row.end == RecheckEnd::kChecked && row.bad == 0);
    EXPECT_EQ(support::ListTree(temp.path()), row.tree);
    if (row.end != RecheckEnd::kChecked) continue;
    // The size is that of the files good now, not added to the stored one;
    // the uploader record is kept as it was, and no other is added.
    EXPECT_FLOAT_EQ(counters.releaseSizeKb, static_cast<float>(counters.runSizeKb));
    const std::string store = support::ReadFile(release + "/.sfvStatus");
    EXPECT_TRUE(store.starts_with(row.status + "\r\n")) << store;
    EXPECT_TRUE(store.ends_with("\r\nFalse\r\nno_id3_year\r\nno_id3_genre\r\n" + record)) << store;
  }
}

}  // namespace
