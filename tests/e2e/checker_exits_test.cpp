// How runs end that check nothing or fail, and the error log a failed run
// leaves in the release.
#include <gtest/gtest.h>

#include "tests/e2e/site.h"

namespace e2e {

using support::Exists;
using support::ListTree;
using support::ReadFile;
using support::SfvText;
using support::WriteFile;
namespace {

TEST(CheckerExits, MissingSettingsFileIsReportedAndNothingIsDone) {
  ProgramFolder programs({}, false);
  support::TempFolder release;
  WriteFile(release / "rel.sfv", SfvText({{"a.r00", "x"}}));
  RunResult result = programs.Run(UploadLine(release / "rel.sfv"));
  EXPECT_NE(result.exitStatus, 0);
  EXPECT_NE(result.errorOutput.find(
                "corvane.ini not found. Cannot execute program without settings file. Aborting."),
            std::string::npos);
  EXPECT_EQ(ListTree(release.path()), std::vector<std::string>{"rel.sfv"});
}

// Nothing to check, or a line that names no release: the section stays as it
// was, and the working folder empty.
TEST(CheckerExits, NothingToCheckChangesNothing) {
  Site site;
  WriteFile(site.InRelease("a.r00"), "data");
  const struct {
    std::string line;
    int exitStatus;
  } rows[] = {
      {site.InRelease("gone.r00") + " 1A2B3C4D -u:bob -l:1 -s:x", 0},
      {UploadLine(site.InRelease("a.r00")), 0},
      {"-u:bob -l:1 -s:x", 1},
  };
  const std::vector<std::string> before = site.Tree();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.line);
    RunResult result = site.RunLine(row.line);
    EXPECT_EQ(result.exitStatus, row.exitStatus);
    EXPECT_EQ(result.errorOutput, "");
    EXPECT_EQ(site.Tree(), before);
    EXPECT_TRUE(ListTree(site.programs().workingFolder()).empty());
  }
}

// The log of a failed run, which the next normal run removes; none where the
// settings switch it off.
TEST(ErrorLogFile, FailedRunLeavesItUntilTheNextRun) {
  Site site;
  WriteFile(site.InRelease("rel.sfv"), SfvText({{"a.r00", "data"}}));
  WriteFile(site.InRelease("a.r00"), "data");
  const std::string line = site.InRelease("a.r00") + " 1A2B3C4D -u:bob -l:fast -s:x";
  EXPECT_EQ(site.RunLine(line).exitStatus, 1);
  EXPECT_NE(ReadFile(site.InRelease("errorlog.txt"))
                .find("Error Number: 13\r\nError Description: Type mismatch\r\n\r\n"
                      "Executed with parameters: \"" +
                      TargetText(line) + "\"\r\n"),
            std::string::npos);
  EXPECT_EQ(site.Upload("a.r00", "data").exitStatus, 0);
  EXPECT_FALSE(Exists(site.InRelease("errorlog.txt")));

  site.programs().WriteSettings(SiteSettings({"ON_ERR_MK_FILE=0"}));
  EXPECT_EQ(site.RunLine(line).exitStatus, 1);
  EXPECT_FALSE(Exists(site.InRelease("errorlog.txt")));
}

}  // namespace
}  // namespace e2e
