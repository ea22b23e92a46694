#include "settings/checker_settings.h"

#include <algorithm>

#include "common/numtext.h"
#include "platform/platform.h"
#include "settings/setting_keys.h"
#include "settings/setting_lines.h"

namespace settings {
namespace {

template <typename Value>
Value& FieldOf(CheckerSettings& settings, const SettingKey& key) {
  return settings.*std::get<Value CheckerSettings::*>(key.field);
}

// Stores a converted value; a value that its kind rejects changes nothing.
template <typename Value>
bool StoreIfValid(CheckerSettings& settings, const SettingKey& key,
                  const std::optional<Value>& converted) {
  if (converted) FieldOf<Value>(settings, key) = *converted;
  return converted.has_value();
}

}  // namespace

bool ApplySetting(CheckerSettings& settings, const SettingKey& key, const std::string& value) {
  switch (key.kind) {
    case SettingKind::kNumberFlag:
      FieldOf<bool>(settings, key) = numtext::ParseLeadingNumber(value) != 0;
      return true;
    case SettingKind::kYesNo:
      return StoreIfValid(settings, key, numtext::ParseYesNo(value));
    case SettingKind::kWholeNumber:
      return StoreIfValid(settings, key, numtext::ParseWholeNumber(value));
    case SettingKind::kDecimalNumber:
      return StoreIfValid(settings, key, numtext::ParseSingle(value));
    case SettingKind::kText:
    case SettingKind::kTemplate:
      FieldOf<std::string>(settings, key) = value;
      return true;
    case SettingKind::kCommentLine:
      FieldOf<std::string>(settings, key) += ";" + value + "\r\n";
      return true;
    case SettingKind::kMessageLine:
      FieldOf<std::vector<std::string>>(settings, key).push_back(value);
      return true;
  }
  return false;
}

void ApplyPostLoadRules(CheckerSettings& settings) {
  // MK_PARENT 2 rules out UP_TWO_IF_MULTI; a release with a 'complete' parent
  // entry keeps its store, which names that entry for the next run to remove.
  if (settings.MK_PARENT == 2) settings.UP_TWO_IF_MULTI = false;
  if (!settings.COM_MAKE_IN_PARENT.empty()) settings.DELETE_SFV_STATUS_ON_SFV_COMPLETE = false;
}

const SettingKey* FindSettingKey(std::string_view upperName) {
  auto found = std::find_if(kSettingKeys.begin(), kSettingKeys.end(),
                            [upperName](const SettingKey& key) { return key.name == upperName; });
  return found == kSettingKeys.end() ? nullptr : &*found;
}

std::string SettingsFilePath(const std::string& programFolder) {
  if (programFolder.empty() || programFolder.back() == platform::kSeparator) {
    return programFolder + kSettingsFileName;
  }
  return programFolder + platform::kSeparator + kSettingsFileName;
}

CheckerSettings LoadSettings(platform::FileSystem& files, const std::string& programFolder) {
  return LoadSettingsFromLines(files.ReadTextLines(SettingsFilePath(programFolder)));
}

CheckerSettings LoadSettingsFromLines(const std::vector<std::string>& lines) {
  CheckerSettings settings;
  for (const std::string& line : lines) {
    std::optional<SettingLine> setting = SplitSettingLine(line);
    if (!setting) continue;
    if (const SettingKey* key = FindSettingKey(setting->key)) {
      ApplySetting(settings, *key, setting->value);
    }
  }
  ApplyPostLoadRules(settings);
  return settings;
}

}  // namespace settings
