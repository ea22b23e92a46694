#include "updater/desktop_launch.h"

#include "platform/platform.h"

namespace updater {

// Windows has Notepad and Explorer; other desktops open files and addresses
// with their default application through xdg-open.
#ifdef _WIN32
bool OpenInTextEditor(const std::string& path) {
  return platform::StartProcess("notepad.exe", {path}, "");
}
bool OpenInBrowser(const std::string& address) {
  return platform::StartProcess("explorer", {address}, "");
}
#else
bool OpenInTextEditor(const std::string& path) {
  return platform::StartProcess("xdg-open", {path}, "");
}
bool OpenInBrowser(const std::string& address) {
  return platform::StartProcess("xdg-open", {address}, "");
}
#endif

}  // namespace updater
