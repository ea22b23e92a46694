#include "checker/operator/operator_options.h"

#include "checker/operator/recheck.h"
#include "checker/operator/settings_check.h"
#include "common/terminal.h"
#include "platform/file_system.h"
#include "platform/platform.h"
#include "settings/checker_settings.h"

namespace {

constexpr std::string_view kCheckSettings = "--check-settings";
constexpr std::string_view kRecheck = "--recheck";

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
    "  corvane --recheck RELEASE_FOLDER reads every file of the release again and shows the\n"
    "                                   result as an upload does; exit status 0 complete,\n"
    "                                   1 incomplete, 2 no SFV file or zip set there\n"
    "  corvane --help                   this text\n"
    "  corvane --version                the version\n"
    "\n"
    "corvane.ini lies beside the program; s-readme.htm explains every key.\n";

// What follows `option` on a command line that starts with it: empty for the
// option alone, nullopt for another line. Quotes around the path, as a
// Windows prompt keeps them, go.
std::optional<std::string> ArgumentOf(const std::string& commandLine, std::string_view option) {
  if (commandLine == option) return "";
  if (!commandLine.starts_with(std::string(option) + " ")) return std::nullopt;
  std::string path = commandLine.substr(option.size() + 1);
  if (path.size() >= 2 && path.front() == '"' && path.back() == '"')
    path = path.substr(1, path.size() - 2);
  return path;
}

// The program folder's settings file, or the one PATH names (a folder holding
// one will do).
std::string SettingsPathOf(platform::FileSystem& files, const std::string& programFolder,
                           const std::string& path) {
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

std::optional<int> RunOperatorOption(platform::FileSystem& files, PermissionControl& permissions,
                                     const std::string& programFolder,
                                     const std::string& commandLine) {
  if (commandLine.empty()) {
    terminal::Print(terminal::VersionLine("corvane") + "\n" + kUsage, true);
    return 0;
  }
  if (terminal::AnswerHelpOrVersion(commandLine, "corvane", kUsage)) return 0;
  if (const auto path = ArgumentOf(commandLine, kCheckSettings)) {
    return CheckSettingsFile(files, SettingsPathOf(files, programFolder, *path));
  }
  if (const auto folder = ArgumentOf(commandLine, kRecheck)) {
    return RecheckFolder(files, permissions, programFolder, *folder);
  }
  return std::nullopt;
}
