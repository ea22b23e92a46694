#include "checker/operator/settings_check.h"

#include <algorithm>

#include "checker/operator/sample_run.h"
#include "checker/operator/setting_texts.h"
#include "common/numtext.h"
#include "common/strings.h"
#include "platform/platform.h"

namespace {

void AddFault(SettingsReading& reading, std::string_view key, std::string text) {
  reading.findings.push_back({reading.LineOf(key), true, std::move(text)});
}

// The values the run uses as they stand: the message file's name and the
// folders that take parent entries instead of the parent.
void CheckPaths(platform::FileSystem& files, SettingsReading& reading) {
  const settings::CheckerSettings& s = reading.settings;
  if (const std::string refused = NameProblem(s.MSGFILE); !s.MSGFILE.empty() && !refused.empty()) {
    AddFault(reading, "MSGFILE",
             "MSGFILE cannot name the message file: " + refused + "; writing it fails");
  }
  for (const auto& [key, folder] : {std::pair<std::string_view, const std::string&>{
                                        "PARENT_PATH_OVERRIDE_C", s.PARENT_PATH_OVERRIDE_C},
                                    {"PARENT_PATH_OVERRIDE_I", s.PARENT_PATH_OVERRIDE_I}}) {
    if (folder.empty()) continue;
    const std::string name(key);
    if (folder.back() == platform::kSeparator || folder.back() == '/') {
      AddFault(reading, key, name + " ends with a separator: the entries' paths get it twice");
    }
    if (!files.FolderExists(folder)) {
      AddFault(reading, key,
               name +
                   " names no folder: making a parent entry there ends the run with the "
                   "error log");
    }
  }
}

void AppendFindings(const SettingsReading& reading, int line, std::string& report) {
  for (const Finding& finding : reading.findings) {
    if (finding.line == line) {
      report += std::string(line == 0 ? "" : "      ") + (finding.fault ? "! " : "note: ") +
                finding.text + "\n";
    }
  }
}

std::string LineNumber(int line) {
  std::string text = numtext::FormatInteger(line);
  return "line " + std::string(text.size() < 3 ? 3 - text.size() : 0, ' ') + text + "  ";
}

}  // namespace

std::string NameProblem(const std::string& name) {
  if (platform::IsValidName(name) && strings::IsPlainName(name)) return "";
  std::string refused;
  for (char c : name) {
    if (!platform::IsValidName(std::string(1, c)) && refused.find(c) == std::string::npos)
      refused += c;
  }
  if (refused.empty()) return "it is not a single name";
  return "the platform refuses " + Quoted(refused) + " in names";
}

int CheckSettings(platform::FileSystem& files, const std::vector<std::string>& lines,
                  std::string& report) {
  SettingsReading reading = ReadSettingLines(lines);
  CheckPaths(files, reading);
  std::string preview;
  CheckTemplates(files, reading, preview);

  for (const auto& [line, text] : reading.lines) {
    report += LineNumber(line) + text + "\n";
    AppendFindings(reading, line, report);
  }
  AppendFindings(reading, 0, report);
  report +=
      "\nPreview, in memory only: release Some.Release of 5 files, uploaded by alice (staff) "
      "and bob (users)\n" +
      preview;
  const auto faults = std::count_if(reading.findings.begin(), reading.findings.end(),
                                    [](const Finding& finding) { return finding.fault; });
  if (faults == 0) {
    report += "\nNothing would fail.\n";
    return 0;
  }
  report += "\n" + numtext::FormatInteger(faults) + (faults == 1 ? " problem" : " problems") +
            " (marked \"!\").\n";
  return 1;
}
