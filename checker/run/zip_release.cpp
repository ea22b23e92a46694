// Zip releases: file_id.diz taken out of the first archive, the expected
// number of archives read from it, and each uploaded archive tested and
// counted in the status text.
#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>
#include <vector>

#include "checker/run/permissions.h"
#include "checker/run/phases.h"
#include "checker/run/run_error.h"
#include "checker/unzip/vb_unz_bas.h"
#include "common/numtext.h"
#include "common/strings.h"
#include "platform/platform.h"
#include "release/ignore_failure.h"
#include "release/own_files.h"
#include "unzip32/zip_reader.h"

namespace {

using release::IgnoreFailure;

// A description file is a few lines; anything larger is not one.
constexpr std::size_t kMaxDizBytes = 1 << 20;

std::string DizPath(const CheckRun& run) {
  return run.releaseDir + platform::kSeparator + release::kDizName;
}

// Whether a member is file_id.diz once its folder part is dropped, letter
// case ignored. Archives made on Windows may use either separator.
bool IsFileIdDiz(const std::string& memberName) {
  return strings::EqualsIgnoreCase(strings::FileNamePart(memberName), release::kDizName);
}

// Writes the archive's first file_id.diz to `target` if it passes its test.
// The file appears whole or not at all, so a run checking for it at the same
// time never reads half of it.
void TakeOutFileIdDiz(platform::FileSystem& files, const std::string& archivePath,
                      const std::string& target) {
  zipreader::ZipArchive archive(archivePath);
  for (const zipreader::Member& member : archive.members()) {
    if (!IsFileIdDiz(member.name)) continue;
    std::optional<std::string> content = archive.Extract(member, kMaxDizBytes);
    if (content) files.WriteFileAtomically(target, *content);
    return;
  }
}

// Waits until more than `seconds` have passed (none: the clock moves on).
void WaitSeconds(std::int16_t seconds) {
  const double until = platform::ElapsedSeconds() + seconds;
  for (double now = platform::ElapsedSeconds(); now <= until; now = platform::ElapsedSeconds()) {
    std::this_thread::sleep_for(std::chrono::duration<double>(std::min(until - now, 0.05)));
  }
}

// The expected count in one line: the text between the "/" and the "]" that
// follow a "[", when it is at most two characters long.
std::optional<float> CountInLine(const std::string& line) {
  for (std::size_t open = line.find('['); open != std::string::npos;
       open = line.find('[', open + 1)) {
    std::size_t slash = line.find('/', open + 1);
    if (slash == std::string::npos) continue;
    std::size_t close = line.find(']', slash + 1);
    if (close == std::string::npos || close - slash >= 4) continue;
    std::optional<float> count = numtext::ParseSingle(line.substr(slash + 1, close - slash - 1));
    if (!count) throw RunError(platform::kTypeMismatch);
    return count;
  }
  return std::nullopt;
}

// The good archives of a set, as the status text keeps them: their count,
// then the name of each archive it counts, each after a "|" ("2|a1.zip|a2.zip").
// The count leads, so older runs and stores read the text as the count
// alone; a count from such a store names no archives.
struct GoodArchives {
  double count = 0;
  std::vector<std::string> names;

  explicit GoodArchives(const std::string& statusText)
      : count(numtext::ParseLeadingNumber(statusText)) {
    std::vector<std::string> fields = strings::Split(statusText, "|");
    for (std::size_t i = 1; i < fields.size(); ++i) {
      if (!fields[i].empty()) names.push_back(std::move(fields[i]));
    }
  }

  std::string Text() const {
    std::string text = numtext::FormatDouble(count);
    for (const std::string& name : names) text += "|" + name;
    return text;
  }
};

}  // namespace

bool ExtractFileIdDiz(CheckRun& run) {
  const std::string path = DizPath(run);
  if (run.files.FileExists(path)) return true;
  // Like an outside unzip program, the extraction's own failure is not
  // observed: only whether the file is there after the wait counts.
  IgnoreFailure([&] { TakeOutFileIdDiz(run.files, run.targetPath, path); });
  WaitSeconds(run.settings.ZIP_TIME_WAIT);
  if (!run.files.FileExists(path)) return false;
  SetPermissions(run, kReleaseEntryMode, run.userName, run.groupName, path, 0);
  return true;
}

bool ReadZipExpectedCount(CheckRun& run) {
  for (const std::string& line : run.files.ReadTextLines(DizPath(run))) {
    if (std::optional<float> count = CountInLine(line)) {
      run.counters.totalFiles = *count;
      break;
    }
  }
  return run.counters.totalFiles != 0;
}

std::vector<std::string> ListZipArchives(CheckRun& run) {
  std::vector<std::string> archives;
  for (const platform::DirEntry& entry : run.files.ListFolder(run.releaseDir)) {
    if (!entry.isFolder && strings::ContainsIgnoreCase(entry.name, ".zip") &&
        !strings::EndsWithIgnoreCase(entry.name, ".bad"))
      archives.push_back(run.releaseDir + platform::kSeparator + entry.name);
  }
  std::sort(archives.begin(), archives.end());
  return archives;
}

namespace {

// An archive counts once however often it arrives, and no longer once it
// arrives damaged. Names compare without regard to letter case, as the
// server's file system does.
void TestOneArchive(CheckRun& run, GoodArchives& archives, const std::string& path) {
  ReleaseCounters& counters = run.counters;
  const std::string name = strings::AfterLastSeparator(path);
  const auto counted =
      std::find_if(archives.names.begin(), archives.names.end(),
                   [&](const auto& n) { return strings::EqualsIgnoreCase(n, name); });
  // A test that cannot be made at all counts as a bad archive, never a good one.
  bool good = false;
  IgnoreFailure([&] { good = TestArchive(path) == 0; });
  if (good && counted == archives.names.end()) {
    archives.count += 1;
    archives.names.push_back(name);
    IgnoreFailure(
        [&] { counters.runSizeKb += static_cast<double>(run.files.FileLength(path)) / 1000; });
    counters.runGoodCount += 1;
  } else if (!good && SetBadFileAside(run, path, OlderBadFile::kRemovedWhenSetAside)) {
    // An archive still being written is neither counted nor uncounted: it has
    // no verdict yet.
    if (counted != archives.names.end()) {
      archives.count -= 1;
      archives.names.erase(counted);
    }
    counters.badFiles += 1;
  }
}

}  // namespace

// An upload tests its own archive; a re-check every archive of the set.
void TestZipRelease(CheckRun& run) {
  ReleaseCounters& counters = run.counters;
  GoodArchives archives(run.previousStatusFlags);
  if (run.isRecheck) {
    std::vector<std::string> present;
    IgnoreFailure([&] { present = ListZipArchives(run); });
    for (const std::string& path : present) TestOneArchive(run, archives, path);
  } else {
    TestOneArchive(run, archives, run.targetPath);
  }
  run.statusFlags = archives.Text();
  counters.missingFiles =
      counters.totalFiles - counters.badFiles - static_cast<float>(archives.count);
  CompleteRelease(run);
}
