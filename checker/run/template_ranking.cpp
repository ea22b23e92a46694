// The ranking block: the template repeated once per uploading user, biggest
// upload first. The rank keys ("<whole KB>.<ordinal>") are sorted by the
// number they read as; equal sizes keep their order.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "checker/run/run_error.h"
#include "checker/run/template_parts.h"
#include "common/numtext.h"
#include "common/strings.h"

namespace {

using strings::ReplaceAll;

void SortRankKeys(std::vector<std::string>& keys) {
  std::vector<std::pair<double, std::string>> valued;
  valued.reserve(keys.size());
  for (std::string& key : keys)
    valued.emplace_back(numtext::ParseLeadingNumber(key), std::move(key));
  std::stable_sort(valued.begin(), valued.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (std::size_t i = 0; i < keys.size(); ++i) keys[i] = std::move(valued[i].second);
}

// The record a key names: the whole number after its last ".".
const UserStat& RecordOfKey(const UserStatList& stats, const std::string& key) {
  const std::size_t dot = key.rfind('.');
  const auto ordinal =
      numtext::ParseWholeNumber(dot == std::string::npos ? "" : key.substr(dot + 1));
  if (!ordinal) throw RunError(platform::kTypeMismatch);
  if (*ordinal < 1 || static_cast<std::size_t>(*ordinal) > stats.size()) {
    throw RunError(9, "Subscript out of range");
  }
  return stats[static_cast<std::size_t>(*ordinal) - 1];
}

std::string RankText(std::size_t rank) {
  std::string text = numtext::FormatInteger(static_cast<std::int64_t>(rank));
  return rank < 10 ? "0" + text : text;
}

std::string RankLine(const std::string& text, const UserStat& record, std::size_t rank,
                     std::size_t recordCount, float totalFiles) {
  const std::string count = numtext::FormatInteger(static_cast<std::int64_t>(recordCount));
  const float share =
      numtext::RoundHalfEvenSingle(DivideOrFail(record.fileCount, totalFiles), 1) * 100.0f;
  std::string line = ReplaceAll(text, "%RU", record.userName);
  line = ReplaceAll(line, "%RG", record.groupName);
  line = ReplaceAll(line, "%RL", numtext::FormatDouble(record.lAverage));
  line = ReplaceAll(line, "%RSb", numtext::FormatDouble(record.sizeKb));
  line = ReplaceAll(line, "%RSm", numtext::FormatDouble(record.sizeKb / 1000));
  line = ReplaceAll(line, "%RF", numtext::FormatSingle(record.fileCount));
  line = ReplaceAll(line, "%RCu", count);
  line = ReplaceAll(line, "%RCg", count);
  line = ReplaceAll(line, "%RP", numtext::FormatSingle(share));
  return ReplaceAll(line, "%RR", RankText(rank));
}

}  // namespace

std::string ExpandRanking(CheckRun& run, const std::string& text) {
  SortRankKeys(run.rankKeys);
  std::string block;
  std::size_t rank = 0;
  for (auto key = run.rankKeys.rbegin(); key != run.rankKeys.rend(); ++key) {
    const UserStat& record = RecordOfKey(run.userStats, *key);
    if (rank > 0) block += "\r\n";
    block += RankLine(text, record, ++rank, run.userStats.size(), run.counters.totalFiles);
  }
  return block;
}
