#include "tests/display/display_fixture.h"

#include "checker/run/phases.h"

namespace display_test {

std::vector<PermissionCall>& PermissionCalls() {
  static std::vector<PermissionCall> calls;
  return calls;
}

DisplayRun::DisplayRun() {
  PermissionCalls().clear();
  e2e::MakeFolder(temp / "section/Rel");
  run.releaseDir = temp / "section/Rel";
  run.parentPath = Section() + "/";
  run.releaseName = "Rel";
  run.userName = "bob";
  run.groupName = "grp";
  run.id3Year = "no_id3_year";
  run.id3Genre = "no_id3_genre";
  settings::CheckerSettings& s = run.settings;
  s.SITENAME = "Site";
  s.PERBAR_CHR = "X";
  s.PERBAR_NON = "o";
  s.PERBAR_LEN = 10;
  s.OUTPUT_WIDTH = 20;
  SetCounts(10, 7, 1, 2);
}

void DisplayRun::SetCounts(float total, float good, float bad, float missing) {
  run.counters.totalFiles = total;
  run.counters.goodFiles = good;
  run.counters.badFiles = bad;
  run.counters.missingFiles = missing;
}

}  // namespace display_test

// The permission control's seam: the recorder stands in for the control and
// keeps the rule that ISSERVG6 makes no call at all.
void SetPermissions(CheckRun& run, const std::string& mode, const std::string& owner,
                    const std::string& group, const std::string& path, int complete) {
  if (run.settings.ISSERVG6) return;
  display_test::PermissionCalls().push_back({mode, owner, group, path, complete});
}
