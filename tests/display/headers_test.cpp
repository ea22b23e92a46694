// Progress headers on real folders: the old-header sweep, and the complete
// and incomplete headers.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "checker/run/phases.h"
#include "tests/display/display_fixture.h"

namespace display_test {
namespace {

using Tree = std::vector<std::string>;
using Prepare = std::function<void(DisplayRun&)>;

// Folders named by the keyword go whole, files only while empty.
TEST(Headers, SweepRemovesEmptyEntriesByKeyword) {
  struct Row {
    const char* name;
    std::string keyword;
    bool notContain, failListing;
    Tree kept;  // empty: all
  };
  const Row rows[] = {
      {"names with the keyword",
       "% Complete",
       false,
       false,
       {"Rel/", "Rel/Sample/", "Rel/Sample/s.avi", "Rel/empty.nfo", "Rel/notes 90% Complete"}},
      {"names without it",
       "[",
       true,
       false,
       {"Rel/", "Rel/[3 of 5] 60% Complete/", "Rel/[3 of 5] 60% Complete/inside",
        "Rel/[4 of 5] 80% Complete", "Rel/notes 90% Complete"}},
      {"a folder that cannot be listed", "[", false, true, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    DisplayRun d;
    support::WriteFile(d.InRelease("[3 of 5] 60% Complete/inside"), "x");
    support::WriteFile(d.InRelease("[4 of 5] 80% Complete"), "");
    support::WriteFile(d.InRelease("notes 90% Complete"), "has content");
    support::WriteFile(d.InRelease("Sample/s.avi"), "x");
    support::WriteFile(d.InRelease("empty.nfo"), "");
    d.settings.DELKEYWORD = row.keyword;
    d.settings.DEL_NOT_CONTAIN = row.notContain;
    if (row.failListing) d.files.FailListings("Rel");
    const Tree before = d.Tree();
    SweepOldHeaders(d.run);
    EXPECT_EQ(d.Tree(), row.kept.empty() ? before : row.kept);
    // The run's listing, which its pass reads next, holds what the sweep left.
    std::vector<std::string> listed, left;
    for (const auto& entry : ReleaseEntries(d.run)) listed.push_back(entry.name);
    if (!row.failListing)
      for (const auto& entry : d.files.ListFolder(d.run.releaseDir)) left.push_back(entry.name);
    std::ranges::sort(listed), std::ranges::sort(left);
    EXPECT_EQ(listed, left);
  }
}

TEST(Headers, ReplaceThePreviousOne) {
  const auto complete = [](DisplayRun& d) {
    d.SetCounts(10, 10);
    d.run.releaseComplete = true;
  };
  const Prepare mp3 = [](DisplayRun& d) {
    d.settings.MP3BADMSG = "mp3 %h", d.run.isMp3Release = true;
  };
  struct Row {
    const char* name;
    Prepare prepare;
    std::string previous;  // the header an earlier run left, a folder
    bool previousKept;
    std::string header;  // "": none made
    bool permissionCall;
  };
  const Row rows[] = {
      {"incomplete", [](DisplayRun&) {}, "[3 of 10] incomplete", false, "[7 of 10] incomplete",
       true},
      {"complete without BADMSG keeps the previous one",
       [&](DisplayRun& d) { complete(d), d.settings.BADMSG = ""; }, "old header", true,
       "[10 files] complete", true},
      {"an empty expansion makes none",
       [&](DisplayRun& d) { complete(d), d.settings.GOODMSG = ""; }, "[9 of 10] incomplete", false,
       "", false},
      {"mp3 with ID3 details", [&](DisplayRun& d) { mp3(d), d.run.id3Genre = "Rock"; }, "", false,
       "mp3 Rock", true},
      {"mp3 without", [&](DisplayRun& d) { mp3(d), d.run.id3Genre = "", d.run.id3Year = "    "; },
       "", false, "[7 of 10] incomplete", true},
      // A folder made before the switch stays; on server G6 no permission change.
      {"file headers on server G6",
       [](DisplayRun& d) { d.settings.FILE_HEADER = d.settings.ISSERVG6 = true; },
       "[3 of 10] incomplete", true, "[7 of 10] incomplete", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    DisplayRun d;
    d.settings.BADMSG = "[%g of %t] incomplete";
    d.settings.GOODMSG = "[%t files] complete";
    row.prepare(d);
    if (!row.previous.empty()) support::MakeFolder(d.InRelease(row.previous));
    d.run.headerName = row.previous;
    WriteProgressHeader(d.run);
    Tree tree = {"Rel/"};
    if (row.previousKept) tree.push_back("Rel/" + row.previous + "/");
    if (!row.header.empty())
      tree.push_back("Rel/" + row.header + (d.settings.FILE_HEADER ? "" : "/"));
    std::sort(tree.begin(), tree.end());
    EXPECT_EQ(d.Tree(), tree);
    EXPECT_EQ(d.run.headerName, row.header);
    std::vector<PermissionCall> calls;
    if (row.permissionCall) calls.push_back({"554", "bob", "grp", d.InRelease(row.header), 0});
    EXPECT_EQ(d.PermissionCalls(), calls);
    if (!d.run.releaseComplete && !row.header.empty()) {
      EXPECT_EQ(d.run.expanded.badMsg, row.header);
    }
  }
}

TEST(Headers, UnacceptableNameEndsTheRunWithItsContext) {
  DisplayRun d;
  d.settings.BADMSG = "%g/%t";
  EXPECT_EQ(OsErrorOf([&] { WriteProgressHeader(d.run); }), platform::kBadFileName);
  EXPECT_EQ(d.Tree(), Tree{"Rel/"});
  EXPECT_EQ(d.run.errorContext.action,
            "Writing status report folder header using BADMSG from corvane.ini");
}

}  // namespace
}  // namespace display_test
