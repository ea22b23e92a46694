// Progress headers on real folders: the old-header sweep, the in-progress
// markers, and the complete and incomplete headers.
#include <gtest/gtest.h>

#include <functional>

#include "checker/run/phases.h"
#include "tests/display/display_fixture.h"

namespace display_test {
namespace {

using Tree = std::vector<std::string>;
using Prepare = std::function<void(DisplayRun&)>;

TEST(Headers, SweepRemovesEmptyEntriesByKeyword) {
  struct Row {
    const char* name;
    Prepare prepare;
    Tree kept;
  };
  const Row rows[] = {
      {"names with the keyword",
       [](DisplayRun& d) { d.settings.DELKEYWORD = "% Complete"; },
       {"Rel/", "Rel/Sample/", "Rel/Sample/s.avi", "Rel/[1 of 2]/", "Rel/a.r00", "Rel/empty.nfo",
        "Rel/notes 90% Complete"}},
      {"names without it",
       [](DisplayRun& d) { d.settings.DELKEYWORD = "[", d.settings.DEL_NOT_CONTAIN = true; },
       {"Rel/", "Rel/[1 of 2]/", "Rel/[3 of 5] 60% Complete/", "Rel/[3 of 5] 60% Complete/inside",
        "Rel/[4 of 5] 80% Complete", "Rel/a.r00", "Rel/notes 90% Complete"}},
      {"a folder that cannot be listed",
       [](DisplayRun& d) { d.settings.DELKEYWORD = "[", d.files.FailListings("Rel"); },
       {"Rel/", "Rel/Sample/", "Rel/Sample/s.avi", "Rel/[1 of 2]/", "Rel/[3 of 5] 60% Complete/",
        "Rel/[3 of 5] 60% Complete/inside", "Rel/[4 of 5] 80% Complete", "Rel/a.r00",
        "Rel/empty.nfo", "Rel/notes 90% Complete"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    DisplayRun d;
    support::WriteFile(d.InRelease("[3 of 5] 60% Complete/inside"), "x");
    support::WriteFile(d.InRelease("[4 of 5] 80% Complete"), "");
    support::WriteFile(d.InRelease("notes 90% Complete"), "has content");
    support::WriteFile(d.InRelease("Sample/s.avi"), "x");
    support::MakeFolder(d.InRelease("[1 of 2]"));
    support::WriteFile(d.InRelease("empty.nfo"), "");
    support::WriteFile(d.InRelease("a.r00"), "data");
    row.prepare(d);
    SweepOldHeaders(d.run);
    EXPECT_EQ(d.Tree(), row.kept);
  }
}

// A marker is made only when switched on, and goes whatever the switch says.
TEST(Headers, InProgressMarkers) {
  struct Row {
    const char* name;
    bool settings::CheckerSettings::*flag;
    void (*mark)(CheckRun&);
    void (*clear)(CheckRun&);
    std::string marker;  // in the section folder
  };
  const Row rows[] = {
      {"release", &settings::CheckerSettings::MK_FOLDER_HEADER, MarkCheckInProgress,
       ClearCheckInProgress, "Rel/SFV CHECK IN PROGRESS - WAIT FOR RESULT"},
      {"parent", &settings::CheckerSettings::MK_FO_HEADER_PARENT, MarkParentInProgress,
       ClearParentInProgress, "Rel - Currently being SFV checked...please wait"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    DisplayRun d;
    d.settings.MK_PARENT = 1;
    LocateParent(d.run);
    row.mark(d.run);
    EXPECT_FALSE(support::Exists(d.InSection(row.marker)));
    d.settings.*row.flag = true;
    row.mark(d.run);
    row.mark(d.run);  // an existing marker is no error
    EXPECT_TRUE(support::Exists(d.InSection(row.marker)));
    d.settings.*row.flag = false;
    row.clear(d.run);
    EXPECT_FALSE(support::Exists(d.InSection(row.marker)));
  }
}

TEST(Headers, ReplaceThePreviousOne) {
  const auto complete = [](DisplayRun& d) {
    d.SetCounts(10, 10);
    d.run.releaseComplete = true;
  };
  struct Row {
    const char* name;
    Prepare prepare;
    std::string previous;  // the header an earlier run left, a folder
    Tree tree;
    std::string header;  // "": none made
    bool permissionCall;
  };
  const Row rows[] = {
      {"incomplete",
       [](DisplayRun&) {},
       "[3 of 10] incomplete",
       {"Rel/", "Rel/[7 of 10] incomplete/"},
       "[7 of 10] incomplete",
       true},
      {"complete",
       complete,
       "[9 of 10] incomplete",
       {"Rel/", "Rel/[10 files] complete/"},
       "[10 files] complete",
       true},
      {"complete without BADMSG keeps the previous one",
       [&](DisplayRun& d) { complete(d), d.settings.BADMSG = ""; },
       "old header",
       {"Rel/", "Rel/[10 files] complete/", "Rel/old header/"},
       "[10 files] complete",
       true},
      {"an empty expansion makes none",
       [&](DisplayRun& d) { complete(d), d.settings.GOODMSG = ""; },
       "[9 of 10] incomplete",
       {"Rel/"},
       "",
       false},
      {"mp3 with ID3 details",
       [](DisplayRun& d) {
         d.settings.MP3BADMSG = "mp3 %h", d.run.isMp3Release = true, d.run.id3Genre = "Rock";
       },
       "",
       {"Rel/", "Rel/mp3 Rock/"},
       "mp3 Rock",
       true},
      {"mp3 without",
       [](DisplayRun& d) {
         d.settings.MP3BADMSG = "mp3", d.run.isMp3Release = true, d.run.id3Genre = "",
         d.run.id3Year = "    ";
       },
       "",
       {"Rel/", "Rel/[7 of 10] incomplete/"},
       "[7 of 10] incomplete",
       true},
      {"file headers",
       [](DisplayRun& d) { d.settings.FILE_HEADER = true; },
       "[3 of 10] incomplete",  // a folder made before the switch
       {"Rel/", "Rel/[3 of 10] incomplete/", "Rel/[7 of 10] incomplete"},
       "[7 of 10] incomplete",
       true},
      {"no permission change on server G6",
       [](DisplayRun& d) { d.settings.ISSERVG6 = true; },
       "",
       {"Rel/", "Rel/[7 of 10] incomplete/"},
       "[7 of 10] incomplete",
       false},
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
    EXPECT_EQ(d.Tree(), row.tree);
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
  for (const auto& [badmsg, error] : {std::pair("%g/%t", platform::kBadFileName),
                                      std::pair("%g of %t?", platform::kPathFileAccessError)}) {
    SCOPED_TRACE(badmsg);
    DisplayRun d;
    d.settings.BADMSG = badmsg;
    EXPECT_EQ(OsErrorOf([&] { WriteProgressHeader(d.run); }), error);
    EXPECT_EQ(d.Tree(), Tree{"Rel/"});
    EXPECT_EQ(d.run.errorContext.action,
              "Writing status report folder header using BADMSG from corvane.ini");
  }
}

}  // namespace
}  // namespace display_test
