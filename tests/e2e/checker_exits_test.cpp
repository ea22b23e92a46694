// Runs that end before they change anything.
#include <gtest/gtest.h>

#include "tests/e2e/site.h"

namespace e2e {

using support::ListTree;
using support::SfvText;
using support::TempFolder;
using support::WriteFile;
namespace {

TEST(CheckerExits, MissingSettingsFileIsReportedAndNothingIsDone) {
  ProgramFolder programs({}, false);
  TempFolder release;
  WriteFile(release / "rel.sfv", SfvText({{"a.r00", "x"}}));
  RunResult result = programs.Run(UploadLine(release / "rel.sfv"));
  EXPECT_NE(result.exitStatus, 0);
  EXPECT_NE(result.errorOutput.find("Critical Error"), std::string::npos);
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
  support::MakeFolder(site.InRelease("oldsfv"));  // an SFV lookup that finds no file
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

}  // namespace
}  // namespace e2e
