#include "checker/run/error_log.h"

#include <gtest/gtest.h>

#include "checker/run/phases.h"
#include "platform/component.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/files.h"
#include "tests/support/run_under_test.h"

namespace {

TEST(ErrorLog, LinesForASolutionOfTwoLines) {
  support::RunUnderTest test;
  CheckRun& run = test.run;
  run.commandLine = "/r/a.r01 1A2B3C4D -u:bob";
  SetErrorContext(run, "Doing it", "first\r\nsecond");
  std::string text;
  for (const std::string& line : ErrorLogLines(run, 53, "File not found")) text += line + "|";
  EXPECT_TRUE(text.starts_with(
      "corvane 1.0.9 error log||---------Error Information----------||Error Number: 53|"
      "Error Description: File not found||Executed with parameters: \"/r/a.r01 1A2B3C4D -u:bob\"||"
      "Action When Error Occured: Doing it|Recommended Solution: ||first|second|"))
      << text;
}

// An upload without a folder has no release folder, and no log: it would land
// in a root the upload never named. Every write fails here, so an attempted
// log shows.
TEST(ErrorLog, NoLogWithoutAReleaseFolder) {
  support::FaultyFileSystem files;
  files.FillDisk();
  support::RunUnderTest test(files);
  test.settings.ON_ERR_MK_FILE = true;
  EXPECT_EQ(support::OsErrorOf([&] { HandleRunError(test.run, 5, "x"); }), 0);
}

// A whole run on a disk that is full where the status store goes: the run
// ends through the error log, and the old store stays whole.
TEST(ErrorLog, FullDiskAtTheStoreWrite) {
  support::FaultyFileSystem files;
  files.FillDisk(".sfvStatus");
  support::WholeRun whole("ON_ERR_MK_FILE=1\r\nISSERVG6=True\r\n", files);
  const std::string release = whole.site / "Rel";
  const std::string oldStore = "00\r\nbob\r\n\r\n\r\n1\r\n0\r\nFalse\r\n";
  support::WriteFile(release + "/.sfvStatus", oldStore);
  support::WriteFile(release + "/rel.sfv", support::SfvText({{"a.r00", "a"}, {"a.r01", "b"}}));
  support::WriteFile(release + "/a.r00", "a");

  EXPECT_EQ(whole.Upload(release + "/a.r00"), 1);
  EXPECT_EQ(support::ReadFile(release + "/.sfvStatus"), oldStore);
  EXPECT_NE(support::ReadFile(release + "/errorlog.txt")
                .find("Error Number: 61\r\nError Description: Disk full\r\n"),
            std::string::npos);
}

// Permission changes that cannot be made end the run with a log that says
// what to check: changes that could not be written, or a control that cannot
// be made.
TEST(ErrorLog, PermissionFailuresSayWhatToCheck) {
  struct Case {
    int refusal;             // every Chmod refused as by a control that cannot be made
    int updateFailure;       // what ending the update reports
    std::size_t updateEnds;  // the error handler ends the update too
    std::string number;
    std::string action;
    std::string solutionLine;
  };
  const std::string registration = std::string(platform::kRegistrationTool) + " permlet.ocx";
  const Case cases[] = {
      {0, platform::kDiskFull, 2, "61", "Saving the permission changes into .raidenftpd.acl",
       "Make sure the disk is not full and that the account running corvane can write the "
       "release folder and its parent (section) folder."},
      {platform::kCannotCreateObject, 0, 1, "429", "Creating the permission control permlet.ocx",
       registration},
  };
  for (const Case& c : cases) {
    support::WholeRun whole("ON_ERR_MK_FILE=1\r\nISSERVG6=False\r\n");
    const std::string release = whole.site / "Rel";
    support::WriteFile(release + "/rel.sfv", support::SfvText({{"a.r00", "a"}, {"a.r01", "b"}}));
    support::WriteFile(release + "/a.r00", "a");
    whole.permissions.Refuse(c.refusal);
    whole.permissions.FailUpdate(c.updateFailure);

    EXPECT_EQ(whole.Upload(release + "/a.r00"), 1) << c.action;
    EXPECT_EQ(whole.permissions.updateEnds.size(), c.updateEnds) << c.action;
    const std::string log = support::ReadFile(release + "/errorlog.txt");
    EXPECT_NE(log.find("Error Number: " + c.number + "\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Action When Error Occured: " + c.action + "\r\n"), std::string::npos)
        << log;
    EXPECT_NE(log.find("\r\n" + c.solutionLine + "\r\n"), std::string::npos) << log;
  }
}

}  // namespace
