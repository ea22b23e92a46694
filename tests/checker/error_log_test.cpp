#include "checker/run/error_log.h"

#include <gtest/gtest.h>

#include "checker/run/phases.h"
#include "tests/e2e/harness.h"

namespace {

TEST(ErrorLog, LinesForASolutionOfTwoLines) {
  CheckRun run;
  run.commandLine = "/r/a.r01 1A2B3C4D -u:bob";
  SetErrorContext(run, "Doing it", "first\r\nsecond");
  std::vector<std::string> expected = {
      "corvane 1.0.9 error log",
      "",
      "---------Error Information----------",
      "",
      "Error Number: 53",
      "Error Description: File not found",
      "",
      "Executed with parameters: \"/r/a.r01 1A2B3C4D -u:bob\"",
      "",
      "Action When Error Occured: Doing it",
      "Recommended Solution: ",
      "",
      "first",
      "second",
      "",
      "",
      "----------------[Note to FTP sysops]---",
      "If suggested solution does not work, e-mail me your corvane.ini file, along with this "
      "errorlog",
      "and a brief explanation of how the situation occured (if possible)",
      "If you do not have the newest version of corvane (build 1.0.9) then don't bother",
      "e-mailing me.  I ONLY SUPPORT LATEST VERSION",
      "http://www.example.org/corvane",
      "http://forum.example.org/corvane",
      "support@example.org",
  };
  EXPECT_EQ(ErrorLogLines(run, 53, "File not found"), expected);
}

TEST(ErrorLog, HandlerWritesIntoTheReleaseAndCleanUpRemovesIt) {
  e2e::TempFolder temp;
  CheckRun run;
  run.settings.ON_ERR_MK_FILE = true;
  run.releaseDir = temp.path();
  e2e::MakeFolder(temp / "SFV CHECK IN PROGRESS - WAIT FOR RESULT");
  HandleRunError(run, 5, "Invalid procedure call or argument");
  EXPECT_EQ(e2e::ListTree(temp.path()), std::vector<std::string>{"errorlog.txt"});
  EXPECT_NE(e2e::ReadFile(temp / "errorlog.txt").find("Error Number: 5\r\n"), std::string::npos);
  EndOfRunCleanup(run);
  EXPECT_TRUE(e2e::ListTree(temp.path()).empty());
}

TEST(ErrorLog, NoLogWithoutReleaseFolderOrWhenSwitchedOff) {
  e2e::TempFolder temp;
  CheckRun run;
  run.releaseDir = temp.path();
  HandleRunError(run, 5, "x");  // ON_ERR_MK_FILE off
  EXPECT_TRUE(e2e::ListTree(temp.path()).empty());
  run.settings.ON_ERR_MK_FILE = true;
  run.releaseDir = "";
  EXPECT_NO_THROW(HandleRunError(run, 5, "x"));
  run.releaseDir = "C:";
  EXPECT_NO_THROW(HandleRunError(run, 5, "x"));
}

}  // namespace
