#include <gtest/gtest.h>

#include <sstream>

#include "checker/run/phases.h"
#include "checker/run/run_error.h"
#include "tests/support/files.h"
#include "tests/support/run_under_test.h"

namespace {

// Each row's result is "path|user|group|-l:|year|bitrate|genre".
TEST(ParseCommandLine, ServerLines) {
  struct Row {
    const char* name;
    std::string line, siteCmd, parsed;
  };
  const Row rows[] = {
      {"every option",
       "/ftp SITE Album SITE a.mp3 0a1b2c3d -U:bob -l:2.5 -w:grp -y:2001 -b:128/k -g:Hard/Rock  "
       "-s:x",
       "SITE", "/ftp/Album/a.mp3 0a1b2c3d|bob|grp|2.5|2001|128k|HardRock"},
      {"genre at the end", "/r/a.mp3 -u:bob -s:x -g:Acid/Jazz", "",
       "/r/a.mp3|bob||0|no_id3_year||AcidJazz"},
      {"genre without padding", "/r/a.mp3 -u:bob -g:Rock -s:x", "",
       "/r/a.mp3|bob||0|no_id3_year||Rock -s:x"},
      {"empty SITECMD joins doubled blanks", "/ftp/Rel  a.r01 -u:bob -s:x", "",
       "/ftp/Rel/a.r01|bob||0|no_id3_year||no_id3_genre"},
      {"quotes", "\"/ftp/My Rel/a b.r01\" 1A2B3C4D -u:bob -s:x", "",
       "/ftp/My Rel/a b.r01 1A2B3C4D|bob||0|no_id3_year||no_id3_genre"},
      {"user last takes the rest", "/ftp/Rel/a.r01 1A2B3C4D -l:5 -u:bob smith", "",
       "/ftp/Rel/a.r01 1A2B3C4D -l:5|bob smith||0|||"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    support::RunUnderTest test;
    test.settings.SITECMD = row.siteCmd;
    CheckRun& run = test.run;
    run.targetPath = row.line;
    ParseCommandLine(run);
    std::ostringstream parsed;
    parsed << run.targetPath << '|' << run.userName << '|' << run.groupName << '|' << run.lTotal
           << '|' << run.id3Year << '|' << run.bValue << '|' << run.id3Genre;
    EXPECT_EQ(parsed.str(), row.parsed);
    // The uploader's record takes the same values.
    EXPECT_EQ(run.statUserName + "|" + run.statGroupName, run.userName + "|" + run.groupName);
    EXPECT_EQ(run.statLValue, run.lTotal);
  }
}

// A failing line still names the release folder for the error log, unless
// none can be told; doubled blanks in a user's file name become separators,
// so a name that steps up must not send the log into another folder.
TEST(ParseCommandLine, BadLinesFailKnowingTheReleaseFolder) {
  struct Row {
    std::string line;
    int number;
    std::string releaseDir;
  };
  const Row rows[] = {
      {"-u:bob -l:5 -s:x", platform::kInvalidArgument, ""},
      {"/ftp/Rel/a.r01 1A2B3C4D -u:bob -l:abc -s:x", platform::kTypeMismatch, "/ftp/Rel"},
      {"/ftp/Rel/a  ..  Other  x.r01 1A2B3C4D -u:bob -l:abc -s:x", platform::kTypeMismatch, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.line);
    support::RunUnderTest test;
    test.run.targetPath = row.line;
    EXPECT_EQ(support::OsErrorOf([&] { ParseCommandLine(test.run); }), row.number);
    EXPECT_EQ(test.run.releaseDir, row.releaseDir);
    EXPECT_EQ(test.run.errorContext.action, "Parsing parameters");
  }
}

}  // namespace
