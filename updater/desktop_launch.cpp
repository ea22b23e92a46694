#include "updater/desktop_launch.h"

#include <cstdlib>
#include <vector>

#include "common/strings.h"
#include "platform/platform.h"

namespace updater {

// Windows has Notepad and Explorer; other desktops name their editor in the
// environment, and open files and addresses with their default application
// through xdg-open.
#ifdef _WIN32
bool OpenInTextEditor(const std::string& path) {
  return platform::StartProcess("notepad.exe", {path}, "");
}
std::string NoEditorText(const std::string& path) {
  return "Notepad could not be started. Your updated file is " + path + ".";
}
bool OpenInBrowser(const std::string& address) {
  return platform::StartProcess("explorer", {address}, "");
}
#else
namespace {

// The command in an environment variable, then the file; false when the
// variable is unset or empty, or the command does not start.
bool StartEditorFrom(const char* variable, const std::string& path) {
  const char* value = std::getenv(variable);
  if (value == nullptr) return false;
  std::vector<std::string> words;
  for (std::string& word : strings::Split(value, " ")) {
    if (!word.empty()) words.push_back(std::move(word));
  }
  if (words.empty()) return false;
  const std::string program = words.front();
  words.erase(words.begin());
  words.push_back(path);
  return platform::StartProcess(program, words, "");
}

}  // namespace

bool OpenInTextEditor(const std::string& path) {
  return StartEditorFrom("VISUAL", path) || StartEditorFrom("EDITOR", path) ||
         platform::StartProcess("xdg-open", {path}, "");
}
std::string NoEditorText(const std::string& path) {
  return "No text editor was found: set VISUAL or EDITOR to one, or install xdg-open "
         "(xdg-utils). Your updated file is " +
         path + ".";
}
bool OpenInBrowser(const std::string& address) {
  return platform::StartProcess("xdg-open", {address}, "");
}
#endif

}  // namespace updater
