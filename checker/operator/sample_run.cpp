#include "checker/operator/sample_run.h"

#include "checker/run/status_store.h"

namespace {

constexpr float kTotalFiles = 5;
constexpr double kFileKb = 15125.4;
constexpr float kLValue = 100;  // each upload's -l: value

struct SampleCounts {
  std::string_view name;
  float total, good, bad, missing;
  float aliceFiles, bobFiles;
};

SampleCounts CountsOf(SampleState state) {
  switch (state) {
    case SampleState::kOneOfFive:
      return {"1 of 5 good", kTotalFiles, 1, 0, 4, 1, 0};
    case SampleState::kFourOfFiveOneBad:
      return {"4 of 5 good, 1 bad", kTotalFiles, 4, 1, 0, 3, 1};
    case SampleState::kComplete:
      return {"complete", kTotalFiles, 5, 0, 0, 3, 2};
    case SampleState::kNoFiles:
      break;
  }
  return {"no files listed", 0, 0, 0, 0, 0, 0};
}

void AddUploader(CheckRun& run, const char* user, const char* group, float files) {
  UserStat stat;
  stat.ordinal = static_cast<std::int16_t>(run.userStats.size() + 1);
  stat.userName = user;
  stat.groupName = group;
  stat.sizeKb = files * kFileKb;
  stat.lAverage = kLValue;
  stat.fileCount = files;
  run.userStats.push_back(stat);
  run.rankKeys.push_back(RankKey(stat));
}

}  // namespace

std::string_view SampleStateName(SampleState state) { return CountsOf(state).name; }

SampleRun::SampleRun(const settings::CheckerSettings& settings, platform::FileSystem& files,
                     SampleState state)
    : run(settings, files, permissions) {
  const SampleCounts counts = CountsOf(state);
  run.releaseName = "Some.Release";
  run.userName = "alice";
  run.groupName = "staff";
  run.id3Year = "2006";
  run.id3Genre = "Rock";
  run.bValue = "192";
  run.lTotal = kLValue * counts.good;
  ReleaseCounters& c = run.counters;
  c.totalFiles = counts.total;
  c.goodFiles = counts.good;
  c.badFiles = counts.bad;
  c.missingFiles = counts.missing;
  c.releaseSizeKb = static_cast<float>(counts.good * kFileKb);
  run.releaseComplete = counts.good == counts.total;
  if (counts.total > 0) {
    AddUploader(run, "alice", "staff", counts.aliceFiles);
    AddUploader(run, "bob", "users", counts.bobFiles);
  }
}
