// The settings check's reading of each line: the loader's own line rules and
// conversions, with what a line means that the loader passes over in silence.
#include <optional>

#include "checker/operator/nearest_key.h"
#include "checker/operator/setting_texts.h"
#include "checker/operator/settings_check.h"
#include "common/numtext.h"
#include "common/strings.h"
#include "settings/setting_keys.h"
#include "settings/setting_lines.h"

namespace {

using settings::SettingKey;
using settings::SettingKind;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

bool IsRepeatable(SettingKind kind) {
  return kind == SettingKind::kCommentLine || kind == SettingKind::kMessageLine;
}

bool IsTextKind(SettingKind kind) {
  return kind == SettingKind::kText || kind == SettingKind::kTemplate || IsRepeatable(kind);
}

// What the kinds that reject values take.
const char* AcceptedValues(SettingKind kind) {
  switch (kind) {
    case SettingKind::kYesNo:
      return "True, False or a number";
    case SettingKind::kWholeNumber:
      return "a whole number from -32768 to 32767";
    default:
      return "a number";
  }
}

// Words that mean "on" to a reader, and "off" to a number flag.
bool IsOnWord(std::string_view value) {
  const std::string word = strings::ToLower(Trimmed(value));
  return word == "true" || word == "yes" || word == "on";
}

class LineReader {
 public:
  LineReader(SettingsReading& reading, int number) : r_(reading), number_(number) {}

  void Read(const std::string& line) {
    if (line.empty()) return;
    if (line.front() == ';' || line.front() == '#') return Say("comment");
    const std::optional<settings::SettingLine> setting = settings::SplitSettingLine(line);
    if (!setting) {
      if (line.front() == '[') return Say("section heading");
      if (line.find('=') == std::string::npos) return Say("not a setting (no \"=\"): ignored");
      return Say("nothing before \"=\": sets nothing");
    }
    if (const SettingKey* key = settings::FindSettingKey(setting->key)) {
      ReadKnown(*key, setting->value);
    } else {
      ReadUnknown(setting->key);
    }
  }

 private:
  void Say(std::string text) { r_.lines.emplace_back(number_, std::move(text)); }
  void Find(std::string text, bool fault = true) {
    r_.findings.push_back({number_, fault, std::move(text)});
  }

  void ReadUnknown(const std::string& key) {
    Say("unknown key " + Quoted(key) + ": ignored");
    const std::string trimmed = Trimmed(key);
    if (trimmed != key && settings::FindSettingKey(trimmed)) {
      Find("the blanks around \"=\" belong to the key: write " + trimmed + "=");
    } else {
      Find("nearest known key: " + std::string(NearestSettingKey(key)));
    }
  }

  void ReadKnown(const SettingKey& key, const std::string& value) {
    const std::string name(key.name);
    r_.lastLine[key.name] = number_;
    if (key.kind == SettingKind::kMessageLine) r_.messageLineNumbers.push_back(number_);
    const bool accepted = settings::ApplySetting(r_.settings, key, value);
    const std::string kind = " (" + std::string(KindName(key.kind)) + ")";
    if (IsRepeatable(key.kind)) {
      Say(name + ": adds " + Quoted(value) + kind);
    } else if (accepted) {
      Say(name + ": " + ValueText(r_.settings, key) + kind);
    } else {
      Say(name + ": rejected, stays " + ValueText(r_.settings, key) + kind);
      Find(Quoted(value) + " is not " + AcceptedValues(key.kind));
    }
    if (key.kind == SettingKind::kWholeNumber && accepted &&
        numtext::ParseNumber(value) != *numtext::ParseWholeNumber(value)) {
      Find(Quoted(value) + " is rounded to " + ValueText(r_.settings, key), false);
    }
    if (key.kind == SettingKind::kNumberFlag && IsOnWord(value)) {
      Find(Quoted(value) +
           " reads as off: a number flag reads the number at the start of its value; write 1 "
           "for on");
    }
    if (IsTextKind(key.kind) && !value.empty() && (IsBlank(value.front()) || IsBlank(value.back())))
      Find("the blanks at the start or end of the value are part of it", false);
  }

  SettingsReading& r_;
  int number_;
};

}  // namespace

int SettingsReading::LineOf(std::string_view key) const {
  const auto set = lastLine.find(key);
  return set == lastLine.end() ? 0 : set->second;
}

SettingsReading ReadSettingLines(const std::vector<std::string>& lines) {
  SettingsReading reading;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    LineReader(reading, static_cast<int>(i + 1)).Read(lines[i]);
  }
  // The rules after the last line may switch a value the file set.
  const settings::CheckerSettings asRead = reading.settings;
  settings::ApplyPostLoadRules(reading.settings);
  for (const SettingKey& key : settings::kSettingKeys) {
    const std::string after = ValueText(reading.settings, key);
    if (after == ValueText(asRead, key)) continue;
    reading.findings.push_back(
        {reading.LineOf(key.name), false,
         std::string(key.name) + " ends " + after + " by the rules applied after the last line"});
  }
  return reading;
}
