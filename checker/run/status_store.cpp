#include "checker/run/status_store.h"

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "checker/run/phases.h"
#include "checker/run/run_error.h"
#include "common/numtext.h"
#include "common/strings.h"
#include "platform/platform.h"
#include "release/ignore_failure.h"
#include "release/paths.h"

namespace {

using release::IgnoreFailure;

constexpr std::size_t kFieldCount = 6;
constexpr std::size_t kFixedLines = 9;
constexpr std::size_t kMaxRecords = std::numeric_limits<std::int16_t>::max();
// Above this a single no longer counts whole files one by one, and the
// ranking's percentage of such a count would pass the single range.
constexpr float kMaxFileCount = 16777216;

// A value as the store keeps it: a line break would start a line of its own
// (a forged user record, say), and inside a record a "|" would start another
// field. Each such character becomes a blank.
std::string StoredText(std::string text, bool recordField) {
  for (char& c : text) {
    if (c == '\r' || c == '\n' || (recordField && c == '|')) c = ' ';
  }
  return text;
}

// The -l: value as the run read it: its single-precision text, not the
// binary fraction beyond it (0.1, not 0.100000001490116).
double SingleAsShown(float value) {
  return numtext::ParseDouble(numtext::FormatSingle(value)).value_or(value);
}

// Names of entries that later runs delete must name something inside the
// release (or the parent folder), never a path elsewhere.
void TakeStoredName(std::string& field, const std::string& stored) {
  if (stored.empty() || strings::IsPlainName(stored)) field = stored;
}

// A stored total as a single. One beyond the single range does not convert,
// so its read fails and the field keeps its value: an infinite total could
// never be written back, and every later run would fail on it.
std::optional<float> StoredSingle(const std::string& text) {
  const double value = numtext::ParseLeadingNumber(text);
  if (std::fabs(value) > std::numeric_limits<float>::max()) return std::nullopt;
  return static_cast<float>(value);
}

// A re-check takes neither the stored verdicts nor the size of the files they
// found good: its pass reads and sizes every file anew.
void ReadFixedLines(CheckRun& run, const std::vector<std::string>& lines) {
  auto line = [&](std::size_t number) -> const std::string* {
    return number <= lines.size() ? &lines[number - 1] : nullptr;
  };
  if (auto* flags = line(1); flags && !run.isRecheck) run.previousStatusFlags = *flags;
  if (auto* header = line(3)) TakeStoredName(run.headerName, *header);
  if (auto* entry = line(4)) TakeStoredName(run.parentEntryName, *entry);
  if (auto* sum = line(5)) {
    if (auto stored = StoredSingle(*sum); stored && std::isfinite(run.lTotal + *stored))
      run.lTotal += *stored;
  }
  if (auto* size = line(6); size && !run.isRecheck) {
    run.counters.releaseSizeKb = StoredSingle(*size).value_or(run.counters.releaseSizeKb);
  }
  if (auto* mp3 = line(7)) run.isMp3Release = numtext::ParseYesNo(*mp3).value_or(run.isMp3Release);
  if (auto* year = line(8); year && run.id3Year == kNoId3Year) run.id3Year = *year;
  if (auto* genre = line(9); genre && run.id3Genre == kNoId3Genre) run.id3Genre = *genre;
}

void RebuildRankKeys(CheckRun& run) {
  run.rankKeys.clear();
  for (const UserStat& stat : run.userStats) run.rankKeys.push_back(RankKey(stat));
}

// A complete release whose store goes at the end of the run gets none written.
bool StoreDeletedOnCompletion(const CheckRun& run) {
  return run.releaseComplete && run.settings.DELETE_SFV_STATUS_ON_SFV_COMPLETE;
}

}  // namespace

std::string StatusStorePath(const CheckRun& run) {
  return run.releaseDir + platform::kSeparatorText + release::kStatusStoreName;
}

std::string RankKey(const UserStat& stat) {
  return numtext::FormatDouble(numtext::RoundHalfEven(stat.sizeKb, 0)) + "." +
         numtext::FormatInteger(stat.ordinal);
}

std::string FormatUserStat(const UserStat& stat) {
  return numtext::FormatInteger(stat.ordinal) + "|" + StoredText(stat.userName, true) + "|" +
         StoredText(stat.groupName, true) + "|" + numtext::FormatDouble(stat.sizeKb) + "|" +
         numtext::FormatDouble(stat.lAverage) + "|" + numtext::FormatSingle(stat.fileCount);
}

UserStat ParseUserStat(const std::string& line, std::int16_t position) {
  // Each field ends at the next "|"; the file count is all that follows the
  // fifth. A field whose "|" is missing is not cut out.
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (std::size_t pipe;
       fields.size() + 1 < kFieldCount && (pipe = line.find('|', start)) != std::string::npos;
       start = pipe + 1) {
    fields.push_back(line.substr(start, pipe - start));
  }
  if (fields.size() + 1 == kFieldCount) fields.push_back(line.substr(start));
  fields.resize(kFieldCount);

  UserStat stat;
  stat.ordinal = position;
  stat.userName = fields[1];
  stat.groupName = fields[2];
  stat.sizeKb = numtext::ParseDouble(fields[3]).value_or(0);
  stat.lAverage = numtext::ParseDouble(fields[4]).value_or(0);
  const float fileCount = numtext::ParseSingle(fields[5]).value_or(0);
  if (std::fabs(fileCount) <= kMaxFileCount) stat.fileCount = fileCount;
  return stat;
}

std::string FormatStatusStore(const CheckRun& run) {
  std::vector<std::string> lines = {
      run.statusFlags,
      run.userName,
      run.headerName,
      run.parentEntryName,
      numtext::FormatSingle(run.lTotal),
      numtext::FormatSingle(run.counters.releaseSizeKb),
      run.isMp3Release ? "True" : "False",
      run.id3Year,
      run.id3Genre,
  };
  for (const UserStat& stat : run.userStats) lines.push_back(FormatUserStat(stat));
  std::string text;
  for (const std::string& line : lines) text += StoredText(line, false) + "\r\n";
  return text;
}

double AverageAfter(double previousAverage, float fileCount, float good, float value) {
  if (fileCount <= 0) return previousAverage;
  double earlier = static_cast<double>(fileCount) - good;
  return (previousAverage * earlier + static_cast<double>(value) * good) / fileCount;
}

bool HandleStatusStoreUpload(CheckRun& run) {
  // The uploaded file's own name tells, not its folders': a release may be
  // called "My.SfvStatus.Rel".
  if (!strings::ContainsIgnoreCase(strings::AfterLastSeparator(run.targetPath),
                                   release::kStatusStoreName))
    return false;
  if (run.settings.DELETE_SFV_STATUS_ON_UPLOAD) run.files.DeleteFile(run.targetPath, false);
  return true;
}

void ReadStatusStore(CheckRun& run) {
  const std::string path = StatusStorePath(run);
  if (!run.files.FileExists(path)) return;
  std::vector<std::string> lines;
  IgnoreFailure([&] { lines = run.files.ReadTextLines(path); });
  ReadFixedLines(run, lines);
  for (std::size_t i = kFixedLines; i < lines.size() && run.userStats.size() < kMaxRecords; ++i) {
    run.userStats.push_back(
        ParseUserStat(lines[i], static_cast<std::int16_t>(run.userStats.size() + 1)));
  }
  RebuildRankKeys(run);
}

void UpdateUserStats(CheckRun& run) {
  if (run.isRecheck) return;  // an operator's re-check uploaded nothing
  const float good = run.counters.runGoodCount;
  const double sizeKb = run.counters.runSizeKb;
  // Names compare as the store keeps them, the form records are read back in.
  const std::string storedName = StoredText(run.statUserName, true);
  bool matched = false;
  for (UserStat& stat : run.userStats) {
    if (StoredText(stat.userName, true) != storedName) continue;
    matched = true;
    stat.fileCount += good;
    // From the first match on a failing step is skipped: a stored total
    // whose update overflows keeps its value rather than failing every
    // later run of the release.
    IgnoreFailure([&] { stat.sizeKb = numtext::RoundHalfEven(stat.sizeKb + sizeKb, 2); });
    IgnoreFailure([&] {
      stat.lAverage = numtext::RoundHalfEven(
          AverageAfter(stat.lAverage, stat.fileCount, good, run.statLValue), 1);
    });
  }
  if (!matched && run.userStats.size() < kMaxRecords) {
    UserStat stat;
    stat.ordinal = static_cast<std::int16_t>(run.userStats.size() + 1);
    stat.userName = run.statUserName;
    stat.groupName = run.statGroupName;
    stat.sizeKb = sizeKb;
    stat.lAverage = SingleAsShown(run.statLValue);
    stat.fileCount = good;
    run.userStats.push_back(stat);
  }
  // The ranking of the rest of the run counts this upload.
  RebuildRankKeys(run);
}

void WriteStatusStore(CheckRun& run) {
  if (StoreDeletedOnCompletion(run)) return;
  const std::string path = StatusStorePath(run);
  run.files.WriteFileAtomically(path, FormatStatusStore(run));
  // The store of a complete release keeps the entry it has: the lock's, when
  // the release was just locked.
  if (run.releaseComplete) return;
  const settings::CheckerSettings& s = run.settings;
  ExpandedTemplates& expanded = run.expanded;
  expanded.chmodSfvStatusU = ExpandTemplate(run, s.CHMOD_SFVSTATUSU, false);
  expanded.chmodSfvStatusG = ExpandTemplate(run, s.CHMOD_SFVSTATUSG, false);
  SetPermissions(run, s.CHMOD_SFVSTATUS, expanded.chmodSfvStatusU, expanded.chmodSfvStatusG, path,
                 1);
}

void DeleteStatusStore(CheckRun& run) {
  const std::string path = StatusStorePath(run);
  if (StoreDeletedOnCompletion(run) && run.files.FileExists(path)) run.files.DeleteFile(path, true);
}
