#include "checker/run/phases.h"
#include "common/strings.h"
#include "platform/platform.h"

namespace {

constexpr std::size_t kCrcLength = 8;

}  // namespace

void FindReleaseSfv(CheckRun& run) {
  // The last matching entry of the listing wins.
  for (const auto& entry : ReleaseEntries(run)) {
    if (strings::EndsWithIgnoreCase(entry.name, "sfv"))
      run.targetPath = run.releaseDir + platform::kSeparator + entry.name;
  }
}

void ReadSfvList(CheckRun& run) {
  for (const std::string& line : run.files.ReadTextLines(run.targetPath)) {
    if (line.find(';') != std::string::npos) continue;  // comment
    std::size_t lastSpace = line.rfind(' ');
    if (lastSpace == std::string::npos) continue;  // malformed
    run.sfvList.push_back({line.substr(lastSpace + 1, kCrcLength), line.substr(0, lastSpace)});
    run.counters.totalFiles += 1;
  }
}
