// The settings check: how the checker reads a corvane.ini, line by line, what
// in it would fail at run time, and a preview of every template expanded for
// the sample releases. It reads only; nothing is written anywhere.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "settings/checker_settings.h"

// Appends the report for the lines of a settings file to `report`. Returns
// the exit status: 0 when nothing would fail, 1 otherwise. `files` only
// answers whether the folders the settings name exist.
int CheckSettings(platform::FileSystem& files, const std::vector<std::string>& lines,
                  std::string& report);

// ---- The check's parts, for its own files ------------------------------------

struct Finding {
  int line = 0;       // the line it concerns; 0: the file as a whole
  bool fault = true;  // would fail, or reads otherwise than written; else a note
  std::string text;
};

struct SettingsReading {
  settings::CheckerSettings settings;              // as the checker loads them
  std::vector<std::pair<int, std::string>> lines;  // line number, how it was read
  std::vector<Finding> findings;
  std::map<std::string_view, int> lastLine;  // the line that set a key last
  std::vector<int> messageLineNumbers;       // the line of each MSGLINE

  // The line that set `key` last, 0 when none did.
  int LineOf(std::string_view key) const;
};

// setting_reading.cpp: every line by the loader's rules.
SettingsReading ReadSettingLines(const std::vector<std::string>& lines);

// template_check.cpp: every template the run uses, expanded for each sample
// state; failures and refused names become findings, and the expansions the
// preview text.
void CheckTemplates(platform::FileSystem& files, SettingsReading& reading, std::string& preview);

// What makes `name` unfit as the name of a file or folder the checker makes
// ("it holds \"/\""), or "" when the platform takes it.
std::string NameProblem(const std::string& name);
