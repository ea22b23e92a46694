// Checker runs for the unit tests: the run's state with settings that the
// test may change at any time, and a whole run in-process; each with a
// permission recorder and the file system the test chooses.
#pragma once

#include <string>

#include "checker/run/check_run.h"
#include "checker/run/phases.h"
#include "platform/file_system.h"
#include "settings/checker_settings.h"
#include "tests/support/files.h"
#include "tests/support/permission_recorder.h"
#include "tests/support/temp_folder.h"

namespace support {

struct RunUnderTest {
  explicit RunUnderTest(platform::FileSystem& files = platform::SystemFileSystem())
      : run(settings, files, permissions) {}
  RunUnderTest(const RunUnderTest&) = delete;
  RunUnderTest& operator=(const RunUnderTest&) = delete;

  settings::CheckerSettings settings;
  PermissionRecorder permissions;
  CheckRun run;
};

// A whole run from corvane.ini in a program folder of its own to the exit
// status, as the server starts it for each upload into the site folder.
struct WholeRun {
  explicit WholeRun(const std::string& settingsText,
                    platform::FileSystem& fileSystem = platform::SystemFileSystem())
      : files(fileSystem) {
    WriteFile(programs / "corvane.ini", settingsText);
  }

  // The run for the upload of `path`, with its CRC as the server passes it.
  int Upload(const std::string& path, const std::string& options = "-u:bob -l:1 -s:x") {
    return RunChecker(programs.path(), path + " " + Crc32Text(ReadFile(path)) + " " + options,
                      files, permissions);
  }

  TempFolder programs;
  TempFolder site;
  platform::FileSystem& files;
  PermissionRecorder permissions;
};

}  // namespace support
