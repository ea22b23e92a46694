#include "updater/settings_migration.h"

#include <array>
#include <map>
#include <string_view>
#include <utility>

#include "common/contact.h"
#include "common/numtext.h"
#include "common/version.h"
#include "settings/setting_keys.h"
#include "settings/setting_lines.h"

namespace updater {

namespace {

using settings::SettingKey;
using settings::SettingKind;

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kBannerRule = "##############################################";

struct Section {
  std::string_view heading;
  std::string_view firstKey;  // the key table is in layout order
};

constexpr std::array<Section, 9> kSections = {{
    {"[Header_Setup]", "MK_FOLDER_HEADER"},
    {"[Parent_header_setup]", "MULTICD_KEYS"},
    {"[SFV_setup]", "APPEND_MSG_TO_SFV"},
    {"[Error_Setup]", "SITECMD"},
    {"[File_Handling Setup]", "ISSERVG6"},
    {"[Message_Setup]", "SHOW_IND_STATUS_IN_MSG"},
    {"[Status_Bar_Setup]", "BADMSG"},
    {"[Header_deletion_setup]", "DEL_NOT_CONTAIN"},
    {"[CHMODDING_and_LOCKING]", "LOCK_FOLDER_IF_COMPLETE"},
}};

using KeyText = std::pair<std::string_view, std::string_view>;

// Keys that settings files have always spelled with a lower-case "s"; the
// loaders compare keys upper-cased, so they read back under their own name.
constexpr std::array<KeyText, 3> kWrittenNames = {{
    {"DELETE_SFV_STATUS_ON_SFV_COMPLETE", "DELETE_SFV_STATUs_ON_SFV_COMPLETE"},
    {"DELETE_SFV_STATUS_ON_UPLOAD", "DELETE_SFV_STATUs_ON_UPLOAD"},
    {"SHOW_IND_STATUS_IN_MSG", "SHOW_IND_STATUs_IN_MSG"},
}};

// Written in place of an empty or missing old value.
constexpr std::array<KeyText, 2> kDefaults = {{
    {"ZIP_TIME_WAIT", ".25"},
    {"MULTICD_KEYS", "CD1|CD2|CD3|CD4|CD5|CD6|CD7|CD8|CD9|DVD|SAMPLE|EXTRA"},
}};

template <std::size_t N>
std::string_view Lookup(const std::array<KeyText, N>& table, std::string_view key,
                        std::string_view otherwise) {
  for (const auto& [name, text] : table) {
    if (name == key) return text;
  }
  return otherwise;
}

bool IsCollected(SettingKind kind) {
  return kind == SettingKind::kCommentLine || kind == SettingKind::kMessageLine;
}

// One text per key the old file has: the last value as written, the leading
// number of a number flag, or the collected block of a repeatable key.
using OldValues = std::map<std::string_view, std::string>;

OldValues ReadOldValues(const std::vector<std::string>& lines) {
  OldValues values;
  for (const std::string& line : lines) {
    const auto setting = settings::SplitSettingLine(line);
    if (!setting) continue;
    const SettingKey* key = settings::FindSettingKey(setting->key);
    if (key == nullptr) continue;
    std::string& value = values[key->name];
    if (IsCollected(key->kind)) {
      value.append(key->name).append("=").append(setting->value).append(kLineEnd);
    } else if (key->kind == SettingKind::kNumberFlag) {
      value = numtext::FormatDouble(numtext::ParseLeadingNumber(setting->value));
    } else {
      value = setting->value;
    }
  }
  return values;
}

void AppendLine(std::string& out, std::string_view text) { out.append(text).append(kLineEnd); }

void AppendBanner(std::string& out) {
  AppendLine(out, kBannerRule);
  AppendLine(out, "## ini ready for corvane " + std::string(ProgramVersion()));
  AppendLine(out, std::string("## Scripts www: ") + contact::kWebAddress);
  AppendLine(out, std::string("## Forum: ") + contact::kForumAddress);
  AppendLine(out, std::string("## Contact: ") + contact::kEmailAddress);
  AppendLine(out, "##");
  AppendLine(out, "##This software has been fully tested, however");
  AppendLine(out, "## if you use it, you do so at your own risk");
  AppendLine(out, kBannerRule);
}

void AppendKey(std::string& out, const SettingKey& key, const OldValues& values) {
  const auto found = values.find(key.name);
  const std::string_view value = found == values.end() ? std::string_view() : found->second;
  if (IsCollected(key.kind)) {
    // The block's own lines, then one more line end even when it is empty.
    AppendLine(out, value);
    return;
  }
  std::string line(Lookup(kWrittenNames, key.name, key.name));
  line.append("=").append(value.empty() ? Lookup(kDefaults, key.name, "") : value);
  AppendLine(out, line);
}

}  // namespace

std::string MigrateSettings(const std::vector<std::string>& oldLines) {
  const OldValues values = ReadOldValues(oldLines);
  std::string out;
  AppendBanner(out);
  std::size_t nextSection = 0;
  for (const SettingKey& key : settings::kSettingKeys) {
    if (nextSection < kSections.size() && key.name == kSections[nextSection].firstKey) {
      if (nextSection > 0) out.append(kLineEnd);
      AppendLine(out, kSections[nextSection].heading);
      ++nextSection;
    }
    AppendKey(out, key, values);
  }
  return out;
}

}  // namespace updater
