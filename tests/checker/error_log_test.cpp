#include "checker/run/error_log.h"

#include <gtest/gtest.h>

#include "checker/run/phases.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/files.h"
#include "tests/support/permission_recorder.h"
#include "tests/support/run_under_test.h"
#include "tests/support/temp_folder.h"

namespace {

TEST(ErrorLog, LinesForASolutionOfTwoLines) {
  support::RunUnderTest test;
  CheckRun& run = test.run;
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
  support::TempFolder programs;
  support::WriteFile(programs / "corvane.ini", "ON_ERR_MK_FILE=1\r\nISSERVG6=True\r\n");
  support::TempFolder site;
  const std::string release = site / "Rel";
  const std::string oldStore = "00\r\nbob\r\n\r\n\r\n1\r\n0\r\nFalse\r\n";
  support::WriteFile(release + "/.sfvStatus", oldStore);
  support::WriteFile(release + "/rel.sfv", support::SfvText({{"a.r00", "a"}, {"a.r01", "b"}}));
  support::WriteFile(release + "/a.r00", "a");
  support::FaultyFileSystem files;
  files.FillDisk(".sfvStatus");
  support::PermissionRecorder permissions;

  const std::string line = release + "/a.r00 " + support::Crc32Text("a") + " -u:bob -l:1 -s:x";
  EXPECT_EQ(RunChecker(programs.path(), line, files, permissions), 1);
  EXPECT_EQ(support::ReadFile(release + "/.sfvStatus"), oldStore);
  EXPECT_NE(support::ReadFile(release + "/errorlog.txt")
                .find("Error Number: 61\r\nError Description: Disk full\r\n"),
            std::string::npos);
}

}  // namespace
