#include "tests/display/display_fixture.h"

namespace display_test {

DisplayRun::DisplayRun() {
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

void DisplayRun::SetCounts(float total, float good, float bad, float missing) {
  run.counters.totalFiles = total;
  run.counters.goodFiles = good;
  run.counters.badFiles = bad;
  run.counters.missingFiles = missing;
}

}  // namespace display_test
