#include <gtest/gtest.h>

#include "checker/run/phases.h"
#include "checker/run/run_error.h"
#include "tests/e2e/harness.h"

namespace {

CheckRun Parsed(const std::string& line, const std::string& siteCmd = "") {
  CheckRun run;
  run.settings.SITECMD = siteCmd;
  run.targetPath = line;
  ParseCommandLine(run);
  return run;
}

int ParseFailure(const std::string& line) {
  try {
    Parsed(line);
  } catch (const RunError& error) {
    return error.number();
  }
  return 0;
}

TEST(ParseCommandLine, ServerLineGivesUserNumberAndPath) {
  CheckRun run = Parsed("/ftp/Movie/m.r01 1A2B3C4D -u:bob -l:123.5 -s:anything");
  EXPECT_EQ(run.targetPath, "/ftp/Movie/m.r01 1A2B3C4D");
  EXPECT_EQ(run.userName, "bob");
  EXPECT_FLOAT_EQ(run.lTotal, 123.5f);
  EXPECT_FLOAT_EQ(run.statLValue, 123.5f);
  EXPECT_EQ(run.statUserName, "bob");
  EXPECT_EQ(run.errorContext.action, "Parsing parameters");
  EXPECT_EQ(run.releaseDir, "/ftp/Movie");
}

TEST(ParseCommandLine, AbsentOptionsAreEmpty) {
  CheckRun run = Parsed("/ftp/Movie/m.r01 1A2B3C4D -u:bob -s:x");
  EXPECT_EQ(run.groupName, "");
  EXPECT_EQ(run.bValue, "");
  EXPECT_FLOAT_EQ(run.lTotal, 0);
  EXPECT_EQ(run.id3Genre, "no_id3_genre");
  EXPECT_EQ(run.id3Year, "no_id3_year");
}

TEST(ParseCommandLine, EveryOption) {
  CheckRun run = Parsed(
      "/ftp SITE Album SITE a.mp3 0a1b2c3d -U:bob -l:2.5 -w:grp -y:2001 -b:128/k -g:Hard/Rock  "
      "-s:x",
      "SITE");
  EXPECT_EQ(run.targetPath, "/ftp/Album/a.mp3 0a1b2c3d");
  EXPECT_EQ(run.userName, "bob");
  EXPECT_EQ(run.groupName, "grp");
  EXPECT_EQ(run.statGroupName, "grp");
  EXPECT_FLOAT_EQ(run.lTotal, 2.5f);
  EXPECT_EQ(run.id3Year, "2001");
  EXPECT_EQ(run.bValue, "128k");
  EXPECT_EQ(run.id3Genre, "HardRock");
}

TEST(ParseCommandLine, GenreWithoutPaddingRunsToTheEnd) {
  EXPECT_EQ(Parsed("/r/a.mp3 -u:bob -s:x -g:Acid/Jazz").id3Genre, "AcidJazz");
  EXPECT_EQ(Parsed("/r/a.mp3 -u:bob -g:Rock -s:x").id3Genre, "Rock -s:x");
}

TEST(ParseCommandLine, EmptyYearTexts) {
  EXPECT_EQ(Parsed("/r/a.mp3 -u:bob -y:0000 -s:x").id3Year, "no_id3_year");
  EXPECT_EQ(Parsed("/r CMD a.mp3 -u:bob -y:     -s:x", "CMD").id3Year, "no_id3_year");
  EXPECT_EQ(Parsed("/r/a.mp3 -u:bob -y:1999 -s:x").id3Year, "1999");
}

TEST(ParseCommandLine, EmptySiteCmdJoinsDoubleSpaces) {
  EXPECT_EQ(Parsed("/ftp/Rel  a.r01 -u:bob -s:x").targetPath, "/ftp/Rel/a.r01");
}

TEST(ParseCommandLine, QuotesAreRemoved) {
  EXPECT_EQ(Parsed("\"/ftp/My Rel/a b.r01\" 1A2B3C4D -u:bob -s:x").targetPath,
            "/ftp/My Rel/a b.r01 1A2B3C4D");
}

TEST(ParseCommandLine, LineWithoutUserIsThePath) {
  CheckRun run = Parsed("/ftp/Rel/a.r01 1A2B3C4D");
  EXPECT_EQ(run.targetPath, "/ftp/Rel/a.r01 1A2B3C4D");
  EXPECT_EQ(run.errorContext.action, "");
  EXPECT_EQ(run.id3Genre, "");
}

TEST(ParseCommandLine, UserAsLastOptionTakesTheRest) {
  CheckRun run = Parsed("/ftp/Rel/a.r01 1A2B3C4D -l:5 -u:bob smith");
  EXPECT_EQ(run.userName, "bob smith");
  EXPECT_EQ(run.statUserName, "bob smith");
  EXPECT_FLOAT_EQ(run.lTotal, 0);  // no other option is read
  EXPECT_EQ(run.targetPath, "/ftp/Rel/a.r01 1A2B3C4D -l:5");
}

TEST(ParseCommandLine, BadLinesFail) {
  EXPECT_EQ(ParseFailure("-u:bob -l:5 -s:x"), platform::kInvalidArgument);
  EXPECT_EQ(ParseFailure("/r/a.r01 -u:bob -l:abc -s:x"), platform::kTypeMismatch);
  EXPECT_EQ(ParseFailure("/r/a.r01 -u:bob -l: -s:x"), platform::kTypeMismatch);
}

TEST(ParseCommandLine, OptionEndingTheLineRunsToItsEnd) {
  CheckRun run = Parsed("/r/a.mp3 -u:bob -w:grp -l:5");
  EXPECT_FLOAT_EQ(run.lTotal, 5);
  EXPECT_EQ(run.groupName, "grp");
  EXPECT_EQ(Parsed("/r/a.mp3 -u:bob -s:x -y:2001").id3Year, "2001");
  EXPECT_EQ(Parsed("/r/a.mp3 -u:bob -s:x -b:128/k").bValue, "128k");
}

TEST(ParseCommandLine, FailingOptionKnowsTheReleaseFolder) {
  CheckRun run;
  run.targetPath = "/ftp/Rel/a.r01 1A2B3C4D -u:bob -l:abc -s:x";
  EXPECT_THROW(ParseCommandLine(run), RunError);
  EXPECT_EQ(run.releaseDir, "/ftp/Rel");
  EXPECT_EQ(run.errorContext.action, "Parsing parameters");

  CheckRun atStart;
  atStart.targetPath = "-u:bob -l:abc";
  EXPECT_THROW(ParseCommandLine(atStart), RunError);
  EXPECT_EQ(atStart.releaseDir, "");

  // Doubled blanks in a user's file name become separators: a name that
  // steps up must not send the log into another folder.
  CheckRun steppingUp;
  steppingUp.targetPath = "/ftp/Rel/a  ..  Other  x.r01 1A2B3C4D -u:bob -l:abc -s:x";
  EXPECT_THROW(ParseCommandLine(steppingUp), RunError);
  EXPECT_EQ(steppingUp.releaseDir, "");
}

class ServerCrc : public ::testing::Test {
 protected:
  bool Take(const std::string& path) {
    run.targetPath = path;
    return TakeServerCrc(run);
  }
  e2e::TempFolder temp;
  CheckRun run;
};

TEST_F(ServerCrc, CrcAfterThePath) {
  e2e::WriteFile(temp / "Rel/a.mp3", "x");
  ASSERT_TRUE(Take(temp / "Rel/a.mp3 0a1b2c3d"));
  EXPECT_EQ(run.serverCrc, "0A1B2C3D");
  EXPECT_EQ(run.targetPath, temp / "Rel/a.mp3");
  EXPECT_EQ(run.releaseDir, temp / "Rel");
  EXPECT_TRUE(run.isMp3Release);
  EXPECT_EQ(run.crc.Algorithm(), -1);
  EXPECT_EQ(run.errorContext.action, "Loading settings from file");
}

TEST_F(ServerCrc, ExistingPathHasNoCrc) {
  e2e::WriteFile(temp / "Rel/a.mp3", "x");
  ASSERT_TRUE(Take(temp / "Rel/a.mp3"));
  EXPECT_EQ(run.serverCrc, "");
  EXPECT_FALSE(run.isMp3Release);
}

TEST_F(ServerCrc, NothingToCheckEndsTheRun) {
  EXPECT_FALSE(Take(""));
  EXPECT_FALSE(Take(temp / "Rel/none.r01 1A2B3C4D"));
  EXPECT_FALSE(Take("/a"));
}

}  // namespace
