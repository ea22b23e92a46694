#include "checker/operator/nearest_key.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "settings/setting_keys.h"

namespace {

// Levenshtein distance, one row at a time.
std::size_t EditDistance(std::string_view from, std::string_view to) {
  std::vector<std::size_t> row(to.size() + 1);
  std::iota(row.begin(), row.end(), 0);
  for (std::size_t i = 1; i <= from.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= to.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (from[i - 1] != to[j - 1])});
      diagonal = above;
    }
  }
  return row[to.size()];
}

}  // namespace

std::string_view NearestSettingKey(std::string_view upperKey) {
  const auto nearest =
      std::min_element(settings::kSettingKeys.begin(), settings::kSettingKeys.end(),
                       [upperKey](const settings::SettingKey& a, const settings::SettingKey& b) {
                         return EditDistance(upperKey, a.name) < EditDistance(upperKey, b.name);
                       });
  return nearest->name;
}
