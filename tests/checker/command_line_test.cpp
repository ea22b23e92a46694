#include <gtest/gtest.h>

#include <memory>

#include "checker/run/phases.h"
#include "checker/run/run_error.h"
#include "tests/support/files.h"
#include "tests/support/run_under_test.h"
#include "tests/support/temp_folder.h"

namespace {

std::unique_ptr<support::RunUnderTest> Parsed(const std::string& line,
                                              const std::string& siteCmd = "") {
  auto parsed = std::make_unique<support::RunUnderTest>();
  parsed->settings.SITECMD = siteCmd;
  parsed->run.targetPath = line;
  ParseCommandLine(parsed->run);
  return parsed;
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
  auto parsed = Parsed("/ftp/Movie/m.r01 1A2B3C4D -u:bob -l:123.5 -s:anything");
  const CheckRun& run = parsed->run;
  EXPECT_EQ(run.targetPath, "/ftp/Movie/m.r01 1A2B3C4D");
  EXPECT_EQ(run.userName, "bob");
  EXPECT_FLOAT_EQ(run.lTotal, 123.5f);
  EXPECT_FLOAT_EQ(run.statLValue, 123.5f);
  EXPECT_EQ(run.statUserName, "bob");
  EXPECT_EQ(run.errorContext.action, "Parsing parameters");
  EXPECT_EQ(run.releaseDir, "/ftp/Movie");
}

TEST(ParseCommandLine, AbsentOptionsAreEmpty) {
  auto parsed = Parsed("/ftp/Movie/m.r01 1A2B3C4D -u:bob -s:x");
  const CheckRun& run = parsed->run;
  EXPECT_EQ(run.groupName, "");
  EXPECT_EQ(run.bValue, "");
  EXPECT_FLOAT_EQ(run.lTotal, 0);
  EXPECT_EQ(run.id3Genre, "no_id3_genre");
  EXPECT_EQ(run.id3Year, "no_id3_year");
}

TEST(ParseCommandLine, EveryOption) {
  auto parsed = Parsed(
      "/ftp SITE Album SITE a.mp3 0a1b2c3d -U:bob -l:2.5 -w:grp -y:2001 -b:128/k -g:Hard/Rock  "
      "-s:x",
      "SITE");
  const CheckRun& run = parsed->run;
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
  EXPECT_EQ(Parsed("/r/a.mp3 -u:bob -s:x -g:Acid/Jazz")->run.id3Genre, "AcidJazz");
  EXPECT_EQ(Parsed("/r/a.mp3 -u:bob -g:Rock -s:x")->run.id3Genre, "Rock -s:x");
}

TEST(ParseCommandLine, EmptyYearTexts) {
  EXPECT_EQ(Parsed("/r/a.mp3 -u:bob -y:0000 -s:x")->run.id3Year, "no_id3_year");
  EXPECT_EQ(Parsed("/r CMD a.mp3 -u:bob -y:     -s:x", "CMD")->run.id3Year, "no_id3_year");
  EXPECT_EQ(Parsed("/r/a.mp3 -u:bob -y:1999 -s:x")->run.id3Year, "1999");
}

TEST(ParseCommandLine, EmptySiteCmdJoinsDoubleSpaces) {
  EXPECT_EQ(Parsed("/ftp/Rel  a.r01 -u:bob -s:x")->run.targetPath, "/ftp/Rel/a.r01");
}

TEST(ParseCommandLine, QuotesAreRemoved) {
  EXPECT_EQ(Parsed("\"/ftp/My Rel/a b.r01\" 1A2B3C4D -u:bob -s:x")->run.targetPath,
            "/ftp/My Rel/a b.r01 1A2B3C4D");
}

TEST(ParseCommandLine, LineWithoutUserIsThePath) {
  auto parsed = Parsed("/ftp/Rel/a.r01 1A2B3C4D");
  const CheckRun& run = parsed->run;
  EXPECT_EQ(run.targetPath, "/ftp/Rel/a.r01 1A2B3C4D");
  EXPECT_EQ(run.errorContext.action, "");
  EXPECT_EQ(run.id3Genre, "");
}

TEST(ParseCommandLine, UserAsLastOptionTakesTheRest) {
  auto parsed = Parsed("/ftp/Rel/a.r01 1A2B3C4D -l:5 -u:bob smith");
  const CheckRun& run = parsed->run;
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
  auto parsed = Parsed("/r/a.mp3 -u:bob -w:grp -l:5");
  const CheckRun& run = parsed->run;
  EXPECT_FLOAT_EQ(run.lTotal, 5);
  EXPECT_EQ(run.groupName, "grp");
  EXPECT_EQ(Parsed("/r/a.mp3 -u:bob -s:x -y:2001")->run.id3Year, "2001");
  EXPECT_EQ(Parsed("/r/a.mp3 -u:bob -s:x -b:128/k")->run.bValue, "128k");
}

TEST(ParseCommandLine, FailingOptionKnowsTheReleaseFolder) {
  support::RunUnderTest failing;
  CheckRun& run = failing.run;
  run.targetPath = "/ftp/Rel/a.r01 1A2B3C4D -u:bob -l:abc -s:x";
  EXPECT_THROW(ParseCommandLine(run), RunError);
  EXPECT_EQ(run.releaseDir, "/ftp/Rel");
  EXPECT_EQ(run.errorContext.action, "Parsing parameters");

  support::RunUnderTest atStartRun;
  CheckRun& atStart = atStartRun.run;
  atStart.targetPath = "-u:bob -l:abc";
  EXPECT_THROW(ParseCommandLine(atStart), RunError);
  EXPECT_EQ(atStart.releaseDir, "");

  // Doubled blanks in a user's file name become separators: a name that
  // steps up must not send the log into another folder.
  support::RunUnderTest steppingUpRun;
  CheckRun& steppingUp = steppingUpRun.run;
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
  support::TempFolder temp;
  support::RunUnderTest test;
  CheckRun& run = test.run;
};

TEST_F(ServerCrc, CrcAfterThePath) {
  support::WriteFile(temp / "Rel/a.mp3", "x");
  ASSERT_TRUE(Take(temp / "Rel/a.mp3 0a1b2c3d"));
  EXPECT_EQ(run.serverCrc, "0A1B2C3D");
  EXPECT_EQ(run.targetPath, temp / "Rel/a.mp3");
  EXPECT_EQ(run.releaseDir, temp / "Rel");
  EXPECT_TRUE(run.isMp3Release);
  EXPECT_EQ(run.crc.Algorithm(), -1);
  EXPECT_EQ(run.errorContext.action, "Loading settings from file");
}

TEST_F(ServerCrc, ExistingPathHasNoCrc) {
  support::WriteFile(temp / "Rel/a.mp3", "x");
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
