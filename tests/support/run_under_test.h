// A checker run for the unit tests: settings that the test may change at any
// time, a permission recorder, and the file system the test chooses.
#pragma once

#include "checker/run/check_run.h"
#include "platform/file_system.h"
#include "settings/checker_settings.h"
#include "tests/support/permission_recorder.h"

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

}  // namespace support
