// Runs that end before they change anything.
#include <gtest/gtest.h>

#include "tests/e2e/site.h"

namespace e2e {

using support::ListTree;
using support::MakeFolder;
using support::SfvText;
using support::TempFolder;
using support::WriteFile;
namespace {

using Tree = std::vector<std::string>;

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
  EXPECT_EQ(ListTree(release.path()), Tree{"rel.sfv"});
}

class EarlyExit : public ::testing::Test {
 protected:
  // The run ends normally and leaves the section as it was.
  void ExpectNothingDone(const std::string& commandLine) {
    Tree before = site.Tree();
    RunResult result = site.RunLine(commandLine);
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.errorOutput, "");
    EXPECT_EQ(site.Tree(), before);
    EXPECT_TRUE(ListTree(site.programs().workingFolder()).empty());
  }
  Site site;
};

TEST_F(EarlyExit, UploadThatIsNoFile) {
  ExpectNothingDone(site.InRelease("gone.r00") + " 1A2B3C4D -u:bob -l:1 -s:x");
}

TEST_F(EarlyExit, DataFileWithoutSfv) {
  WriteFile(site.InRelease("a.r00"), "data");
  ExpectNothingDone(UploadLine(site.InRelease("a.r00")));
}

TEST_F(EarlyExit, SfvLookupFindsNoFile) {
  WriteFile(site.InRelease("a.r00"), "data");
  MakeFolder(site.InRelease("oldsfv"));
  ExpectNothingDone(UploadLine(site.InRelease("a.r00")));
}

TEST(CheckerExitsWithSetting, UploadedStatusStoreIsDeleted) {
  Site site({"DELETE_SFV_STATUS_ON_UPLOAD=True"});
  WriteFile(site.InRelease("rel.sfv"), SfvText({{"a.r00", "x"}}));
  WriteFile(site.InRelease(".sfvStatus"), "forged");
  RunResult result = site.RunLine(UploadLine(site.InRelease(".sfvStatus")));
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(site.Tree(), (Tree{"Rel/", "Rel/rel.sfv"}));
}

TEST_F(EarlyExit, LineStartingWithUserFailsWithoutLogAnywhere) {
  Tree before = site.Tree();
  RunResult result = site.RunLine("-u:bob -l:1 -s:x");
  EXPECT_NE(result.exitStatus, 0);
  EXPECT_EQ(site.Tree(), before);
  EXPECT_TRUE(ListTree(site.programs().workingFolder()).empty());
}

}  // namespace
}  // namespace e2e
