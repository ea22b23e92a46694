#include "checker/operator/operator_options.h"

#include "checker/operator/settings_check.h"
#include "common/terminal.h"
#include "platform/file_system.h"
#include "platform/platform.h"
#include "settings/checker_settings.h"

namespace {

constexpr std::string_view kCheckSettings = "--check-settings";

constexpr const char* kUsage =
    "The FTP server starts corvane once for every finished upload. RaidenFTPd, in\n"
    "sitecmd.ini:\n"
    "  onFileUploaded=file://C:\\Progra~1\\RaidenFTPd\\scripting\\corvane.exe %^\\%= %> "
    "-u:%S -l:%V -s:%M\n"
    "On Linux the same line is the program's arguments:\n"
    "  corvane /srv/ftp/Movies/Some.Release/a.r01 1A2B3C4D -u:bob -l:100 -s:x\n"
    "\n"
    "By hand, each option alone on the command line:\n"
    "  corvane --check-settings [PATH]  how corvane.ini (or PATH) reads, and a preview of\n"
    "                                   its templates; exit status 1 when something would fail\n"
    "  corvane --help                   this text\n"
    "  corvane --version                the version\n"
    "\n"
    "corvane.ini lies beside the program; s-readme.htm explains every key.\n";

// The program folder's settings file, or the one PATH names (a folder holding
// one will do). Quotes around PATH, as a Windows prompt keeps them, go.
std::string SettingsPathOf(platform::FileSystem& files, const std::string& programFolder,
                           std::string path) {
  if (path.size() >= 2 && path.front() == '"' && path.back() == '"') {
    path = path.substr(1, path.size() - 2);
  }
  if (path.empty()) return settings::SettingsFilePath(programFolder);
  return files.FolderExists(path) ? settings::SettingsFilePath(path) : path;
}

int CheckSettingsFile(platform::FileSystem& files, const std::string& path) {
  std::vector<std::string> lines;
  try {
    lines = files.ReadTextLines(path);
  } catch (const platform::OsError& error) {
    terminal::Print("corvane --check-settings: cannot read " + path + ": " + error.what() + "\n",
                    true);
    return 1;
  }
  std::string report = "Settings file " + path + "\n\n";
  const int status = CheckSettings(files, lines, report);
  terminal::Print(report);
  return status;
}

}  // namespace

std::optional<int> RunOperatorOption(platform::FileSystem& files, const std::string& programFolder,
                                     const std::string& commandLine) {
  if (commandLine.empty()) {
    terminal::Print(terminal::VersionLine("corvane") + "\n" + kUsage, true);
    return 0;
  }
  if (terminal::AnswerHelpOrVersion(commandLine, "corvane", kUsage)) return 0;
  if (commandLine == kCheckSettings) {
    return CheckSettingsFile(files, SettingsPathOf(files, programFolder, ""));
  }
  if (commandLine.starts_with(std::string(kCheckSettings) + " ")) {
    return CheckSettingsFile(
        files, SettingsPathOf(files, programFolder, commandLine.substr(kCheckSettings.size() + 1)));
  }
  return std::nullopt;
}
