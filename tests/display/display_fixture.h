// A checker run prepared for the display phases: a release folder "Rel" in a
// section folder of a fresh temporary folder, counters of a release with
// seven of ten files good, a recorder in place of the permission control and
// a file system that fails on demand.
#pragma once

#include <string>
#include <vector>

#include "checker/run/check_run.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/files.h"
#include "tests/support/permission_recorder.h"
#include "tests/support/run_under_test.h"
#include "tests/support/temp_folder.h"

namespace display_test {

using support::OsErrorOf;
using support::PermissionCall;

struct DisplayRun {
  DisplayRun() {
    support::MakeFolder(temp / "section/Rel");
    run.releaseDir = temp / "section/Rel";
    run.parentPath = Section() + "/";
    run.releaseName = "Rel";
    run.userName = "bob";
    run.groupName = "grp";
    run.id3Year = "no_id3_year";
    run.id3Genre = "no_id3_genre";
    settings.SITENAME = "Site";
    settings.PERBAR_CHR = "X";
    settings.PERBAR_NON = "o";
    settings.PERBAR_LEN = 10;
    settings.OUTPUT_WIDTH = 20;
    SetCounts(10, 7, 1, 2);
  }

  std::string Section() const { return temp / "section"; }
  std::string InRelease(const std::string& name) const { return run.releaseDir + "/" + name; }
  // Entries of the section folder, as support::ListTree gives them.
  std::vector<std::string> Tree() const { return support::ListTree(Section()); }
  void SetCounts(float total, float good, float bad = 0, float missing = 0) {
    run.counters.totalFiles = total;
    run.counters.goodFiles = good;
    run.counters.badFiles = bad;
    run.counters.missingFiles = missing;
  }
  // Every permission change the phases asked for, in order.
  const std::vector<PermissionCall>& PermissionCalls() const { return test.permissions.calls; }

  support::TempFolder temp;
  support::FaultyFileSystem files;
  support::RunUnderTest test{files};
  CheckRun& run = test.run;
  settings::CheckerSettings& settings = test.settings;
};

}  // namespace display_test
