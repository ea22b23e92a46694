// Progress headers on real folders: the old-header sweep, the in-progress
// marker, the complete and incomplete headers and a status store whose names
// a user has crafted.
#include <gtest/gtest.h>

#include "checker/run/phases.h"
#include "tests/display/display_fixture.h"

namespace display_test {
namespace {

using Tree = std::vector<std::string>;

class Headers : public ::testing::Test {
 protected:
  Headers() {
    d.settings.BADMSG = "[%g of %t] incomplete";
    d.settings.GOODMSG = "[%t files] complete";
  }
  // Runs the header step after an earlier run left the header `previous`.
  void WriteAfter(const std::string& previous) {
    support::MakeFolder(d.InRelease(previous));
    d.run.headerName = previous;
    WriteProgressHeader(d.run);
  }
  void Complete() {
    d.SetCounts(10, 10);
    d.run.releaseComplete = true;
  }
  PermissionCall HeaderCall(const std::string& name) const {
    return {"554", "bob", "grp", d.InRelease(name), 0};
  }
  DisplayRun d;
};

TEST_F(Headers, SweepByKeyword) {
  d.settings.DELKEYWORD = "% Complete";
  support::WriteFile(d.InRelease("[ 3 of 5 ] 60% Complete/inside"), "x");
  support::WriteFile(d.InRelease("[ 4 of 5 ] 80% Complete"), "");
  support::WriteFile(d.InRelease("notes 90% Complete"), "has content");
  support::WriteFile(d.InRelease("Sample/s.avi"), "x");
  SweepOldHeaders(d.run);
  EXPECT_EQ(d.Tree(), (Tree{"Rel/", "Rel/Sample/", "Rel/Sample/s.avi", "Rel/notes 90% Complete"}));
}

TEST_F(Headers, SweepOfNamesWithoutTheKeyword) {
  d.settings.DELKEYWORD = "[";
  d.settings.DEL_NOT_CONTAIN = true;
  support::WriteFile(d.InRelease("Sample/s.avi"), "x");
  support::WriteFile(d.InRelease("CD1/a.r00"), "x");
  support::MakeFolder(d.InRelease("[ 1 of 2 ]"));
  support::WriteFile(d.InRelease("empty.nfo"), "");
  support::WriteFile(d.InRelease("a.r00"), "data");
  SweepOldHeaders(d.run);
  EXPECT_EQ(d.Tree(), (Tree{"Rel/", "Rel/[ 1 of 2 ]/", "Rel/a.r00"}));
}

TEST_F(Headers, SweepOfAFolderThatCannotBeListedIsSkipped) {
  d.settings.DELKEYWORD = "[";
  support::MakeFolder(d.InRelease("[ 1 of 2 ]"));
  d.files.FailListings("Rel");
  SweepOldHeaders(d.run);
  EXPECT_EQ(d.Tree(), (Tree{"Rel/", "Rel/[ 1 of 2 ]/"}));
}

TEST_F(Headers, InProgressMarker) {
  const std::string marker = d.InRelease("SFV CHECK IN PROGRESS - WAIT FOR RESULT");
  MarkCheckInProgress(d.run);
  EXPECT_FALSE(support::Exists(marker));
  d.settings.MK_FOLDER_HEADER = true;
  MarkCheckInProgress(d.run);
  MarkCheckInProgress(d.run);  // an existing marker is no error
  EXPECT_TRUE(support::Exists(marker));
  d.settings.MK_FOLDER_HEADER = false;  // a leftover goes all the same
  ClearCheckInProgress(d.run);
  EXPECT_FALSE(support::Exists(marker));
}

TEST_F(Headers, IncompleteHeaderReplacesThePreviousOne) {
  WriteAfter("[3 of 10] incomplete");
  EXPECT_EQ(d.Tree(), (Tree{"Rel/", "Rel/[7 of 10] incomplete/"}));
  EXPECT_EQ(d.run.headerName, "[7 of 10] incomplete");
  EXPECT_EQ(d.run.expanded.badMsg, "[7 of 10] incomplete");
  EXPECT_EQ(d.PermissionCalls(), (std::vector{HeaderCall("[7 of 10] incomplete")}));
  EXPECT_EQ(d.run.errorContext.action,
            "Writing status report folder header using BADMSG from corvane.ini");
  EXPECT_EQ(d.run.errorContext.solution,
            "Make sure your BADMSG entry in corvane.ini does not contain any of these characters "
            "/\\:*?<>|\"\r\nAnd make sure that your SITENAME & PERBAR_CHR & PERBAR_NON do not "
            "contain any of the characters mentioned above");
}

TEST_F(Headers, CompleteHeader) {
  Complete();
  WriteAfter("[9 of 10] incomplete");
  EXPECT_EQ(d.Tree(), (Tree{"Rel/", "Rel/[10 files] complete/"}));
  EXPECT_EQ(d.run.headerName, "[10 files] complete");
  EXPECT_EQ(d.PermissionCalls(), (std::vector{HeaderCall("[10 files] complete")}));
  EXPECT_EQ(d.run.errorContext.solution,
            "Make sure your GOODMSG (defined in corvane.ini) entry does not contain any of these "
            "characters /\\:*?<>|\"\r\nAnd make sure that your SITENAME & PERBAR_CHR & PERBAR_NON "
            "do not contain any of the characters mentioned above");
}

TEST_F(Headers, CompleteRunKeepsThePreviousHeaderWithoutBadmsg) {
  Complete();
  d.settings.BADMSG = "";
  WriteAfter("old header");
  EXPECT_TRUE(support::Exists(d.InRelease("old header")));
}

TEST_F(Headers, EmptyExpansionMakesNoHeader) {
  Complete();
  d.settings.GOODMSG = "";
  WriteAfter("[9 of 10] incomplete");
  EXPECT_EQ(d.Tree(), Tree{"Rel/"});
  EXPECT_EQ(d.run.headerName, "");
  EXPECT_TRUE(d.PermissionCalls().empty());
}

TEST_F(Headers, Mp3TemplatesNeedId3Details) {
  d.settings.MP3BADMSG = "mp3 %h";
  d.run.isMp3Release = true;
  d.run.id3Genre = "Rock";
  WriteProgressHeader(d.run);
  EXPECT_EQ(d.run.headerName, "mp3 Rock");
  EXPECT_EQ(d.run.expanded.badMsg, "mp3 Rock");

  DisplayRun plain;
  plain.settings.BADMSG = "plain";
  plain.settings.MP3BADMSG = "mp3";
  plain.run.isMp3Release = true;
  plain.run.id3Genre = "";
  plain.run.id3Year = "    ";
  WriteProgressHeader(plain.run);
  EXPECT_EQ(plain.run.headerName, "plain");
}

TEST_F(Headers, FileHeaders) {
  d.settings.FILE_HEADER = true;
  WriteAfter("[3 of 10] incomplete");  // a folder made before the switch
  EXPECT_EQ(d.Tree(), (Tree{"Rel/", "Rel/[3 of 10] incomplete/", "Rel/[7 of 10] incomplete"}));
  EXPECT_EQ(support::ReadFile(d.InRelease("[7 of 10] incomplete")), "");
}

TEST_F(Headers, NoPermissionCallsOnServerG6) {
  d.settings.ISSERVG6 = true;
  WriteProgressHeader(d.run);
  EXPECT_TRUE(support::Exists(d.InRelease("[7 of 10] incomplete")));
  EXPECT_TRUE(d.PermissionCalls().empty());
}

TEST_F(Headers, UnacceptableNameEndsTheRunWithItsContext) {
  d.settings.BADMSG = "%g/%t";
  EXPECT_EQ(OsErrorOf([&] { WriteProgressHeader(d.run); }), platform::kBadFileName);
  d.settings.BADMSG = "%g of %t?";
  EXPECT_NE(OsErrorOf([&] { WriteProgressHeader(d.run); }), 0);
  EXPECT_EQ(d.Tree(), Tree{"Rel/"});
  EXPECT_EQ(d.run.errorContext.action,
            "Writing status report folder header using BADMSG from corvane.ini");
}

}  // namespace
}  // namespace display_test
